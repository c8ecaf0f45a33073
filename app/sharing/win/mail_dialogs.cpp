#include "mail_dialogs.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/host/win/effect_host.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/sharing/gift_plan.h"
#include "app/sharing/mail_arguments.h"
#include "contracts/ui_controls.h"
#include "gift_builder.h"
#include "grey_dialog.h"
#include "imaging/basics/runtime_random.h"
#include "save_gift.h"

namespace quillo {

namespace {

constexpr char kSettingsFile[] = "bexadbms.ini";
constexpr char kBodyFile[] = "Temp\\body.tmp";
constexpr char kPicture[] = "Temp\\Mail.jpg";
constexpr char kPreviewName[] = "__XX_YY_YX_00_B_E_X_A";

// The mail library's entry points; the dialogs open only when all exist.
struct MailLibrary {
  HMODULE module = nullptr;
  int(WINAPI* open)() = nullptr;
  int(WINAPI* close)() = nullptr;
  void(WINAPI* setTarget)(HWND) = nullptr;
  int(WINAPI* send)(int, char**) = nullptr;
  const char*(WINAPI* errorText)(int) = nullptr;

  bool Load() {
    const std::string path = std::string(ProgramDirectory()) + "\\BXSndML.DLL";
    module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return false;
    auto find = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); };
    for (const char* name : {"SendMail", "GetErrorInfo", "CmdLineSendMail", "CancelMail"})
      if (!find(name)) return false;
    open = reinterpret_cast<decltype(open)>(find("LibOpen"));
    close = reinterpret_cast<decltype(close)>(find("LibClose"));
    setTarget = reinterpret_cast<decltype(setTarget)>(find("SetTargetWnd"));
    send = reinterpret_cast<decltype(send)>(find("ArgsSendMail"));
    errorText = reinterpret_cast<decltype(errorText)>(find("MailGetErrorString"));
    return open && close && setTarget && send && errorText;
  }
  ~MailLibrary() {
    if (module) FreeLibrary(module);
  }
};

struct MailSession {
  MailLibrary* library = nullptr;
  HWND document = nullptr;
  const EffectRecord* effect = nullptr;  // the running effect, when mailing a gift
  EffectRecord record = {};
  HWND effectWindow = nullptr;
  bool english = false;
  bool sending = false;
  int total = 0;
  GiftFileList files;                    // what the clean-up removes
  std::string attachment;                // the picture copied under its name, removed afterwards
};

std::string Text(HWND dialog, int id) {
  const int length = GetWindowTextLengthA(GetDlgItem(dialog, id));
  std::string text(size_t(length > 0 ? length : 0) + 1, '\0');
  GetDlgItemTextA(dialog, id, text.data(), int(text.size()));
  text.resize(std::strlen(text.c_str()));
  return text;
}

