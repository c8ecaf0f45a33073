// Pictures for the Qlo13 frame tests: noise bytes over exactly stride x
// height bytes (no slack for a stray read), rows padded as a DIB's or by
// `padding` extra bytes.
#pragma once
#include <cstdint>
#include <vector>

struct FramePicture {
  int width, height;
  int64_t stride;
  std::vector<uint8_t> bytes;
  FramePicture(int w, int h, int padding = -1, uint32_t seed = 7)
      : width(w), height(h),
        stride(padding < 0 ? (int64_t(w) * 3 + 3) / 4 * 4 : int64_t(w) * 3 + padding),
        bytes(size_t(stride * h)) {
    for (uint8_t& b : bytes) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 23);
  }
  const uint8_t* At(int column, int row) const { return bytes.data() + row * stride + 3 * column; }
};

// Sizes around the edge cases: single pixels, rows or columns, odd sides,
// pictures smaller than the largest shifts, rows with extra padding.
struct FrameSize {
  int width, height, padding;
};
inline const FrameSize kFrameSizes[] = {{1, 1, -1}, {2, 1, 0},  {1, 3, -1}, {3, 2, 5},
                                        {5, 7, 0},  {17, 9, -1}, {31, 4, 1}, {64, 33, -1}};
