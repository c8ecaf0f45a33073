// Pictures for the Qlo14 frame tests: noise bytes over exactly stride x
// height bytes, rows padded as a DIB's or by `padding` extra bytes, with
// guard bytes either side of the rows so a stray read or write shows.
#pragma once
#include <cstdint>
#include <vector>

struct NoisePicture {
  static constexpr int kGuard = 64;
  int width, height;
  int64_t stride;
  std::vector<uint8_t> buffer;  // guard, rows, guard

  NoisePicture(int w, int h, int padding = -1, uint32_t seed = 7)
      : width(w), height(h),
        stride(padding < 0 ? (int64_t(w) * 3 + 3) / 4 * 4 : int64_t(w) * 3 + padding),
        buffer(size_t(stride * h) + 2 * kGuard, 0xA5) {
    for (int64_t k = 0; k < stride * h; ++k)
      Pixels()[k] = uint8_t((seed = seed * 1103515245u + 12345u) >> 23);
  }
  uint8_t* Pixels() { return buffer.data() + kGuard; }
  const uint8_t* Pixels() const { return buffer.data() + kGuard; }
  std::vector<uint8_t> Rows() const { return {Pixels(), Pixels() + stride * height}; }
  // Pixel at memory column x, memory row y.
  const uint8_t* At(int x, int y) const { return Pixels() + y * stride + 3 * x; }
  bool GuardsIntact() const {
    for (int k = 0; k < kGuard; ++k)
      if (buffer[size_t(k)] != 0xA5 || buffer[buffer.size() - 1 - size_t(k)] != 0xA5) return false;
    return true;
  }
};
