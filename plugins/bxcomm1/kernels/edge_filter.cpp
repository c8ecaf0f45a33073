#include "edge_filter.h"

#include <algorithm>
#include <cmath>

#include "pass_rows.h"

namespace quillo {

void RunEdge(const PixelPass& pass, int divisor, int rowBegin, int rowEnd) {
  if (!PassGeometryUsable(pass)) return;
  const int64_t scale = 655360 / std::max(divisor, 1);
  const int w = pass.width, h = pass.height;
  const int firstRow = std::max({rowBegin, pass.rowBegin, 0});
  const int endRow = std::min({rowEnd, pass.rowEnd, h});
  const int firstCol = std::max(pass.colBegin, 0), endCol = std::min(pass.colEnd, w);
  for (int y = firstRow; y < endRow; ++y) {
    const uint8_t* below = pass.SourceRow(std::max(y - 1, 0));
    const uint8_t* here = pass.SourceRow(y);
    const uint8_t* above = pass.SourceRow(std::min(y + 1, h - 1));
    uint8_t* out = pass.TargetRow(y);
    for (int x = firstCol; x < endCol; ++x) {
      const int l = std::max(x - 1, 0) * 3, c = x * 3, r = std::min(x + 1, w - 1) * 3;
      for (int k = 0; k < 3; ++k) {
        const int gy = 2 * (above[c + k] - below[c + k]) + above[l + k] + above[r + k] -
                       below[l + k] - below[r + k];
        const int gx = 2 * (here[r + k] - here[l + k]) + above[r + k] - below[l + k];
        const int64_t magnitude = std::lround(std::sqrt(double(gx) * gx + double(gy) * gy));
        out[c + k] = uint8_t(std::min<int64_t>(255, (magnitude * scale) >> 16));
      }
    }
  }
}

}  // namespace quillo
