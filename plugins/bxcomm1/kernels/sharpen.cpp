#include "sharpen.h"

#include <algorithm>
#include <cmath>

#include "pass_rows.h"

namespace quillo {

SharpenWeights SharpenWeightsFor(int strength) {
  SharpenWeights w;
  w.centre = int(std::trunc((100 - strength) * 0.5 + 13));
  w.divisor = std::max(1, w.centre - 12);
  return w;
}

void RunSharpen(const PixelPass& pass, int strength, int rowBegin, int rowEnd) {
  if (!PassGeometryUsable(pass)) return;
  const SharpenWeights weights = SharpenWeightsFor(strength);
  const int middle = weights.centre - 4, g = weights.divisor, half = g / 2;
  const int h = pass.height;
  const int firstRow = std::max({rowBegin, pass.rowBegin, 0});
  const int endRow = std::min({rowEnd, pass.rowEnd, h});
  const int firstCol = std::max(pass.colBegin, 0), endCol = std::min(pass.colEnd, pass.width);
  if (firstCol >= endCol) return;
  const int lastSourceCol = std::max(firstCol, endCol - 3);
  for (int y = firstRow; y < endRow; ++y) {
    int rb = y - 1, rc = y, ra = y + 1;
    if (y == 0) rb = 0;
    if (y >= h - 2) {
      rb = std::max(h - 2, 0);
      rc = ra = h - 1;
    }
    const uint8_t* below = pass.SourceRow(rb);
    const uint8_t* here = pass.SourceRow(rc);
    const uint8_t* above = pass.SourceRow(ra);
    uint8_t* out = pass.TargetRow(y);
    for (int x = firstCol; x < endCol; ++x) {
      const int s = std::min(x, lastSourceCol) * 3;
      for (int k = 0; k < 3; ++k) {
        const int sum = middle * here[s + k] - 4 * (below[s + k] + above[s + k]);
        out[x * 3 + k] = sum < 0 ? 0 : sum > 255 * g ? 255 : uint8_t((sum + half) / g);
      }
    }
  }
}

}  // namespace quillo
