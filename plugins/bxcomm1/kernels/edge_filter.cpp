#include "edge_filter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "pass_rows.h"

namespace quillo {

namespace {

constexpr int kBlock = 256;  // bytes whose squares wait in one buffer

// Square roots in place. Both ways give the correctly rounded root, so the
// same bits.
void SquareRoots(float* values, int count) {
  int i = 0;
#if defined(__SSE2__)
  for (; i + 4 <= count; i += 4) _mm_storeu_ps(values + i, _mm_sqrt_ps(_mm_loadu_ps(values + i)));
#endif
  for (; i < count; ++i) values[i] = std::sqrt(values[i]);
}

// (magnitude x scale) >> 16 capped at 255, split as magnitude x whole +
// (magnitude x fraction) >> 16 so every step fits 16 bits (magnitude <= 1275).
struct EdgeScale {
  uint16_t whole, fraction;
  explicit EdgeScale(int divisor)
      : whole(uint16_t((655360 / std::max(divisor, 1)) >> 16)),
        fraction(uint16_t((655360 / std::max(divisor, 1)) & 0xFFFF)) {}
};

// `count` bytes of one row; each byte's neighbours in the same channel lie
// `left` and `right` bytes away (-3 and 3, or 0 where the row ends). The
// squared magnitude (at most 1020^2 + 765^2) is exact in a float, and for
// every such integer, rounding the float root by + 0.5 and truncation gives
// what rounding the exact root gives.
void EdgeBytes(const uint8_t* below, const uint8_t* here, const uint8_t* above, int left, int right,
               int count, EdgeScale scale, uint8_t* out) {
  const uint16_t whole = scale.whole, fraction = scale.fraction;
  for (int first = 0; first < count; first += kBlock) {
    const int n = std::min(kBlock, count - first);
    const uint8_t *b = below + first, *h = here + first, *a = above + first;
    float squares[kBlock];
    for (int i = 0; i < n; ++i) {
      const int16_t gy =
          int16_t(2 * (a[i] - b[i]) + a[i + left] + a[i + right] - b[i + left] - b[i + right]);
      const int16_t gx = int16_t(2 * (h[i + right] - h[i + left]) + a[i + right] - b[i + left]);
      squares[i] = float(gx) * float(gx) + float(gy) * float(gy);
    }
    SquareRoots(squares, n);
    for (int i = 0; i < n; ++i) {
      const uint16_t magnitude = uint16_t(int(squares[i] + 0.5f));
      const uint16_t scaled =
          uint16_t(magnitude * whole + uint16_t((uint32_t(magnitude) * fraction) >> 16));
      out[first + i] = uint8_t(std::min<uint16_t>(scaled, 255));
    }
  }
}

}  // namespace

void RunEdge(const PixelPass& pass, int divisor, int rowBegin, int rowEnd) {
  if (!PassGeometryUsable(pass)) return;
  const EdgeScale scale(divisor);
  const int w = pass.width, h = pass.height;
  const int firstRow = std::max({rowBegin, pass.rowBegin, 0});
  const int endRow = std::min({rowEnd, pass.rowEnd, h});
  const int firstCol = std::max(pass.colBegin, 0), endCol = std::min(pass.colEnd, w);
  // Columns with both neighbours in the picture, and the picture's end
  // columns, whose missing neighbour is the column itself.
  const int inner0 = std::max(firstCol, 1), inner1 = std::max(inner0, std::min(endCol, w - 1));
  for (int y = firstRow; y < endRow; ++y) {
    const uint8_t* below = pass.SourceRow(std::max(y - 1, 0));
    const uint8_t* here = pass.SourceRow(y);
    const uint8_t* above = pass.SourceRow(std::min(y + 1, h - 1));
    uint8_t* out = pass.TargetRow(y);
    auto run = [&](int x0, int x1, int left, int right) {
      if (x0 < x1)
        EdgeBytes(below + x0 * 3, here + x0 * 3, above + x0 * 3, left, right, (x1 - x0) * 3, scale,
                  out + x0 * 3);
    };
    run(firstCol, std::min(inner0, endCol), 0, w > 1 ? 3 : 0);
    run(inner0, inner1, -3, 3);
    run(inner1, endCol, -3, 0);
  }
}

}  // namespace quillo
