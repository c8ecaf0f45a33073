// Mouse handling of the image view: selection, magnifier and
// zoom-to-rectangle drags, pixel information in the status line, and while
// an effect runs, forwarding to the effect's tool window with dragging of
// the rectangle the effect shares.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/shell/app_state.h"
#include "app/shell/selection.h"
#include "app/shell/zoom.h"
#include "contracts/dib_services.h"
#include "view_internal.h"

namespace quillo {

namespace {

// Event codes posted to the tool window with its tool message.
// Every event carries the point in image pixels (x low word, y high word,
// y from the top), the right-button release included: an effect reads all
// of them the same way, whatever the zoom and scroll position.
constexpr WPARAM kLeftUp = 22220;
constexpr WPARAM kRightUp = 22221;
constexpr WPARAM kLeftDown = 22222;
constexpr WPARAM kRightDown = 22223;
constexpr WPARAM kMove = 22224;

struct ImagePoint {
  int x, y;
};

ImagePoint ToImage(const DocumentRecord* record, LPARAM lParam) {
  const int cx = short(LOWORD(lParam));
  const int cy = short(HIWORD(lParam));
  return {ClientToImage(cx, record->hPos, record->zoom), ClientToImage(cy, record->vPos, record->zoom)};
}

bool InsideImage(const UndoSlot& slot, ImagePoint p) {
  return slot.image && p.x >= 0 && p.y >= 0 && p.x < slot.width && p.y < slot.height;
}

Rect StoredSelection(const DocumentRecord* record) {
  return {record->selection[0], record->selection[1], record->selection[2], record->selection[3]};
}

void StoreSelection(DocumentRecord* record, const Rect& r) {
  record->selection[0] = r.left;
  record->selection[1] = r.top;
  record->selection[2] = r.right;
  record->selection[3] = r.bottom;
}

// Confines the pointer to the part of the client area the image covers.
void ConfineToImage(HWND view, const DocumentRecord* record, const UndoSlot& slot) {
  const SIZE client = ViewClientSize(record);
  const Rect cover = ImageCoverage(slot.width, slot.height, record->hPos, record->vPos,
                                   record->zoom, client.cx, client.cy);
  RECT r{cover.left, cover.top, cover.right, cover.bottom};
  MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&r), 2);
  ClipCursor(&r);
}

void ConfineToView(HWND view) {
  RECT r;
  GetClientRect(view, &r);
  MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&r), 2);
  ClipCursor(&r);
}

void EndCapture(HWND view) {
  ClipCursor(nullptr);
  if (GetCapture() == view) ReleaseCapture();
}

// Red, green, blue of pixel p of a 24-bit DIB; false outside or unreadable.
bool PixelColour(HGLOBAL dib, ImagePoint p, int rgb[3]) {
  if (!dib || !IsValidDIB(dib)) return false;
  auto* base = static_cast<LPSTR>(GlobalLock(dib));
  if (!base) return false;
  bool ok = false;
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(base);
  const int width = header->biWidth;
  const int height = header->biHeight;
  if (header->biBitCount == 24 && p.x >= 0 && p.y >= 0 && p.x < width && p.y < height) {
    const uint64_t stride = (uint64_t(width) * 24 + 31) / 32 * 4;
    const LPSTR bits = FindDIBBits(base);
    const uint64_t offset = uint64_t(bits - base) + stride * uint64_t(height - 1 - p.y) + uint64_t(p.x) * 3;
    if (offset + 3 <= GlobalSize(dib)) {
      const auto* px = reinterpret_cast<const uint8_t*>(base + offset);
      rgb[0] = px[2];
      rgb[1] = px[1];
      rgb[2] = px[0];
      ok = true;
    }
  }
  GlobalUnlock(dib);
  return ok;
}

void ShowPosition(DocumentRecord* record, ImagePoint p) {
  const UndoSlot& slot = Current(record);
  if (!slot.image) return;
  char text[96];
  int rgb[3];
  const HGLOBAL shown = HGLOBAL(slot.displayCopy ? slot.displayCopy : slot.image);
  if (InsideImage(slot, p) && PixelColour(shown, p, rgb))
    std::snprintf(text, sizeof text, "Pos : (%d,%d)  RGB : (%d,%d,%d)", p.x, p.y, rgb[0], rgb[1], rgb[2]);
  else
    std::snprintf(text, sizeof text, "Pos : (%d,%d)", p.x, p.y);
  SetStatusText(text);
}

