#include "save_dialog.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/shell/save_formats.h"
#include "contracts/image_codecs.h"
#include "effect_browser.h"
#include "modal_step.h"
#include "open_dialog.h"

namespace quillo {

namespace {

constexpr int kFormatList = 100;
constexpr int kFirstDepthButton = 101;  // 101-104: 2, 16, 256 colours, true colour
constexpr int kFileName = 105;
constexpr int kBrowse = 106;

struct SaveChoice {
  std::string initialName;
  std::string path;  // with the format's extension
  int depth = 0;
};

int SelectedFormat(HWND dialog) {
  const LRESULT index = SendDlgItemMessageA(dialog, kFormatList, LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? 0 : int(index);
}

// Only the depths the format can hold are enabled.
void EnableDepths(HWND dialog) {
  const int format = SelectedFormat(dialog);
  for (int choice = 0; choice < 4; ++choice)
    EnableWindow(GetDlgItem(dialog, kFirstDepthButton + choice), SaveDepth(format, choice) != 0);
}

void Browse(HWND dialog) {
  const SaveFormat& format = SaveFormatAt(SelectedFormat(dialog));
  std::string filter = format.name;
  filter.push_back('\0');
  filter += format.pattern;
  filter.push_back('\0');
  filter.push_back('\0');
  const std::string directory = PictureDialogDirectory();
  char file[300] = {};
  GetDlgItemTextA(dialog, kFileName, file, 299);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = 299;
  ofn.lpstrInitialDir = directory.c_str();
  ofn.Flags = OFN_HIDEREADONLY;
  if (GetSaveFileNameA(&ofn)) SetDlgItemTextA(dialog, kFileName, file);
}

bool Accept(HWND dialog, SaveChoice* choice) {
  const int format = SelectedFormat(dialog);
  int depth = 0;
  for (int c = 0; c < 4; ++c)
    if (IsDlgButtonChecked(dialog, kFirstDepthButton + c) == BST_CHECKED &&
        IsWindowEnabled(GetDlgItem(dialog, kFirstDepthButton + c)))
      depth = SaveDepth(format, c);
  if (depth == 0) {
    MessageBoxA(dialog, LoadResString(IDS_SAVE_FORMAT_DEPTH), nullptr, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
    return false;
  }
  char name[300] = {};
  GetDlgItemTextA(dialog, kFileName, name, sizeof name);
  if (!name[0]) {
    MessageBoxA(dialog, "No File Name Given !!!", nullptr, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
    return false;
  }
  choice->path = SaveTargetPath(name, format);
  choice->depth = depth;
  return true;
}

INT_PTR CALLBACK SaveDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* choice = reinterpret_cast<SaveChoice*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      choice = reinterpret_cast<SaveChoice*>(lParam);
      for (int i = 0; i < kSaveFormatCount; ++i)
        SendDlgItemMessageA(dialog, kFormatList, LB_ADDSTRING, 0, LPARAM(SaveFormatAt(i).name));
      SendDlgItemMessageA(dialog, kFormatList, LB_SETCURSEL, 0, 0);
      CheckRadioButton(dialog, kFirstDepthButton, kFirstDepthButton + 3, kFirstDepthButton + 3);
      SetDlgItemTextA(dialog, kFileName, choice->initialName.c_str());
      EnableDepths(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kFormatList:
          if (HIWORD(wParam) == LBN_SELCHANGE) EnableDepths(dialog);
          return TRUE;
        case kBrowse:
          Browse(dialog);
          return TRUE;
        case IDOK:
          if (Accept(dialog, choice)) EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

// Runs the dialog and the overwrite question; false when the user cancels.
bool AskWhereToSave(HWND frame, const char* initialName, SaveChoice* choice) {
  choice->initialName = initialName ? initialName : "";
  const INT_PTR result = DialogBoxParamA(g_app.resources, "Save", frame, SaveDialogProc, LPARAM(choice));
  if (result != IDOK) return false;
  if (GetFileAttributesA(choice->path.c_str()) != INVALID_FILE_ATTRIBUTES &&
      MessageBoxA(frame, LoadResString(IDS_OVERWRITE_QUESTION), "???", MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  return true;
}

void Write(HWND frame, HGLOBAL image, LPBYTE mask, const SaveChoice& choice) {
  char buffer[CODEC_PATH_BUFFER] = {};
  lstrcpynA(buffer, choice.path.c_str(), sizeof buffer);
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const int result = ConvertDIBEx(image, choice.depth, mask, buffer);
  SetCursor(previous);
  if (result > 0) {
    MessageBoxA(nullptr, LoadResString(IDS_SAVED_OK), "OK !!!", MB_OK | MB_ICONINFORMATION);
  } else {
    const std::string caption = LoadResString(IDS_SAVE_FAILED_CAPTION);
    MessageBoxA(frame, buffer, caption.c_str(),
                MB_OK | (g_app.activeEffect ? MB_ICONERROR : MB_ICONINFORMATION));
  }
}

// A document title that is a path offers that path as the file name.
const char* InitialName(HWND document) {
  const char* title = DocumentTitle(document);
  return std::strchr(title, '\\') ? title : "";
}

}  // namespace

void SaveActiveImage(HWND frame) {
  HWND document = ActiveDocument();
  UndoSlot* slot = CurrentSlot(document);
  if (!slot || !slot->image) {
    MessageBeep(0);
    return;
  }
  // The dialog, the overwrite question and the outcome's message are one
  // modal step.
  ModalStep aside;
  SaveChoice choice;
  if (!AskWhereToSave(frame, InitialName(document), &choice)) return;
  // A running effect may offer its current result instead of the step.
  HGLOBAL image = nullptr;
  LPBYTE mask = nullptr;
  if (g_app.effectDialog && IsWindow(g_app.effectDialog))
    SendMessageA(g_app.effectDialog, 2112, WPARAM(&image), LPARAM(&mask));
  slot = CurrentSlot(document);  // the history may have changed meanwhile
  if (!image && slot) {
    image = HGLOBAL(slot->image);
    mask = LPBYTE(slot->mask);
  }
  if (!image) return;
  Write(frame, image, mask, choice);
}

void SaveGivenImage(HWND frame, HGLOBAL image) {
  if (!image) {
    MessageBeep(0);
    return;
  }
  ModalStep aside;
  SaveChoice choice;
  if (!AskWhereToSave(frame, "", &choice)) return;
  Write(frame, image, nullptr, choice);
}

}  // namespace quillo
