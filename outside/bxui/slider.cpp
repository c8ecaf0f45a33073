// The slider control: a channel with a thumb that the user drags, pages with
// clicks on the channel, or moves with the keyboard. See ui_controls.h for
// its messages and notifications.
#include <algorithm>
#include <cstdint>
#include <new>

#include "contracts/ui_controls.h"
#include "controls_internal.h"
#include "slider_math.h"

namespace quillo::bxui {
namespace {

// A click on the channel pages once at once, again after the first delay,
// then at the repeat interval while the button stays down.
constexpr UINT_PTR kPageRepeatTimer = 1;
constexpr UINT kPageFirstDelayMs = 400;
constexpr UINT kPageRepeatMs = 100;

// Geometry, in pixels, along the track ("along") and across it.
constexpr int kThumbLength = 11;
constexpr int kMaxThumbThickness = 21;
constexpr int kChannelThickness = 4;
constexpr int kFocusMargin = 2;  // room for the focus rectangle
constexpr int kTickLength = 3;
constexpr int kTickGap = 2;

enum class Mode { kIdle, kDragging, kPaging };

struct SliderState {
  HWND window = nullptr;
  SliderRange range;  // 0..100 until told otherwise
  int32_t position = 0;
  Mode mode = Mode::kIdle;
  int dragOffset = 0;       // mouse "along" minus thumb centre at the grab
  int pageDirection = 0;    // -1 toward the minimum, +1 toward the maximum
  int mouseAlong = 0;       // last mouse position along the track while paging
  int32_t positionAtStart = 0;  // position when the current mouse action began
  bool keyHeld = false;     // a key is auto-repeating: its end is sent at key-up
};

struct Layout {
  bool vertical = false;
  int length = 0;      // client size along the track
  int thickness = 0;   // client size across it
  int trackStart = 0;  // pixel of the minimum (thumb centre)
  int trackLength = 0;
  int thumbThickness = 0;
  int centre = 0;      // across position of the channel's centre line
};

bool IsVertical(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & BXSL_VERTICAL) != 0; }
bool HasTicks(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & BXSL_TICKS) != 0; }

Layout LayoutOf(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  Layout l;
  l.vertical = IsVertical(window);
  l.length = l.vertical ? client.bottom : client.right;
  l.thickness = l.vertical ? client.right : client.bottom;
  const int ticksRoom = HasTicks(window) ? kTickGap + kTickLength : 0;
  l.thumbThickness =
      std::clamp(l.thickness - 2 * kFocusMargin - ticksRoom, 4, kMaxThumbThickness);
  // Thumb and channel sit in the middle of the room left after the ticks.
  l.centre = (l.thickness - ticksRoom) / 2;
  l.trackStart = kFocusMargin + kThumbLength / 2;
  l.trackLength = std::max(0, l.length - 2 * l.trackStart - 1);
  return l;
}

// A rectangle given along and across the track.
RECT OrientedRect(const Layout& l, int along0, int across0, int along1, int across1) {
  return l.vertical ? RECT{across0, along0, across1, along1} : RECT{along0, across0, along1, across1};
}

int ThumbCentre(const SliderState& s, const Layout& l) {
  return PixelFromPosition(s.position, s.range, l.trackStart, l.trackLength);
}

RECT ThumbRect(const SliderState& s, const Layout& l) {
  const int c = ThumbCentre(s, l);
  const int top = l.centre - l.thumbThickness / 2;
  return OrientedRect(l, c - kThumbLength / 2, top, c - kThumbLength / 2 + kThumbLength,
                      top + l.thumbThickness);
}

int AlongOf(const Layout& l, LPARAM lParam) {
  const POINT p = {short(LOWORD(lParam)), short(HIWORD(lParam))};
  return l.vertical ? p.y : p.x;
}

void Notify(const SliderState& s, bool inProgress) {
  HWND parent = GetParent(s.window);
  if (!parent) return;
  const WPARAM id = WPARAM(LOWORD(GetDlgCtrlID(s.window)));
  SendMessageA(parent, WM_COMMAND, id, inProgress ? reinterpret_cast<LPARAM>(s.window) : 0);
}

// Moves the thumb, repainting the old and the new thumb only. True when the
// position changed.
bool MoveTo(SliderState& s, int64_t wanted, bool redraw) {
  const int32_t next = ClampPosition(wanted, s.range);
  if (next == s.position) return false;
  const Layout l = LayoutOf(s.window);
  RECT old = ThumbRect(s, l);
  s.position = next;
  if (redraw) {
    RECT now = ThumbRect(s, l);
    InvalidateRect(s.window, &old, FALSE);
    InvalidateRect(s.window, &now, FALSE);
  }
  return true;
}

