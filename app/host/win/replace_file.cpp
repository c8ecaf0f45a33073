#include "replace_file.h"

#include <windows.h>

#include <string>

namespace quillo {

bool ReplaceFileContents(const char* path, const void* data, size_t size) {
  if (!path || !*path) return false;
  const std::string temporary = std::string(path) + ".new";
  if (temporary.size() >= MAX_PATH) return false;
  HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  const auto* bytes = static_cast<const char*>(data);
  while (ok && size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : DWORD(size);
    DWORD written = 0;
    ok = WriteFile(file, bytes, chunk, &written, nullptr) && written == chunk;
    bytes += chunk;
    size -= chunk;
  }
  ok = FlushFileBuffers(file) && ok;
  ok = CloseHandle(file) && ok;
  if (ok) ok = MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileA(temporary.c_str());
  return ok;
}

}  // namespace quillo
