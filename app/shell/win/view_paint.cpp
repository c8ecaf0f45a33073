// Painting of the image view: display copy of a masked image, the paint
// hooks of a running effect, the magnifier loupe, the image at the current
// zoom and the selection as an XOR focus rectangle.
#include <algorithm>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/mask_display.h"
#include "app/shell/undo_history.h"
#include "contracts/dib_services.h"
#include "view_internal.h"

namespace quillo {

namespace {

// A locked packed DIB: header, colour table and bits.
class LockedDib {
 public:
  explicit LockedDib(HGLOBAL dib) : dib_(dib) {
    if (dib_ && IsValidDIB(dib_)) base_ = static_cast<LPSTR>(GlobalLock(dib_));
  }
  ~LockedDib() {
    if (base_) GlobalUnlock(dib_);
  }
  LockedDib(const LockedDib&) = delete;
  LockedDib& operator=(const LockedDib&) = delete;
  bool ok() const { return base_ != nullptr; }
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(base_); }
  LPSTR bits() const { return FindDIBBits(base_); }
  size_t bitsSize() const {
    const size_t total = GlobalSize(dib_);
    const size_t offset = size_t(bits() - base_);
    return total > offset ? total - offset : 0;
  }
  int bitCount() const { return info()->bmiHeader.biBitCount; }

 private:
  HGLOBAL dib_;
  LPSTR base_ = nullptr;
};

RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Draws image area `src` (image pixels, y from the top, clamped) into the
// client rectangle `dest`.
void StretchArea(HDC dc, const LockedDib& dib, int height, const Rect& src, const RECT& dest) {
  StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src.left,
                height - src.bottom, src.right - src.left, src.bottom - src.top, dib.bits(),
                dib.info(), DIB_RGB_COLORS, SRCCOPY);
}

// The loupe: the image within 45 pixels of the last point, doubled, in a
// 180 x 180 square centred on it; the square is then kept from further
// drawing.
void DrawLoupe(HDC dc, const DocumentRecord* record, const LockedDib& dib, int width, int height) {
  const Loupe loupe = LoupeAt(record->lastPoint[0], record->lastPoint[1], record->hPos,
                              record->vPos, record->zoom);
  const Rect& im = loupe.image;
  const Rect src{std::max(im.left, 0), std::max(im.top, 0), std::min(im.right, width),
                 std::min(im.bottom, height)};
  const int cw = loupe.client.right - loupe.client.left;
  const int ch = loupe.client.bottom - loupe.client.top;
  const int iw = im.right - im.left;
  const int ih = im.bottom - im.top;
  HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);
  RECT whole = ToRECT(loupe.client);
  FillRect(dc, &whole, brush);
  if (src.right > src.left && src.bottom > src.top && iw > 0 && ih > 0) {
    const RECT dest{loupe.client.left + (src.left - im.left) * cw / iw,
                    loupe.client.top + (src.top - im.top) * ch / ih,
                    loupe.client.left + (src.right - im.left) * cw / iw,
                    loupe.client.top + (src.bottom - im.top) * ch / ih};
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchArea(dc, dib, height, src, dest);
  }
  FrameRect(dc, &whole, HBRUSH(GetStockObject(BLACK_BRUSH)));
  ExcludeClipRect(dc, whole.left, whole.top, whole.right, whole.bottom);
}

void DrawImage(HDC dc, DocumentRecord* record, HGLOBAL source, const SIZE& client) {
  const UndoSlot& slot = Current(record);
  LockedDib dib(source);
  if (!dib.ok()) return;
  const int width = dib.info()->bmiHeader.biWidth;
  const int height = dib.info()->bmiHeader.biHeight;
  if (width != slot.width || height != slot.height) return;  // stale display copy
  if (g_app.viewMode == 1 && record->dragging) DrawLoupe(dc, record, dib, width, height);
  if (record->zoom == 1.0f) {
    SetDIBitsToDevice(dc, -record->hPos, -record->vPos, width, height, 0, 0, 0, height, dib.bits(),
                      dib.info(), DIB_RGB_COLORS);
    return;
  }
  const PaintStretch s = StretchForPaint(width, height, record->hPos, record->vPos, record->zoom,
                                         client.cx, client.cy);
  if (s.destWidth <= 0 || s.destHeight <= 0 || s.srcWidth <= 0 || s.srcHeight <= 0) return;
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, 0, 0, s.destWidth, s.destHeight, s.srcX, s.srcYFromBottom, s.srcWidth,
                s.srcHeight, dib.bits(), dib.info(), DIB_RGB_COLORS, SRCCOPY);
}

