#include "lake.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace quillo::qlo14 {

void SetLakePeriod(LakeState& state, int period) {
  state.period = std::clamp(period, kLakeMinPeriod, kLakeMaxPeriod);
  if (state.frame < 0 || state.frame >= state.period) state.frame = 0;
}

int LakeRowShift(int i, int height, int frame, int period) {
  if (height <= 0 || period <= 0) return 0;
  const int q = height / 14;
  const double phase = double(frame) * (2 * std::numbers::pi) / double(period) +
                       double(q) * double(height - i) / double(i + 1);
  return int(std::sin(phase) * double(i + 28) * double(q) / double(height));
}

void LakeFrame(LakeState& state, const uint8_t* source, uint8_t* out, int width, int height,
               int64_t stride) {
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  SetLakePeriod(state, state.period);
  const size_t rowBytes = size_t(width) * 3;
  for (int i = 0; i < height; ++i) {
    const int o = LakeRowShift(i, height, state.frame, state.period);
    const int from = i + o >= 0 && i + o < height ? i + o : i;
    // Rows counted from the top are memory rows counted from the bottom.
    std::memcpy(out + int64_t(height - 1 - i) * stride, source + int64_t(height - 1 - from) * stride,
                rowBytes);
  }
  state.frame = (state.frame + 1) % state.period;
}

}  // namespace quillo::qlo14
