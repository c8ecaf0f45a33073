// Pixel exports of BXCOMM.DLL: resampling, colour stretch, tiling and the
// two-colour converter. The pixel work is in the portable kernels.
#include <cstring>

#include "colour_stretch.h"
#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "imaging/basics/effect_area.h"
#include "image_copy.h"
#include "library_state.h"

namespace quillo::imaging {

LockedPicture::LockedPicture(HGLOBAL dib) {
  if (!dib || !IsValidDIB(dib)) return;
  handle_ = dib;
  base_ = static_cast<BYTE*>(GlobalLock(dib));
  if (!base_) return;
  const auto* h = header();
  if (h->biBitCount == 24 && h->biCompression == BI_RGB) {
    picture_.pixels = reinterpret_cast<uint8_t*>(FindDIBBits(reinterpret_cast<LPSTR>(base_)));
    picture_.width = h->biWidth;
    picture_.height = h->biHeight;
    picture_.stride = Stride24(h->biWidth);
  }
}

LockedPicture::~LockedPicture() {
  if (base_) GlobalUnlock(handle_);
}

}  // namespace quillo::imaging

using namespace quillo;
using namespace quillo::imaging;

extern "C" {

HGLOBAL WINAPI ZoomDIBEx(HGLOBAL dib, int newWidth, int newHeight) {
  if (!dib || newWidth < 1 || newHeight < 1) return nullptr;
  HGLOBAL copy = Duplicate24BitsDIB(dib);
  if (!copy) return nullptr;
  HGLOBAL result = nullptr;
  {
    LockedPicture source(copy);
    if (!source.is24()) {
      MessageBeep(0);
    } else if (HGLOBAL target = CreateDIB(newWidth, newHeight, 24)) {
      ZoomStatus status = ZoomStatus::kNoMemory;
      {
        LockedPicture out(target);
        if (out.is24()) status = ZoomBgr24(source.picture(), out.picture());
      }
      if (status == ZoomStatus::kDone) {
        result = target;
      } else {
        GlobalFree(target);
        if (status == ZoomStatus::kNoMemory) MessageBeep(0);
      }
    } else {
      MessageBeep(0);
    }
  }
  DestroyDIB(copy);
  return result;
}

int WINAPI CStretch(int, int, HGLOBAL* dib, INT32* selection) {
  if (!dib) return 0;
  LockedPicture image(*dib);
  if (!image.is24()) return 0;
  const Bgr24Picture& p = image.picture();
  const EffectArea area = SettleArea(selection, p.width, p.height);
  StretchSaturationValue(p.pixels, p.stride, area.left, area.right, area.firstRow, area.endRow);
  return 1;
}

int WINAPI Blur(int, int, HGLOBAL* dib, INT32*, int, int) {
  if (!dib) return 0;
  LockedPicture image(*dib);
  if (!image.locked()) return 0;
  HGLOBAL copy = DuplicateDIB(*dib, kDuplicateCopy);
  if (!copy) return 0;
  DestroyDIB(copy);
  return 1;
}

int WINAPI ReadDIBBlock(HGLOBAL target, HGLOBAL source, int startColumn, int startRow) {
  if (target == source) return 0;  // a tile read from the picture it overwrites
  LockedPicture out(target), in(source);
  if (!out.is24() || !in.is24()) return 0;
  TileBgr24(in.picture(), out.picture(), startColumn, startRow);
  return 1;
}

// A 24-bit image is duplicated. Any other block is read as one bit per
// pixel, only as far as its header, colour table and one-bit rows lie
// inside the block's real size.
HGLOBAL WINAPI Convert2To24BitsDIB(HGLOBAL dib, COLORREF colour) {
  if (!dib) return nullptr;
  const SIZE_T size = GlobalSize(dib);
  const auto* base = static_cast<const uint8_t*>(GlobalLock(dib));
  if (!base) return nullptr;
  DibHeader header{};
  if (size >= sizeof header) std::memcpy(&header, base, sizeof header);
  if (size >= sizeof header && header.bitCount == 24) {
    GlobalUnlock(dib);
    return DuplicateDIB(dib, kDuplicateCopy);
  }
  OneBitRows rows;
  HGLOBAL result = FindOneBitRows(base, size, &rows) ? CreateDIB(rows.width, rows.height, 24) : nullptr;
  auto* out = result ? static_cast<uint8_t*>(GlobalLock(result)) : nullptr;
  if (out) {
    const DibHeader expanded = ExpandedHeader(header);
    std::memcpy(out, &expanded, sizeof expanded);
    const Bgr24Picture target{out + sizeof expanded, rows.width, rows.height, Stride24(rows.width)};
    const uint8_t bgr[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
    TwoColourToBgr24(base + rows.offset, rows.stride, target, bgr);
    GlobalUnlock(result);
  } else if (result) {
    GlobalFree(result);
    result = nullptr;
  }
  GlobalUnlock(dib);
  return result;
}

}  // extern "C"