Rect SelectionOnClient(const DocumentRecord* record, const Rect& image) {
  return {ImageToClient(image.left, record->hPos, record->zoom),
          ImageToClient(image.top, record->vPos, record->zoom),
          ImageToClient(image.right, record->hPos, record->zoom),
          ImageToClient(image.bottom, record->vPos, record->zoom)};
}

}  // namespace

void DrawImageFocusRect(HWND view, const DocumentRecord* record, const Rect& image) {
  if (image.right <= image.left || image.bottom <= image.top) return;
  const RECT r = ToRECT(SelectionOnClient(record, image));
  HDC dc = GetDC(view);
  DrawFocusRect(dc, &r);
  ReleaseDC(view, dc);
}

LRESULT PaintView(HWND view, DocumentRecord* record) {
  if (!(record->zoom > 0.0f)) record->zoom = 1.0f;
  UndoSlot& slot = Current(record);
  if (slot.mask && record->maskDisplayMode == 0 && !slot.displayCopy) RebuildDisplayCopy(record);

  PAINTSTRUCT ps;
  HDC dc = BeginPaint(view, &ps);
  if (record->prePaint) record->prePaint(view, dc);
  const SIZE client = ViewClientSize(record);
  if (slot.image) {
    const Rect cover = ImageCoverage(slot.width, slot.height, record->hPos, record->vPos,
                                     record->zoom, client.cx, client.cy);
    const int saved = SaveDC(dc);
    if (cover.right < client.cx || cover.bottom < client.cy)
      IntersectClipRect(dc, 0, 0, cover.right, cover.bottom);
    HPALETTE oldPalette = nullptr;
    if (slot.palette && ActiveDocument() == record->document) {
      oldPalette = SelectPalette(dc, HPALETTE(slot.palette), FALSE);
      RealizePalette(dc);
    }
    DrawImage(dc, record, HGLOBAL(slot.displayCopy ? slot.displayCopy : slot.image), client);
    if (record->postPaint) record->postPaint(view, dc);
    if (oldPalette) SelectPalette(dc, oldPalette, TRUE);
    RestoreDC(dc, saved);
    const Rect selection = CurrentSelection(record);
    if (selection.right > selection.left && selection.bottom > selection.top) {
      const RECT r = ToRECT(SelectionOnClient(record, selection));
      DrawFocusRect(dc, &r);
    }
  } else if (record->postPaint) {
    record->postPaint(view, dc);
  }
  EndPaint(view, &ps);
  return 0;
}

void PaintOutsideImage(HWND view, DocumentRecord* record) {
  const UndoSlot& slot = Current(record);
  const SIZE client = ViewClientSize(record);
  const Rect cover = slot.image ? ImageCoverage(slot.width, slot.height, record->hPos, record->vPos,
                                                record->zoom, client.cx, client.cy)
                                : Rect{};
  HDC dc = GetDC(view);
  HGDIOBJ old = SelectObject(dc, GetSysColorBrush(COLOR_WINDOW));
  if (cover.right < client.cx) PatBlt(dc, cover.right, 0, client.cx - cover.right, client.cy, PATCOPY);
  if (cover.bottom < client.cy)
    PatBlt(dc, 0, cover.bottom, cover.right, client.cy - cover.bottom, PATCOPY);
  SelectObject(dc, old);
  ReleaseDC(view, dc);
}

void RebuildDisplayCopy(DocumentRecord* record) {
  const int current = CurrentIndex(record);
  UndoSlot& slot = record->slots[current];
  for (int i = 0; i <= current; ++i) DropDisplayCopy(record->slots, i, DocumentHandles());
  if (!slot.image || !slot.mask) return;
  if (record->maskDisplayMode == 1) {
    InvalidateRect(record->view, nullptr, FALSE);
    return;
  }
  LockedDib image(HGLOBAL(slot.image));
  if (!image.ok() || image.bitCount() != 24 || image.info()->bmiHeader.biWidth != slot.width ||
      image.info()->bmiHeader.biHeight != slot.height)
    return;
  HGLOBAL copy = CreateDIB(slot.width, slot.height, 24);
  if (!copy) return;
  bool built = false;
  {
    LockedDib out(copy);
    const auto* mask = reinterpret_cast<const uint8_t*>(slot.mask);
    built = out.ok() && BuildMaskDisplay(reinterpret_cast<const uint8_t*>(image.bits()),
                                         image.bitsSize(), mask, GlobalSize(HGLOBAL(slot.mask)),
                                         slot.width, slot.height,
                                         reinterpret_cast<uint8_t*>(out.bits()), out.bitsSize());
  }
  if (!built) {
    DestroyDIB(copy);
    return;
  }
  slot.displayCopy = uintptr_t(copy);
}

}  // namespace quillo