// ---- While an effect runs ---------------------------------------------------

// Outside a drag the effect may move its rectangle itself: read it afresh.
bool InsideShared(DocumentRecord* record, ImagePoint p) {
  if (!record->sharedRect) return false;
  if (record->dragIndex != 0) std::memcpy(record->sharedRectCopy, record->sharedRect, 4 * sizeof(INT32));
  const INT32* r = record->sharedRectCopy;
  return p.x >= r[0] && p.x < r[2] && p.y >= r[1] && p.y < r[3];
}

// Moves the shared rectangle with the pointer, kept inside the image.
void DragShared(DocumentRecord* record, ImagePoint p) {
  const UndoSlot& slot = Current(record);
  INT32* r = record->sharedRectCopy;
  const int w = r[2] - r[0];
  const int h = r[3] - r[1];
  int left = r[0] + (p.x - record->dragAnchor[0]);
  int top = r[1] + (p.y - record->dragAnchor[1]);
  left = std::max(0, std::min(left, slot.width - w));
  top = std::max(0, std::min(top, slot.height - h));
  record->dragAnchor[0] += left - r[0];
  record->dragAnchor[1] += top - r[1];
  r[0] = left;
  r[1] = top;
  r[2] = left + w;
  r[3] = top + h;
}

void Forward(const DocumentRecord* record, WPARAM code, ImagePoint p) {
  if (record->toolWindow)
    PostMessageA(record->toolWindow, UINT(record->toolMessage), code, MAKELPARAM(p.x, p.y));
}

bool EffectMouse(HWND view, DocumentRecord* record, UINT message, LPARAM lParam) {
  const ImagePoint p = ToImage(record, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      SetCapture(view);
      if (InsideShared(record, p)) {
        record->dragIndex = 0;
        record->dragAnchor[0] = p.x;
        record->dragAnchor[1] = p.y;
        ConfineToView(view);
      }
      Forward(record, kLeftDown, p);
      return true;
    case WM_MOUSEMOVE:
      if (record->dragIndex == 0) {
        DragShared(record, p);
        InvalidateRect(view, nullptr, FALSE);
      }
      Forward(record, kMove, p);
      return true;
    case WM_LBUTTONUP:
      if (record->dragIndex == 0) {
        if (record->sharedRect) std::memcpy(record->sharedRect, record->sharedRectCopy, 4 * sizeof(INT32));
        record->dragIndex = -1;
        InvalidateRect(view, nullptr, FALSE);
      }
      EndCapture(view);
      Forward(record, kLeftUp, p);
      return true;
    case WM_RBUTTONDOWN:
      SetCapture(view);
      Forward(record, kRightDown, p);
      return true;
    case WM_RBUTTONUP:
      EndCapture(view);
      Forward(record, kRightUp, p);
      return true;
  }
  return false;
}

// ---- Selection, magnifier, zoom to rectangle -------------------------------

void BeginDrag(HWND view, DocumentRecord* record, LPARAM lParam) {
  const UndoSlot& slot = Current(record);
  const ImagePoint p = ToImage(record, lParam);
  if (!InsideImage(slot, p)) return;
  record->lastPoint[0] = short(LOWORD(lParam));
  record->lastPoint[1] = short(HIWORD(lParam));
  record->dragAnchor[0] = p.x;
  record->dragAnchor[1] = p.y;
  record->dragging = 1;
  SetCapture(view);
  ConfineToImage(view, record, slot);
  if (g_app.viewMode == 1) {
    InvalidateRect(view, nullptr, FALSE);
  } else {
    DrawImageFocusRect(view, record, ClampSelection(StoredSelection(record), slot.width, slot.height));
    StoreSelection(record, Rect{});
  }
}

// The rectangle a drag from the anchor to p selects (zero width or height
// gives none).
Rect DraggedRect(const DocumentRecord* record, ImagePoint p) {
  const UndoSlot& slot = record->slots[CurrentIndex(record)];
  return SelectionFromDrag(record->dragAnchor[0], record->dragAnchor[1], p.x, p.y, slot.width,
                           slot.height);
}

