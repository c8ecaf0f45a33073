// Resizing by bilinear sampling: target pixel (x, y) samples the source at
// (x (sw - 1) / (tw - 1), y (sh - 1) / (th - 1)), so corners land on corners
// and a picture resized to its own size comes back exactly; each channel of
// the blend is truncated. Works on 24-bit pixels and on one-byte masks.
#pragma once
#include <cstdint>

namespace quillo {

struct ByteImage {
  const uint8_t* pixels = nullptr;
  int width = 0, height = 0;
  int64_t stride = 0;  // bytes per row
  int channels = 3;    // 3 for pictures, 1 for masks
};

struct ByteTarget {
  uint8_t* pixels = nullptr;
  int width = 0, height = 0;
  int64_t stride = 0;
};

// Target rows [rowBegin, rowEnd); nothing for sizes that are not positive.
void BilinearZoomRows(const ByteImage& source, const ByteTarget& target, int rowBegin, int rowEnd);

}  // namespace quillo
