// Pixel exports of BXCOMM.DLL: resampling, colour stretch, tiling and the
// two-colour converter. The pixel work is in the portable kernels.
#include <cstring>

#include "colour_stretch.h"
#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "effect_area.h"
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

HGLOBAL WINAPI Convert2To24BitsDIB(HGLOBAL dib, COLORREF colour) {
  LockedPicture in(dib);
  if (!in.locked()) return nullptr;
  if (in.is24()) return DuplicateDIB(dib, kDuplicateCopy);
  if (in.header()->biBitCount != 1 || in.header()->biCompression != BI_RGB) return nullptr;
  BITMAPINFOHEADER header;
  std::memcpy(&header, in.header(), sizeof header);
  const auto* bits = reinterpret_cast<const uint8_t*>(FindDIBBits(reinterpret_cast<LPSTR>(in.base())));

  HGLOBAL result = CreateDIB(header.biWidth, header.biHeight, 24);
  if (!result) return nullptr;
  auto* base = static_cast<BYTE*>(GlobalLock(result));
  if (!base) {
    GlobalFree(result);
    return nullptr;
  }
  header.biSize = sizeof header;
  header.biBitCount = 24;
  header.biClrUsed = 0;
  header.biClrImportant = 0;
  header.biSizeImage = DWORD(Stride24(header.biWidth) * header.biHeight);
  std::memcpy(base, &header, sizeof header);
  Bgr24Picture target;
  target.pixels = base + sizeof header;
  target.width = header.biWidth;
  target.height = header.biHeight;
  target.stride = Stride24(header.biWidth);
  const uint8_t bgr[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
  TwoColourToBgr24(bits, DibStride(header.biWidth, 1), target, bgr);
  GlobalUnlock(result);
  return result;
}

}  // extern "C"
