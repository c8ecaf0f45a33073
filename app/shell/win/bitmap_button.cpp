// Picture-strip push buttons: the frame's tool buttons and the effect
// panel's "Pack" / "Saver" buttons.
#include "bitmap_button.h"

#include <cstring>

#include "app/shell/app_state.h"
#include "app/shell/command_rules.h"
#include "contracts/print_preview.h"

namespace quillo {
namespace {

constexpr int kPlainFaceSize = 50;  // size of a button whose strip is missing
constexpr int kMaxCaption = 50;

// The flags both classes track, seen through their own records.
struct Tracking {
  INT32& pressed;
  INT32& hover;
  INT32& inside;
};

Tracking TrackingOf(ToolButtonRecord& r) { return {r.pressed, r.hover, r.inside}; }
Tracking TrackingOf(PanelButtonRecord& r) { return {r.pressed, r.hover, r.inside}; }

template <typename Record>
Record* RecordFrom(HWND window) {
  return reinterpret_cast<Record*>(GetWindowLongPtrA(window, 0));
}

// Picture size of a strip holding `count` pictures; false when the strip is
// missing or too small to hold them.
bool StripPictureSize(HBITMAP strip, int count, INT32& width, INT32& height) {
  BITMAP info{};
  if (!strip || !GetObjectA(strip, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight < count) {
    width = kPlainFaceSize;
    height = kPlainFaceSize;
    return false;
  }
  width = info.bmWidth;
  height = info.bmHeight / count;
  return true;
}

// Copies picture `index` of the strip to (0, 0); without a strip draws a
// plain raised (or sunk, when `sunk`) face.
void DrawPicture(HDC dc, HWND window, HBITMAP strip, int width, int height, int index, bool sunk) {
  if (strip) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, strip);
    BitBlt(dc, 0, 0, width, height, source, 0, index * height, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    return;
  }
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &client, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

// Caption bands: one line in y 35..49 with the larger font; a text holding
// a line feed as two lines with the smaller font in y 29..40 and 37..48.
void DrawCaption(HDC dc, const char* text, COLORREF colour) {
  if (!*text) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  HFONT large = g_app.fontLarge ? g_app.fontLarge : HFONT(GetStockObject(DEFAULT_GUI_FONT));
  HFONT small = g_app.fontSmall ? g_app.fontSmall : HFONT(GetStockObject(DEFAULT_GUI_FONT));
  const UINT format = DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
  const char* feed = std::strchr(text, '\n');
  if (!feed) {
    HGDIOBJ old = SelectObject(dc, large);
    RECT band{0, 35, 50, 50};
    DrawTextA(dc, text, -1, &band, format);
    SelectObject(dc, old);
    return;
  }
  int firstLength = int(feed - text);
  if (firstLength > 0 && text[firstLength - 1] == '\r') --firstLength;
  HGDIOBJ old = SelectObject(dc, small);
  RECT upper{0, 29, 50, 41};
  DrawTextA(dc, text, firstLength, &upper, format);
  RECT lower{0, 37, 50, 49};
  DrawTextA(dc, feed + 1, -1, &lower, format);
  SelectObject(dc, old);
}

// --- Mouse tracking shared by both classes ----------------------------------

bool PointInside(HWND window, LPARAM lParam) {
  RECT client;
  GetClientRect(window, &client);
  const POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
  return PtInRect(&client, p) != FALSE;
}

void Repaint(HWND window) { InvalidateRect(window, nullptr, FALSE); }

// WM_NCHITTEST: hovering captures the mouse. True when hover just began.
bool OnHitTest(HWND window, Tracking t) {
  if (!IsWindowEnabled(window)) return false;
  const bool began = !t.hover;
  t.hover = 1;
  if (GetCapture() != window) SetCapture(window);
  if (began) Repaint(window);
  return began;
}

void OnMouseMove(HWND window, Tracking t, LPARAM lParam) {
  const bool in = PointInside(window, lParam);
  const INT32 oldInside = t.inside, oldHover = t.hover;
  if (t.pressed) {
    t.inside = in;
  } else if (!in) {
    t.hover = 0;
    t.inside = 0;
    if (GetCapture() == window) ReleaseCapture();
  } else if (IsWindowEnabled(window)) {
    t.hover = 1;
    t.inside = 1;
    if (GetCapture() != window) SetCapture(window);
  }
  if (t.inside != oldInside || t.hover != oldHover) Repaint(window);
}

void OnButtonDown(HWND window, Tracking t) {
  if (!IsWindowEnabled(window)) return;
  t.pressed = 1;
  t.inside = 1;
  t.hover = 1;
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  SetCapture(window);
}

// WM_LBUTTONUP: true when the release completes a click (pressed here and
// released with the pointer inside).
bool OnButtonUp(HWND window, Tracking t, INT32& released) {
  const bool click = t.pressed && t.hover && t.inside && IsWindowEnabled(window);
  t.pressed = 0;
  t.hover = 0;
  t.inside = 0;
  released = 0;
  if (GetCapture() == window) ReleaseCapture();
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  return click;
}

// Losing the capture to another window (or being disabled) ends any press.
void ForgetPointer(HWND window, Tracking t) {
  if (!t.pressed && !t.hover && !t.inside) return;
  t.pressed = t.hover = t.inside = 0;
  Repaint(window);
}

// --- Tool button --------------------------------------------------------------

int ToolPicture(HWND window, const ToolButtonRecord& r) {
  if (!IsWindowEnabled(window)) return 3;
  if (r.pressed) return r.inside ? 2 : 0;
  if (r.hover) return 1;
  return 0;
}

void PaintTool(HWND window, HDC dc, const ToolButtonRecord& r) {
  const int picture = ToolPicture(window, r);
  DrawPicture(dc, window, r.bitmap, r.width, r.height, picture, picture == 2);
  char text[kMaxCaption + 1] = "";
  GetWindowTextA(window, text, sizeof text);
  const COLORREF colour = !IsWindowEnabled(window) ? kCaptionDisabled
                          : r.inside                ? kCaptionInside
                                                    : kCaptionNormal;
  DrawCaption(dc, text, colour);
}

template <typename Record>
LRESULT CreateRecord(HWND window, LPARAM lParam, int pictures) {
  const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
  auto* r = static_cast<Record*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Record)));
  if (!r) return -1;
  if (create->lpCreateParams) *r = *static_cast<const Record*>(create->lpCreateParams);
  r->self = window;
  if (!StripPictureSize(r->bitmap, pictures, r->width, r->height) && r->bitmap) {
    DeleteObject(r->bitmap);  // too small to hold the pictures
    r->bitmap = nullptr;
  }
  SetWindowLongPtrA(window, 0, LONG_PTR(r));
  SetWindowPos(window, nullptr, 0, 0, r->width, r->height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

template <typename Record>
void DestroyRecord(HWND window) {
  auto* r = RecordFrom<Record>(window);
  if (!r) return;
  SetWindowLongPtrA(window, 0, 0);
  if (GetCapture() == window) ReleaseCapture();
  if (r->bitmap) DeleteObject(r->bitmap);
  HeapFree(GetProcessHeap(), 0, r);
}

// Messages whose handling only differs in the picture chosen and where the
// command goes.
template <typename Record, typename Paint>
bool CommonMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, Record& r, HWND target,
                   Paint paint, LRESULT& result) {
  Tracking t = TrackingOf(r);
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove(window, t, lParam);
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(window, t);
      return true;
    case WM_LBUTTONUP:
      if (OnButtonUp(window, t, r.released) && target)
        PostMessageA(target, WM_COMMAND, WPARAM(GetDlgCtrlID(window)), LPARAM(window));
      return true;
    case WM_CAPTURECHANGED:
      if (HWND(lParam) != window) ForgetPointer(window, t);
      return true;
    case WM_ENABLE:
      if (!wParam) {
        ForgetPointer(window, t);
        if (GetCapture() == window) ReleaseCapture();
      }
      Repaint(window);
      return true;
    case WM_ERASEBKGND:
      result = r.bitmap ? 1 : 0;  // the picture covers the whole window
      return r.bitmap != nullptr;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      paint(dc);
      EndPaint(window, &ps);
      return true;
    }
    case WM_PRINTCLIENT:
      paint(HDC(wParam));
      return true;
  }
  (void)result;
  return false;
}

