// Drawing DIB handles, their palettes, and DIBs from device bitmaps.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "contracts/dib_services.h"
#include "dib_check.h"
#include "dib_convert.h"
#include "dib_handle.h"
#include "dib_resample.h"

using namespace quillo::dib;

namespace {

// Largest reduced view drawn through our own box filter (pixels); larger
// destinations fall back to the device's HALFTONE stretching.
constexpr int64_t kMaxFilteredPixels = 16 << 20;

// Draws the reduced view: the box-filtered pixels, copied 1:1 (a negative
// destination width or height still mirrors).
bool PaintReduced(HDC dc, const RECT& dest, const LockedDib& in, const PixelRect& src) {
  const int64_t w = std::abs(dest.right - dest.left), h = std::abs(dest.bottom - dest.top);
  const int64_t stride = (w * 3 + 3) & ~int64_t(3);
  std::vector<uint8_t> pixels(size_t(stride * h));
  ResampleToBgr(in.data(), in.info(), src, w, h, pixels.data(), stride);
  BITMAPINFO bi{};
  bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), LONG(w), -LONG(h), 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  const int lines = StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0,
                                  int(w), int(h), pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
  if (oldMode) SetStretchBltMode(dc, oldMode);
  return lines > 0;
}

bool PaintStretched(HDC dc, const RECT& dest, const LockedDib& in, const PixelRect& src, bool shrinking) {
  const DibInfo& info = in.info();
  const int oldMode = SetStretchBltMode(dc, shrinking ? HALFTONE : COLORONCOLOR);
  POINT oldOrigin{};
  if (shrinking) SetBrushOrgEx(dc, 0, 0, &oldOrigin);  // HALFTONE needs a fresh brush origin
  // Rows are stored bottom-up, so the source's y is counted from the bottom.
  const int lines = StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
                                  int(src.left), int(info.height - src.top - src.height), int(src.width),
                                  int(src.height), in.data() + info.bitsOffset,
                                  reinterpret_cast<const BITMAPINFO*>(in.data()), DIB_RGB_COLORS, SRCCOPY);
  if (shrinking) SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  if (oldMode) SetStretchBltMode(dc, oldMode);
  return lines > 0;
}

}  // namespace

extern "C" {

// Draws the source rectangle (image pixels, y from the top, right and bottom
// exclusive; null = the whole image; cut to the image) into the destination
// rectangle. Enlarging repeats pixels (COLORONCOLOR). Shrinking averages
// every source pixel a destination pixel covers (our box filter, the same on
// every system; HALFTONE for destinations beyond kMaxFilteredPixels).
BOOL PaintDIB(HDC dc, LPRECT destRect, HGLOBAL dib, LPRECT sourceRect, HPALETTE palette) {
  if (!dc || !destRect) return FALSE;
  LockedDib in(dib);
  if (!in.ok()) return FALSE;
  const DibInfo& info = in.info();
  PixelRect src{0, 0, info.width, info.height};
  if (sourceRect && !ClipToImage(info, sourceRect->left, sourceRect->top,
                                 int64_t(sourceRect->right) - sourceRect->left,
                                 int64_t(sourceRect->bottom) - sourceRect->top, &src))
    return FALSE;
  const RECT dest = *destRect;
  const int64_t dw = std::abs(int64_t(dest.right) - dest.left), dh = std::abs(int64_t(dest.bottom) - dest.top);
  if (dw == 0 || dh == 0) return FALSE;

  HPALETTE oldPalette = nullptr;
  if (palette) {
    oldPalette = SelectPalette(dc, palette, TRUE);
    RealizePalette(dc);
  }
  const bool shrinking = dw < src.width || dh < src.height;
  const bool ok = shrinking && dw * dh <= kMaxFilteredPixels ? PaintReduced(dc, dest, in, src)
                                                              : PaintStretched(dc, dest, in, src, shrinking);
  if (oldPalette) SelectPalette(dc, oldPalette, TRUE);
  return ok;
}

// A logical palette of the colour table; for 16-, 24- and 32-bit images,
// which have no table, the system halftone palette.
HPALETTE CreateDIBPalette(HGLOBAL dib) {
  LockedDib in(dib);
  if (!in.ok()) return nullptr;
  const DibInfo& info = in.info();
  if (!info.paletted() || info.colours == 0) {
    HDC screen = GetDC(nullptr);
    HPALETTE p = CreateHalftonePalette(screen);
    ReleaseDC(nullptr, screen);
    return p;
  }
  std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * info.colours);
  auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = WORD(info.colours);
  const uint8_t* t = info.Palette(in.data());
  for (uint32_t i = 0; i < info.colours; ++i, t += 4)
    lp->palPalEntry[i] = PALETTEENTRY{t[2], t[1], t[0], 0};
  return CreatePalette(lp);
}

// A 24-bit DIB of a device bitmap, read through the screen DC with the
// palette (if any) realized.
HGLOBAL BitmapToDIB(HBITMAP bitmap, HPALETTE palette) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
  DibShape shape;
  shape.width = bm.bmWidth;
  shape.height = bm.bmHeight;
  shape.bitCount = 24;
  NewDib out(shape);
  if (!out.ok()) return nullptr;
  const DibInfo info = InitDib(out.data(), shape);
  HDC screen = GetDC(nullptr);
  HPALETTE oldPalette = nullptr;
  if (palette) {
    oldPalette = SelectPalette(screen, palette, FALSE);
    RealizePalette(screen);
  }
  const int lines = GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), out.data() + info.bitsOffset,
                              reinterpret_cast<BITMAPINFO*>(out.data()), DIB_RGB_COLORS);
  if (oldPalette) SelectPalette(screen, oldPalette, FALSE);
  ReleaseDC(nullptr, screen);
  // GetDIBits may rewrite the header; restore the exact one.
  {
    quillo::DibHeader h{};
    h.size = 40;
    h.width = shape.width;
    h.height = shape.height;
    h.planes = 1;
    h.bitCount = 24;
    h.sizeImage = uint32_t(info.bitsSize);
    std::memcpy(out.data(), &h, sizeof h);
  }
  if (lines != bm.bmHeight) return nullptr;
  return out.Release();
}

}  // extern "C"
