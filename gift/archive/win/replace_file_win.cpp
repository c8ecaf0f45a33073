#include "replace_file.h"

#include <windows.h>

namespace quillo::gift {

bool WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size) {
  if (path.empty() || path.size() >= MAX_PATH) return false;
  const size_t slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  char temporary[MAX_PATH];
  // Creates the empty file under a name no other file in the folder has.
  if (!GetTempFileNameA(folder.c_str(), "gft", 0, temporary)) return false;
  HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool ok = file != INVALID_HANDLE_VALUE;
  while (ok && size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : DWORD(size);
    DWORD written = 0;
    ok = WriteFile(file, data, chunk, &written, nullptr) && written == chunk;
    data += chunk;
    size -= chunk;
  }
  if (file != INVALID_HANDLE_VALUE) {
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
  }
  if (ok) {
    // A read-only old file would refuse to be replaced.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    ok = MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  if (!ok) DeleteFileA(temporary);
  return ok;
}

}  // namespace quillo::gift
