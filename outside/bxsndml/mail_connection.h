// One TCP connection to the mail server through Winsock: non-blocking
// connect and every send and receive bounded by a timeout, checked in short
// slices so a cancel request is seen while waiting.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <string>

#include "mail_error.h"

namespace quillo::bxsndml {

class MailConnection {
 public:
  MailConnection(unsigned timeoutMs, const std::atomic<bool>& cancel)
      : timeoutMs_(timeoutMs), cancel_(cancel) {}
  ~MailConnection() { Close(); }
  MailConnection(const MailConnection&) = delete;
  MailConnection& operator=(const MailConnection&) = delete;

  // Tries every address the name resolves to. kMailUnknownHost,
  // kMailConnectionRefused, kMailTimeout or kMailCancelled on failure.
  MailError Connect(const std::string& host, int port);
  MailError Send(const char* data, size_t size);
  // Receives what is there (at least one byte) into `buffer`.
  MailError Receive(char* buffer, size_t capacity, size_t& received);
  void Close();

 private:
  // Waits until the socket can be read (or written); kMailOk, kMailTimeout
  // or kMailCancelled.
  MailError Wait(bool forWriting);
  unsigned timeoutMs_;
  const std::atomic<bool>& cancel_;
  SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace quillo::bxsndml