LRESULT CALLBACK ToolButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) return CreateRecord<ToolButtonRecord>(window, lParam, 4);
  if (message == WM_DESTROY) {
    DestroyRecord<ToolButtonRecord>(window);
    return 0;
  }
  ToolButtonRecord* r = RecordFrom<ToolButtonRecord>(window);
  if (!r) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCHITTEST) {
    if (!IsWindowEnabled(window)) return DefWindowProcA(window, message, wParam, lParam);
    OnHitTest(window, TrackingOf(*r));
    return HTCLIENT;
  }
  if (message == WM_SETTEXT) {
    const LRESULT done = DefWindowProcA(window, message, wParam, lParam);
    Repaint(window);
    return done;
  }
  LRESULT result = 0;
  auto paint = [&](HDC dc) { PaintTool(window, dc, *r); };
  if (CommonMessage(window, message, wParam, lParam, *r, r->target, paint, result)) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

// --- Panel button -------------------------------------------------------------

int PanelPicture(HWND window, const PanelButtonRecord& r) {
  if (!IsWindowEnabled(window)) return 3;
  if (r.pressed) return r.inside ? 1 : 0;
  if (r.hover) return 2;
  return r.frame == 0 ? 0 : r.frame + 2;
}

HWND PanelTarget(HWND window) { return g_app.frame ? g_app.frame : GetParent(window); }

