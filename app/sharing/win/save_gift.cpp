#include "save_gift.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "app/host/win/effect_host.h"
#include "app/host/win/package_files.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/path_join.h"
#include "app/shell/resource_ids.h"
#include "app/sharing/gift_plan.h"
#include "gift_builder.h"
#include "imaging/basics/runtime_random.h"

namespace quillo {

namespace {

constexpr char kSettingsFile[] = "bexadbms.ini";
constexpr char kDownloadPage[] = "https://quillo.example/download";

// What the dialog's own part of the save dialog holds when it closes.
struct GiftDialogState {
  bool english = false;
  bool includeSaver = false;
  bool saverAllowed = false;
  char webPage[80] = {};
};

UINT_PTR CALLBACK GiftDialogHook(HWND part, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<GiftDialogState*>(GetWindowLongPtrA(part, GWLP_USERDATA));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<GiftDialogState*>(reinterpret_cast<OPENFILENAMEA*>(lParam)->lCustData);
      SetWindowLongPtrA(part, GWLP_USERDATA, LONG_PTR(state));
      CheckDlgButton(part, IDC_GIFT_ENGLISH, state->english ? BST_CHECKED : BST_UNCHECKED);
      CheckDlgButton(part, IDC_GIFT_INCLUDE_SAVER, state->saverAllowed ? BST_CHECKED : BST_UNCHECKED);
      EnableWindow(GetDlgItem(part, IDC_GIFT_INCLUDE_SAVER), state->saverAllowed);
      SendDlgItemMessageA(part, IDC_GIFT_WEB_PAGE, EM_LIMITTEXT, 60, 0);
      SetDlgItemTextA(part, IDC_GIFT_WEB_PAGE, state->webPage);
      return 0;
    }
    case WM_COMMAND:
      if (state && LOWORD(wParam) == IDC_GIFT_WEB_PAGE && HIWORD(wParam) == EN_CHANGE)
        GetDlgItemTextA(part, IDC_GIFT_WEB_PAGE, state->webPage, sizeof state->webPage);
      return 0;
    case WM_NOTIFY:
      if (state && reinterpret_cast<NMHDR*>(lParam)->code == CDN_FILEOK) {
        state->english = IsDlgButtonChecked(part, IDC_GIFT_ENGLISH) == BST_CHECKED;
        state->includeSaver = state->saverAllowed && IsDlgButtonChecked(part, IDC_GIFT_INCLUDE_SAVER) == BST_CHECKED;
      }
      return 0;
  }
  return 0;
}

// The chosen path with its extension made ".exe".
std::string WithExeExtension(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  const size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? path.substr(0, dot) : path) + ".exe";
}

void Tell(UINT text, const char* caption) {
  MessageBoxA(g_app.frame, LoadResString(text), caption, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

}  // namespace

void SaveGiftAsProgram(HWND document) {
  const EffectRecord* running = CurrentEffect();
  HWND effectWindow = CurrentEffectDialog();
  if (!document || !running || !effectWindow) {
    Tell(IDS_GIFT_NEEDS_PICTURE, nullptr);
    return;
  }
  const EffectRecord record = *running;
  HGLOBAL image = CurrentEffectOriginalImage();
  if (!image) image = CurrentImage(document);
  if (!SaveGiftPicture(image)) return;

  GiftDialogState state;
  state.english = GetPrivateProfileIntA("Mail", "English", 0, kSettingsFile) != 0;
  state.saverAllowed = (record.optionFlags & kOptionSaver) != 0;
  std::strcpy(state.webPage, kDownloadPage);
  RuntimeRandom random(GetTickCount());
  char file[MAX_PATH] = {};
  std::strcpy(file, DefaultGiftName(unsigned(random.Below(100000))).c_str());
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = g_app.frame;
  ofn.hInstance = g_app.resources;
  ofn.lpstrFilter = "EXE Files\0*.EXE\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrTitle = LoadResString(IDS_SAVE_GIFT_TITLE);
  std::string title = ofn.lpstrTitle;  // the shared string buffer is reused below
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = "exe";
  ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_SAVE_GIFT_EXTRA);
  ofn.lpfnHook = GiftDialogHook;
  ofn.lCustData = LPARAM(&state);
  const bool chosen = GetSaveFileNameA(&ofn) != 0;
  SetCurrentDirectoryA(ProgramDirectory());
  if (chosen) {
    const std::string target = WithExeExtension(file);
    const size_t slash = target.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    const auto program = BuildGift(name, record, effectWindow, {state.english, state.includeSaver});
    const bool saved = program && CopyFileChunked(target.c_str(), program->c_str());
    if (program) DeleteFileA(program->c_str());
    if (saved)
      Tell(IDS_GIFT_SAVED, "OK");
    else
      Tell(IDS_GIFT_SAVE_FAILED, nullptr);
  }
  DeleteFileA("Temp\\Mail.jpg");
}

}  // namespace quillo
