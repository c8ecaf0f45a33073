#include "dib_pixels.h"

#include <cstring>

namespace quillo::dib {

ChannelCodec::ChannelCodec(const uint32_t masks[3]) : all_(masks[0] | masks[1] | masks[2]) {
  for (int c = 0; c < 3; ++c) {
    const uint32_t m = masks[2 - c];  // masks are red, green, blue
    mask_[c] = m;
    int shift = 0;
    while (shift < 32 && !((m >> shift) & 1u)) ++shift;
    shift_[c] = shift;
    max_[c] = m ? (uint64_t(m) >> shift) : 1;
  }
}

void ChannelCodec::Decode(uint32_t pixel, uint8_t bgr[3]) const {
  for (int c = 0; c < 3; ++c) {
    const uint64_t v = (pixel & mask_[c]) >> shift_[c];
    bgr[c] = uint8_t((v * 255 + max_[c] / 2) / max_[c]);
  }
}

uint32_t ChannelCodec::Encode(const uint8_t bgr[3]) const {
  uint32_t pixel = 0;
  for (int c = 0; c < 3; ++c)
    pixel |= uint32_t(((bgr[c] * max_[c] + 127) / 255) << shift_[c]) & mask_[c];
  return pixel;
}

void RowToBgr(const uint8_t* block, const DibInfo& info, int64_t y, uint8_t* out) {
  const uint8_t* row = info.Row(block, y);
  const int64_t w = info.width;
  if (info.paletted()) {
    DibColour table[256];
    std::memcpy(table, info.Palette(block), size_t(info.colours) * 4);
    for (int64_t x = 0; x < w; ++x, out += 3) {
      const uint32_t i = GetPixel(row, x, info.bitCount);
      if (i < info.colours) {
        out[0] = table[i].blue;
        out[1] = table[i].green;
        out[2] = table[i].red;
      } else {
        out[0] = out[1] = out[2] = 0;
      }
    }
  } else if (info.bitCount == 24) {
    std::memcpy(out, row, size_t(w) * 3);
  } else {
    const ChannelCodec codec(info.masks);
    for (int64_t x = 0; x < w; ++x, out += 3) codec.Decode(GetPixel(row, x, info.bitCount), out);
  }
}

uint32_t NearestIndex(const DibColour* table, uint32_t count, const uint8_t bgr[3]) {
  uint32_t best = 0;
  int bestDistance = 1 << 30;
  for (uint32_t i = 0; i < count; ++i) {
    const int db = table[i].blue - bgr[0];
    const int dg = table[i].green - bgr[1];
    const int dr = table[i].red - bgr[2];
    const int d = db * db + dg * dg + dr * dr;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
      if (d == 0) break;
    }
  }
  return best;
}

uint32_t PixelForColour(const uint8_t* block, const DibInfo& info, const uint8_t bgr[3]) {
  if (info.paletted()) {
    DibColour table[256];
    std::memcpy(table, info.Palette(block), size_t(info.colours) * 4);
    return NearestIndex(table, info.colours, bgr);
  }
  if (info.bitCount == 24) return uint32_t(bgr[0]) | uint32_t(bgr[1]) << 8 | uint32_t(bgr[2]) << 16;
  return ChannelCodec(info.masks).Encode(bgr);
}

}  // namespace quillo::dib
