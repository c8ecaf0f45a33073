// "Favor.INF": the favourites file in the program directory. An old file
// that exists but cannot be read whole is never rewritten (its records would
// be lost); the new contents replace the old file only when every write,
// the flush and the close succeeded (ReplaceFileContents).
#include <windows.h>

#include <string>
#include <vector>

#include "app/host/catalogue_file.h"
#include "app/shell/app_state.h"
#include "app/shell/path_join.h"
#include "app/shell/resource_ids.h"
#include "effect_browser_state.h"
#include "replace_file.h"

namespace quillo {

namespace {

// A favourites file beyond this size is not rewritten (it would not be read
// whole, and records would be lost).
constexpr LONGLONG kMaxFavouritesBytes = 16ll * 1024 * 1024;

enum class ReadResult { kRead, kMissing, kFailed };

ReadResult ReadOldFavourites(const char* path, std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::kMissing
                                                                          : ReadResult::kFailed;
  }
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxFavouritesBytes;
  if (ok) {
    bytes.resize(size_t(size.QuadPart));
    DWORD total = 0;
    while (ok && total < bytes.size()) {
      DWORD got = 0;
      ok = ReadFile(file, bytes.data() + total, DWORD(bytes.size()) - total, &got, nullptr) && got > 0;
      total += got;
    }
  }
  CloseHandle(file);
  return ok ? ReadResult::kRead : ReadResult::kFailed;
}

bool SaveFavourite(const EffectRecord& record) {
  const auto path = JoinPath(ProgramDirectory(), "Favor.INF");
  if (!path) return false;
  std::vector<uint8_t> old;
  if (ReadOldFavourites(path->c_str(), old) == ReadResult::kFailed) return false;
  const std::vector<uint8_t> bytes = FavouritesFileWithAdded(old.data(), old.size(), record);
  return ReplaceFileContents(path->c_str(), bytes.data(), bytes.size());
}

}  // namespace

bool AddToFavourites(HWND owner, const EffectRecord& record) {
  if (SaveFavourite(record)) {
    MessageBeep(0);
    return true;
  }
  const std::string text = LoadResString(IDS_FAVOURITES_FAILED);
  const std::string caption = LoadResString(IDS_FRAME_TITLE);
  MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
  return false;
}

}  // namespace quillo
