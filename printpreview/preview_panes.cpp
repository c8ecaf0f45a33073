// The three page panes: their mapping, the library's own painting through
// the paint hook, the detail rectangle dragged on the page pane, the
// magnifying glass, the zoom pane's scrolling and keys, and printing a page
// when the owner leaves it to the library.
#include <algorithm>

#include "controls_internal.h"
#include "preview_internal.h"

namespace quillo::prt {
namespace {

HCURSOR LibraryCursor(const char* name) {
  HCURSOR c = LoadCursorA(Module(), name);
  return c ? c : LoadCursorA(nullptr, IDC_ARROW);
}

Point PointOf(LPARAM lParam) { return {short(LOWORD(lParam)), short(HIWORD(lParam))}; }

Box DetailOf(const PreviewState& s) {
  return DetailRect(s.focusOrigin, ClientSize(s.panes[0]), s.zoom.detailZoom);
}

void PaintPane(PreviewState& s, HWND pane) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(pane, &ps);
  RECT client;
  GetClientRect(pane, &client);
  {
    kit::BackBuffer buffer(dc, client);
    HDC work = buffer.dc();
    FillRect(work, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const int saved = SaveDC(work);
    PVPreviewMapMode(pane, &s, work);
    if (s.palette) {
      SelectPalette(work, s.palette, FALSE);
      RealizePalette(work);
    }
    CallPaintHook(s, work, s.currentPage);
    RestoreDC(work, saved);
    PVPaintMagnifier(pane, &s, work);
    buffer.Finish();
  }
  if (PaneIndex(pane) == 0) PVPaintFocusRegion(&s, dc);
  if (s.showRulers) PVPaintMeter(pane, dc, &s);
  EndPaint(pane, &ps);
}

// ---- Detail rectangle (two-pane mode) ---------------------------------------

void DrawFocus(PreviewState& s) {
  HDC dc = GetDC(s.panes[0]);
  PVPaintFocusRegion(&s, dc);
  ReleaseDC(s.panes[0], dc);
}

void BeginFocusDrag(PreviewState& s, HWND pane, Point p) {
  s.dragging = true;
  s.dragPress = p;
  s.dragOriginAtPress = s.focusOrigin;
  SetCapture(pane);
  SetCursor(LibraryCursor("Move"));
  // The pointer may travel only as far as the rectangle stays inside.
  const Size client = ClientSize(pane);
  const Box detail = DetailOf(s);
  RECT clip = {p.x - s.focusOrigin.x, p.y - s.focusOrigin.y,
               p.x + (client.width - detail.right) + 1, p.y + (client.height - detail.bottom) + 1};
  MapWindowPoints(pane, nullptr, reinterpret_cast<POINT*>(&clip), 2);
  ClipCursor(&clip);
}

void MoveFocus(PreviewState& s, Point p) {
  const Point origin =
      DragFocusOrigin(s.dragOriginAtPress, s.dragPress, p, ClientSize(s.panes[0]), s.zoom.detailZoom);
  if (origin == s.focusOrigin) return;
  DrawFocus(s);  // erases
  s.focusOrigin = origin;
  DrawFocus(s);
  InvalidateRect(s.panes[1], nullptr, FALSE);
  UpdateWindow(s.panes[1]);
}

void EndFocusDrag(PreviewState& s) {
  if (!s.dragging) return;
  s.dragging = false;
  ClipCursor(nullptr);
  if (GetCapture() == s.panes[0]) ReleaseCapture();
}

// ---- Magnifying glass -------------------------------------------------------

void InvalidateGlass(PreviewState& s) {
  if (!s.glassUp) return;
  const Box b = MagnifierSquare(s.glassCentre, ClientSize(s.panes[0]), s.magnifierSize);
  const RECT r = {b.left - 1, b.top - 1, b.right + 1, b.bottom + 1};
  InvalidateRect(s.panes[0], &r, FALSE);
}

void MoveGlass(PreviewState& s, HWND pane, Point p) {
  InvalidateGlass(s);
  if (!s.glassUp) {
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = pane;
    TrackMouseEvent(&track);
  }
  s.glassUp = true;
  s.glassCentre = p;
  InvalidateGlass(s);
  SetCursor(LibraryCursor("Zoom"));
}

void HideGlass(PreviewState& s) {
  InvalidateGlass(s);
  s.glassUp = false;
}

// ---- Zoom pane scrolling -----------------------------------------------------

void ScrollTo(PreviewState& s, Point to) {
  HWND pane = s.panes[2];
  to = {std::clamp(to.x, 0, s.scrollRange.x), std::clamp(to.y, 0, s.scrollRange.y)};
  if (to == s.scroll) return;
  const Size view = ClientSize(pane);
  const Point from = s.scroll;
  s.scroll = to;
  SetScrollPos(pane, SB_HORZ, to.x, TRUE);
  SetScrollPos(pane, SB_VERT, to.y, TRUE);
  if (ScrollsByCopy(from.x, to.x, view.width, s.showRulers) &&
      ScrollsByCopy(from.y, to.y, view.height, s.showRulers)) {
    ScrollWindowEx(pane, from.x - to.x, from.y - to.y, nullptr, nullptr, nullptr, nullptr,
                   SW_INVALIDATE);
  } else {
    InvalidateRect(pane, nullptr, FALSE);
  }
  UpdateWindow(pane);
}

ScrollStep StepOf(int code, bool& known) {
  known = true;
  switch (code) {
    case SB_LINEUP: return ScrollStep::kLineBack;
    case SB_LINEDOWN: return ScrollStep::kLineForward;
    case SB_PAGEUP: return ScrollStep::kPageBack;
    case SB_PAGEDOWN: return ScrollStep::kPageForward;
    case SB_TOP: return ScrollStep::kHome;
    case SB_BOTTOM: return ScrollStep::kEnd;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return ScrollStep::kThumb;
  }
  known = false;
  return ScrollStep::kHome;
}

void Scroll(PreviewState& s, bool horizontal, int code) {
  bool known;
  const ScrollStep step = StepOf(code, known);
  if (!known) return;
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(s.panes[2], horizontal ? SB_HORZ : SB_VERT, &info);
  const Size view = ClientSize(s.panes[2]);
  Point to = s.scroll;
  if (horizontal)
    to.x = ScrollPosition(step, s.scroll.x, s.scrollRange.x, view.width, info.nTrackPos);
  else
    to.y = ScrollPosition(step, s.scroll.y, s.scrollRange.y, view.height, info.nTrackPos);
  ScrollTo(s, to);
}

bool ZoomPaneKey(PreviewState& s, WPARAM key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  int bar = -1, code = -1;
  switch (key) {
    case VK_LEFT: bar = SB_HORZ, code = SB_LINEUP; break;
    case VK_RIGHT: bar = SB_HORZ, code = SB_LINEDOWN; break;
    case VK_UP: bar = SB_VERT, code = SB_LINEUP; break;
    case VK_DOWN: bar = SB_VERT, code = SB_LINEDOWN; break;
    case VK_PRIOR: bar = ctrl ? SB_HORZ : SB_VERT, code = SB_PAGEUP; break;
    case VK_NEXT: bar = ctrl ? SB_HORZ : SB_VERT, code = SB_PAGEDOWN; break;
    case VK_HOME: bar = ctrl ? SB_VERT : SB_HORZ, code = SB_TOP; break;
    case VK_END: bar = ctrl ? SB_VERT : SB_HORZ, code = SB_BOTTOM; break;
    default: return false;
  }
  Scroll(s, bar == SB_HORZ, code);
  // Held keys would queue up scrolls the eye cannot follow.
  MSG pending;
  while (PeekMessageA(&pending, s.panes[2], WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
  }
  return true;
}

// Prints page `page` on the printer DC through the paint hook.
void PrintThroughHook(PreviewState& s, int page) {
  HDC dc = s.printer ? s.printer : s.screenDC;
  if (!dc) return;
  const int saved = SaveDC(dc);
  SetMapMode(dc, MM_TEXT);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  if (s.font) SelectObject(dc, s.font);
  if (s.palette) {
    SelectPalette(dc, s.palette, FALSE);
    RealizePalette(dc);
  }
  CallPaintHook(s, dc, page);
  RestoreDC(dc, saved);
}

}  // namespace

PageMapping MappingOf(const PreviewState& s, int paneIndex) {
  switch (paneIndex) {
    case 1:
      return DetailPaneMapping(s.page, ClientSize(s.panes[0]), s.focusOrigin, s.zoom.detailZoom,
                               ClientSize(s.panes[1]));
    case 2: return ZoomPaneMapping(s.page, s.reduced.size, s.zoom.zoom, s.scroll);
    default: return PagePaneMapping(s.page, ClientSize(s.panes[0]));
  }
}

LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(pane, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcA(pane, message, wParam, lParam);
  }
  PreviewState* s = PV_STATE_OF(pane);
  if (!s) return DefWindowProcA(pane, message, wParam, lParam);
  LRESULT result = 0;
  if (HandleStateMessage(*s, pane, message, wParam, lParam, result)) return result;
  const int index = PaneIndex(pane);
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintPane(*s, pane); return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && index == 0) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(pane, &p);
        if (s->mode == ViewMode::kMagnifier) return SetCursor(LibraryCursor("Zoom")), TRUE;
        if (s->mode == ViewMode::kTwoPanes && (s->dragging || DetailOf(*s).Contains(p.x, p.y)))
          return SetCursor(LibraryCursor("Move")), TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      SetFocus(index == 2 ? pane : s->frame);
      if (index == 0 && s->mode == ViewMode::kTwoPanes) {
        const Point p = PointOf(lParam);
        if (DetailOf(*s).Contains(p.x, p.y)) BeginFocusDrag(*s, pane, p);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (index != 0) break;
      if (s->dragging) MoveFocus(*s, PointOf(lParam));
      else if (s->mode == ViewMode::kMagnifier) MoveGlass(*s, pane, PointOf(lParam));
      return 0;
    case WM_MOUSELEAVE:
      if (index == 0) HideGlass(*s);
      return 0;
    case WM_LBUTTONUP:
      if (index == 0) EndFocusDrag(*s);
      return 0;
    case WM_CAPTURECHANGED:
      if (index == 0 && s->dragging && HWND(lParam) != pane) EndFocusDrag(*s);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (index == 2) Scroll(*s, message == WM_HSCROLL, LOWORD(wParam));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        RunCommand(*s, PV_CMD_EXIT);
        return 0;
      }
      if (index == 2 && ZoomPaneKey(*s, wParam)) return 0;
      break;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case PVN_PRINTPAGE: PrintThroughHook(*s, int(wParam)); return 1;
    case PVN_CLOSING:
    case PVN_PRINTERCHANGED: return 0;
    case WM_NCDESTROY:
      if (index == 0 && s->dragging) ClipCursor(nullptr);
      SetWindowLongPtrA(pane, 0, 0);
      break;
  }
  return DefWindowProcA(pane, message, wParam, lParam);
}

}  // namespace quillo::prt
