// Small DIBs for the kernel tests, built straight from their definition.
#pragma once
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "dib_check.h"
#include "dib_pixels.h"

namespace quillo::dib::test {

struct TestDib {
  std::vector<uint8_t> block;
  DibInfo info;
  uint8_t* data() { return block.data(); }
  uint32_t Pixel(int64_t x, int64_t y) const {
    return GetPixel(info.Row(block.data(), y), x, info.bitCount);
  }
};

// Image of the shape with pixel value value(x, y) (index or raw pixel) and,
// for paletted images, table entry i = {i * 7, 255 - i, i * 3 + 1}.
inline TestDib MakeDib(DibShape shape, const std::function<uint32_t(int, int)>& value) {
  TestDib d;
  d.block.resize(size_t(DibBlockSize(shape)));
  d.info = InitDib(d.block.data(), shape);
  uint8_t* t = d.info.Palette(d.block.data());
  for (uint32_t i = 0; i < d.info.colours; ++i) {
    t[4 * i] = uint8_t(i * 7);
    t[4 * i + 1] = uint8_t(255 - i);
    t[4 * i + 2] = uint8_t(i * 3 + 1);
  }
  for (int y = 0; y < shape.height; ++y)
    for (int x = 0; x < shape.width; ++x)
      SetPixel(d.info.Row(d.block.data(), y), x, shape.bitCount, value(x, y));
  return d;
}

inline DibShape Shape(int w, int h, int bits) {
  DibShape s;
  s.width = w;
  s.height = h;
  s.bitCount = bits;
  s.colours = bits <= 8 ? (1u << bits) : 0;
  return s;
}

// An irregular value pattern that fits the depth.
inline uint32_t Pattern(int x, int y, int bits) {
  const uint32_t v = uint32_t(x * 37 + y * 101 + x * y * 13 + 5) * 2654435761u;
  return bits == 32 ? v : (v >> 7) & ((1u << bits) - 1);
}

}  // namespace quillo::dib::test
