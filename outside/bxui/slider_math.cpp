#include "slider_math.h"

#include <algorithm>

namespace quillo::bxui {

SliderRange RangeFromPacked(uint32_t packed) {
  const int32_t low = int16_t(uint16_t(packed & 0xFFFF));
  const int32_t high = int16_t(uint16_t(packed >> 16));
  return {std::min(low, high), std::max(low, high)};
}

int32_t ClampPosition(int64_t position, SliderRange range) {
  return int32_t(std::clamp<int64_t>(position, range.minimum, range.maximum));
}

int32_t PageStep(SliderRange range) {
  const int64_t span = int64_t(range.maximum) - range.minimum;
  return int32_t(std::max<int64_t>(1, span / 10));
}

// Rounded quotient of a non-negative numerator by a positive denominator.
static int64_t RoundedDivide(int64_t numerator, int64_t denominator) {
  return (numerator + denominator / 2) / denominator;
}

int32_t PixelFromPosition(int32_t position, SliderRange range, int32_t trackStart,
                          int32_t trackLength) {
  const int64_t span = int64_t(range.maximum) - range.minimum;
  if (span <= 0 || trackLength <= 0) return trackStart;
  const int64_t offset = int64_t(ClampPosition(position, range)) - range.minimum;
  return int32_t(trackStart + RoundedDivide(offset * trackLength, span));
}

int32_t PositionFromPixel(int32_t pixel, SliderRange range, int32_t trackStart,
                          int32_t trackLength) {
  const int64_t span = int64_t(range.maximum) - range.minimum;
  if (span <= 0 || trackLength <= 0) return range.minimum;
  const int64_t along = std::clamp<int64_t>(int64_t(pixel) - trackStart, 0, trackLength);
  return ClampPosition(range.minimum + RoundedDivide(along * span, trackLength), range);
}

}  // namespace quillo::bxui
