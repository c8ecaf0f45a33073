// What the receiver keeps of a gift: a shortcut to the player on the
// desktop, the package as the screen saver, and the product's web page.
#include "gift_state.h"

#include <shellapi.h>
#include <shlobj.h>

namespace quillo::giftutil {

namespace {

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring out(size_t(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), length);
  out.resize(size_t(length - 1));
  return out;
}

// Whether the shortcut file at `path` already points at `target`.
bool ShortcutPointsAt(IShellLinkA* link, const std::wstring& path, const std::string& target) {
  IPersistFile* file = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return false;
  char current[MAX_PATH] = {};
  const bool same = SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
                    SUCCEEDED(link->GetPath(current, sizeof current, nullptr, 0)) &&
                    lstrcmpiA(current, target.c_str()) == 0;
  file->Release();
  return same;
}

}  // namespace

bool PlaceDesktopShortcut(const GiftPlayer& gift) {
  char desktop[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop))) return false;
  std::string folder = desktop;
  if (folder.empty()) return false;
  if (folder.back() == '\\') folder.pop_back();
  const std::wstring path = Wide(folder + "\\" + gift.names.base + ".lnk");
  if (path.empty()) return false;

  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return false;
  bool placed = false;
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    // A file of that name is kept: it is ours from an earlier start, or
    // someone else's, which is not overwritten.
    placed = ShortcutPointsAt(link, path, gift.programPath);
  } else {
    IPersistFile* file = nullptr;
    placed = SUCCEEDED(link->SetPath(gift.programPath.c_str())) &&
             SUCCEEDED(link->SetWorkingDirectory(gift.folder.c_str())) &&
             SUCCEEDED(link->SetIconLocation(gift.programPath.c_str(), 0)) &&
             SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
             SUCCEEDED(file->Save(path.c_str(), TRUE));
    if (file) file->Release();
  }
  link->Release();
  return placed;
}

bool InstallGiftSaver(const GiftPlayer& gift) {
  const std::string installed = SystemFolderPath(kSaverProgram);
  if (installed.empty()) return false;
  // Removed since the start: it comes from beside the player again, and a
  // copy that someone put there meanwhile stays.
  if (!FileExists(installed)) CopyFileA((gift.folder + "\\" + kSaverProgram).c_str(), installed.c_str(), TRUE);
  char shortPath[MAX_PATH] = {};
  const DWORD length = GetShortPathNameA(installed.c_str(), shortPath, sizeof shortPath);
  if (length == 0 || length >= sizeof shortPath) return false;
  if (!WritePrivateProfileStringA("Saver", "Default", gift.names.base.c_str(), "bexadbms.ini")) return false;
  if (!WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", shortPath, "system.ini")) return false;
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_UPDATEINIFILE);
  return true;
}

void OpenWebPage(HWND window) {
  ShellExecuteA(window, "open", kWebPage, nullptr, nullptr, SW_SHOWMAXIMIZED);
}

}  // namespace quillo::giftutil
