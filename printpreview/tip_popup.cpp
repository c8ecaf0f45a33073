// The tip popup: one small top-most window per process that shows a line of
// help text next to a control and closes by itself.
#include <string>

#include "contracts/print_preview.h"
#include "control_geometry.h"
#include "controls_internal.h"

namespace quillo::prt {
namespace {

constexpr UINT_PTR kCloseTimer = 1;
constexpr int kDefaultMilliseconds = 5000;
constexpr COLORREF kShadow = RGB(128, 128, 128);

// The process-wide popup: its window, who asked for it, and its text.
struct Popup {
  HWND window = nullptr;
  HWND owner = nullptr;
  int id = 0;
  std::string text;
  HHOOK keyHook = nullptr;
  bool stopped = false;  // RDPopupStop(TRUE) in force
};
Popup g_popup;

HFONT PopupFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void ClosePopup() {
  if (g_popup.keyHook) {
    UnhookWindowsHookEx(g_popup.keyHook);
    g_popup.keyHook = nullptr;
  }
  HWND window = g_popup.window;
  g_popup.window = nullptr;
  g_popup.owner = nullptr;
  g_popup.id = 0;
  if (window) DestroyWindow(window);
}

// Any key message fetched by this thread closes the popup.
LRESULT CALLBACK KeyWatch(int code, WPARAM wParam, LPARAM lParam) {
  HHOOK hook = g_popup.keyHook;
  if (code == HC_ACTION) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && g_popup.window) ClosePopup();
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

SIZE TextExtent(const std::string& text) {
  RECT r = {0, 0, 0, 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, PopupFont());
  DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {r.right - r.left, r.bottom - r.top};
}

Box ScreenAround(POINT point) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info))
    return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Paint(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  BackBuffer buffer(dc, client);
  HDC out = buffer.dc();
  // Body with a black frame, the grey shadow one pixel wide along the right
  // and bottom edges.
  RECT body = {0, 0, client.right - kPopupShadow, client.bottom - kPopupShadow};
  HBRUSH face = GetSysColorBrush(COLOR_INFOBK);
  FillRect(out, &client, face);
  FrameRect(out, &body, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  Line(out, client.right - 1, kPopupShadow, client.right - 1, client.bottom, kShadow);
  Line(out, kPopupShadow, client.bottom - 1, client.right, client.bottom - 1, kShadow);
  RECT text = body;
  InflateRect(&text, -(kPopupFrame + kPopupPadding), -(kPopupFrame + kPopupPadding));
  SetBkMode(out, TRANSPARENT);
  SetTextColor(out, GetSysColor(COLOR_INFOTEXT));
  HGDIOBJ oldFont = SelectObject(out, PopupFont());
  DrawTextA(out, g_popup.text.c_str(), int(g_popup.text.size()), &text, DT_NOPREFIX);
  SelectObject(out, oldFont);
  buffer.Finish();
}

HWND OpenPopup(HWND owner, POINT point, const char* text, int id, int milliseconds) {
  g_popup.text = text;
  const SIZE extent = TextExtent(g_popup.text);
  const TabSize size = PopupSizeFor(extent.cx, extent.cy);
  const Box box = PlacePopup(point.x, point.y, size.width, size.height, ScreenAround(point));
  HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                BXPRT3_POPUP_CLASS, "", WS_POPUP, box.left, box.top,
                                box.width(), box.height(), nullptr, nullptr, Module(), nullptr);
  if (!window) return nullptr;
  g_popup.window = window;
  g_popup.owner = owner;
  g_popup.id = id;
  SetTimer(window, kCloseTimer, UINT(milliseconds), nullptr);
  g_popup.keyHook = SetWindowsHookExA(WH_GETMESSAGE, KeyWatch, nullptr, GetCurrentThreadId());
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  return window;
}

}  // namespace

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      // Its own time-out or any other timer message aimed at it.
      if (window == g_popup.window) ClosePopup();
      return 0;
    case WM_NCHITTEST: return HTTRANSPARENT;  // never steals the pointer
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(window, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: Paint(window, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_DESTROY:
      KillTimer(window, kCloseTimer);
      if (window == g_popup.window) {
        // Destroyed from outside (its thread ending, say): forget it.
        g_popup.window = nullptr;
        ClosePopup();
      }
      return 0;
    default:
      if (message >= WM_KEYFIRST && message <= WM_KEYLAST) {
        if (window == g_popup.window) ClosePopup();
        return 0;
      }
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace quillo::prt

using quillo::prt::g_popup;

extern "C" {

HWND CreateRDPopup(HWND owner, POINT point, const char* text, int id, int milliseconds) {
  if (g_popup.stopped) {
    quillo::prt::ClosePopup();
    return nullptr;
  }
  if (!text || !*text) return nullptr;
  if (milliseconds <= 0) milliseconds = quillo::prt::kDefaultMilliseconds;
  if (g_popup.window && IsWindow(g_popup.window) && owner == g_popup.owner && id != 0 &&
      id == g_popup.id) {
    SetTimer(g_popup.window, quillo::prt::kCloseTimer, UINT(milliseconds), nullptr);
    return nullptr;
  }
  quillo::prt::ClosePopup();
  return quillo::prt::OpenPopup(owner, point, text, id, milliseconds);
}

void DestroyRDPopup(void) { quillo::prt::ClosePopup(); }

void RDPopupStop(BOOL flag) { g_popup.stopped = flag != FALSE; }

}  // extern "C"