void Tell(HWND dialog, const char* text, const char* caption) {
  MessageBoxA(dialog, text, caption, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

void CleanUp(MailSession& s) {
  for (const std::string& path : s.files.TakeFilesToDelete()) DeleteFileA(path.c_str());
}

void FillSettings(HWND dialog) {
  struct Field {
    int id;
    const char* key;
    int limit;
  } fields[] = {{IDC_MAIL_SERVER, "Server", 95}, {IDC_MAIL_ADDRESS, "Address", 100},
                {IDC_MAIL_TO, "To", 1300}, {IDC_MAIL_CC, "Cc", 1500}};
  for (const Field& f : fields) {
    std::vector<char> value(size_t(f.limit) + 1);
    GetPrivateProfileStringA("Mail", f.key, "", value.data(), DWORD(value.size()), kSettingsFile);
    SetDlgItemTextA(dialog, f.id, value.data());
  }
}

void StoreSettings(const MailFields& f) {
  WritePrivateProfileStringA("Mail", "Address", f.address.c_str(), kSettingsFile);
  WritePrivateProfileStringA("Mail", "Cc", f.cc.c_str(), kSettingsFile);
  WritePrivateProfileStringA("Mail", "To", f.to.c_str(), kSettingsFile);
  WritePrivateProfileStringA("Mail", "Server", f.server.c_str(), kSettingsFile);
}

MailFields ReadFields(HWND dialog) {
  return {Text(dialog, IDC_MAIL_SERVER), Text(dialog, IDC_MAIL_ADDRESS), Text(dialog, IDC_MAIL_TO),
          Text(dialog, IDC_MAIL_CC), Text(dialog, IDC_MAIL_SUBJECT)};
}

bool WriteBody(HWND dialog) {
  const std::string body = Text(dialog, IDC_MAIL_BODY);
  // Binary: the edit control's lines already end in CR LF.
  FILE* file = std::fopen(kBodyFile, "wb");
  if (!file) return false;
  const bool ok = std::fwrite(body.data(), 1, body.size(), file) == body.size();
  return std::fclose(file) == 0 && ok;
}

GiftOptions OptionsOf(HWND dialog) {
  return {IsDlgButtonChecked(dialog, IDC_MAIL_ENGLISH) == BST_CHECKED,
          IsDlgButtonChecked(dialog, IDC_MAIL_INCLUDE_SAVER) == BST_CHECKED};
}

// One send with the progress shown; true when the library sent it.
bool Send(HWND dialog, MailSession& s, const MailFields& fields, const std::vector<std::string>& attachments,
          MailDialogKind kind) {
  std::vector<std::string> args = MailArguments(fields, kBodyFile, attachments, kind);
  std::vector<char*> pointers;
  for (std::string& a : args) pointers.push_back(a.data());
  s.sending = true;
  s.total = 0;
  SetCapture(dialog);
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  ShowWindow(GetDlgItem(dialog, IDC_MAIL_PROGRESS), SW_SHOW);
  ShowWindow(GetDlgItem(dialog, IDC_MAIL_PROGRESS_TEXT), SW_SHOW);
  const int result = s.library->send(int(pointers.size()), pointers.data());
  ShowWindow(GetDlgItem(dialog, IDC_MAIL_PROGRESS), SW_HIDE);
  ShowWindow(GetDlgItem(dialog, IDC_MAIL_PROGRESS_TEXT), SW_HIDE);
  SetCursor(old);
  ReleaseCapture();
  s.sending = false;
  if (result == 0) {
    Tell(dialog, LoadResString(IDS_MAIL_SENT), "OK");
    StoreSettings(fields);
    return true;
  }
  const char* text = s.library->errorText(result);
  Tell(dialog, text && *text ? text : LoadResString(IDS_GIFT_BUILD_FAILED), nullptr);
  return false;
}

void Progress(HWND dialog, MailSession& s, WPARAM id, LPARAM amount) {
  if (id == 101) {
    s.total = int(amount);
    return;
  }
  if (s.total == 0) return;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  const int done = int(amount);
  SendDlgItemMessageA(dialog, IDC_MAIL_PROGRESS, PB_SETPERCENT, WPARAM(int64_t(done) * 100 / s.total), 0);
  char text[64];
  std::snprintf(text, sizeof text, "%d 0f %d", done >> 1, s.total >> 1);
  SetDlgItemTextA(dialog, IDC_MAIL_PROGRESS_TEXT, text);
}

// The gift built under `name` and listed for the clean-up.
std::optional<std::string> Gift(MailSession& s, HWND dialog, const std::string& name) {
  auto program = BuildGift(name, s.record, s.effectWindow, OptionsOf(dialog));
  if (program) s.files.Add(*program, true);
  return program;
}

// The fields, once To and the server are given and the body is written.
std::optional<MailFields> ReadyToSend(HWND dialog) {
  // The body and the attachments are named from the program folder.
  SetCurrentDirectoryA(ProgramDirectory());
  MailFields fields = ReadFields(dialog);
  if (fields.to.empty() || fields.server.empty()) {
    Tell(dialog, LoadResString(IDS_MAIL_NEEDS_SERVER), nullptr);
    return std::nullopt;
  }
  if (!WriteBody(dialog)) {
    MessageBeep(0);
    return std::nullopt;
  }
  return fields;
}

// What both dialogs do alike: the library's progress reports, and Close,
// refused while a send is under way.
bool SharedCommand(HWND dialog, MailSession& s, WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case 101:
    case 102:
      if (s.sending) Progress(dialog, s, LOWORD(wParam), lParam);
      return true;
    case IDCANCEL:
      if (s.sending) {
        MessageBeep(0);
        return true;
      }
      CleanUp(s);
      EndDialog(dialog, IDCANCEL);
      return true;
  }
  return false;
}

void OnSend(HWND dialog, MailSession& s) {
  const std::optional<MailFields> ready = ReadyToSend(dialog);
  if (!ready) return;
  const MailFields& fields = *ready;
  std::string attachment;
  if (s.effect) {
    CleanUp(s);
    const auto program = Gift(s, dialog, Text(dialog, IDC_MAIL_ATTACHMENT_NAME));
    if (!program) {
      Tell(dialog, LoadResString(IDS_GIFT_BUILD_FAILED), nullptr);
      return;
    }
    attachment = *program;
  } else {
    // The picture goes under the chosen name as a copy: the saved picture
    // stays for another try, and a name equal to its own is sent as it is.
    const std::string name = PictureAttachmentName(Text(dialog, IDC_MAIL_ATTACHMENT_NAME));
    const std::string path = "Temp\\" + name;
    attachment = kPicture;
    if (!s.attachment.empty()) DeleteFileA(s.attachment.c_str());
    s.attachment.clear();
    if (IsBareFileName(name) && lstrcmpiA(path.c_str(), kPicture) != 0 &&
        CopyFileA(kPicture, path.c_str(), FALSE))
      attachment = s.attachment = path;
  }
  if (Send(dialog, s, fields, {attachment}, MailDialogKind::kPictureOrGift)) {
    CleanUp(s);
    EndDialog(dialog, IDOK);
  }
}

void OnPreview(HWND dialog, MailSession& s) {
  CleanUp(s);
  const auto program = Gift(s, dialog, kPreviewName);
  if (!program) {
    Tell(dialog, LoadResString(IDS_GIFT_BUILD_FAILED), nullptr);
    return;
  }
  // The preview plays the gift here without installing anything.
  const std::string command = "\"" + *program + "\" /preview";
  WinExec(command.c_str(), SW_SHOW);
}

INT_PTR CALLBACK SendMailProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<MailSession*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      s = reinterpret_cast<MailSession*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(s));
      FillSettings(dialog);
      SendDlgItemMessageA(dialog, IDC_MAIL_ATTACHMENT_NAME, EM_LIMITTEXT, 50, 0);
      if (s->effect) {
        RuntimeRandom random(GetTickCount());
        SetDlgItemTextA(dialog, IDC_MAIL_ATTACHMENT_NAME, DefaultGiftName(unsigned(random.Below(100000))).c_str());
        const bool saver = (s->record.optionFlags & kOptionSaver) != 0;
        ShowWindow(GetDlgItem(dialog, IDC_MAIL_INCLUDE_SAVER), saver ? SW_SHOW : SW_HIDE);
        CheckDlgButton(dialog, IDC_MAIL_INCLUDE_SAVER, saver ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_MAIL_ENGLISH, s->english ? BST_CHECKED : BST_UNCHECKED);
      } else {
        SetDlgItemTextA(dialog, IDC_MAIL_ATTACHMENT_NAME, "Mail.jpg");
        ShowWindow(GetDlgItem(dialog, IDC_MAIL_INCLUDE_SAVER), SW_HIDE);
        ShowWindow(GetDlgItem(dialog, IDC_MAIL_ENGLISH), SW_HIDE);
        EnableWindow(GetDlgItem(dialog, IDC_MAIL_PREVIEW), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_MAIL_SAVE_GIFT), FALSE);
      }
      s->library->setTarget(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      if (!s) return FALSE;
      if (SharedCommand(dialog, *s, wParam, lParam)) return TRUE;
      switch (LOWORD(wParam)) {
        case IDOK:
          if (!s->sending) OnSend(dialog, *s);
          return TRUE;
        case IDC_MAIL_PREVIEW:
          if (s->effect && !s->sending) OnPreview(dialog, *s);
          return TRUE;
        case IDC_MAIL_SAVE_GIFT:
          if (s->effect && !s->sending) {
            SaveGiftAsProgram(s->document);
            SaveGiftPicture(CurrentEffectOriginalImage() ? CurrentEffectOriginalImage() : CurrentImage(s->document));
          }
          return TRUE;
      }
      return FALSE;
  }
  return GreyDialogColours(message, wParam);
}