void MoveDrag(HWND view, DocumentRecord* record, LPARAM lParam) {
  const ImagePoint p = ToImage(record, lParam);
  record->lastPoint[0] = short(LOWORD(lParam));
  record->lastPoint[1] = short(HIWORD(lParam));
  if (g_app.viewMode == 1) {
    InvalidateRect(view, nullptr, FALSE);
    ShowPosition(record, p);
    return;
  }
  const UndoSlot& slot = Current(record);
  DrawImageFocusRect(view, record, ClampSelection(StoredSelection(record), slot.width, slot.height));
  const Rect now = DraggedRect(record, p);
  StoreSelection(record, now);
  DrawImageFocusRect(view, record, now);
  char text[96];
  std::snprintf(text, sizeof text, "Dim : (%d,%d)-(%d,%d)", record->dragAnchor[0],
                record->dragAnchor[1], p.x, p.y);
  SetStatusText(text);
}

void EndDrag(HWND view, DocumentRecord* record, LPARAM lParam) {
  const ImagePoint p = ToImage(record, lParam);
  record->dragging = 0;
  EndCapture(view);
  if (g_app.viewMode == 1) {
    InvalidateRect(view, nullptr, FALSE);
    return;
  }
  const Rect rect = DraggedRect(record, p);
  if (g_app.viewMode == 2) {
    StoreSelection(record, Rect{});
    if (rect.right > rect.left && rect.bottom > rect.top) {
      RECT client = {};
      GetClientRect(record->document, &client);
      record->zoom = ZoomForRectangle(rect.right - rect.left, rect.bottom - rect.top, client.right,
                                      client.bottom);
      int hPos = 0, vPos = 0;
      CentreOnRectangle(rect, record->zoom, client.right, client.bottom, hPos, vPos);
      record->hPos = hPos;
      record->vPos = vPos;
      LayoutDocument(record);
    }
    InvalidateRect(view, nullptr, TRUE);
    return;
  }
  StoreSelection(record, rect);
  InvalidateRect(view, nullptr, FALSE);
}

// The view class takes double clicks, so the second press of one arrives as
// a double-click message: it is a press like the first.
UINT AsPress(UINT message) {
  if (message == WM_LBUTTONDBLCLK) return WM_LBUTTONDOWN;
  if (message == WM_RBUTTONDBLCLK) return WM_RBUTTONDOWN;
  return message;
}

// The mouse belongs to an effect when one declared itself active on this
// view, or when the host runs one on this document (whatever the effect
// itself signalled).
bool EffectOwnsMouse(const DocumentRecord* record) {
  return record->effectActive ||
         (g_app.effectRunning && g_app.effectDocument && g_app.effectDocument == record->document);
}

}  // namespace

bool HandleViewMouse(HWND view, DocumentRecord* record, UINT message, WPARAM, LPARAM lParam) {
  message = AsPress(message);
  if (message < WM_MOUSEFIRST || message > WM_RBUTTONUP) return false;
  if (EffectOwnsMouse(record)) return EffectMouse(view, record, message, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      SetFocus(view);
      BeginDrag(view, record, lParam);
      return true;
    case WM_MOUSEMOVE:
      if (record->dragging) MoveDrag(view, record, lParam);
      else ShowPosition(record, ToImage(record, lParam));
      return true;
    case WM_LBUTTONUP:
      if (record->dragging) EndDrag(view, record, lParam);
      return true;
    case WM_RBUTTONDOWN:
      if (record->dragging) return true;
      std::memset(record->selection, 0, sizeof record->selection);
      InvalidateRect(view, nullptr, FALSE);
      return true;
  }
  return false;
}

bool SetViewCursor(HWND view, DocumentRecord* record) {
  if (!EffectOwnsMouse(record) || !g_app.effectCursor) return false;
  if (record->sharedRect) {
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(view, &pt);
    const ImagePoint p{ClientToImage(pt.x, record->hPos, record->zoom),
                       ClientToImage(pt.y, record->vPos, record->zoom)};
    SetCursor(InsideShared(record, p) ? g_app.effectCursor : LoadCursorA(nullptr, IDC_ARROW));
    return true;
  }
  SetCursor(g_app.effectCursor);
  return true;
}

}  // namespace quillo
