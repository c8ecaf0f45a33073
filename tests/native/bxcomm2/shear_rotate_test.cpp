// Rotation and shear: quarter turns are exact permutations (masks too), a
// turn by a and back by -a keeps a centred disc, a zero shear keeps the
// picture, sizes follow the angle, and hopeless canvases are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "plugins/bxcomm2/kernels/shear_rotate.h"

namespace quillo::bxcomm2 {
namespace {

Picture Pattern(int w, int h, bool mask = true) {
  Picture p = *Picture::Make(w, h, mask);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* q = p.Row(y) + x * 3;
      q[0] = uint8_t(x * 9), q[1] = uint8_t(y * 13), q[2] = uint8_t((x * y) ^ 0x5A);
    }
  for (size_t i = 0; i < p.mask.size(); ++i) p.mask[i] = uint8_t(i * 3);
  return p;
}

bool Same(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height || a.mask != b.mask) return false;
  for (int y = 0; y < a.height; ++y)
    if (!std::equal(a.Row(y), a.Row(y) + a.width * 3, b.Row(y))) return false;
  return true;
}

TEST(Rotate, NinetyAndMinus270AreTheSameExactQuarterTurn) {
  const Picture p = Pattern(7, 4);
  auto a = RotatePicture(p, 90, {});
  auto b = RotatePicture(p, -270, {});
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->width, 4);
  EXPECT_EQ(a->height, 7);
  EXPECT_TRUE(Same(*a, *b));
  // Counter-clockwise: the bottom-right pixel goes to the top-right.
  EXPECT_TRUE(std::equal(p.Row(0) + 6 * 3, p.Row(0) + 7 * 3, a->Row(6) + 3 * 3));
  // Four turns give the picture back.
  EXPECT_TRUE(Same(QuarterTurns(p, 4), p));
  EXPECT_TRUE(Same(QuarterTurns(QuarterTurns(p, 1), 3), p));
  auto whole = RotatePicture(p, 360, {});
  ASSERT_TRUE(whole);
  EXPECT_TRUE(Same(*whole, p));
}

TEST(Rotate, TurningAndTurningBackKeepsACentredDisc) {
  const int side = 61;
  Picture p = *Picture::Make(side, side, false);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const double d = std::hypot(x - 30, y - 30);
      uint8_t* q = p.Row(y) + x * 3;
      q[0] = q[1] = q[2] = uint8_t(128 + 100 * std::cos(d * 0.2));
    }
  for (double angle : {10.0, 33.0, -20.0}) {
    auto there = RotatePicture(p, angle, {0, 0, 0});
    ASSERT_TRUE(there);
    auto back = RotatePicture(*there, -angle, {0, 0, 0});
    ASSERT_TRUE(back);
    const int ox = (back->width - side) / 2, oy = (back->height - side) / 2;
    double error = 0;
    int count = 0;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        if (std::hypot(x - 30, y - 30) > 22) continue;
        error += std::abs(int(back->Row(y + oy)[(x + ox) * 3]) - int(p.Row(y)[x * 3]));
        ++count;
      }
    EXPECT_LT(error / count, 6.0) << angle;
  }
}

TEST(Rotate, ACanvasBeyondTheLimitIsRefused) {
  Picture huge;
  huge.width = 20000;
  huge.height = 20000;
  huge.stride = (20000 * 24 + 31) / 32 * 4;  // no pixels: the size alone is refused
  EXPECT_FALSE(RotatePicture(huge, 30, {}).has_value());
  EXPECT_FALSE(RotatePicture(Pattern(5, 5), std::nan(""), {}).has_value());
}

TEST(Shear, ZeroAnglesKeepThePictureAndMaskAndAShearWidensIt) {
  const Picture p = Pattern(9, 6);
  auto same = ShearPicture(p, 0, 0, {});
  ASSERT_TRUE(same);
  EXPECT_TRUE(Same(*same, p));
  auto wide = ShearPicture(p, 60, 0, {1, 2, 3});
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->height, 6);
  EXPECT_GE(wide->width, 9 + int(std::floor(std::tan(30 * 3.14159265358979 / 180) * 5)));
  // Nearly a half turn of shear: very wide, still bounded and made.
  auto steep = ShearPicture(Pattern(20, 20), 179, 0, {});
  ASSERT_TRUE(steep);
  EXPECT_GT(steep->width, 20 * 100);
}

TEST(Shear, TinyPicturesSurvive) {
  for (int w : {1, 2, 3})
    for (int h : {1, 2, 3}) {
      auto r = RotatePicture(Pattern(w, h), 17, {});
      ASSERT_TRUE(r);
      EXPECT_GE(r->width, 1);
      auto s = ShearPicture(Pattern(w, h), -45, 30, {});
      ASSERT_TRUE(s);
      EXPECT_GE(s->height, 1);
    }
}

}  // namespace
}  // namespace quillo::bxcomm2
