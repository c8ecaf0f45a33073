// Colour quantisation: exact for few colours, close for photographs.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "dib_quantize.h"
#include "test_dib.h"

namespace quillo::dib {
namespace {

using test::MakeDib;
using test::Shape;
using test::TestDib;

struct Indexed {
  QuantPalette palette;
  TestDib image;
  std::vector<uint8_t> indices;
};

Indexed Quantize(TestDib& in, int maxColours) {
  Indexed r;
  EXPECT_TRUE(ChoosePalette(in.data(), in.info, maxColours, &r.palette));
  r.image.block.resize(size_t(DibBlockSize(IndexShape(in.data(), in.info, r.palette))));
  r.indices.resize(size_t(in.info.width) * in.info.height);
  MapToPalette(in.data(), in.info, r.palette, r.image.data(), r.indices.data());
  EXPECT_EQ(CheckDib(r.image.data(), r.image.block.size(), &r.image.info), DibFault::kSound);
  return r;
}

uint32_t Colour(const QuantPalette& p, uint32_t i) {
  const DibColour& c = p.colours[i];
  return c.blue | c.green << 8 | c.red << 16;
}

// A smooth synthetic photograph: sky-like gradients, a bright disc and texture.
TestDib Photo(int w, int h) {
  return MakeDib(Shape(w, h, 24), [&](int x, int y) {
    const double fx = double(x) / w, fy = double(y) / h;
    double r = 60 + 150 * fy + 30 * std::sin(fx * 9.0);
    double g = 90 + 120 * fx * fy + 25 * std::cos(fy * 13.0 + fx * 4);
    double b = 200 - 140 * fy + 20 * std::sin((fx + fy) * 17.0);
    const double d = std::hypot(fx - 0.7, fy - 0.3);
    if (d < 0.15) r = g = 250 - d * 300, b = 120;
    auto c = [](double v) { return uint32_t(std::clamp(v, 0.0, 255.0)); };
    return c(b) | c(g) << 8 | c(r) << 16;
  });
}

double MeanSquaredError(TestDib& in, const Indexed& q) {
  double sum = 0;
  for (int y = 0; y < in.info.height; ++y)
    for (int x = 0; x < in.info.width; ++x) {
      const uint32_t a = in.Pixel(x, y), b = Colour(q.palette, q.image.Pixel(x, y));
      for (int s = 0; s < 24; s += 8) {
        const double d = double((a >> s) & 0xFF) - double((b >> s) & 0xFF);
        sum += d * d;
      }
    }
  return sum / (3.0 * in.info.width * in.info.height);
}

TEST(Quantize, FewColoursMapExactly) {
  const uint32_t colours[] = {0x000000, 0xFFFFFF, 0x123456, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080,
                              0x010101, 0x020202, 0xFEFEFE, 0x7F7F80, 0xABCDEF, 0x0F0F0F, 0xF0F0F0,
                              0x00007F, 0x7F0000};
  for (int n : {2, 16}) {
    auto in = MakeDib(Shape(7, 5, 24), [&](int x, int y) { return colours[(x * 3 + y * 5) % n]; });
    auto q = Quantize(in, n);
    EXPECT_EQ(q.palette.count, uint32_t(n));
    EXPECT_EQ(q.image.info.colours, uint32_t(n));
    for (uint32_t i = 1; i < q.palette.count; ++i) EXPECT_LT(Colour(q.palette, i - 1), Colour(q.palette, i));
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        ASSERT_EQ(Colour(q.palette, q.image.Pixel(x, y)), in.Pixel(x, y));
        ASSERT_EQ(q.indices[size_t(y) * 7 + x], q.image.Pixel(x, y));  // rows top-down
      }
  }
  // 256 greys need all 256 entries and come back exactly.
  auto grey = MakeDib(Shape(16, 16, 24), [](int x, int y) { return uint32_t(y * 16 + x) * 0x010101u; });
  auto q = Quantize(grey, 256);
  EXPECT_EQ(q.palette.count, 256u);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(q.image.Pixel(x, y), uint32_t(y * 16 + x));
}

TEST(Quantize, PalettedSourceWithFewUsedEntries) {
  auto in = MakeDib(Shape(5, 3, 8), [](int x, int) { return uint32_t(x * 50); });
  auto q = Quantize(in, 16);
  EXPECT_EQ(q.palette.count, 5u);
  for (int x = 0; x < 5; ++x) {
    const uint32_t i = uint32_t(x * 50);
    EXPECT_EQ(Colour(q.palette, q.image.Pixel(x, 1)), (i * 7 & 0xFF) | (255 - i) << 8 | ((i * 3 + 1) & 0xFF) << 16);
  }
}

TEST(Quantize, PhotographStaysClose) {
  auto in = Photo(96, 64);
  auto q256 = Quantize(in, 256);
  auto q16 = Quantize(in, 16);
  auto q2 = Quantize(in, 2);
  EXPECT_LE(q256.palette.count, 256u);
  EXPECT_EQ(q16.palette.count, 16u);
  EXPECT_EQ(q2.palette.count, 2u);
  // A uniform 3-3-2 palette (256 colours) gives the baseline to beat.
  double uniform = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 96; ++x) {
      const uint32_t p = in.Pixel(x, y);
      const int steps[3] = {3, 7, 7};  // blue 2 bits, green and red 3 bits
      for (int c = 0; c < 3; ++c) {
        const int v = (p >> (8 * c)) & 0xFF;
        const int level = (v * steps[c] + 127) / 255 * 255 / steps[c];
        uniform += double(v - level) * (v - level);
      }
    }
  uniform /= 3.0 * 96 * 64;
  const double e256 = MeanSquaredError(in, q256), e16 = MeanSquaredError(in, q16), e2 = MeanSquaredError(in, q2);
  // Measured: 10.2, 122 and 845 against 268 for the uniform palette.
  EXPECT_LT(e256, 12.0);
  EXPECT_LT(e256, uniform / 20);
  EXPECT_LT(e16, 135.0);
  EXPECT_LT(e256, e16);
  EXPECT_LT(e16, e2);
  // Every pixel has the nearest entry of the palette.
  for (int y = 0; y < 64; y += 7)
    for (int x = 0; x < 96; x += 5) {
      const uint32_t p = in.Pixel(x, y);
      const uint8_t bgr[3] = {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)};
      EXPECT_EQ(q16.image.Pixel(x, y), NearestIndex(q16.palette.colours, q16.palette.count, bgr));
    }
  // Deterministic.
  auto again = Quantize(in, 256);
  EXPECT_EQ(again.image.block, q256.image.block);
}

TEST(Quantize, ManyColoursUseTheHistogram) {
  // 256 x 200 pixels, nearly all distinct: more than the exact-colour limit.
  auto in = MakeDib(Shape(256, 200, 24), [](int x, int y) {
    return uint32_t(x) | uint32_t(y) << 8 | uint32_t((x * y) & 0xFF) << 16;
  });
  auto q = Quantize(in, 256);
  EXPECT_EQ(q.palette.count, 256u);
  EXPECT_LT(MeanSquaredError(in, q), 135.0);  // measured 123
}

TEST(Quantize, RefusesColourCountsOutOfRange) {
  auto in = MakeDib(Shape(2, 2, 24), [](int, int) { return 0u; });
  QuantPalette p;
  EXPECT_FALSE(ChoosePalette(in.data(), in.info, 1, &p));
  EXPECT_FALSE(ChoosePalette(in.data(), in.info, 257, &p));
  ASSERT_TRUE(ChoosePalette(in.data(), in.info, 2, &p));
  EXPECT_EQ(p.count, 1u);
}

}  // namespace
}  // namespace quillo::dib
