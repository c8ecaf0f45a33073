#include "warp.h"

#include <algorithm>
#include <cmath>

namespace quillo::qlo12 {
namespace {

constexpr double kTwoPi = 6.283185307179586;

}  // namespace

bool WarpSizeWorkable(int width, int height) {
  return width > 0 && height > 0 && (width / 2 > 0 || height / 2 > 0);
}

const std::vector<int32_t>& WarpSineTable() {
  static const std::vector<int32_t> table = [] {
    std::vector<int32_t> s(1280);
    for (int k = 0; k < 1024; ++k) s[size_t(k)] = int32_t(std::sin(k * kTwoPi / 1024) * 32767);
    for (int m = 0; m < 256; ++m) s[size_t(1024 + m)] = s[size_t(m)];
    return s;
  }();
  return table;
}

void BuildWarpRings(int width, int height, int32_t* rings) {
  if (!rings || !WarpSizeWorkable(width, height)) return;
  const int cx = width / 2, cy = height / 2;
  const double radius = std::sqrt(double(cx) * cx + double(cy) * cy);
  for (int i = 0; i < height; ++i) {
    const double y = i - cy;
    for (int j = 0; j < width; ++j) {
      const double x = j - cx;
      // The farthest pixel lies exactly one radius away: ring 511 at most.
      const int ring = std::min(int(std::sqrt(x * x + y * y) * 511.9999 / radius), kWarpRings - 1);
      rings[int64_t(i) * width + j] = 2 * ring;
    }
  }
}

void WarpFrameShifts(int n, WarpShifts& shifts) {
  n = ((n % kWarpCycle) + kWarpCycle) % kWarpCycle;
  const int p1 = int(30 * std::sin((n + 100) * kTwoPi / 256)) - int(-40 * std::sin((n - 10) * kTwoPi / 1024));
  const int p2 = int(-35 * std::sin(n * kTwoPi / 512)) - int(-40 * std::sin((n + 30) * kTwoPi / 1024));
  const int p3 = int(50 * std::sin((n - 70) * kTwoPi / 128));
  const std::vector<int32_t>& s = WarpSineTable();
  uint16_t q = 0;
  for (int r = 0; r < kWarpRings; ++r) {
    const int k = (q >> 3) & 0x3FE;
    // Arithmetic shifts of signed products, rounding toward minus infinity.
    shifts.dy[r] = int32_t((int64_t(p2) * s[size_t(k)]) >> 15);
    shifts.dx[r] = int32_t((int64_t(p1) * s[size_t(k + 256)]) >> 15);
    q = uint16_t(q + p3);
  }
}

void DrawWarpFrame(const uint8_t* backup, uint8_t* out, int width, int height, int64_t stride,
                   const int32_t* rings, const WarpShifts& shifts) {
  if (!backup || !out || !rings || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  for (int i = 0; i < height; ++i) {
    uint8_t* dst = out + i * stride;
    const int32_t* ring = rings + int64_t(i) * width;
    for (int j = 0; j < width; ++j, dst += 3) {
      const int r = std::clamp(ring[j] / 2, 0, kWarpRings - 1);
      const int row = std::clamp(i + shifts.dy[r], 0, height - 1);
      const int column = std::clamp(j + shifts.dx[r], 0, width - 1);
      const uint8_t* src = backup + row * stride + 3 * column;
      dst[0] = src[0];
      dst[1] = src[1];
      dst[2] = src[2];
    }
  }
}

}  // namespace quillo::qlo12
