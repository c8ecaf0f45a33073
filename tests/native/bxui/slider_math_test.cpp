// Slider value arithmetic: signed ranges, clamping, pages and the pixel map.
#include "slider_math.h"

#include <gtest/gtest.h>

using namespace quillo::bxui;

TEST(SliderRange, UnpacksSignedHalvesAndOrdersThem) {
  struct Case { uint32_t packed; int32_t minimum, maximum; };
  const Case cases[] = {
      {0x00FFFF01u, -255, 255},  // low 0xFF01 = -255, high 0x00FF = 255
      {0x00640000u, 0, 100},
      {0x8000'7FFFu, -32768, 32767},  // reversed pair is ordered
      {0x0005'0005u, 5, 5},
  };
  for (const Case& c : cases) {
    const SliderRange r = RangeFromPacked(c.packed);
    EXPECT_EQ(r.minimum, c.minimum) << std::hex << c.packed;
    EXPECT_EQ(r.maximum, c.maximum) << std::hex << c.packed;
  }
}

TEST(SliderRange, ClampAndPage) {
  const SliderRange r{-255, 255};
  EXPECT_EQ(ClampPosition(-1000, r), -255);
  EXPECT_EQ(ClampPosition(int64_t(1) << 40, r), 255);
  EXPECT_EQ(ClampPosition(7, r), 7);
  EXPECT_EQ(PageStep(r), 51);
  EXPECT_EQ(PageStep({0, 5}), 1);   // small ranges still move
  EXPECT_EQ(PageStep({3, 3}), 1);
  EXPECT_EQ(PageStep({-32768, 32767}), 6553);
}

TEST(SliderPixels, EndsMapToTrackEndsAndPositionsRoundTrip) {
  for (SliderRange r : {SliderRange{-255, 255}, SliderRange{0, 10}, SliderRange{1, 200}}) {
    for (int length : {10, 100, 511, 600}) {
      EXPECT_EQ(PixelFromPosition(r.minimum, r, 7, length), 7);
      EXPECT_EQ(PixelFromPosition(r.maximum, r, 7, length), 7 + length);
      EXPECT_EQ(PositionFromPixel(-50, r, 7, length), r.minimum);  // beyond the ends
      EXPECT_EQ(PositionFromPixel(7 + length + 50, r, 7, length), r.maximum);
      // Where every position has a pixel of its own, the map inverts exactly.
      if (length >= r.maximum - r.minimum) {
        for (int p = r.minimum; p <= r.maximum; ++p)
          ASSERT_EQ(PositionFromPixel(PixelFromPosition(p, r, 7, length), r, 7, length), p);
      }
    }
  }
}

TEST(SliderPixels, DegenerateTracksAndRanges) {
  EXPECT_EQ(PixelFromPosition(5, {5, 5}, 3, 100), 3);
  EXPECT_EQ(PositionFromPixel(80, {5, 5}, 3, 100), 5);
  EXPECT_EQ(PositionFromPixel(80, {0, 100}, 3, 0), 0);
  EXPECT_EQ(PixelFromPosition(50, {0, 100}, 3, 0), 3);
}
