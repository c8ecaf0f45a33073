// Seamless textures: the weights' range and fixed points, the fold of each
// pixel onto its opposite quarter, and the tiny sizes where divisors vanish.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "plugins/animation/kernels/seamless.h"

namespace {

using quillo::animation::MakeSeamless;
using quillo::animation::SeamWeight;

int64_t Stride(int width) { return (int64_t(width) * 24 + 31) / 32 * 4; }

TEST(SeamWeight, StaysWithinTheByteAndKeepsTheOddMiddle) {
  for (int w = 1; w <= 12; ++w)
    for (int h = 1; h <= 12; ++h)
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          for (int v : {0, 1, 128, 255}) {
            const int weight = SeamWeight(w, h, x, y, v);
            ASSERT_GE(weight, 0) << w << "x" << h << " at " << x << "," << y << " v " << v;
            ASSERT_LE(weight, v) << w << "x" << h << " at " << x << "," << y << " v " << v;
            if ((w % 2 && x == w / 2) || (h % 2 && y == h / 2)) {
              ASSERT_EQ(weight, v);
            }
          }
  EXPECT_EQ(SeamWeight(1, 1, 0, 0, 77), 77);
  // Large sizes do not wrap: the products exceed 32 bits here.
  const int weight = SeamWeight(60000, 60000, 100, 59000, 255);
  EXPECT_GE(weight, 0);
  EXPECT_LE(weight, 255);
}

TEST(SeamWeight, FollowsTheQuarterArithmetic) {
  // 8 x 8: gx = gy = 4, fx = fy = 3. Corner (0, 0): dx = dy = 3, h = l = 9,
  // dx odd -> step 6: o = 3 * 0 + 9 - 0 = 9, v - v * 9 / 9 = 0.
  EXPECT_EQ(SeamWeight(8, 8, 0, 0, 200), 0);
  // (3, 3), next to the middle: dx = dy = 0, h = l = 0, dx even -> step 5:
  // m = 3 * 3 = 9, 9 * v / 9 = v.
  EXPECT_EQ(SeamWeight(8, 8, 3, 3, 200), 200);
  // (2, 0): dx = 1, dy = 3, h = 3 < l = 9 -> step 6: m = 3 * 2 = 6,
  // o = 0 + 9 - 6 = 3, v - v * 3 / 3 = 0.
  EXPECT_EQ(SeamWeight(8, 8, 2, 0, 200), 0);
  // (0, 2): dx = 3, dy = 1, h = 9 > l = 3, dx = fx -> 0.
  EXPECT_EQ(SeamWeight(8, 8, 0, 2, 200), 0);
  // (2, 3): dx = 1, dy = 0, h = 3 > l = 0 -> m = 6, 6 * 200 / (9 + 0 - 3) = 200.
  EXPECT_EQ(SeamWeight(8, 8, 2, 3, 200), 200);
  // (1, 2): dx = 2, dy = 1, h = 6 > l = 3 -> m = 3, 3 * 200 / (9 + 3 - 6) = 100.
  EXPECT_EQ(SeamWeight(8, 8, 1, 2, 200), 100);
}

TEST(MakeSeamless, FoldsEachPixelOntoItsOppositeQuarter) {
  // One lit byte at a time in a 6 x 4 picture: it lands at its own place
  // and at (x -/+ 3, y -/+ 2), each with its weight, and nowhere else.
  const int w = 6, h = 4;
  const int64_t stride = Stride(w);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::vector<uint8_t> in(size_t(stride * h), 0), out(size_t(stride * h), 0xAA);
      in[size_t(y * stride + 3 * x + 1)] = 250;
      MakeSeamless(in.data(), out.data(), w, h, stride);
      const int weight = SeamWeight(w, h, x, y, 250);
      std::vector<uint8_t> expected(size_t(stride * h), 0);
      expected[size_t(y * stride + 3 * x + 1)] = uint8_t(weight);
      const int ox = x >= 3 ? x - 3 : x + 3, oy = y >= 2 ? y - 2 : y + 2;
      expected[size_t(oy * stride + 3 * ox + 1)] = uint8_t(weight);
      ASSERT_EQ(out, expected) << x << "," << y;
    }
}

TEST(MakeSeamless, OddMiddlesStayPutAndTinySizesGoBlack) {
  // 3 x 3: the middle row and column keep their bytes in place only.
  const int64_t stride = Stride(3);
  std::vector<uint8_t> in(size_t(stride * 3), 0), out(size_t(stride * 3), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      for (int c = 0; c < 3; ++c) in[size_t(y * stride + 3 * x + c)] = uint8_t(10 + 30 * y + 3 * x + c);
  MakeSeamless(in.data(), out.data(), 3, 3, stride);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      if (x == 1 || y == 1) {
        for (int c = 0; c < 3; ++c)
          EXPECT_EQ(out[size_t(y * stride + 3 * x + c)], in[size_t(y * stride + 3 * x + c)]) << x << "," << y;
      }

  // A 1 x 1 picture is its own seamless texture; 2-pixel sizes come out black.
  std::vector<uint8_t> one = {9, 8, 7, 0}, oneOut(4, 0xEE);
  MakeSeamless(one.data(), oneOut.data(), 1, 1, 4);
  EXPECT_EQ(oneOut, (std::vector<uint8_t>{9, 8, 7, 0}));
  for (const auto& [w, h] : {std::pair{2, 5}, std::pair{5, 2}, std::pair{2, 2}}) {
    const int64_t s = Stride(w);
    std::vector<uint8_t> src(size_t(s * h), 255), dst(size_t(s * h), 1);
    MakeSeamless(src.data(), dst.data(), w, h, s);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (!((w % 2 && x == w / 2) || (h % 2 && y == h / 2))) {
          EXPECT_EQ(dst[size_t(y * s + 3 * x)], 0) << w << "x" << h << " at " << x << "," << y;
        }
  }

  // A uniform picture stays within its value: a pixel's weight and its
  // opposite's together never pass it, so a flat texture stays flat-ish.
  const int64_t s8 = Stride(8);
  std::vector<uint8_t> flat(size_t(s8 * 6), 200), folded(size_t(s8 * 6), 0);
  MakeSeamless(flat.data(), folded.data(), 8, 6, s8);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_LE(folded[size_t(y * s8 + 3 * x)], 200) << x << "," << y;
  const std::vector<uint8_t> src(16, 1);

  // Unusable geometry leaves the target alone.
  std::vector<uint8_t> keep(16, 5);
  MakeSeamless(src.data(), keep.data(), 4, 4, 11);
  MakeSeamless(src.data(), keep.data(), 0, 4, 12);
  EXPECT_EQ(keep, std::vector<uint8_t>(16, 5));
}

}  // namespace
