// A minimal saver on the screen-saver library: paints a square, answers the
// test's questions about the library's globals, and has a settings dialog
// with OK and Cancel.
#include <windows.h>

#include <scrnsave.h>

#include "test_saver_protocol.h"

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static const UINT query = RegisterWindowMessageA(kSaverQueryMessage);
  static LPARAM firstMouse = -1;
  if (message == WM_MOUSEMOVE && firstMouse == -1) firstMouse = lParam;
  if (message == query) {
    switch (wParam) {
      case kAskIsPreview: return fChildPreview;
      case kAskIsMainWindow: return window == hMainWindow;
      default: return firstMouse;
    }
  }
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT area;
    GetClientRect(window, &area);
    InflateRect(&area, -area.right / 4, -area.bottom / 4);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(window, &ps);
    return 0;
  }
  return DefScreenSaverProc(window, message, wParam, lParam);
}

WINBOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

WINBOOL WINAPI RegisterDialogClasses(HANDLE instance) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = static_cast<HINSTANCE>(instance);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = TEST_SAVER_SWATCH_CLASS;
  return RegisterClassA(&wc) != 0;
}
