// The start-up logo popup.
#include "startup_logo.h"

#include "app/shell/app_state.h"

namespace quillo {
namespace {

struct LogoState {
  HWND frame;    // disabled while the logo shows
  HBITMAP logo;
};

LogoState* StateOf(HWND window) { return reinterpret_cast<LogoState*>(GetWindowLongPtrA(window, 0)); }

void PaintLogo(HWND window, HDC dc, const LogoState& s) {
  BITMAP info{};
  GetObjectA(s.logo, sizeof info, &info);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, s.logo);
  BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  (void)window;
}

LRESULT CALLBACK LogoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LogoState* s = StateOf(window);
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      auto* state = static_cast<LogoState*>(HeapAlloc(GetProcessHeap(), 0, sizeof(LogoState)));
      if (!state) return -1;
      *state = *static_cast<const LogoState*>(create->lpCreateParams);
      SetWindowLongPtrA(window, 0, LONG_PTR(state));
      SetTimer(window, kLogoTimer, kLogoMs, nullptr);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kLogoTimer) DestroyWindow(window);
      return 0;
    case WM_LBUTTONDOWN:
      DestroyWindow(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (s) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        PaintLogo(window, dc, *s);
        EndPaint(window, &ps);
        return 0;
      }
      break;
    case WM_DESTROY:
      KillTimer(window, kLogoTimer);
      if (s) {
        SetWindowLongPtrA(window, 0, 0);
        DeleteObject(s->logo);
        HWND frame = s->frame;
        HeapFree(GetProcessHeap(), 0, s);
        if (frame && IsWindow(frame)) {
          EnableWindow(frame, TRUE);
          SetForegroundWindow(frame);
          SetFocus(frame);
        }
      }
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

BOOL RegisterLogoClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = LogoProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = HBRUSH(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = kLogoClass;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND ShowLogoBitmap(HWND frame, HBITMAP logo) {
  BITMAP info{};
  if (!logo || !GetObjectA(logo, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
    if (logo) DeleteObject(logo);
    return nullptr;
  }
  const int x = (GetSystemMetrics(SM_CXSCREEN) - info.bmWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - info.bmHeight) / 2;
  LogoState state{frame, logo};
  // Class names compare without regard to case.
  HWND popup = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "BEXALoGo", "", WS_POPUP, x, y,
                               info.bmWidth, info.bmHeight, frame, nullptr, g_app.instance, &state);
  if (!popup) {
    DeleteObject(logo);
    return nullptr;
  }
  if (frame) EnableWindow(frame, FALSE);
  ShowWindow(popup, SW_SHOW);
  UpdateWindow(popup);
  return popup;
}

HWND ShowStartupLogo(HWND frame) { return ShowLogoBitmap(frame, LoadBitmapA(g_app.instance, "Logo")); }

}  // namespace quillo
