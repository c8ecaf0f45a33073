// The settings dialog's procedure, run inside the stub's dialog: the switch
// time (202), the package list (203) with the current package, and Delete.
#include <cstdio>
#include <string>

#include "engine_state.h"
#include "savers/package/package_names.h"
#include "savers/package/switch_time.h"

namespace quillo::pkgsaver {

namespace {

constexpr int kTimeList = 202;
constexpr int kPackageList = 203;
constexpr int kDeleteButton = 3;

void FillPackageList(HWND dialog) {
  HWND list = GetDlgItem(dialog, kPackageList);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& name : g_engine.packages) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(name.c_str()));
  SendMessageA(list, LB_SETCURSEL, 0, 0);
}

void InitDialog(HWND dialog) {
  HWND times = GetDlgItem(dialog, kTimeList);
  for (int minutes = package::kMinSwitchMinutes; minutes <= package::kMaxSwitchMinutes; ++minutes) {
    char text[8];
    std::snprintf(text, sizeof text, "%d", minutes);
    SendMessageA(times, CB_ADDSTRING, 0, LPARAM(text));
  }
  SendMessageA(times, CB_SETCURSEL, WPARAM(g_engine.switchMinutes - 1), 0);
  FillPackageList(dialog);
}

// The text of list entry `index`, or empty when it is none or not a package name.
std::string PackageAt(HWND dialog, LRESULT index) {
  HWND list = GetDlgItem(dialog, kPackageList);
  if (index < 0) return {};
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, WPARAM(index), 0);
  if (length <= 0 || length >= MAX_PATH) return {};
  char text[MAX_PATH] = {};
  SendMessageA(list, LB_GETTEXT, WPARAM(index), LPARAM(text));
  return IsBareFileName(text) ? std::string(text) : std::string();
}

std::string SelectedPackage(HWND dialog) {
  return PackageAt(dialog, SendDlgItemMessageA(dialog, kPackageList, LB_GETCURSEL, 0, 0));
}

void WriteDefault(const std::string& name) {
  if (!name.empty()) WritePrivateProfileStringA(kSettingsSection, "Default", name.c_str(), kSettingsFile);
}

void Accept(HWND dialog) {
  WriteDefault(SelectedPackage(dialog));
  const LRESULT time = SendDlgItemMessageA(dialog, kTimeList, CB_GETCURSEL, 0, 0);
  if (time >= 0 && time < package::kMaxSwitchMinutes) {
    char text[8];
    std::snprintf(text, sizeof text, "%d", int(time) + 1);
    WritePrivateProfileStringA(kSettingsSection, "Time", text, kSettingsFile);
  }
}

// The last remaining package cannot be deleted.
void DeleteSelected(HWND dialog) {
  if (SendDlgItemMessageA(dialog, kPackageList, LB_GETCOUNT, 0, 0) <= 1) return;
  const std::string name = SelectedPackage(dialog);
  if (name.empty()) return;
  DeletePackageFiles(g_engine.directory, name);
  RefreshPackageList();
  FillPackageList(dialog);
}

}  // namespace

}  // namespace quillo::pkgsaver

using namespace quillo::pkgsaver;

extern "C" INT_PTR WINAPI ScreenSaverSetup(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitDialog(dialog);
      return 0;
    case quillo::stage::kGradientMessage:
      return INT_PTR(g_engine.stage.gradient);
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          Accept(dialog);
          return 0;  // the stub ends the dialog
        case kDeleteButton:
          DeleteSelected(dialog);
          return 1;
        case kPackageList:
          if (HIWORD(wParam) == LBN_DBLCLK) {
            WriteDefault(SelectedPackage(dialog));
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
          }
          return 0;
      }
      return 0;
  }
  return 0;
}
