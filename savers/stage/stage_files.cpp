#include "stage_files.h"

#include <windows.h>

namespace quillo::stage {

bool ReadWholeFile(const std::string& path, uint64_t exactSize, uint64_t maxSize, std::vector<uint8_t>& out) {
  out.clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
            (exactSize ? uint64_t(size.QuadPart) == exactSize : uint64_t(size.QuadPart) <= maxSize);
  if (ok) {
    out.resize(size_t(size.QuadPart));
    DWORD read = 0;
    ok = out.empty() || (ReadFile(file, out.data(), DWORD(out.size()), &read, nullptr) && read == out.size());
  }
  CloseHandle(file);
  if (!ok) out.clear();
  return ok;
}

}  // namespace quillo::stage
