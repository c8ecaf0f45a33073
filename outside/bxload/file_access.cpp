#include "file_access.h"

#include <cstring>

namespace quillo::bxload {

bool ReadWholeFile(const char* path, uint64_t maxBytes, std::vector<uint8_t>& bytes) {
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart >= 0 && uint64_t(size.QuadPart) <= maxBytes;
  if (ok) {
    bytes.resize(size_t(size.QuadPart));
    size_t done = 0;
    while (ok && done < bytes.size()) {
      const size_t left = bytes.size() - done;
      const DWORD chunk = left > (1u << 30) ? (1u << 30) : DWORD(left);
      DWORD got = 0;
      ok = ReadFile(h, bytes.data() + done, chunk, &got, nullptr) && got == chunk;
      done += got;
    }
  }
  CloseHandle(h);
  return ok;
}

HGLOBAL GlobalCopy(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return nullptr;
  HGLOBAL h = GlobalAlloc(GHND, bytes.size());
  if (!h) return nullptr;
  void* p = GlobalLock(h);
  std::memcpy(p, bytes.data(), bytes.size());
  GlobalUnlock(h);
  return h;
}

}  // namespace quillo::bxload
