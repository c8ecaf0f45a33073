// Copy and paste. A picture without a mask travels as a device bitmap
// (CF_BITMAP); a masked one as the private "BEXA_RGBA" block, which carries
// the mask byte beside every pixel.
#include <cstdint>

#include "app/shell/app_state.h"
#include "app/shell/clipboard_block.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "contracts/dib_services.h"
#include "edit_commands.h"

namespace quillo {

namespace {

// The pixel rows of a locked DIB and how many bytes of the block they may use.
struct LockedRows {
  uint8_t* data = nullptr;
  size_t size = 0;
  int width = 0;
  int height = 0;
};

LockedRows RowsOf(HGLOBAL dib, LPSTR locked) {
  LockedRows rows;
  if (!locked) return rows;
  auto* bits = reinterpret_cast<uint8_t*>(FindDIBBits(locked));
  const SIZE_T total = GlobalSize(dib);
  const SIZE_T offset = SIZE_T(bits - reinterpret_cast<uint8_t*>(locked));
  if (!bits || offset > total) return rows;
  rows.data = bits;
  rows.size = total - offset;
  rows.width = DIBWidth(locked);
  rows.height = DIBHeight(locked);
  return rows;
}

// The area of the picture in a device bitmap of its size.
HBITMAP RenderArea(const UndoSlot& slot, const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  if (!memory || !bitmap) {
    if (memory) DeleteDC(memory);
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT dest = {0, 0, width, height};
  RECT source = area;
  const BOOL drawn = PaintDIB(memory, &dest, HGLOBAL(slot.image), &source, HPALETTE(slot.palette));
  SelectObject(memory, old);
  DeleteDC(memory);
  if (!drawn) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

// The "BEXA_RGBA" block of the area, exactly 12 + 4 x width x height bytes.
// The picture is read through a 24-bit copy when it is not 24-bit already;
// the document's own picture is never converted.
HGLOBAL BuildRgbaBlock(const UndoSlot& slot, const RECT& area) {
  HGLOBAL original = HGLOBAL(slot.image);
  HGLOBAL image = TrueColorDIB(original);
  if (!image) return nullptr;
  HGLOBAL block = nullptr;
  auto* locked = static_cast<LPSTR>(GlobalLock(image));
  const LockedRows rows = RowsOf(image, locked);
  const size_t bytes = RgbaBlockBytes(area.right - area.left, area.bottom - area.top);
  if (rows.data && bytes && rows.width == slot.width && rows.height == slot.height)
    block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (block) {
    auto* out = static_cast<uint8_t*>(GlobalLock(block));
    const bool written =
        out && WriteRgbaBlock(rows.data, rows.size, reinterpret_cast<const uint8_t*>(slot.mask),
                              GlobalSize(HGLOBAL(slot.mask)), slot.width, slot.height,
                              Rect{area.left, area.top, area.right, area.bottom}, out, bytes);
    if (out) GlobalUnlock(block);
    if (!written) block = GlobalFree(block);  // null
  }
  if (locked) GlobalUnlock(image);
  if (image != original) DestroyDIB(image);
  return block;
}

// A 24-bit picture and its mask from a sound block; false for anything else.
bool ReadBlockPicture(HGLOBAL block, HGLOBAL* image, LPBYTE* mask) {
  const SIZE_T size = GlobalSize(block);
  const auto* data = static_cast<const uint8_t*>(GlobalLock(block));
  if (!data) return false;
  int width = 0, height = 0;
  bool ok = ReadRgbaBlockSize(data, size, &width, &height);
  HGLOBAL dib = ok ? CreateDIB(width, height, 24) : nullptr;
  LPBYTE alpha = dib ? AllocAlpha(dib) : nullptr;
  ok = alpha != nullptr;
  if (ok) {
    auto* locked = static_cast<LPSTR>(GlobalLock(dib));
    const LockedRows rows = RowsOf(dib, locked);
    ok = rows.data && ReadRgbaBlock(data, size, rows.data, rows.size, alpha, GlobalSize(HGLOBAL(alpha)));
    if (locked) GlobalUnlock(dib);
  }
  GlobalUnlock(block);
  if (!ok) {
    if (alpha) FreeAlpha(alpha);
    if (dib) DestroyDIB(dib);
    return false;
  }
  *image = dib;
  *mask = alpha;
  return true;
}

}  // namespace

UINT RgbaClipboardFormat() {
  static const UINT format = RegisterClipboardFormatA("BEXA_RGBA");
  return format;
}

void CopyPicture(HWND frame, HWND document) {
  UndoSlot* slot = CurrentSlot(document);
  if (!slot || !slot->image) {
    MessageBeep(0);
    return;
  }
  RECT area = {0, 0, slot->width, slot->height};
  if (HasSelection(document)) area = DocumentSelection(document);

  const bool masked = slot->mask != 0;
  HANDLE data = masked ? HANDLE(BuildRgbaBlock(*slot, area)) : HANDLE(RenderArea(*slot, area));
  if (!data) {
    MessageBeep(0);
    SetStatusText(LoadResString(IDS_NO_MEMORY));
    return;
  }
  auto discard = [&]() {
    if (masked) GlobalFree(HGLOBAL(data));
    else DeleteObject(HGDIOBJ(data));
  };
  if (!OpenClipboard(frame)) {
    discard();
    MessageBeep(0);
    SetStatusText(LoadResString(IDS_CLIPBOARD_BUSY));
    return;
  }
  EmptyClipboard();
  const bool placed = SetClipboardData(masked ? RgbaClipboardFormat() : CF_BITMAP, data) != nullptr;
  CloseClipboard();
  if (!placed) {
    discard();
    MessageBeep(0);
    SetStatusText(LoadResString(IDS_CLIPBOARD_BUSY));
    return;
  }
  MessageBeep(0);
  SetStatusText(LoadResString(IDS_COPIED));
  RefreshToolButtons();  // Paste becomes available
}

void PastePicture(HWND frame) {
  if (!OpenClipboard(frame)) {
    MessageBeep(0);
    return;
  }
  HGLOBAL image = nullptr;
  LPBYTE mask = nullptr;
  if (IsClipboardFormatAvailable(CF_BITMAP)) {
    if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) image = BitmapToDIB(HBITMAP(bitmap), nullptr);
  } else if (HANDLE block = GetClipboardData(RgbaClipboardFormat())) {
    ReadBlockPicture(HGLOBAL(block), &image, &mask);
  }
  CloseClipboard();
  if (image) OpenPictureWindow(image, mask, "Noname");
}

}  // namespace quillo