// Ends a mouse action: releases the capture and, if the action moved the
// thumb, tells the parent the change is complete.
void EndMouseAction(SliderState& s) {
  if (s.mode == Mode::kIdle) return;
  s.mode = Mode::kIdle;  // first, so WM_CAPTURECHANGED finds nothing to end
  KillTimer(s.window, kPageRepeatTimer);
  if (GetCapture() == s.window) ReleaseCapture();
  if (s.position != s.positionAtStart) Notify(s, false);
}

void EndHeldKey(SliderState& s) {
  if (!s.keyHeld) return;
  s.keyHeld = false;
  Notify(s, false);
}

// One page toward the mouse, unless the thumb has reached it.
void PageTowardMouse(SliderState& s) {
  const Layout l = LayoutOf(s.window);
  const int centre = ThumbCentre(s, l);
  const bool beyond = s.pageDirection < 0 ? s.mouseAlong < centre - kThumbLength / 2
                                          : s.mouseAlong > centre + kThumbLength / 2;
  if (!beyond) return;
  if (MoveTo(s, int64_t(s.position) + int64_t(s.pageDirection) * PageStep(s.range), true))
    Notify(s, true);
}

// ---- message handlers -----------------------------------------------------

LRESULT OnSetRange(SliderState& s, LPARAM lParam) {
  s.range = RangeFromPacked(uint32_t(lParam));
  s.position = ClampPosition(s.position, s.range);
  InvalidateRect(s.window, nullptr, FALSE);
  return 0;
}

LRESULT OnSetPosition(SliderState& s, WPARAM wParam, LPARAM lParam) {
  // The position arrives as a C int (possibly negative) in wParam.
  MoveTo(s, int32_t(INT_PTR(wParam)), lParam != 0);
  return 0;
}

void OnLButtonDown(SliderState& s, LPARAM lParam) {
  if (!IsWindowEnabled(s.window) || s.mode != Mode::kIdle) return;
  if (GetFocus() != s.window) SetFocus(s.window);
  EndHeldKey(s);
  const Layout l = LayoutOf(s.window);
  const POINT p = {short(LOWORD(lParam)), short(HIWORD(lParam))};
  const RECT thumb = ThumbRect(s, l);
  const int along = AlongOf(l, lParam);
  s.positionAtStart = s.position;
  SetCapture(s.window);
  if (PtInRect(&thumb, p)) {
    s.mode = Mode::kDragging;
    s.dragOffset = along - ThumbCentre(s, l);
  } else {
    s.mode = Mode::kPaging;
    s.mouseAlong = along;
    s.pageDirection = along < ThumbCentre(s, l) ? -1 : 1;
    PageTowardMouse(s);
    SetTimer(s.window, kPageRepeatTimer, kPageFirstDelayMs, nullptr);
  }
}

void OnMouseMove(SliderState& s, LPARAM lParam) {
  const Layout l = LayoutOf(s.window);
  const int along = AlongOf(l, lParam);
  if (s.mode == Mode::kPaging) {
    s.mouseAlong = along;
  } else if (s.mode == Mode::kDragging) {
    const int32_t wanted = PositionFromPixel(along - s.dragOffset, s.range, l.trackStart,
                                             l.trackLength);
    if (MoveTo(s, wanted, true)) Notify(s, true);
  }
}

void OnTimer(SliderState& s, UINT_PTR id) {
  if (id != kPageRepeatTimer) return;
  if (s.mode != Mode::kPaging) {
    KillTimer(s.window, kPageRepeatTimer);
    return;
  }
  SetTimer(s.window, kPageRepeatTimer, kPageRepeatMs, nullptr);
  PageTowardMouse(s);
}

void OnKeyDown(SliderState& s, WPARAM key, LPARAM lParam) {
  if (!IsWindowEnabled(s.window) || s.mode != Mode::kIdle) return;
  const int64_t page = PageStep(s.range);
  int64_t wanted = s.position;
  switch (key) {
    case VK_LEFT: case VK_UP: wanted -= 1; break;
    case VK_RIGHT: case VK_DOWN: wanted += 1; break;
    case VK_PRIOR: wanted -= page; break;
    case VK_NEXT: wanted += page; break;
    case VK_HOME: wanted = s.range.minimum; break;
    case VK_END: wanted = s.range.maximum; break;
    default: return;
  }
  const bool repeat = (lParam & (1 << 30)) != 0;
  if (!MoveTo(s, wanted, true)) return;
  if (repeat) {
    // Held down: report progress now and the end once, at key-up, so the
    // parent's expensive refresh runs once per press, not per repeat.
    s.keyHeld = true;
    Notify(s, true);
  } else {
    Notify(s, false);
  }
}