void AddAttachment(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_MAIL_ATTACHMENTS);
  char file[300] = {};
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = "*.*\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file - 1;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&ofn)) return;
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) < LRESULT(kMaxRawAttachments))
    SendMessageA(list, LB_ADDSTRING, 0, LPARAM(file));
  EnableWindow(GetDlgItem(dialog, IDC_MAIL_ADD),
               SendMessageA(list, LB_GETCOUNT, 0, 0) < LRESULT(kMaxRawAttachments));
}

std::vector<std::string> Attachments(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_MAIL_ATTACHMENTS);
  std::vector<std::string> paths;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::string path(size_t(SendMessageA(list, LB_GETTEXTLEN, WPARAM(i), 0)) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, WPARAM(i), LPARAM(path.data()));
    path.resize(std::strlen(path.c_str()));
    paths.push_back(path);
  }
  return paths;
}

INT_PTR CALLBACK RawMailProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<MailSession*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      s = reinterpret_cast<MailSession*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(s));
      FillSettings(dialog);
      s->library->setTarget(dialog);
      return TRUE;
    case WM_COMMAND:
      if (!s) return FALSE;
      if (SharedCommand(dialog, *s, wParam, lParam)) return TRUE;
      switch (LOWORD(wParam)) {
        case IDC_MAIL_ADD:
          if (!s->sending) AddAttachment(dialog);
          return TRUE;
        case IDC_MAIL_REMOVE: {
          HWND list = GetDlgItem(dialog, IDC_MAIL_ATTACHMENTS);
          const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
          if (selected != LB_ERR) SendMessageA(list, LB_DELETESTRING, WPARAM(selected), 0);
          EnableWindow(GetDlgItem(dialog, IDC_MAIL_ADD), TRUE);
          return TRUE;
        }
        case IDOK: {
          if (s->sending) return TRUE;
          const std::optional<MailFields> fields = ReadyToSend(dialog);
          if (fields && Send(dialog, *s, *fields, Attachments(dialog), MailDialogKind::kRaw)) EndDialog(dialog, IDOK);
          return TRUE;
        }
      }
      return FALSE;
  }
  return GreyDialogColours(message, wParam);
}

}  // namespace

