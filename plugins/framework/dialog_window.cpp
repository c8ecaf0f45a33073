#include "dialog_window.h"

#include "contracts/dib_services.h"
#include "dialog_position.h"

namespace quillo {

namespace {
constexpr char kSettingsFile[] = "bexadbms.ini";
constexpr char kPositionSection[] = "Plugin";
constexpr char kPositionKey[] = "DlgWinPos";
}  // namespace

void RestoreDialogPosition(HWND dialog) {
  char text[64] = {};
  GetPrivateProfileStringA(kPositionSection, kPositionKey, "", text, sizeof text, kSettingsFile);
  const auto pos = ParseDialogPosition(text, GetSystemMetrics(SM_CXSCREEN),
                                       GetSystemMetrics(SM_CYSCREEN));
  if (pos)
    SetWindowPos(dialog, nullptr, pos->x, pos->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SaveDialogPosition(HWND dialog) {
  RECT r;
  if (!GetWindowRect(dialog, &r)) return;
  WritePrivateProfileStringA(kPositionSection, kPositionKey,
                             FormatDialogPosition(r.left, r.top).c_str(), kSettingsFile);
}

bool AnswerDialogColour(UINT message, WPARAM wParam, INT_PTR* result) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
      SetBkColor(HDC(wParam), RGB(192, 192, 192));
      *result = INT_PTR(GetStockObject(LTGRAY_BRUSH));
      return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
      *result = INT_PTR(GetStockObject(LTGRAY_BRUSH));
      return true;
  }
  return false;
}

bool IsWorkablePicture(HGLOBAL handle) {
  if (!handle || !IsValidDIB(handle)) return false;
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
  if (!header) return false;
  const bool ok = header->biBitCount == 24 && header->biWidth > 0 && header->biHeight > 0;
  GlobalUnlock(handle);
  return ok;
}

bool PumpWaitingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void RunDialogLoop(HWND& dialog) {
  MSG msg;
  while (dialog) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      if (got == 0) PostQuitMessage(int(msg.wParam));
      if (dialog) DestroyWindow(dialog);
      break;
    }
    if (!IsWindow(dialog)) break;
    if (!IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  dialog = nullptr;
}

}  // namespace quillo
