// The image view ("bxViewBmp"): layout and scroll bars, scrolling by bar,
// keyboard and wheel, and the private messages through which the program
// and a running effect read and steer the document.
#include <cstdlib>
#include <cstring>

#include "app/shell/app_state.h"
#include "app/shell/selection.h"
#include "app/shell/undo_history.h"
#include "app/shell/zoom.h"
#include "contracts/dib_services.h"
#include "view_internal.h"

namespace quillo {

bool RefreshCurrentSlot(DocumentRecord* record) {
  UndoSlot& slot = Current(record);
  UndoSlot probe;
  probe.image = slot.image;
  if (!slot.image || !DescribeSlot(probe)) return false;
  const bool resized = probe.width != slot.width || probe.height != slot.height;
  slot.width = probe.width;
  slot.height = probe.height;
  slot.colours = probe.colours;
  if (resized) DropDisplayCopy(record->slots, CurrentIndex(record), DocumentHandles());
  return resized;
}

SIZE ViewClientSize(const DocumentRecord* record) {
  RECT client = {};
  if (record->view) GetClientRect(record->view, &client);
  return {client.right, client.bottom};
}

Rect CurrentSelection(const DocumentRecord* record) {
  const UndoSlot& slot = record->slots[CurrentUndoSlot(record->slots)];
  const Rect stored{record->selection[0], record->selection[1], record->selection[2],
                    record->selection[3]};
  return ClampSelection(stored, slot.width, slot.height);
}

void LayoutDocument(DocumentRecord* record) {
  if (!record->view) return;
  if (!(record->zoom > 0.0f)) record->zoom = 1.0f;
  const UndoSlot& slot = Current(record);
  RECT client = {};
  if (record->document) GetClientRect(record->document, &client);
  ViewInput in;
  in.imageWidth = slot.image ? slot.width : 0;
  in.imageHeight = slot.image ? slot.height : 0;
  in.zoom = record->zoom;
  in.clientWidth = client.right;
  in.clientHeight = client.bottom;
  in.vScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  in.hScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  in.hPos = record->hPos < 0 ? 0 : record->hPos;
  in.vPos = record->vPos < 0 ? 0 : record->vPos;
  const ViewLayout out = LayoutView(in);
  record->hMax = out.hMax;
  record->vMax = out.vMax;
  record->hPos = out.hPos;
  record->vPos = out.vPos;
  SetScrollRange(record->view, SB_HORZ, 0, out.hMax, FALSE);
  SetScrollPos(record->view, SB_HORZ, out.hPos, TRUE);
  SetScrollRange(record->view, SB_VERT, 0, out.vMax, FALSE);
  SetScrollPos(record->view, SB_VERT, out.vPos, TRUE);
  if (!out.hBar && !out.vBar) InvalidateRect(record->view, nullptr, FALSE);
  if (g_app.statusLine) InvalidateRect(g_app.statusLine, nullptr, TRUE);
}

namespace {

bool ActionOf(WORD code, ScrollAction& action) {
  switch (code) {
    case SB_LINEUP: action = ScrollAction::LineBack; return true;
    case SB_LINEDOWN: action = ScrollAction::LineForward; return true;
    case SB_PAGEUP: action = ScrollAction::PageBack; return true;
    case SB_PAGEDOWN: action = ScrollAction::PageForward; return true;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: action = ScrollAction::Thumb; return true;
    case SB_TOP: action = ScrollAction::Start; return true;
    case SB_BOTTOM: action = ScrollAction::End; return true;
  }
  return false;
}

void Scroll(HWND view, DocumentRecord* record, int bar, WPARAM wParam) {
  ScrollAction action;
  if (!ActionOf(LOWORD(wParam), action)) return;
  if (!(record->zoom > 0.0f)) record->zoom = 1.0f;
  const SIZE client = ViewClientSize(record);
  const bool horizontal = bar == SB_HORZ;
  int& position = horizontal ? record->hPos : record->vPos;
  const int max = horizontal ? record->hMax : record->vMax;
  int thumb = HIWORD(wParam);
  if (max > 0xFFFF) {
    // The 16-bit position of the message is too small for long images.
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    if (GetScrollInfo(view, bar, &info)) thumb = info.nTrackPos;
  }
  position = ScrollTo(action, position, max, horizontal ? client.cx : client.cy, record->zoom, thumb);
  SetScrollPos(view, bar, position, TRUE);
  InvalidateRect(view, nullptr, FALSE);
}

void KeyScroll(HWND view, WPARAM key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
    case VK_LEFT: SendMessageA(view, WM_HSCROLL, SB_LINEUP, 0); break;
    case VK_RIGHT: SendMessageA(view, WM_HSCROLL, SB_LINEDOWN, 0); break;
    case VK_UP: SendMessageA(view, WM_VSCROLL, SB_LINEUP, 0); break;
    case VK_DOWN: SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0); break;
    case VK_PRIOR: SendMessageA(view, ctrl ? WM_HSCROLL : WM_VSCROLL, SB_PAGEUP, 0); break;
    case VK_NEXT: SendMessageA(view, ctrl ? WM_HSCROLL : WM_VSCROLL, SB_PAGEDOWN, 0); break;
    case VK_HOME: SendMessageA(view, ctrl ? WM_VSCROLL : WM_HSCROLL, SB_TOP, 0); break;
    case VK_END: SendMessageA(view, ctrl ? WM_VSCROLL : WM_HSCROLL, SB_BOTTOM, 0); break;
    default: return;
  }
  // Auto-repeat must not pile up scroll steps behind a slow repaint.
  MSG pending;
  while (PeekMessageA(&pending, view, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
  }
}

// Client <-> image conversions answered through static storage, as callers
// read the result right after the call.
POINT g_point;
RECT g_rect;

LRESULT ClientToImagePoint(const DocumentRecord* record, LPARAM lParam) {
  const auto* p = reinterpret_cast<const POINT*>(lParam);
  if (!p) return 0;
  g_point.x = ClientToImage(p->x, record->hPos, record->zoom);
  g_point.y = ClientToImage(p->y, record->vPos, record->zoom);
  return LRESULT(&g_point);
}

const RECT* ImageToClientRect(const DocumentRecord* record, LPARAM lParam) {
  const auto* r = reinterpret_cast<const RECT*>(lParam);
  if (!r) return nullptr;
  g_rect.left = ImageToClient(r->left, record->hPos, record->zoom);
  g_rect.top = ImageToClient(r->top, record->vPos, record->zoom);
  g_rect.right = ImageToClient(r->right, record->hPos, record->zoom);
  g_rect.bottom = ImageToClient(r->bottom, record->vPos, record->zoom);
  return &g_rect;
}

void ResetEffectState(DocumentRecord* record) {
  record->toolWindow = nullptr;
  record->toolMessage = 0;
  record->sharedRect = nullptr;
  record->prePaint = nullptr;
  record->postPaint = nullptr;
  if (record->dragIndex >= 0) {
    ClipCursor(nullptr);
    if (GetCapture() == record->view) ReleaseCapture();
  }
  record->dragIndex = -1;
  g_app.effectCursor = nullptr;
  g_app.effectDialog = nullptr;
}

void ClearSelection(HWND view, DocumentRecord* record) {
  std::memset(record->selection, 0, sizeof record->selection);
  InvalidateRect(view, nullptr, FALSE);
}

LRESULT ViewMessage(HWND view, DocumentRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case 2054:
      // Effects that change the picture's size (zoom, rotate, a fixed working
      // size) say so with 2054 or 2053: the size is read from the image.
      RefreshCurrentSlot(record);
      InvalidateRect(view, nullptr, TRUE);
      LayoutDocument(record);
      return 0;
    case 2055:
      record->prePaint = reinterpret_cast<PaintHook>(lParam);
      return 0;
    case 2056:
      record->postPaint = reinterpret_cast<PaintHook>(lParam);
      return 0;
    case 2057:
      // The tool window is the running effect's dialog from now on.
      record->toolWindow = HWND(lParam);
      record->toolMessage = INT32(wParam);
      g_app.effectDialog = HWND(lParam);
      return 0;
    case 2058:
      if (!lParam) return 0;
      *reinterpret_cast<float*>(lParam) = record->zoom;
      return 1;
    case 2064:
      record->sharedRect = reinterpret_cast<INT32*>(lParam);
      if (record->sharedRect) std::memcpy(record->sharedRectCopy, record->sharedRect, 4 * sizeof(INT32));
      return 0;
    case 2065:
      g_app.activeEffect = lParam != 0;
      record->effectActive = INT32(lParam);
      if (!lParam) ResetEffectState(record);
      return 0;
    case 2066:
      g_app.effectCursor = HCURSOR(wParam);
      return 1;
    case 2067:
    case 2068:
      return ClientToImagePoint(record, lParam);
    case 2069:
      return LRESULT(ImageToClientRect(record, lParam));
    case 2070: {
      const auto* p = reinterpret_cast<const POINT*>(lParam);
      if (!p) return 0;
      g_point.x = ImageToClient(p->x, record->hPos, record->zoom);
      g_point.y = ImageToClient(p->y, record->vPos, record->zoom);
      return LRESULT(&g_point);
    }
    case 2071: {
      const RECT* r = ImageToClientRect(record, lParam);
      if (!r) return 0;
      InvalidateRect(view, r, FALSE);
      return 1;
    }
    case 2073:
      SetWindowLongA(view, kViewWord8, LONG(lParam));
      return 0;
    case 2074:
      return GetWindowLongA(view, kViewWord8);
    case 2078:
      ReplaceCurrentPalette(record->slots, uintptr_t(wParam), DocumentHandles());
      return GetWindowLongA(view, kViewWord8);
    case 2079:
      PaintOutsideImage(view, record);
      return 1;
    case 2082:
      ClearSelection(view, record);
      return 0;
    case 2096:
      return LRESULT(Current(record).image);
    case 2097:
      return LRESULT(Current(record).mask);
    case 2098:
      return LRESULT(&Current(record).mask);
    case 2099:
      if (RefreshCurrentSlot(record)) {
        LayoutDocument(record);
        InvalidateRect(view, nullptr, TRUE);
      }
      RebuildDisplayCopy(record);
      InvalidateRect(view, nullptr, FALSE);
      return 1;
    case 2103:
      return LRESULT(&Current(record));
    case 2105:
      record->maskDisplayMode = wParam == 0 ? 1 : 0;
      RebuildDisplayCopy(record);
      InvalidateRect(view, nullptr, FALSE);
      return 0;
    case 2125:
      SetWindowLongA(view, kViewWord12, LONG(lParam));
      return 0;
    case 2126:
      return GetWindowLongA(view, kViewWord12);
    case 2127:
      SetWindowLongA(view, kViewWord16, LONG(lParam));
      return 0;
    case 2128:
      return GetWindowLongA(view, kViewWord16);
  }
  return DefWindowProcA(view, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK DocumentViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* record = reinterpret_cast<DocumentRecord*>(GetWindowLongPtrA(view, 0));
  if (message == WM_CREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    record = static_cast<DocumentRecord*>(create->lpCreateParams);
    if (!record) return -1;
    SetWindowLongPtrA(view, 0, LONG_PTR(record));
    record->view = view;
    record->zoom = 1.0f;
    record->dragIndex = -1;
    return 0;
  }
  if (!record) {
    // Conversions and queries on a view without a record answer 0.
    if (message >= 2054 && message <= 2128) return 0;
    return DefWindowProcA(view, message, wParam, lParam);
  }
  switch (message) {
    case WM_PAINT:
      return PaintView(view, record);
    case WM_HSCROLL:
      Scroll(view, record, SB_HORZ, wParam);
      return 0;
    case WM_VSCROLL:
      Scroll(view, record, SB_VERT, wParam);
      return 0;
    case WM_KEYDOWN:
      KeyScroll(view, wParam);
      return 0;
    case WM_MOUSEWHEEL: {
      const short delta = short(HIWORD(wParam));
      if (delta == 0) return 0;
      const bool horizontal = (LOWORD(wParam) & 0x0F) != 0;
      PostMessageA(view, horizontal ? WM_HSCROLL : WM_VSCROLL, delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && SetViewCursor(view, record)) return TRUE;
      break;
    case WM_TIMER:
      if (wParam == kAnimationTimer) AnimationTick(record);
      return 0;
    case WM_DESTROY: {
      DropAnimation(record);
      ReleaseAllUndoSlots(record->slots, DocumentHandles());
      KillTimer(view, kAnimationTimer);
      if (record->document && GetWindowLongPtrA(record->document, 0) == LONG_PTR(record))
        SetWindowLongPtrA(record->document, 0, 0);
      SetWindowLongPtrA(view, 0, 0);
      std::free(record);
      return 0;
    }
    default:
      if (HandleViewMouse(view, record, message, wParam, lParam)) return 0;
      return ViewMessage(view, record, message, wParam, lParam);
  }
  return DefWindowProcA(view, message, wParam, lParam);
}

}  // namespace quillo