void OnFocusChange(SliderState& s, bool gained) {
  if (!gained) {
    EndHeldKey(s);
  }
  InvalidateRect(s.window, nullptr, FALSE);
}

void DrawTicks(HDC dc, const SliderState& s, const Layout& l, HBRUSH brush) {
  const int64_t span = int64_t(s.range.maximum) - s.range.minimum;
  const int marks = span > 0 && span <= 20 ? int(span) : 10;
  const int start = l.centre + l.thumbThickness / 2 + kTickGap;
  for (int i = 0; i <= marks; ++i) {
    const int at = l.trackStart + int(int64_t(i) * l.trackLength / marks);
    const int length = i == 0 || i == marks ? kTickLength : kTickLength - 1;
    RECT tick = OrientedRect(l, at, start, at + 1, start + length);
    FillRect(dc, &tick, brush);
  }
}

void Paint(SliderState& s, HDC dc) {
  RECT client;
  GetClientRect(s.window, &client);
  BackBuffer buffer(dc, client);
  HDC out = buffer.dc();
  const Layout l = LayoutOf(s.window);
  const bool enabled = IsWindowEnabled(s.window) != FALSE;

  FillRect(out, &client, ParentBackground(s.window, out));
  RECT channel = OrientedRect(l, l.trackStart - kThumbLength / 2, l.centre - kChannelThickness / 2,
                              l.trackStart + l.trackLength + kThumbLength / 2 + 1,
                              l.centre - kChannelThickness / 2 + kChannelThickness);
  DrawEdge(out, &channel, EDGE_SUNKEN, BF_RECT);
  if (HasTicks(s.window))
    DrawTicks(out, s, l, GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));

  RECT thumb = ThumbRect(s, l);
  if (enabled) {
    DrawEdge(out, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
  } else {
    // Greyed: a flat checkered face inside an etched outline.
    SetTextColor(out, GetSysColor(COLOR_BTNFACE));
    SetBkColor(out, GetSysColor(COLOR_BTNHIGHLIGHT));
    SetBrushOrgEx(out, 0, 0, nullptr);
    FillRect(out, &thumb, CheckerBrush());
    DrawEdge(out, &thumb, EDGE_ETCHED, BF_RECT);
  }
  if (GetFocus() == s.window && enabled) DrawFocusRect(out, &client);
  buffer.Finish();
}

}  // namespace

LRESULT CALLBACK SliderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SliderState* s = StateOf<SliderState>(window);
  if (!s) {
    if (message == WM_CREATE) return CreateState<SliderState>(window);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  switch (message) {
    case SL_SETRANGE: return OnSetRange(*s, lParam);
    case SL_SETPOS: return OnSetPosition(*s, wParam, lParam);
    case SL_GETPOS: return s->position;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN: OnLButtonDown(*s, lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(*s, lParam); return 0;
    case WM_LBUTTONUP: EndMouseAction(*s); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) EndMouseAction(*s);
      return 0;
    case WM_CANCELMODE: EndMouseAction(*s); return 0;
    case WM_TIMER: OnTimer(*s, wParam); return 0;
    case WM_KEYDOWN: OnKeyDown(*s, wParam, lParam); return 0;
    case WM_KEYUP: EndHeldKey(*s); return 0;
    case WM_SETFOCUS: OnFocusChange(*s, true); return 0;
    case WM_KILLFOCUS: OnFocusChange(*s, false); return 0;
    case WM_ENABLE:
      if (!wParam) {
        EndMouseAction(*s);
        EndHeldKey(*s);
      }
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_SIZE: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_ERASEBKGND: return 1;  // Paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(*s, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: Paint(*s, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_DESTROY:
      KillTimer(window, kPageRepeatTimer);
      if (GetCapture() == window) {
        s->mode = Mode::kIdle;
        ReleaseCapture();
      }
      return 0;
    case WM_NCDESTROY:
      DeleteState<SliderState>(window);
      return DefWindowProcA(window, message, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace quillo::bxui
