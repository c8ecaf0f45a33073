#include "dib_convert.h"

#include <algorithm>
#include <cstring>

#include "dib_pixels.h"

namespace quillo::dib {

bool IsPlain24(const DibInfo& info) {
  return info.bitCount == 24 && info.headerSize == 40 && info.colours == 0;
}

DibShape Bgr24Shape(const uint8_t* block, const DibInfo& info) {
  DibShape s = ShapeOf(block, info);
  s.bitCount = 24;
  s.colours = 0;
  s.compression = kDibRgb;
  s.masks[0] = s.masks[1] = s.masks[2] = 0;
  return s;
}

void ConvertTo24(const uint8_t* block, const DibInfo& info, uint8_t* out) {
  const DibInfo di = InitDib(out, Bgr24Shape(block, info));
  for (int64_t y = 0; y < info.height; ++y) RowToBgr(block, info, y, di.Row(out, y));
}

void GreyInPlace(uint8_t* block, const DibInfo& info) {
  if (info.paletted()) {
    uint8_t* t = info.Palette(block);
    for (uint32_t i = 0; i < info.colours; ++i, t += 4) t[0] = t[1] = t[2] = GreyLevel(t[0], t[1], t[2]);
    return;
  }
  const ChannelCodec codec(info.masks);
  for (int64_t y = 0; y < info.height; ++y) {
    uint8_t* row = info.Row(block, y);
    if (info.bitCount == 24) {
      for (int64_t x = 0; x < info.width; ++x, row += 3) row[0] = row[1] = row[2] = GreyLevel(row[0], row[1], row[2]);
      continue;
    }
    for (int64_t x = 0; x < info.width; ++x) {
      const uint32_t v = GetPixel(row, x, info.bitCount);
      uint8_t bgr[3];
      codec.Decode(v, bgr);
      bgr[0] = bgr[1] = bgr[2] = GreyLevel(bgr[0], bgr[1], bgr[2]);
      SetPixel(row, x, info.bitCount, (v & ~codec.AllChannels()) | codec.Encode(bgr));
    }
  }
}

bool ClipToImage(const DibInfo& info, int64_t left, int64_t top, int64_t width, int64_t height,
                 PixelRect* rect) {
  if (width <= 0 || height <= 0) return false;
  const int64_t l = std::max<int64_t>(left, 0), t = std::max<int64_t>(top, 0);
  const int64_t r = std::min<int64_t>(left + width, info.width);
  const int64_t b = std::min<int64_t>(top + height, info.height);
  if (r <= l || b <= t) return false;
  *rect = PixelRect{l, t, r - l, b - t};
  return true;
}

DibShape ClipShape(const uint8_t* block, const DibInfo& info, const PixelRect& rect) {
  DibShape s = ShapeOf(block, info);
  s.width = int32_t(rect.width);
  s.height = int32_t(rect.height);
  return s;
}

void CopyRect(const uint8_t* block, const DibInfo& info, const PixelRect& rect, uint8_t* out) {
  const DibInfo di = InitDib(out, ClipShape(block, info, rect));
  std::memcpy(di.Palette(out), info.Palette(block), size_t(info.colours) * 4);
  const int bits = info.bitCount;
  for (int64_t y = 0; y < rect.height; ++y) {
    const uint8_t* in = info.Row(block, rect.top + y);
    uint8_t* o = di.Row(out, y);
    if (bits >= 8) {
      const int64_t bytes = bits / 8;
      std::memcpy(o, in + rect.left * bytes, size_t(rect.width * bytes));
    } else {
      for (int64_t x = 0; x < rect.width; ++x) SetPixel(o, x, bits, GetPixel(in, rect.left + x, bits));
    }
  }
}

void FillDib(uint8_t* block, const DibInfo& info, const uint8_t bgr[3]) {
  const uint32_t v = PixelForColour(block, info, bgr);
  for (int64_t y = 0; y < info.height; ++y) {
    uint8_t* row = info.Row(block, y);
    if (info.bitCount <= 8) {
      // Replicate the index over a whole byte, then fill the row's pixels.
      uint8_t byte = uint8_t(v);
      if (info.bitCount == 4) byte = uint8_t(v << 4 | v);
      if (info.bitCount == 1) byte = v ? 0xFF : 0x00;
      std::memset(row, byte, size_t((int64_t(info.width) * info.bitCount + 7) / 8));
    } else {
      for (int64_t x = 0; x < info.width; ++x) SetPixel(row, x, info.bitCount, v);
    }
  }
}

}  // namespace quillo::dib
