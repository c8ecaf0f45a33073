// The picture in the player's window: scroll bars for the picture at its
// zoom, scrolling, painting at any zoom, and the mouse over the picture,
// which goes to the running effect in image coordinates.
#include <cstring>

#include "contracts/dib_services.h"
#include "gift_state.h"
#include "kernels/gift_view.h"
#include "savers/stage/stage_slot.h"

namespace quillo::giftutil {

HGLOBAL SlotPicture(const GiftPlayer& gift) { return stage::SlotImage(gift.view); }
void SetSlotPicture(GiftPlayer& gift, HGLOBAL picture) { stage::SetSlotImage(gift.view, picture); }

namespace {

SIZE PictureSize(const GiftPlayer& gift) {
  int width = 0, height = 0;
  if (!stage::ImageSize(SlotPicture(gift), &width, &height)) return {0, 0};
  return {width, height};
}

SIZE ClientSize(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

}  // namespace

void LayoutGift(GiftPlayer& gift) {
  HWND window = gift.window;
  if (!window || gift.layingOut) return;
  if (!(gift.view.zoom > 0.0f)) gift.view.zoom = 1.0f;
  const SIZE picture = PictureSize(gift);
  const SIZE client = ClientSize(window);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  GiftViewInput in;
  in.imageWidth = picture.cx;
  in.imageHeight = picture.cy;
  in.zoom = gift.view.zoom;
  in.clientWidth = client.cx;
  in.clientHeight = client.cy;
  in.hBarShown = (style & WS_HSCROLL) != 0;
  in.vBarShown = (style & WS_VSCROLL) != 0;
  in.vScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  in.hScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  in.hPos = gift.view.hPos;
  in.vPos = gift.view.vPos;
  const ViewLayout out = LayoutGiftView(in);
  const bool scrolled = gift.view.hPos != out.hPos || gift.view.vPos != out.vPos;
  gift.view.hMax = out.hMax;
  gift.view.vMax = out.vMax;
  gift.view.hPos = out.hPos;
  gift.view.vPos = out.vPos;
  // Showing or hiding a bar resizes the client area, which would lay out
  // again in the middle of this one.
  gift.layingOut = true;
  SetScrollRange(window, SB_HORZ, 0, out.hMax, FALSE);
  SetScrollPos(window, SB_HORZ, out.hPos, TRUE);
  SetScrollRange(window, SB_VERT, 0, out.vMax, FALSE);
  SetScrollPos(window, SB_VERT, out.vPos, TRUE);
  gift.layingOut = false;
  if (scrolled || (!out.hBar && !out.vBar)) InvalidateRect(window, nullptr, FALSE);
}

void ScrollGift(GiftPlayer& gift, int bar, WPARAM wParam) {
  ScrollAction action;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: action = ScrollAction::LineBack; break;
    case SB_LINEDOWN: action = ScrollAction::LineForward; break;
    case SB_PAGEUP: action = ScrollAction::PageBack; break;
    case SB_PAGEDOWN: action = ScrollAction::PageForward; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: action = ScrollAction::Thumb; break;
    case SB_TOP: action = ScrollAction::Start; break;
    case SB_BOTTOM: action = ScrollAction::End; break;
    default: return;
  }
  const bool horizontal = bar == SB_HORZ;
  INT32& position = horizontal ? gift.view.hPos : gift.view.vPos;
  const int max = horizontal ? gift.view.hMax : gift.view.vMax;
  int thumb = HIWORD(wParam);
  if (max > 0xFFFF) {
    // The message's 16-bit position cannot reach far along a long picture.
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    if (GetScrollInfo(gift.window, bar, &info)) thumb = info.nTrackPos;
  }
  const SIZE client = ClientSize(gift.window);
  const int next = ScrollTo(action, position, max, horizontal ? client.cx : client.cy, gift.view.zoom, thumb);
  if (next == position) return;
  position = next;
  SetScrollPos(gift.window, bar, position, TRUE);
  InvalidateRect(gift.window, nullptr, FALSE);
  SendMessageA(gift.window, 2079, 0, 0);
}

void WheelGift(GiftPlayer& gift, WPARAM wParam) {
  const WheelStep step = WheelStepOf(LOWORD(wParam), short(HIWORD(wParam)));
  if (!step.scroll) return;
  ScrollGift(gift, step.horizontal ? SB_HORZ : SB_VERT, step.back ? SB_LINEUP : SB_LINEDOWN);
}

void ZoomGift(GiftPlayer& gift, bool in) {
  const float zoom = gift.view.zoom > 0.0f ? gift.view.zoom : 1.0f;
  const float next = in ? GiftZoomIn(zoom) : GiftZoomOut(zoom);
  if (next == zoom) return;
  gift.view.zoom = next;
  LayoutGift(gift);
  InvalidateRect(gift.window, nullptr, FALSE);
}

void PaintOutsidePicture(GiftPlayer& gift, HDC dc) {
  const SIZE picture = PictureSize(gift);
  const SIZE client = ClientSize(gift.window);
  const Rect cover = ImageCoverage(picture.cx, picture.cy, gift.view.hPos, gift.view.vPos, gift.view.zoom,
                                   client.cx, client.cy);
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, cover.left, cover.top, cover.right, cover.bottom);
  PatBlt(dc, 0, 0, client.cx, client.cy, WHITENESS);
  RestoreDC(dc, saved);
}

