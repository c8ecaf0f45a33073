#include "dib_transform.h"

#include <cstring>
#include <utility>

#include "dib_pixels.h"

namespace quillo::dib {
namespace {

// Moves pixels for the mirror and turn modes; Bits is a constant so the
// pixel access compiles to plain loads and stores.
template <int Bits>
void Remap(const uint8_t* in, const DibInfo& si, uint8_t* out, const DibInfo& di, int mode) {
  const int64_t w = si.width, h = si.height;
  for (int64_t y = 0; y < di.height; ++y) {
    uint8_t* o = di.Row(out, y);
    switch (mode) {
      case 2:
      case 32: {
        const uint8_t* r = si.Row(in, mode == 2 ? y : h - 1 - y);
        for (int64_t x = 0; x < w; ++x) SetPixel(o, x, Bits, GetPixel(r, w - 1 - x, Bits));
        break;
      }
      case 16:
        for (int64_t x = 0; x < h; ++x) SetPixel(o, x, Bits, GetPixel(si.Row(in, h - 1 - x), y, Bits));
        break;
      case 48:
        for (int64_t x = 0; x < h; ++x) SetPixel(o, x, Bits, GetPixel(si.Row(in, x), w - 1 - y, Bits));
        break;
    }
  }
}

void RemapAny(const uint8_t* in, const DibInfo& si, uint8_t* out, const DibInfo& di, int mode) {
  switch (si.bitCount) {
    case 1: Remap<1>(in, si, out, di, mode); break;
    case 4: Remap<4>(in, si, out, di, mode); break;
    case 8: Remap<8>(in, si, out, di, mode); break;
    case 16: Remap<16>(in, si, out, di, mode); break;
    case 24: Remap<24>(in, si, out, di, mode); break;
    default: Remap<32>(in, si, out, di, mode); break;
  }
}

void Invert(uint8_t* out, const DibInfo& di) {
  if (di.paletted()) {
    uint8_t* t = di.Palette(out);
    for (uint32_t i = 0; i < di.colours; ++i, t += 4)
      for (int c = 0; c < 3; ++c) t[c] = uint8_t(255 - t[c]);
    return;
  }
  for (int64_t y = 0; y < di.height; ++y) {
    uint8_t* row = di.Row(out, y);
    if (di.bitCount == 24) {
      for (int64_t i = 0; i < int64_t(di.width) * 3; ++i) row[i] = uint8_t(255 - row[i]);
    } else {
      const uint32_t all = ChannelCodec(di.masks).AllChannels();
      for (int64_t x = 0; x < di.width; ++x)
        SetPixel(row, x, di.bitCount, GetPixel(row, x, di.bitCount) ^ all);
    }
  }
}

}  // namespace

bool IsTransformMode(int mode) {
  return mode == 1 || mode == 2 || mode == 4 || mode == 8 || mode == 16 || mode == 32 || mode == 48;
}

bool TransformShape(const uint8_t* block, const DibInfo& info, int mode, DibShape* shape) {
  if (!IsTransformMode(mode)) return false;
  *shape = ShapeOf(block, info);
  if (mode == 16 || mode == 48) {
    shape->width = info.height;
    shape->height = info.width;
    std::swap(shape->xPelsPerMeter, shape->yPelsPerMeter);
  }
  return true;
}

void TransformDib(const uint8_t* block, const DibInfo& info, int mode, uint8_t* out) {
  DibShape shape;
  TransformShape(block, info, mode, &shape);
  const DibInfo di = InitDib(out, shape);
  std::memcpy(di.Palette(out), info.Palette(block), size_t(info.colours) * 4);
  switch (mode) {
    case 1:
    case 8:
      std::memcpy(out + di.bitsOffset, block + info.bitsOffset, size_t(info.bitsSize));
      if (mode == 8) Invert(out, di);
      break;
    case 4:
      for (int64_t y = 0; y < info.height; ++y)
        std::memcpy(di.Row(out, y), info.Row(block, info.height - 1 - y), size_t(info.stride));
      break;
    default:
      RemapAny(block, info, out, di, mode);
  }
}

}  // namespace quillo::dib