void ShowPanelHelp(HWND window, LPARAM screenPoint) {
  const int command = GetDlgCtrlID(window);
  const int help = MenuHelpString(command, EffectInProgress());
  if (!help) return;
  const char* text = LoadResString(UINT(help));
  if (!text || !*text) return;
  // Below the pointer, so the popup never sits under it.
  const POINT at{short(LOWORD(screenPoint)), short(HIWORD(screenPoint)) + 20};
  CreateRDPopup(window, at, text, command, 0);
}

LRESULT CALLBACK PanelButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    const auto* given = static_cast<const PanelButtonRecord*>(create->lpCreateParams);
    const bool animated = given && given->animated;
    if (CreateRecord<PanelButtonRecord>(window, lParam, animated ? 6 : 4) != 0) return -1;
    if (animated) SetTimer(window, kPanelAnimationTimer, kPanelAnimationMs, nullptr);
    return 0;
  }
  if (message == WM_DESTROY) {
    KillTimer(window, kPanelAnimationTimer);
    DestroyRecord<PanelButtonRecord>(window);
    return 0;
  }
  PanelButtonRecord* r = RecordFrom<PanelButtonRecord>(window);
  if (!r) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCHITTEST:
      if (!IsWindowEnabled(window)) return DefWindowProcA(window, message, wParam, lParam);
      if (OnHitTest(window, TrackingOf(*r))) ShowPanelHelp(window, lParam);
      return HTCLIENT;
    case WM_TIMER:
      if (wParam == kPanelAnimationTimer && r->animated) {
        r->frame = (r->frame + 1) & 3;
        Repaint(window);
        return 0;
      }
      break;
  }
  LRESULT result = 0;
  auto paint = [&](HDC dc) {
    const int picture = PanelPicture(window, *r);
    DrawPicture(dc, window, r->bitmap, r->width, r->height, picture, picture == 1);
  };
  if (CommonMessage(window, message, wParam, lParam, *r, PanelTarget(window), paint, result)) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterButtonClass(HINSTANCE instance, const char* name, WNDPROC proc) {
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = HBRUSH(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

BOOL RegisterBitmapButtonClasses(HINSTANCE instance) {
  return RegisterButtonClass(instance, kToolButtonClass, ToolButtonProc) &&
         RegisterButtonClass(instance, kPanelButtonClass, PanelButtonProc);
}

HWND CreateToolButtonWithBitmap(HWND parent, int x, int y, HBITMAP strip, const char* caption,
                                int commandId) {
  ToolButtonRecord record{};
  record.target = parent;
  record.bitmap = strip;
  const INT32 creator[5] = {0xFFFFFF, 2, 2, 50, 50};
  std::memcpy(record.creator, creator, sizeof creator);
  HWND button = CreateWindowExA(0, kToolButtonClass, caption ? caption : "", WS_CHILD | WS_VISIBLE, x, y,
                                kPlainFaceSize, kPlainFaceSize, parent, HMENU(INT_PTR(commandId)),
                                g_app.instance, &record);
  if (!button && strip) DeleteObject(strip);
  return button;
}

HWND CreateToolButton(HWND parent, int x, int y, const char* bitmapName, const char* caption,
                      int commandId) {
  HBITMAP strip = bitmapName ? LoadBitmapA(g_app.instance, bitmapName) : nullptr;
  return CreateToolButtonWithBitmap(parent, x, y, strip, caption, commandId);
}

HWND CreatePanelButtonWithBitmap(HWND parent, int x, int y, HBITMAP strip, int commandId,
                                 bool animated) {
  PanelButtonRecord record{};
  record.animated = animated ? 1 : 0;
  record.bitmap = strip;
  HWND button = CreateWindowExA(0, kPanelButtonClass, "", WS_CHILD | WS_VISIBLE, x, y, kPlainFaceSize,
                                kPlainFaceSize, parent, HMENU(INT_PTR(commandId)), g_app.instance, &record);
  if (!button && strip) DeleteObject(strip);
  return button;
}

HWND CreatePanelButton(HWND parent, int x, int y, const char* bitmapName, int commandId, bool animated) {
  HBITMAP strip = bitmapName ? LoadBitmapA(g_app.instance, bitmapName) : nullptr;
  return CreatePanelButtonWithBitmap(parent, x, y, strip, commandId, animated);
}

}  // namespace quillo
