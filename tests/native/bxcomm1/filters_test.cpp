// The neighbourhood filters against straightforward readings of their
// formulas, and the edge cases that catch real faults: identities (amount
// 0, radius 0.1, factor 0, flat areas), saturation, the ends of lines and
// of the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "colour_test_support.h"
#include "plugins/bxcomm1/kernels/bilinear_zoom.h"
#include "plugins/bxcomm1/kernels/bleed.h"
#include "plugins/bxcomm1/kernels/hulling.h"
#include "plugins/bxcomm1/kernels/edge_filter.h"
#include "plugins/bxcomm1/kernels/gauss_blur.h"
#include "plugins/bxcomm1/kernels/sharpen.h"
#include "plugins/bxcomm1/kernels/unsharp.h"

namespace quillo::test {
namespace {

// A picture of pseudo-random bytes (a fixed linear congruential walk).
TestPicture Noise(int w, int h, uint32_t seed = 7) {
  TestPicture p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * 3; ++x) {
      seed = seed * 1103515245u + 12345u;
      p.source[size_t(y) * p.stride + x] = uint8_t(seed >> 24);
    }
  return p;
}

TestPicture Flat(int w, int h, uint8_t v) {
  TestPicture p(w, h);
  for (int y = 0; y < h; ++y) std::fill_n(p.SourcePixel(0, y), w * 3, v);
  return p;
}

bool SamePixels(const TestPicture& p, const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  for (int y = 0; y < p.height; ++y)
    if (!std::equal(a.begin() + y * p.stride, a.begin() + y * p.stride + p.width * 3, b.begin() + y * p.stride))
      return false;
  return true;
}

TEST(GaussBlur, MatchesTheClampedCurveSumOnOddAreas) {
  TestPicture p = Noise(13, 9);
  PixelPass pass = p.FullPass();
  pass.colBegin = 2, pass.colEnd = 11, pass.rowBegin = 1, pass.rowEnd = 8;
  const double r = 1.7;
  const GaussCurve curve(r);
  // The curve as written: c = ceil(sqrt(-ln(1/255) 2 r^2)), trunc(255 exp(-i^2 / 2r^2)).
  const int c = int(std::ceil(std::sqrt(-std::log(1.0 / 255) * 2 * r * r)));
  ASSERT_EQ(curve.reach(), c);
  std::vector<int> w(size_t(2 * c + 1));
  for (int i = -c; i <= c; ++i) w[size_t(i + c)] = i == 0 ? 255 : int(255 * std::exp(-double(i * i) / (2 * r * r)));
  int total = 0;
  for (int k = -c; k < c; ++k) total += w[size_t(k + c)];
  // Columns first, then rows, each over the area with clamping at its edges.
  std::vector<uint8_t> expect = p.source;
  auto blurLine = [&](std::vector<uint8_t>& img, int first, int step, int length) {
    std::vector<int> v(static_cast<size_t>(length), 0);
    for (int ch = 0; ch < 3; ++ch) {
      for (int i = 0; i < length; ++i) v[size_t(i)] = img[size_t(first + i * step + ch)];
      for (int x = 0; x < length; ++x) {
        int sum = 0;
        for (int k = -c; k < c; ++k) sum += w[size_t(k + c)] * v[size_t(std::clamp(x + k, 0, length - 1))];
        img[size_t(first + x * step + ch)] = uint8_t(sum / total);
      }
    }
  };
  for (int x = 2; x < 11; ++x) blurLine(expect, 1 * p.stride + x * 3, p.stride, 7);
  for (int y = 1; y < 8; ++y) blurLine(expect, y * p.stride + 2 * 3, 3, 9);

  CopyPassSource(pass);
  BlurAreaColumns(pass, curve, 0, 13);
  BlurAreaRows(pass, curve, 0, 9);
  EXPECT_TRUE(SamePixels(p, p.target, expect));
}

TEST(GaussBlur, SmallestRadiusKeepsThePictureAndAFlatPictureStaysFlat) {
  const GaussCurve tiny(0.1);
  EXPECT_EQ(tiny.reach(), 1);
  EXPECT_EQ(tiny.At(-1), 0);
  EXPECT_EQ(tiny.At(0), 255);
  TestPicture p = Noise(7, 5);
  PixelPass pass = p.FullPass();
  CopyPassSource(pass);
  BlurAreaColumns(pass, tiny, 0, 7);
  BlurAreaRows(pass, tiny, 0, 5);
  EXPECT_TRUE(SamePixels(p, p.target, p.source));

  TestPicture f = Flat(5, 4, 200);
  PixelPass flat = f.FullPass();
  const GaussCurve wide(100.0);  // a reach far longer than the lines
  CopyPassSource(flat);
  BlurAreaColumns(flat, wide, 0, 5);
  BlurAreaRows(flat, wide, 0, 4);
  EXPECT_TRUE(SamePixels(f, f.target, f.source));
}

TEST(Unsharp, WeightsAreSymmetricAndSumToOne) {
  for (double r : {0.1, 1.0, 5.0, 50.0}) {
    const std::vector<double> w = UnsharpWeights(r);
    const int n = int(w.size());
    EXPECT_EQ(n, 2 * int(std::ceil(2 * (r + 1) - 0.5)) + 1);
    double sum = 0;
    for (int i = 0; i < n; ++i) {
      EXPECT_DOUBLE_EQ(w[size_t(i)], w[size_t(n - 1 - i)]);
      sum += w[size_t(i)];
    }
    EXPECT_NEAR(sum, 1.0, 1e-12);
    EXPECT_GE(w[size_t(n / 2)], w[size_t(n / 2 + 1)]);
  }
}

TEST(Unsharp, AmountZeroKeepsThePictureAndAFlatPictureBlursToItself) {
  TestPicture p = Noise(11, 6);
  PixelPass pass = p.FullPass();
  const UnsharpKernel kernel(2.5);
  kernel.BlurRows(pass, 0, 6);
  kernel.BlurColumns(pass, 0, 11);
  UnsharpKernel::Combine(pass, 0.0, 0, 0, 6);
  EXPECT_TRUE(SamePixels(p, p.target, p.source));

  // Lines shorter than the window: the remaining weights renormalise.
  TestPicture f = Flat(3, 2, 77);
  PixelPass flat = f.FullPass();
  const UnsharpKernel wide(20.0);
  wide.BlurRows(flat, 0, 2);
  wide.BlurColumns(flat, 0, 3);
  EXPECT_TRUE(SamePixels(f, f.target, f.source));
}

TEST(Unsharp, ThresholdDropsSmallDifferencesAndAmountPushesTheRest) {
  TestPicture p = Noise(16, 12);
  PixelPass pass = p.FullPass();
  const UnsharpKernel kernel(1.0);
  kernel.BlurRows(pass, 0, 12);
  kernel.BlurColumns(pass, 0, 16);
  const std::vector<uint8_t> blur = p.target;
  UnsharpKernel::Combine(pass, 1.5, 100, 0, 12);
  int kept = 0, pushed = 0;
  for (int y = 0; y < 12; ++y)
    for (int i = 0; i < 16 * 3; ++i) {
      const size_t at = size_t(y) * p.stride + size_t(i);
      const int diff = int(p.source[at]) - int(blur[at]);
      const int expect = std::abs(2 * diff) < 100
                             ? p.source[at]
                             : std::clamp(int(p.source[at] + std::trunc(diff * 1.5)), 0, 255);
      EXPECT_EQ(p.target[at], expect);
      (std::abs(2 * diff) < 100 ? kept : pushed) += 1;
    }
  EXPECT_GT(kept, 0);
  EXPECT_GT(pushed, 0);
}

TEST(Bleed, FactorOneGivesGreyZeroKeepsAndOffChannelsAreCopied) {
  EXPECT_DOUBLE_EQ(BleedFactor(100), 1.0);
  EXPECT_DOUBLE_EQ(BleedFactor(-100), -1.0);
  EXPECT_DOUBLE_EQ(BleedFactor(-1090), -100.0);
  TestPicture p = Noise(9, 4);
  PixelPass pass = p.FullPass();
  RunBleed(pass, {1.0, true, true, false}, 0, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 9; ++x) {
      const uint8_t* s = p.SourcePixel(x, y);
      const uint8_t* t = p.TargetPixel(x, y);
      const int grey = int(0.30 * s[2] + 0.59 * s[1] + 0.11 * s[0]);
      EXPECT_EQ(t[2], grey);
      EXPECT_EQ(t[1], grey);
      EXPECT_EQ(t[0], s[0]);
    }
  RunBleed(pass, {0.0, true, true, true}, 0, 4);
  EXPECT_TRUE(SamePixels(p, p.target, p.source));
  RunBleed(pass, {-100.0, true, true, true}, 0, 4);  // exaggerated: still bytes
}

TEST(Edge, FlatIsBlackAndDivisorOneSaturatesFrom26) {
  TestPicture f = Flat(6, 5, 90);
  PixelPass flat = f.FullPass();
  std::fill(f.target.begin(), f.target.end(), 1);
  RunEdge(flat, 6, 0, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 18; ++x) EXPECT_EQ(f.target[size_t(y) * f.stride + x], 0);

  // A vertical step of 3 between columns 2 and 3: gx = 2 x 3 + 3 = 9 on the
  // step, magnitude 9 (x 10 with d = 1 = 90); a step of 13 gives 39 x 10.
  for (int step : {3, 13}) {
    TestPicture p(6, 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 3; x < 6; ++x) std::fill_n(p.SourcePixel(x, y), 3, uint8_t(step));
    PixelPass pass = p.FullPass();
    RunEdge(pass, 1, 0, 5);
    const int magnitude = 3 * step;  // 2 (p(x+1) - p(x-1)) + p(x+1, y+1) - p(x-1, y-1)
    EXPECT_EQ(p.TargetPixel(2, 2)[0], std::min(255, magnitude * 10));
    EXPECT_EQ(p.TargetPixel(0, 2)[0], 0);
  }
}

TEST(Despeckle, FlatInsideStaysAndTheBorderLowersItsNeighbours) {
  TestPicture f = Flat(8, 7, 100);
  PixelPass pass = f.FullPass();
  DespeckleGrids grids;
  ASSERT_TRUE(grids.Load(pass));
  for (int c = 0; c < 3; ++c) grids.Run(c);
  grids.Store(pass);
  EXPECT_EQ(f.TargetPixel(4, 3)[1], 100);
  EXPECT_LT(f.TargetPixel(0, 3)[1], 100) << "the zero border counts as black";

  // A lone speckle on a flat field is pulled down toward its neighbours.
  TestPicture s = Flat(31, 31, 50);
  std::fill_n(s.SourcePixel(15, 15), 3, uint8_t(250));
  PixelPass speck = s.FullPass();
  DespeckleGrids g2;
  ASSERT_TRUE(g2.Load(speck));
  for (int c = 0; c < 3; ++c) g2.Run(c);
  g2.Store(speck);
  EXPECT_LT(s.TargetPixel(15, 15)[0], 250);
  EXPECT_EQ(s.TargetPixel(6, 24)[0], 50);
}

TEST(Despeckle, OnePixelPicturesAndAreasOnlyWriteTheirArea) {
  TestPicture one = Flat(1, 1, 9);
  PixelPass pass = one.FullPass();
  DespeckleGrids grids;
  ASSERT_TRUE(grids.Load(pass));
  for (int c = 0; c < 3; ++c) grids.Run(c);
  grids.Store(pass);
  EXPECT_LE(one.TargetPixel(0, 0)[0], 9);

  TestPicture p = Noise(6, 6);
  std::fill(p.target.begin(), p.target.end(), 7);
  PixelPass area = p.FullPass();
  area.colBegin = 2, area.colEnd = 4, area.rowBegin = 1, area.rowEnd = 3;
  DespeckleGrids g;
  ASSERT_TRUE(g.Load(area));
  g.Run(0);
  g.Store(area);
  EXPECT_EQ(p.TargetPixel(0, 0)[0], 7);
  EXPECT_EQ(p.TargetPixel(5, 5)[2], 7);
}

TEST(Sharpen, StrongestKeepsFlatAndFollowsTheVerticalKernel) {
  EXPECT_EQ(SharpenWeightsFor(100).centre, 13);
  EXPECT_EQ(SharpenWeightsFor(100).divisor, 1);
  EXPECT_EQ(SharpenWeightsFor(50).centre, 38);
  TestPicture f = Flat(5, 5, 123);
  PixelPass flat = f.FullPass();
  RunSharpen(flat, 100, 0, 5);
  EXPECT_TRUE(SamePixels(f, f.target, f.source));

  TestPicture p = Noise(7, 6);
  PixelPass pass = p.FullPass();
  const int s = 60;
  RunSharpen(pass, s, 0, 6);
  const SharpenWeights w = SharpenWeightsFor(s);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 7; ++x) {
      int rb = std::max(y - 1, 0), rc = y, ra = y + 1;
      if (y >= 4) rb = 4, rc = ra = 5;
      const int sx = std::min(x, 4);  // the last two columns read the third-last
      for (int k = 0; k < 3; ++k) {
        const int sum = (w.centre - 4) * p.SourcePixel(sx, rc)[k] - 4 * p.SourcePixel(sx, rb)[k] -
                        4 * p.SourcePixel(sx, ra)[k];
        const int expect = sum < 0 ? 0 : sum > 255 * w.divisor ? 255 : (sum + w.divisor / 2) / w.divisor;
        EXPECT_EQ(p.TargetPixel(x, y)[k], expect) << x << "," << y;
      }
    }
}

}  // namespace
}  // namespace quillo::test

namespace quillo::test {
namespace {

TEST(BilinearZoom, SameSizeIsExactAndCornersLandOnCorners) {
  TestPicture p = Noise(7, 5);
  std::vector<uint8_t> out(p.source.size());
  BilinearZoomRows({p.source.data(), 7, 5, p.stride, 3}, {out.data(), 7, 5, p.stride}, 0, 5);
  EXPECT_TRUE(SamePixels(p, out, p.source));

  const int64_t bigStride = (13 * 24 + 31) / 32 * 4;
  std::vector<uint8_t> big(size_t(bigStride) * 9);
  BilinearZoomRows({p.source.data(), 7, 5, p.stride, 3}, {big.data(), 13, 9, bigStride}, 0, 9);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(big[size_t(k)], p.source[size_t(k)]);
    EXPECT_EQ(big[size_t(8 * bigStride + 12 * 3 + k)], p.source[size_t(4 * p.stride + 6 * 3 + k)]);
    // Halfway between two pixels: their mean, truncated.
    EXPECT_EQ(big[size_t(3 + k)], (p.source[size_t(k)] + p.source[size_t(3 + k)]) / 2);
  }
}

}  // namespace
}  // namespace quillo::test
