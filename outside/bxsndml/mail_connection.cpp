#include "mail_connection.h"

#include <ws2tcpip.h>

#include <cstdio>

namespace quillo::bxsndml {
namespace {

constexpr unsigned kSliceMs = 100;

// Waits on one socket for at most `ms`: 1 ready, 0 not yet, -1 failed
// (for a connect: the attempt was refused or broke).
int SelectOnce(SOCKET s, bool forWriting, unsigned ms) {
  fd_set ready, failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(s, &ready);
  FD_SET(s, &failed);
  timeval tv{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
  const int n = select(0, forWriting ? nullptr : &ready, forWriting ? &ready : nullptr, &failed, &tv);
  if (n == SOCKET_ERROR || FD_ISSET(s, &failed)) return -1;
  return n > 0 ? 1 : 0;
}

// getaddrinfo has no timeout of its own and a dead name server can hold it
// for a long time, so it runs on a worker thread. The record is shared by
// the two threads and freed by whichever lets go of it last, so a caller
// that gave up does not wait for the lookup to finish.
struct Lookup {
  LONG references = 2;
  std::string host, service;
  addrinfo* result = nullptr;
  int error = 0;
  HANDLE done = nullptr;
  HMODULE module = nullptr;  // taken before the thread starts, freed as it ends
};

void Release(Lookup* lookup) {
  if (InterlockedDecrement(&lookup->references) != 0) return;
  if (lookup->result) freeaddrinfo(lookup->result);
  CloseHandle(lookup->done);
  delete lookup;
}

// The thread holds its own references to Winsock and to this module, so a
// caller that gave up may clean up Winsock and unload the library meanwhile.
DWORD WINAPI LookupThread(void* parameter) {
  Lookup* lookup = static_cast<Lookup*>(parameter);
  const HMODULE self = lookup->module;
  WSADATA data;
  const bool winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  lookup->error = getaddrinfo(lookup->host.c_str(), lookup->service.c_str(), &hints, &lookup->result);
  SetEvent(lookup->done);
  Release(lookup);
  if (winsock) WSACleanup();
  if (self) FreeLibraryAndExitThread(self, 0);
  return 0;
}

}  // namespace

MailError MailConnection::Wait(bool forWriting) {
  for (unsigned waited = 0; waited < timeoutMs_; waited += kSliceMs) {
    if (cancel_.load()) return kMailCancelled;
    const unsigned slice = timeoutMs_ - waited < kSliceMs ? timeoutMs_ - waited : kSliceMs;
    const int state = SelectOnce(socket_, forWriting, slice);
    if (state != 0) return state > 0 ? kMailOk : kMailConnectionLost;
  }
  return kMailTimeout;
}

MailError MailConnection::Connect(const std::string& host, int port) {
  Close();
  char service[8];
  std::snprintf(service, sizeof service, "%d", port);
  Lookup* lookup = new Lookup;
  lookup->host = host;
  lookup->service = service;
  lookup->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&LookupThread),
                     &lookup->module);
  HANDLE thread = lookup->done ? CreateThread(nullptr, 0, LookupThread, lookup, 0, nullptr) : nullptr;
  if (!thread) {
    if (lookup->module) FreeLibrary(lookup->module);
    lookup->references = 1;
    Release(lookup);
    return kMailNetworkUnavailable;
  }
  CloseHandle(thread);
  MailError waited = kMailTimeout;
  for (unsigned t = 0; t < timeoutMs_; t += kSliceMs) {
    if (cancel_.load()) {
      waited = kMailCancelled;
      break;
    }
    if (WaitForSingleObject(lookup->done, kSliceMs) == WAIT_OBJECT_0) {
      waited = kMailOk;
      break;
    }
  }
  if (waited != kMailOk) {
    Release(lookup);
    return waited;
  }
  addrinfo* found = lookup->error == 0 ? lookup->result : nullptr;
  lookup->result = nullptr;
  Release(lookup);
  if (!found) return kMailUnknownHost;

  MailError outcome = kMailConnectionRefused;
  for (addrinfo* a = found; a; a = a->ai_next) {
    SOCKET s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (s == INVALID_SOCKET) {
      outcome = kMailNetworkUnavailable;
      continue;
    }
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    socket_ = s;
    MailError result = kMailOk;
    if (connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) == SOCKET_ERROR) {
      const int error = WSAGetLastError();
      if (error != WSAEWOULDBLOCK && error != WSAEINPROGRESS) {
        result = error == WSAETIMEDOUT ? kMailTimeout : kMailConnectionRefused;
      } else {
        result = Wait(true);
        if (result == kMailConnectionLost) result = kMailConnectionRefused;
        if (result == kMailOk) {
          int soError = 0;
          int length = sizeof soError;
          if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &length) != 0 || soError != 0)
            result = soError == WSAETIMEDOUT ? kMailTimeout : kMailConnectionRefused;
        }
      }
    }
    if (result == kMailOk) {
      freeaddrinfo(found);
      return kMailOk;
    }
    Close();
    if (result == kMailCancelled) {
      freeaddrinfo(found);
      return kMailCancelled;
    }
    // A timeout on one address says more than a refusal on another.
    if (result == kMailTimeout || outcome != kMailTimeout) outcome = result;
  }
  freeaddrinfo(found);
  return outcome;
}

MailError MailConnection::Send(const char* data, size_t size) {
  while (size > 0) {
    if (cancel_.load()) return kMailCancelled;
    const int piece = size > 65536 ? 65536 : static_cast<int>(size);
    const int sent = send(socket_, data, piece, 0);
    if (sent == SOCKET_ERROR) {
      if (WSAGetLastError() != WSAEWOULDBLOCK) return kMailConnectionLost;
      const MailError waited = Wait(true);
      if (waited != kMailOk) return waited;
      continue;
    }
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return kMailOk;
}

MailError MailConnection::Receive(char* buffer, size_t capacity, size_t& received) {
  received = 0;
  for (;;) {
    const MailError waited = Wait(false);
    if (waited != kMailOk) return waited;
    const int n = recv(socket_, buffer, static_cast<int>(capacity), 0);
    if (n > 0) {
      received = static_cast<size_t>(n);
      return kMailOk;
    }
    if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK) return kMailConnectionLost;
  }
}

void MailConnection::Close() {
  if (socket_ != INVALID_SOCKET) {
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }
}

}  // namespace quillo::bxsndml
