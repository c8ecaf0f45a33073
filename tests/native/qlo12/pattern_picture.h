// A bottom-up 24-bit test picture whose byte c at memory row y, column x is
// (37x + 91y + 53c + 7xy + 11) mod 256 (or 0), rows padded to four bytes:
// the texture the kaleidoscope and illusion reference values were worked
// out for.
#pragma once
#include <cstdint>
#include <vector>

struct PatternPicture {
  int width, height;
  int64_t stride;
  std::vector<uint8_t> bytes;
  PatternPicture(int w, int h, bool pattern = true)
      : width(w), height(h), stride((int64_t(w) * 3 + 3) / 4 * 4), bytes(size_t(stride * h)) {
    for (int y = 0; pattern && y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int c = 0; c < 3; ++c)
          At(x, y)[c] = uint8_t(37 * x + 91 * y + 53 * c + 7 * x * y + 11);
  }
  uint8_t* At(int x, int y) { return bytes.data() + y * stride + 3 * x; }
};
