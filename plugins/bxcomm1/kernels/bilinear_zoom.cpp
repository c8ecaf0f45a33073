#include "bilinear_zoom.h"

#include <algorithm>
#include <cmath>

namespace quillo {

namespace {
// Source position of target index i, and the two neighbours and weight.
struct Tap {
  int a, b;
  double f;
};
Tap TapFor(int i, int sourceSize, int targetSize) {
  const double p = targetSize > 1 ? double(i) * (sourceSize - 1) / (targetSize - 1) : 0.0;
  const int a = std::clamp(int(std::floor(p)), 0, sourceSize - 1);
  return {a, std::min(a + 1, sourceSize - 1), p - a};
}
}  // namespace

void BilinearZoomRows(const ByteImage& s, const ByteTarget& t, int rowBegin, int rowEnd) {
  if (!s.pixels || !t.pixels || s.width <= 0 || s.height <= 0 || t.width <= 0 || t.height <= 0)
    return;
  const int c = s.channels;
  for (int y = std::max(rowBegin, 0); y < std::min(rowEnd, t.height); ++y) {
    const Tap ty = TapFor(y, s.height, t.height);
    const uint8_t* r0 = s.pixels + int64_t(ty.a) * s.stride;
    const uint8_t* r1 = s.pixels + int64_t(ty.b) * s.stride;
    uint8_t* out = t.pixels + int64_t(y) * t.stride;
    for (int x = 0; x < t.width; ++x) {
      const Tap tx = TapFor(x, s.width, t.width);
      for (int k = 0; k < c; ++k) {
        const double top = r0[tx.a * c + k] * (1 - tx.f) + r0[tx.b * c + k] * tx.f;
        const double bottom = r1[tx.a * c + k] * (1 - tx.f) + r1[tx.b * c + k] * tx.f;
        out[x * c + k] = uint8_t(std::clamp(top * (1 - ty.f) + bottom * ty.f, 0.0, 255.0));
      }
    }
  }
}

}  // namespace quillo
