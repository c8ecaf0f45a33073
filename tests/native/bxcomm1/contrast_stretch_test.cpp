// The three contrast stretches: each channel's extremes reach 0 and 255, a
// constant channel stays, the saturation-value stretch is the imaging
// library's, the complementary one keeps greys grey and stays in range.
#include <gtest/gtest.h>

#include <algorithm>

#include "colour_test_support.h"
#include "imaging/colour_stretch.h"
#include "plugins/bxcomm1/kernels/contrast_stretch.h"

namespace quillo::test {
namespace {

TestPicture Ramp(int w, int h) {
  TestPicture p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* px = p.SourcePixel(x, y);
      px[0] = uint8_t(40 + 3 * x);       // 40 .. 40 + 3 (w - 1)
      px[1] = 99;                         // constant
      px[2] = uint8_t(200 - 5 * y + x);  // a second varying channel
    }
  return p;
}

TEST(ContrastStretch, PerChannelReachesBothEndsAndKeepsAConstantChannel) {
  TestPicture p = Ramp(9, 7);
  PixelPass pass = p.FullPass();
  ContrastStretch stretch(StretchMethod::kPerChannel);
  stretch.Measure(pass);
  stretch.Write(pass);
  int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x)
      for (int c = 0; c < 3; ++c) {
        lo[c] = std::min<int>(lo[c], p.TargetPixel(x, y)[c]);
        hi[c] = std::max<int>(hi[c], p.TargetPixel(x, y)[c]);
        if (c == 1) {
          EXPECT_EQ(p.TargetPixel(x, y)[1], 99);
        }
      }
  EXPECT_EQ(lo[0], 0);
  EXPECT_EQ(hi[0], 255);
  EXPECT_EQ(lo[2], 0);
  EXPECT_EQ(hi[2], 255);
  // v -> MulDiv(255, v - 40, 24), rounded: 43 -> 32 (31.875 rounds up).
  EXPECT_EQ(p.TargetPixel(1, 0)[0], 32);
}

TEST(ContrastStretch, SaturationValueMatchesTheImagingLibraryAndOnlyTouchesTheArea) {
  TestPicture p = Ramp(8, 6);
  PixelPass pass = p.FullPass();
  pass.colBegin = 1, pass.colEnd = 7, pass.rowBegin = 2, pass.rowEnd = 5;
  std::fill(p.target.begin(), p.target.end(), 3);
  ContrastStretch stretch(StretchMethod::kSaturationValue);
  stretch.Measure(pass);
  stretch.Write(pass);
  std::vector<uint8_t> expect = p.source;
  imaging::StretchSaturationValue(expect.data(), p.stride, 1, 7, 2, 5);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x)
      for (int c = 0; c < 3; ++c) {
        const bool inside = x >= 1 && x < 7 && y >= 2 && y < 5;
        EXPECT_EQ(p.TargetPixel(x, y)[c], inside ? expect[size_t(y) * p.stride + x * 3 + c] : 3);
      }
}

TEST(ContrastStretch, ComplementaryKeepsGreysGreyAndStretchesColour) {
  TestPicture p(4, 1);
  const uint8_t pixels[4][3] = {{10, 10, 10}, {200, 200, 200}, {30, 60, 90}, {90, 60, 30}};
  for (int x = 0; x < 4; ++x) std::copy(pixels[x], pixels[x] + 3, p.SourcePixel(x, 0));
  PixelPass pass = p.FullPass();
  ContrastStretch stretch(StretchMethod::kComplementary);
  stretch.Measure(pass);
  stretch.Write(pass);
  for (int x = 0; x < 2; ++x) {
    const uint8_t* t = p.TargetPixel(x, 0);
    EXPECT_EQ(t[0], t[1]);
    EXPECT_EQ(t[1], t[2]);
  }
  // (30, 60, 90): cyan, magenta, yellow 165, 195, 225 less black 165 is
  // (0, 30, 60), value 60 / 255 stretched to 1: (0, 0.5, 1) x 255 + 165,
  // capped, leaves only red at 255 - 165.
  const uint8_t* c = p.TargetPixel(2, 0);
  EXPECT_EQ(c[0], 0);
  EXPECT_EQ(c[1], 0);
  EXPECT_EQ(c[2], 90);
  const uint8_t* d = p.TargetPixel(3, 0);
  EXPECT_EQ(d[0], 90);
  EXPECT_EQ(d[1], 0);
  EXPECT_EQ(d[2], 0);
  EXPECT_EQ(p.TargetPixel(0, 0)[0], 10);
}

}  // namespace
}  // namespace quillo::test
