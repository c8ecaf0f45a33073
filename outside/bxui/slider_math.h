// Value arithmetic of the slider control: range unpacking, clamping, page
// steps and the mapping between positions and pixels along the track.
// Portable: no Windows headers.
#pragma once
#include <cstdint>

namespace quillo::bxui {

struct SliderRange {
  int32_t minimum = 0;
  int32_t maximum = 100;
};

// Low 16 bits minimum, high 16 bits maximum, both signed; a reversed pair is
// put in order.
SliderRange RangeFromPacked(uint32_t packed);

int32_t ClampPosition(int64_t position, SliderRange range);

// One page: a tenth of the range, at least 1.
int32_t PageStep(SliderRange range);

// The track runs from pixel trackStart (minimum) to trackStart + trackLength
// (maximum). Pixel of a position: trackStart + round((p - min) * length / span).
int32_t PixelFromPosition(int32_t position, SliderRange range, int32_t trackStart,
                          int32_t trackLength);
// Nearest position to a pixel, clamped to the range.
int32_t PositionFromPixel(int32_t pixel, SliderRange range, int32_t trackStart,
                          int32_t trackLength);

}  // namespace quillo::bxui
