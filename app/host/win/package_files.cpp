#include "package_files.h"

#include <windows.h>

#include <string>
#include <vector>

#include "replace_file.h"

namespace quillo {

namespace {

constexpr DWORD kBlockBytes = 30000;

// Reads exactly `count` bytes or fails.
bool ReadBlock(HANDLE file, char* into, DWORD count) {
  DWORD read = 0;
  return ReadFile(file, into, count, &read, nullptr) && read == count;
}

bool WriteBlock(HANDLE file, const char* from, DWORD count) {
  DWORD written = 0;
  return WriteFile(file, from, count, &written, nullptr) && written == count;
}

}  // namespace

int CopyFileChunked(const char* destination, const char* source) {
  if (!destination || !*destination || !source || !*source) return 0;
  HANDLE in = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  if (in == INVALID_HANDLE_VALUE) return 0;
  LARGE_INTEGER size = {};
  const std::string temporary = std::string(destination) + ".new";
  HANDLE out = INVALID_HANDLE_VALUE;
  bool ok = GetFileSizeEx(in, &size) && size.QuadPart >= 0 && temporary.size() < MAX_PATH;
  if (ok) {
    out = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ok = out != INVALID_HANDLE_VALUE;
  }
  if (ok) {
    std::vector<char> buffer(kBlockBytes);
    for (int64_t left = size.QuadPart; ok && left > 0;) {
      const DWORD block = left > kBlockBytes ? kBlockBytes : DWORD(left);
      ok = ReadBlock(in, buffer.data(), block) && WriteBlock(out, buffer.data(), block);
      left -= block;
    }
    // A source that grew while it was copied would give a cut copy.
    char extra;
    DWORD more = 0;
    ok = ok && ReadFile(in, &extra, 1, &more, nullptr) && more == 0;
    ok = FlushFileBuffers(out) && ok;
  }
  if (out != INVALID_HANDLE_VALUE) ok = CloseHandle(out) && ok;
  CloseHandle(in);
  if (ok) ok = MoveFileExA(temporary.c_str(), destination, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok && out != INVALID_HANDLE_VALUE) DeleteFileA(temporary.c_str());
  return ok ? 1 : 0;
}

int WriteBufferToFile(const void* data, size_t size, const char* path) {
  if (!data && size > 0) return 0;
  return ReplaceFileContents(path, size > 0 ? data : "", size) ? 1 : 0;
}

}  // namespace quillo