bool RunMailCommand(HWND document) {
  SetCurrentDirectoryA(ProgramDirectory());
  CreateDirectoryA("Temp", nullptr);
  MailLibrary library;
  if (!library.Load() || library.open() < 0) return false;
  MailSession s;
  s.library = &library;
  s.document = document;
  s.english = GetPrivateProfileIntA("Mail", "English", 0, kSettingsFile) != 0;
  if (document) {
    const EffectRecord* running = CurrentEffect();
    s.effectWindow = CurrentEffectDialog();
    if (running && s.effectWindow) {
      s.record = *running;
      s.effect = &s.record;
    }
    HGLOBAL image = CurrentEffectOriginalImage();
    if (!image) image = CurrentImage(document);
    if (!SaveGiftPicture(image)) {
      library.close();
      return false;
    }
    DialogBoxParamA(g_app.resources, "SendMail", g_app.frame, SendMailProc, LPARAM(&s));
    DeleteFileA(kPicture);
    if (!s.attachment.empty()) DeleteFileA(s.attachment.c_str());
  } else {
    DialogBoxParamA(g_app.resources, "SendRawMail", g_app.frame, RawMailProc, LPARAM(&s));
  }
  CleanUp(s);
  DeleteFileA(kBodyFile);
  library.close();
  return true;
}

}  // namespace quillo
