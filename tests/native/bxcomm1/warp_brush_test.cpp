// The warp brush: its falloff, a short move being one dab, restore halving
// at full strength, grow pulling toward the centre, and displacements that
// never point outside the picture, on small pictures too.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plugins/bxcomm1/kernels/warp_brush.h"

namespace quillo::test {
namespace {

struct Canvas {
  int w, h;
  int64_t stride;
  std::vector<uint8_t> source, target;
  Canvas(int width, int height) : w(width), h(height), stride((width * 24 + 31) / 32 * 4) {
    source.resize(size_t(stride) * h);
    for (size_t i = 0; i < source.size(); ++i) source[i] = uint8_t(i * 31 + 7);
    target = source;
  }
  WarpPicture Picture() { return {source.data(), target.data(), w, h, stride, nullptr, nullptr}; }
};

TEST(WarpBrush, FalloffRunsFromOneAtTheCentreToAlmostNothingAtTheRim) {
  const float* f = WarpFalloff();
  EXPECT_FLOAT_EQ(f[0], 1.0f);
  EXPECT_LT(f[99], 0.01f);
  for (int i = 1; i < 100; ++i) EXPECT_LE(f[i], f[i - 1]);
}

TEST(WarpBrush, AShortMoveIsOneDabPushingBackAlongTheMouse) {
  Canvas c(80, 60);
  WarpBrush brush;
  ASSERT_TRUE(brush.Start(80, 60));
  // 6 pixels with radius 20: 2 x 6 / 20 < 1, so one dab at the end point.
  brush.Stroke(WarpMode::kMove, 20, 0.5, 40, 30, 46, 30, c.Picture());
  EXPECT_FLOAT_EQ(brush.Dx(46, 30), -3.0f);
  EXPECT_FLOAT_EQ(brush.Dy(46, 30), 0.0f);
  EXPECT_EQ(brush.Dx(20, 30), 0.0f) << "outside the brush nothing moved";
}

TEST(WarpBrush, RestoreAtFullStrengthHalvesTheCentre) {
  Canvas c(80, 60);
  WarpBrush brush;
  ASSERT_TRUE(brush.Start(80, 60));
  brush.Stroke(WarpMode::kMove, 20, 1.0, 40, 30, 44, 30, c.Picture());
  const float before = brush.Dx(44, 30);
  ASSERT_NE(before, 0.0f);
  brush.Stroke(WarpMode::kRestore, 20, 1.0, 44, 30, 44, 30, c.Picture());
  EXPECT_FLOAT_EQ(brush.Dx(44, 30), before * 0.5f);
}

TEST(WarpBrush, GrowSamplesTowardTheCentreAndTheCentreKeepsItsPixel) {
  Canvas c(80, 60);
  WarpBrush brush;
  ASSERT_TRUE(brush.Start(80, 60));
  brush.Stroke(WarpMode::kGrow, 20, 1.0, 40, 30, 40, 30, c.Picture());
  EXPECT_FLOAT_EQ(brush.Dx(40, 30), 0.0f);
  EXPECT_LT(brush.Dx(50, 30), 0.0f);
  EXPECT_GT(brush.Dx(30, 30), 0.0f);
  EXPECT_LT(brush.Dy(40, 40), 0.0f);
  const size_t centre = size_t(60 - 1 - 30) * c.stride + 40 * 3;
  EXPECT_EQ(c.target[centre], c.source[centre]);
}

TEST(WarpBrush, DisplacementsStayInsideEvenOnTinyPictures) {
  for (int side : {1, 2, 3, 7}) {
    Canvas c(side, side + 1);
    WarpBrush brush;
    ASSERT_TRUE(brush.Start(side, side + 1));
    for (int step = 0; step < 20; ++step) {
      brush.Stroke(WarpMode::kMove, 100, 1.0, 0, 0, side + 5, side + 5, c.Picture());
      brush.Stroke(WarpMode::kTwirlLeft, 3, 1.0, 0, 0, side / 2, side / 2, c.Picture());
    }
    for (int y = 0; y <= side; ++y)
      for (int x = 0; x < side; ++x) {
        EXPECT_GE(x + brush.Dx(x, y), -1e-4f);
        EXPECT_LE(x + brush.Dx(x, y), side - 1 + 1e-4f);
        EXPECT_GE(y + brush.Dy(x, y), -1e-4f);
        EXPECT_LE(y + brush.Dy(x, y), side + 1e-4f);
      }
  }
}

}  // namespace
}  // namespace quillo::test
