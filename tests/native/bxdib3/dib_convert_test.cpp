// 24-bit copies, grey, clipping and filling.
#include <gtest/gtest.h>

#include "dib_convert.h"
#include "test_dib.h"

namespace quillo::dib {
namespace {

using test::MakeDib;
using test::Pattern;
using test::Shape;
using test::TestDib;

TestDib To24(TestDib& in) {
  TestDib out;
  out.block.resize(size_t(DibBlockSize(Bgr24Shape(in.data(), in.info))));
  ConvertTo24(in.data(), in.info, out.data());
  EXPECT_EQ(CheckDib(out.data(), out.block.size(), &out.info), DibFault::kSound);
  EXPECT_TRUE(IsPlain24(out.info));
  return out;
}

uint32_t Bgr(uint8_t b, uint8_t g, uint8_t r) { return b | g << 8 | r << 16; }

TEST(Convert, To24FromEveryDepth) {
  for (int bits : {1, 4, 8}) {
    auto in = MakeDib(Shape(5, 3, bits), [&](int x, int y) { return Pattern(x, y, bits); });
    auto out = To24(in);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) {
        const uint32_t i = in.Pixel(x, y);
        ASSERT_EQ(out.Pixel(x, y), Bgr(uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 3 + 1))) << bits;
      }
  }
  // 5-5-5: a 5-bit channel v becomes round(v * 255 / 31).
  auto s16 = MakeDib(Shape(2, 1, 16), [](int x, int) { return x ? 0x7FFFu : (31u << 10) | (16u << 5) | 1u; });
  auto o16 = To24(s16);
  EXPECT_EQ(o16.Pixel(0, 0), Bgr(8, 132, 255));
  EXPECT_EQ(o16.Pixel(1, 0), Bgr(255, 255, 255));
  auto s32 = MakeDib(Shape(1, 1, 32), [](int, int) { return 0xEE112233u; });
  EXPECT_EQ(To24(s32).Pixel(0, 0), 0x112233u);
}

TEST(Convert, IndicesBeyondTheTableBecomeBlack) {
  DibShape shape = Shape(3, 1, 8);
  shape.colours = 101;  // indices 0 and 100 are in the table, 200 is not
  auto in = MakeDib(shape, [](int x, int) { return uint32_t(x * 100); });
  auto out = To24(in);
  EXPECT_EQ(out.Pixel(0, 0), Bgr(0, 255, 1));
  EXPECT_EQ(out.Pixel(1, 0), Bgr(uint8_t(700), 155, 45));
  EXPECT_EQ(out.Pixel(2, 0), 0u);
}

TEST(Convert, GreyUsesIntegerWeights) {
  auto rgb = MakeDib(Shape(3, 1, 24), [](int x, int) {
    const uint32_t v[] = {0xFFFFFFu, 0xFF0000u /* red */, 0x102030u};
    return v[x];
  });
  GreyInPlace(rgb.data(), rgb.info);
  EXPECT_EQ(rgb.Pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(rgb.Pixel(1, 0), 0x4C4C4Cu);  // 255 * 77 >> 8 = 76
  const uint32_t g = (77 * 0x10 + 150 * 0x20 + 29 * 0x30) >> 8;
  EXPECT_EQ(rgb.Pixel(2, 0), g * 0x010101u);

  auto pal = MakeDib(Shape(5, 3, 4), [](int x, int y) { return Pattern(x, y, 4); });
  auto before = pal.block;
  GreyInPlace(pal.data(), pal.info);
  const uint8_t* t = pal.info.Palette(pal.data());
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(t[4 * i], GreyLevel(uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 3 + 1)));
    EXPECT_EQ(t[4 * i], t[4 * i + 1]);
    EXPECT_EQ(t[4 * i], t[4 * i + 2]);
  }
  EXPECT_EQ(0, std::memcmp(pal.data() + pal.info.bitsOffset, before.data() + pal.info.bitsOffset, pal.info.bitsSize));

  auto wide = MakeDib(Shape(1, 1, 32), [](int, int) { return 0x7FFF0000u; });
  GreyInPlace(wide.data(), wide.info);
  EXPECT_EQ(wide.Pixel(0, 0), 0x7F4C4C4Cu);
}

TEST(Convert, ClipKeepsDepthAndCutsTheRightPixels) {
  for (int bits : {1, 4, 8, 24}) {
    auto in = MakeDib(Shape(9, 5, bits), [&](int x, int y) { return Pattern(x, y, bits); });
    PixelRect r;
    ASSERT_TRUE(ClipToImage(in.info, 3, 1, 5, 3, &r));
    TestDib out;
    out.block.resize(size_t(DibBlockSize(ClipShape(in.data(), in.info, r))));
    CopyRect(in.data(), in.info, r, out.data());
    ASSERT_EQ(CheckDib(out.data(), out.block.size(), &out.info), DibFault::kSound);
    EXPECT_EQ(out.info.bitCount, bits);
    EXPECT_EQ(out.info.colours, in.info.colours);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) ASSERT_EQ(out.Pixel(x, y), in.Pixel(x + 3, y + 1)) << bits;
  }
}

TEST(Convert, ClipRectangles) {
  auto in = MakeDib(Shape(9, 5, 24), [](int, int) { return 0u; });
  PixelRect r;
  EXPECT_FALSE(ClipToImage(in.info, 0, 0, 0, 3, &r));
  EXPECT_FALSE(ClipToImage(in.info, 0, 0, 3, -1, &r));
  EXPECT_FALSE(ClipToImage(in.info, 9, 0, 3, 3, &r));
  EXPECT_FALSE(ClipToImage(in.info, -3, 0, 3, 3, &r));
  EXPECT_FALSE(ClipToImage(in.info, 0, 5, 3, 3, &r));
  ASSERT_TRUE(ClipToImage(in.info, -2, 3, 100, 100, &r));  // partly outside: cut to the image
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 3);
  EXPECT_EQ(r.width, 9);
  EXPECT_EQ(r.height, 2);
  EXPECT_FALSE(ClipToImage(in.info, 0x7FFFFFFF, 0, 0x7FFFFFFF, 1, &r));
}

TEST(Convert, FillShowsTheColourAtEveryDepth) {
  const uint8_t orange[3] = {0, 128, 255};
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    auto in = MakeDib(Shape(5, 3, bits), [&](int x, int y) { return Pattern(x, y, bits); });
    FillDib(in.data(), in.info, orange);
    const uint32_t v = in.Pixel(0, 0);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) ASSERT_EQ(in.Pixel(x, y), v);
    if (bits == 24 || bits == 32) {
      EXPECT_EQ(v, 0xFF8000u);
    }
    if (bits == 16) {
      EXPECT_EQ(v, (31u << 10) | (16u << 5));
    }
    if (bits == 8) {
      // Nearest table entry {i * 7, 255 - i, i * 3 + 1} to (0, 128, 255).
      const DibColour* t = reinterpret_cast<const DibColour*>(in.info.Palette(in.data()));
      EXPECT_EQ(v, NearestIndex(t, 256, orange));
      int best = 1 << 30;
      for (int i = 0; i < 256; ++i) {
        const int db = t[i].blue, dg = t[i].green - 128, dr = t[i].red - 255;
        best = std::min(best, db * db + dg * dg + dr * dr);
      }
      const int dv = t[v].blue * t[v].blue + (t[v].green - 128) * (t[v].green - 128) + (t[v].red - 255) * (t[v].red - 255);
      EXPECT_EQ(dv, best);
    }
  }
}

}  // namespace
}  // namespace quillo::dib
