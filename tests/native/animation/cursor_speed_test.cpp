// The drift taken from the cursor: centre, edges, the backward step written
// forward, the never-still rule and a screen too small to divide by.
#include <gtest/gtest.h>

#include "plugins/animation/kernels/cursor_speed.h"

namespace {

using quillo::animation::Speed;
using quillo::animation::SpeedFromCursor;

TEST(SpeedFromCursor, CentreDriftsAndEdgesRunFastest) {
  // 1024 x 768 screen, 300 x 200 texture.
  EXPECT_EQ(SpeedFromCursor(1024, 768, 512, 384, 300, 200), (Speed{2, 2}));
  EXPECT_EQ(SpeedFromCursor(1024, 768, 0, 384, 300, 200), (Speed{20, 0}));
  // Far right: -20, written as 300 - 20.
  EXPECT_EQ(SpeedFromCursor(1024, 768, 1024, 384, 300, 200), (Speed{280, 0}));
  // Bottom: +20; top: -20 + 200.
  EXPECT_EQ(SpeedFromCursor(1024, 768, 512, 768, 300, 200), (Speed{0, 20}));
  EXPECT_EQ(SpeedFromCursor(1024, 768, 512, 0, 300, 200), (Speed{0, 180}));
  // MulDiv rounds halves away from zero: (512 - 486) * 20 / 512 = 1.02 -> 1,
  // and with y below 3 as well both become 2.
  EXPECT_EQ(SpeedFromCursor(1024, 768, 486, 384, 300, 200), (Speed{2, 2}));
  // (512 - 461) * 20 / 512 = 1.99 -> 2; still both below 3.
  EXPECT_EQ(SpeedFromCursor(1024, 768, 461, 384, 300, 200), (Speed{2, 2}));
  // 3 on one axis keeps both as they are.
  EXPECT_EQ(SpeedFromCursor(1024, 768, 435, 384, 300, 200), (Speed{3, 0}));
  // Factor 10 halves the range.
  EXPECT_EQ(SpeedFromCursor(1024, 768, 0, 768, 300, 200, 10), (Speed{10, 10}));
}

TEST(SpeedFromCursor, ATinyScreenGivesOnlyTheDrift) {
  EXPECT_EQ(SpeedFromCursor(1, 1, 0, 0, 300, 200), (Speed{2, 2}));
  EXPECT_EQ(SpeedFromCursor(0, 768, 0, 0, 300, 200), (Speed{0, 180}));
}

}  // namespace
