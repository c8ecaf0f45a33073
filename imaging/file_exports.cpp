// Directory and file-dialog exports of BXCOMM.DLL. Every path built here is
// bounded by the 400-character buffer; one that would not fit fails.
#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "contracts/imaging_library.h"
#include "library_state.h"

using namespace quillo::imaging;

namespace {

// The buffer GetMeridianDIR and the dialog wrappers return.
char g_fileName[kNameBuffer];

// The library's directory without a trailing backslash into `out`; false
// when the module path does not fit.
bool LibraryDirectory(char (&out)[kNameBuffer]) {
  const DWORD n = GetModuleFileNameA(g_module, out, kNameBuffer);
  if (n == 0 || n >= DWORD(kNameBuffer)) {
    out[0] = '\0';
    return false;
  }
  char* slash = std::strrchr(out, '\\');
  if (slash) *slash = '\0';
  const size_t length = std::strlen(out);
  if (length > 0 && out[length - 1] == '\\') out[length - 1] = '\0';
  return true;
}

// "<library directory>\<name>" into `out`; false when it would not fit.
bool LibrarySubdirectory(LPCSTR name, char (&out)[kNameBuffer]) {
  if (!name || !LibraryDirectory(out)) return false;
  const size_t have = std::strlen(out);
  const size_t add = strnlen(name, kNameBuffer);
  if (have + 1 + add >= size_t(kNameBuffer)) return false;
  out[have] = '\\';
  std::memcpy(out + have + 1, name, add);
  out[have + 1 + add] = '\0';
  return true;
}

int ChangeToSubdirectory(LPCSTR name) {
  char path[kNameBuffer];
  if (!LibrarySubdirectory(name, path)) return -1;
  return SetCurrentDirectoryA(path) ? 0 : -1;
}

OPENFILENAMEA DialogRecord(HWND owner, LPCSTR filter, LPCSTR title, DWORD flags) {
  static const char kAllFiles[] = "*.*\0*.*\0";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter ? filter : kAllFiles;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = g_fileName;
  ofn.nMaxFile = kNameBuffer - 1;
  ofn.lpstrTitle = title;
  ofn.Flags = flags;
  return ofn;
}

}  // namespace

extern "C" {

LPSTR WINAPI GetMeridianDIR(void) {
  return LibraryDirectory(g_fileName) ? g_fileName : nullptr;
}

int WINAPI MyChDir(LPCSTR name) { return ChangeToSubdirectory(name); }

LPSTR WINAPI MyGetOpenFile(HWND owner, LPCSTR filter, LPCSTR title) {
  std::memset(g_fileName, 0, sizeof g_fileName);
  OPENFILENAMEA ofn = DialogRecord(owner, filter, title, OFN_HIDEREADONLY);
  if (GetOpenFileNameA(&ofn)) return g_fileName;
  g_fileName[0] = '\0';
  return nullptr;
}

LPSTR WINAPI MyGetOpenFileEx(HWND owner, LPCSTR filter, LPCSTR subDirectory, LPCSTR title) {
  if (ChangeToSubdirectory(subDirectory) != 0) {
    char path[kNameBuffer];
    // A directory that exists but cannot be entered still opens the dialog
    // where it is; a path that does not fit refuses the call.
    if (!LibrarySubdirectory(subDirectory, path)) {
      g_fileName[0] = '\0';
      return nullptr;
    }
  }
  return MyGetOpenFile(owner, filter, title);
}

LPSTR WINAPI MyGetSaveFile(HWND owner, LPCSTR filter, int) {
  std::memset(g_fileName, 0, sizeof g_fileName);
  OPENFILENAMEA ofn =
      DialogRecord(owner, filter, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
  if (GetSaveFileNameA(&ofn)) return g_fileName;
  g_fileName[0] = '\0';
  return nullptr;
}

LPSTR WINAPI MyGetSaveFileEx(HWND owner, LPCSTR filter, int unused, int) {
  return MyGetSaveFile(owner, filter, unused);
}

}  // extern "C"
