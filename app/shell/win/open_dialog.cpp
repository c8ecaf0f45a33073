#include "open_dialog.h"

#include <commdlg.h>

#include "app/shell/app_state.h"
#include "app/shell/path_join.h"
#include "effect_browser.h"
#include "modal_step.h"
#include "open_image.h"
#include "thumbnail_pane.h"

namespace quillo {

namespace {

constexpr char kSettingsFile[] = "bexadbms.ini";

// The window all files of one dialog go into.
HWND g_dialogDocument = nullptr;

UINT_PTR CALLBACK OpenHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
  HWND dialog = GetParent(hook);
  switch (message) {
    case WM_INITDIALOG:
      EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
      return TRUE;
    case WM_NOTIFY: {
      const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
      if (notify->hdr.code == CDN_INITDONE) {
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
      } else if (notify->hdr.code == CDN_SELCHANGE) {
        char path[300] = {};
        const LRESULT n = SendMessageA(dialog, CDM_GETFILEPATH, sizeof path, LPARAM(path));
        const DWORD attributes = n > 0 ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
          OpenImageFile(dialog, path, &g_dialogDocument);
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
      }
      return 0;
    }
  }
  return 0;
}

void AddFilter(std::string& filter, const char* name, const char* pattern) {
  filter.append(name).push_back('\0');
  filter.append(pattern).push_back('\0');
}

}  // namespace

std::string OpenDialogFilter(bool readMyFile) {
  std::string all = "*.Bmp;*.Pcx;*.Tif;*.Gif;*.PNG;*.PBM;*.PGM;*.PPM;*.GBR;*.PAT;";
  if (readMyFile) all += "*.bexa;*.di;";
  all += "*.XBM;*.BM;*.XPM;*.WBMP;*.tga;*.wpg;*.jpg;*.jpeg;*.jpe;";
  std::string filter;
  AddFilter(filter, "All File(*.*)", all.c_str());
  AddFilter(filter, "Bitmap Files", "*.bmp;");
  AddFilter(filter, "PCX File", "*.pcx");
  AddFilter(filter, "TGA File", "*.tga");
  AddFilter(filter, "GIF File", "*.gif");
  AddFilter(filter, "TIF File", "*.tif");
  AddFilter(filter, "WPG File", "*.wpg");
  AddFilter(filter, "GBR Files", "*.GBR");
  AddFilter(filter, "PAT Files", "*.PAT");
  AddFilter(filter, "XBM File", "*.XBM;*.BM");
  AddFilter(filter, "XPM File", "*.XPM");
  AddFilter(filter, "WBMP File", "*.WBMP");
  AddFilter(filter, "PBM File", "*.PBM;*.PGM;*.PPM");
  if (readMyFile) {
    AddFilter(filter, "MyDIB File", "*.di;");
    AddFilter(filter, "MyDIB File", "*.bexa;");
  }
  AddFilter(filter, "JPG File", "*.jpg;*.jpeg;*.jpe");
  AddFilter(filter, "PNG File", "*.png");
  filter.push_back('\0');
  return filter;
}

std::string PictureDialogDirectory() {
  char recent[300] = {};
  GetPrivateProfileStringA("FunHist", "i1", "", recent, sizeof recent, kSettingsFile);
  const std::string_view value(recent);
  if (value.size() >= 8 && value.find('\\') != std::string_view::npos)
    return std::string(DirectoryOf(value));
  return JoinPath(ProgramDirectory(), "Samples").value_or(std::string(ProgramDirectory()));
}

void RunOpenDialog(HWND frame) {
  const std::string filter = OpenDialogFilter(g_app.readMyFile);
  const std::string directory = PictureDialogDirectory();
  char file[300] = {};
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = frame;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = 299;
  ofn.lpstrInitialDir = directory.c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_EXPLORER;
  ofn.lpfnHook = OpenHook;
  {
    ModalStep aside;
    g_dialogDocument = nullptr;
    GetOpenFileNameA(&ofn);
    g_dialogDocument = nullptr;
    RefreshToolButtons();
  }
  RefreshThumbnails();
}

}  // namespace quillo
