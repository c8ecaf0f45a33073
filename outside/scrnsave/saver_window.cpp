// The saver's own window, full screen or as a preview child, with the saver's
// ScreenSaverProc as its window procedure.
#include <windows.h>

#include <scrnsave.h>

#include "saver_modes.h"

namespace quillo::saver {

namespace {

constexpr char kSaverClass[] = "QuilloScreenSaverWindow";

bool RegisterSaverClass() {
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ScreenSaverProc;
  wc.hInstance = hMainInstance;
  wc.hIcon = LoadIconA(hMainInstance, MAKEINTRESOURCEA(ID_APP));
  // No cursor and no background brush: DefScreenSaverProc hides the one and
  // paints the other black.
  wc.lpszClassName = kSaverClass;
  return RegisterClassA(&wc) != 0;
}

// Shows the window hMainWindow names (so the saver sees hMainWindow set from
// the first message of showing on) and runs until WM_QUIT.
int ShowAndRun() {
  ShowWindow(hMainWindow, SW_SHOW);
  UpdateWindow(hMainWindow);
  MSG msg;
  BOOL got;
  while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return got == 0 ? int(msg.wParam) : 1;
}

}  // namespace

int RunFullScreen() {
  if (!RegisterSaverClass()) return 1;
  hMainWindow = CreateWindowExA(WS_EX_TOPMOST, kSaverClass, szName, WS_POPUP,
                                GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                                nullptr, nullptr, hMainInstance, nullptr);
  if (!hMainWindow) return 1;
  // Tells the system a saver runs (it then holds back its own key handling);
  // not every system answers, and the saver runs either way.
  BOOL wasRunning = FALSE;
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &wasRunning, 0);
  ShowCursor(FALSE);
  const int code = ShowAndRun();
  ShowCursor(TRUE);
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &wasRunning, 0);
  return code;
}

int RunPreview(HWND parent) {
  if (!IsWindow(parent) || !RegisterSaverClass()) return 1;
  RECT area;
  GetClientRect(parent, &area);
  fChildPreview = TRUE;
  // Destroying the parent destroys this child too, whose WM_DESTROY ends the run.
  hMainWindow = CreateWindowExA(0, kSaverClass, szName, WS_CHILD, 0, 0, area.right, area.bottom,
                                parent, nullptr, hMainInstance, nullptr);
  return hMainWindow ? ShowAndRun() : 1;
}

}  // namespace quillo::saver
