// Pictures and pixel samples for the colour kernel tests.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/basics/pixel_pass.h"

namespace quillo::test {

// A 24-bit bottom-up picture with padded rows, and a target of the same size.
struct TestPicture {
  int width = 0, height = 0, stride = 0;
  std::vector<uint8_t> source, target;

  TestPicture(int w, int h) : width(w), height(h), stride(((w * 24 + 31) / 32) * 4) {
    source.assign(size_t(stride) * h, 0);
    target.assign(size_t(stride) * h, 0);
  }
  uint8_t* SourcePixel(int x, int row) { return source.data() + size_t(row) * stride + x * 3; }
  uint8_t* TargetPixel(int x, int row) { return target.data() + size_t(row) * stride + x * 3; }

  PixelPass FullPass() {
    PixelPass p;
    p.source = source.data();
    p.target = target.data();
    p.width = width;
    p.height = height;
    p.stride = stride;
    p.colEnd = width;
    p.rowEnd = height;
    return p;
  }
};

// Every grey, every pixel made of the edge bytes {0, 1, 127, 128, 254, 255},
// and a strided walk over all 2^24 colours (about 1.5 million triples), as
// blue, green, red byte triples.
inline std::vector<uint8_t> SampleTriples(uint32_t stride = 11) {
  std::vector<uint8_t> out;
  auto add = [&](int b, int g, int r) {
    out.push_back(uint8_t(b));
    out.push_back(uint8_t(g));
    out.push_back(uint8_t(r));
  };
  for (int v = 0; v < 256; ++v) add(v, v, v);
  const int edges[] = {0, 1, 127, 128, 254, 255};
  for (int b : edges)
    for (int g : edges)
      for (int r : edges) add(b, g, r);
  for (uint32_t c = 0; c < (1u << 24); c += stride) add(c & 255, (c >> 8) & 255, c >> 16);
  return out;
}

// Lays triples into a picture of the given width, the last row padded with black.
inline TestPicture PictureOf(const std::vector<uint8_t>& triples, int width = 1024) {
  const int count = int(triples.size() / 3);
  TestPicture pic(width, (count + width - 1) / width);
  for (int i = 0; i < count; ++i) {
    uint8_t* p = pic.SourcePixel(i % width, i / width);
    p[0] = triples[i * 3], p[1] = triples[i * 3 + 1], p[2] = triples[i * 3 + 2];
  }
  return pic;
}

// Deterministic varied pixels (a linear congruential walk); row padding stays 0.
inline void FillNoise(TestPicture& pic, uint32_t seed) {
  for (int row = 0; row < pic.height; ++row) {
    for (int i = 0; i < pic.width * 3; ++i) {
      seed = seed * 214013u + 2531011u;
      pic.source[size_t(row) * pic.stride + i] = uint8_t(seed >> 16);
    }
  }
}

}  // namespace quillo::test
