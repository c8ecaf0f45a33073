// Creation, copies, transforms, measurement and quantisation of DIB handles.
#include <cstring>

#include "contracts/dib_services.h"
#include "dib_convert.h"
#include "dib_handle.h"
#include "dib_quantize.h"
#include "dib_transform.h"

using namespace quillo::dib;

namespace {

// Layout of a locked DIB whose block size is unknown: the header alone must
// be sound (the handle was checked when it was made or passed in).
bool HeaderInfo(LPCSTR locked, DibInfo* info) {
  return locked && CheckDib(reinterpret_cast<const uint8_t*>(locked), kMaxDibBlock, info) == DibFault::kSound;
}

}  // namespace

extern "C" {

// Everything after the header is zero: the full colour table of 1-, 4- and
// 8-bit images (each caller fills the colours it needs) and every pixel.
// 16-bit images are 5-5-5, 32-bit images blue, green, red, unused.
HGLOBAL CreateDIB(int width, int height, int bitCount) {
  DibShape shape;
  shape.width = width;
  shape.height = height;
  shape.bitCount = bitCount;
  shape.colours = bitCount >= 1 && bitCount <= 8 ? (1u << bitCount) : 0;
  NewDib out(shape);
  if (!out.ok()) return nullptr;
  InitDib(out.data(), shape);
  return out.Release();
}

void DestroyDIB(HGLOBAL dib) {
  if (dib) GlobalFree(dib);
}

HGLOBAL DuplicateDIB(HGLOBAL dib, int mode) {
  LockedDib in(dib);
  DibShape shape;
  if (!in.ok() || !TransformShape(in.data(), in.info(), mode, &shape)) return nullptr;
  NewDib out(shape);
  if (!out.ok()) return nullptr;
  TransformDib(in.data(), in.info(), mode, out.data());
  return out.Release();
}

HGLOBAL Duplicate24BitsDIB(HGLOBAL dib) {
  LockedDib in(dib);
  if (!in.ok()) return nullptr;
  NewDib out(Bgr24Shape(in.data(), in.info()));
  if (!out.ok()) return nullptr;
  ConvertTo24(in.data(), in.info(), out.data());
  return out.Release();
}

// The same handle when it already is a plain 24-bit DIB; otherwise a new
// 24-bit copy (the caller still owns, and frees, the original).
HGLOBAL TrueColorDIB(HGLOBAL dib) {
  {
    LockedDib in(dib);
    if (!in.ok()) return nullptr;
    if (IsPlain24(in.info())) return dib;
  }
  return Duplicate24BitsDIB(dib);
}

BOOL GrayDIB(HGLOBAL dib) {
  LockedDib in(dib);
  if (!in.ok()) return FALSE;
  GreyInPlace(in.data(), in.info());
  return TRUE;
}

int DIBWidth(LPCSTR lockedDib) {
  DibInfo info;
  return HeaderInfo(lockedDib, &info) ? info.width : 0;
}

int DIBHeight(LPCSTR lockedDib) {
  DibInfo info;
  return HeaderInfo(lockedDib, &info) ? info.height : 0;
}

LPSTR FindDIBBits(LPSTR lockedDib) {
  DibInfo info;
  return HeaderInfo(lockedDib, &info) ? lockedDib + info.bitsOffset : nullptr;
}

WORD DIBNumColors(LPCSTR lockedDib) {
  DibInfo info;
  return HeaderInfo(lockedDib, &info) ? WORD(info.colours) : 0;
}

BOOL IsValidDIB(HGLOBAL dib) { return LockedDib(dib).ok(); }

// The rectangle is cut to the image; a rectangle that is empty or lies
// wholly outside gives 0.
HGLOBAL ClipDIBRect(HGLOBAL dib, int left, int top, int width, int height) {
  LockedDib in(dib);
  PixelRect rect;
  if (!in.ok() || !ClipToImage(in.info(), left, top, width, height, &rect)) return nullptr;
  NewDib out(ClipShape(in.data(), in.info(), rect));
  if (!out.ok()) return nullptr;
  CopyRect(in.data(), in.info(), rect, out.data());
  return out.Release();
}

BOOL SingleColorDIB(HGLOBAL dib, COLORREF colour) {
  LockedDib in(dib);
  if (!in.ok()) return FALSE;
  const uint8_t bgr[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
  FillDib(in.data(), in.info(), bgr);
  return TRUE;
}

BOOL BlackDIB(HGLOBAL dib) { return SingleColorDIB(dib, RGB(0, 0, 0)); }

LPVOID DIBAlloc(DWORD bytes) { return bytes ? GlobalAlloc(GPTR, bytes) : nullptr; }

HGLOBAL IndexDIB(HGLOBAL dib, int maxColours, LPBYTE indexBuffer, RGBQUAD* palette) {
  LockedDib in(dib);
  QuantPalette chosen;
  if (!in.ok() || !ChoosePalette(in.data(), in.info(), maxColours, &chosen)) return nullptr;
  NewDib out(IndexShape(in.data(), in.info(), chosen));
  if (!out.ok()) return nullptr;
  MapToPalette(in.data(), in.info(), chosen, out.data(), indexBuffer);
  if (palette) {
    std::memset(palette, 0, sizeof(RGBQUAD) * size_t(maxColours));
    std::memcpy(palette, chosen.colours, sizeof(RGBQUAD) * chosen.count);
  }
  return out.Release();
}

}  // extern "C"