void PaintGift(GiftPlayer& gift) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(gift.window, &ps);
  HGLOBAL picture = SlotPicture(gift);
  char* dib = picture && IsValidDIB(picture) ? static_cast<char*>(GlobalLock(picture)) : nullptr;
  if (dib) {
    if (gift.view.prePaint) gift.view.prePaint(gift.window, dc);
    const int width = DIBWidth(dib), height = DIBHeight(dib);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib);
    const float zoom = gift.view.zoom > 0.0f ? gift.view.zoom : 1.0f;
    if (zoom == 1.0f) {
      SetDIBitsToDevice(dc, -gift.view.hPos, -gift.view.vPos, width, height, 0, 0, 0, height,
                        FindDIBBits(dib), info, DIB_RGB_COLORS);
    } else {
      const SIZE client = ClientSize(gift.window);
      const PaintStretch s =
          StretchForPaint(width, height, gift.view.hPos, gift.view.vPos, zoom, client.cx, client.cy);
      if (s.srcWidth > 0 && s.srcHeight > 0) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, 0, 0, s.destWidth, s.destHeight, s.srcX, s.srcYFromBottom, s.srcWidth, s.srcHeight,
                      FindDIBBits(dib), info, DIB_RGB_COLORS, SRCCOPY);
      }
    }
    GlobalUnlock(picture);
    if (gift.view.postPaint) gift.view.postPaint(gift.window, dc);
    ++gift.paints;
  }
  PaintOutsidePicture(gift, dc);
  EndPaint(gift.window, &ps);
}

bool ForwardMouse(GiftPlayer& gift, UINT message, WPARAM wParam, LPARAM lParam) {
  WPARAM code = 0;
  switch (message) {
    case WM_MOUSEMOVE: code = TOOL_MOUSE_MOVE; break;
    // Only real presses capture the mouse: an effect that sends the view a
    // bare button message to reset its tool must not take the mouse away
    // from its own dialog.
    case WM_LBUTTONDOWN:
      code = TOOL_LBUTTON_DOWN;
      if (wParam & MK_LBUTTON) SetCapture(gift.window);
      break;
    case WM_LBUTTONUP:
      code = TOOL_LBUTTON_UP;
      ClipCursor(nullptr);
      if (GetCapture() == gift.window) ReleaseCapture();
      break;
    case WM_RBUTTONDOWN:
      code = TOOL_RBUTTON_DOWN;
      if (wParam & MK_RBUTTON) SetCapture(gift.window);
      break;
    case WM_RBUTTONUP:
      code = TOOL_RBUTTON_UP;
      if (GetCapture() == gift.window) ReleaseCapture();
      break;
    default: return false;
  }
  HWND target = gift.view.toolWindow;
  if (!target || !gift.view.toolMessage) return true;
  // A busy effect refuses mouse input while it rebuilds its tables.
  if (gift.context[kHostBusy]) return true;
  const int x = ClientToImage(short(LOWORD(lParam)), gift.view.hPos, gift.view.zoom);
  const int y = ClientToImage(short(HIWORD(lParam)), gift.view.vPos, gift.view.zoom);
  PostMessageA(target, UINT(gift.view.toolMessage), code, MAKELPARAM(x, y));
  return true;
}

}  // namespace quillo::giftutil
