#include "sharpen.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "pass_rows.h"

namespace quillo {

SharpenWeights SharpenWeightsFor(int strength) {
  SharpenWeights w;
  w.centre = int(std::trunc((100 - strength) * 0.5 + 13));
  w.divisor = std::max(1, w.centre - 12);
  return w;
}

namespace {

// The kernel in 16-bit lanes, for the strengths whose sums fit them
// (-120 <= middle <= 128, so every strength from -139 to 358): the sum
// clamped to [0, 255 g] plus g / 2 is a numerator n < 2^15, shifted left as
// far as 16 bits allow (pre); n / g is the high half of that times the
// multiplier, shifted right by 7: n multiplier / 2^(23 - pre) rounded down.
struct ShortSharpen {
  static constexpr int kPostShift = 7;
  int16_t middle = 0, top = 0, half = 0;
  uint16_t preScale = 1, multiplier = 0;

  // False where the weights or the division do not fit (the division fits
  // for every g up to 120).
  bool Prepare(int middleWeight, int g) {
    if (middleWeight < -120 || middleWeight > 128) return false;
    middle = int16_t(middleWeight), top = int16_t(255 * g), half = int16_t(g / 2);
    const int64_t limit = top + half;
    int pre = 0;
    while ((limit << (pre + 1)) <= 0xFFFF) ++pre;
    // With 2^s = m g - e, 0 <= e < g: n m / 2^s = n / g + n e / (g 2^s),
    // which keeps n / g's integer part while n e < 2^s.
    const int64_t power = int64_t(1) << (16 + kPostShift - pre);
    const int64_t m = (power + g - 1) / g;
    if (m > 0xFFFF || (m * g - power) * limit >= power) return false;
    preScale = uint16_t(1 << pre), multiplier = uint16_t(m);
    return true;
  }

  void Row(const uint8_t* below, const uint8_t* here, const uint8_t* above, uint8_t* out,
           int count) const {
    const int16_t middle = this->middle, top = this->top, half = this->half;
    const uint16_t preScale = this->preScale, multiplier = this->multiplier;
    for (int i = 0; i < count; ++i) {
      const int16_t sum = int16_t(middle * here[i] - 4 * (below[i] + above[i]));
      const uint16_t n = uint16_t(uint16_t(std::clamp<int16_t>(sum, 0, top) + half) * preScale);
      out[i] = uint8_t(uint16_t((uint32_t(n) * multiplier) >> 16) >> kPostShift);
    }
  }
};

// The kernel as written, in int, for the remaining strengths.
struct WideSharpen {
  int middle, g, half;
  void Row(const uint8_t* below, const uint8_t* here, const uint8_t* above, uint8_t* out,
           int count) const {
    for (int i = 0; i < count; ++i) {
      const int sum = middle * here[i] - 4 * (below[i] + above[i]);
      out[i] = sum < 0 ? 0 : sum > 255 * g ? 255 : uint8_t((sum + half) / g);
    }
  }
};

// Picks each row's three source rows and runs the kernel over the columns
// up to the third-last of the area; the last two columns read that one, so
// they get its result.
template <typename Kernel>
void SharpenRows(const PixelPass& pass, const Kernel& kernel, int rowBegin, int rowEnd) {
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
    const int64_t first = int64_t(firstCol) * 3, last = int64_t(lastSourceCol) * 3;
    uint8_t* out = pass.TargetRow(y);
    kernel.Row(pass.SourceRow(rb) + first, pass.SourceRow(rc) + first, pass.SourceRow(ra) + first,
               out + first, int(last + 3 - first));
    for (int64_t x = last + 3; x < int64_t(endCol) * 3; x += 3) std::memcpy(out + x, out + last, 3);
  }
}

}  // namespace

void RunSharpen(const PixelPass& pass, int strength, int rowBegin, int rowEnd) {
  if (!PassGeometryUsable(pass)) return;
  const SharpenWeights weights = SharpenWeightsFor(strength);
  const int middle = weights.centre - 4, g = weights.divisor;
  ShortSharpen fast;
  if (fast.Prepare(middle, g)) return SharpenRows(pass, fast, rowBegin, rowEnd);
  SharpenRows(pass, WideSharpen{middle, g, g / 2}, rowBegin, rowEnd);
}

}  // namespace quillo
