// DuplicateDIB's transforms against their definitions, at every depth, on
// odd sizes where row padding and partial bytes show.
#include <gtest/gtest.h>

#include "dib_transform.h"
#include "test_dib.h"

namespace quillo::dib {
namespace {

using test::MakeDib;
using test::Pattern;
using test::Shape;
using test::TestDib;

TestDib Apply(TestDib& in, int mode) {
  DibShape shape;
  EXPECT_TRUE(TransformShape(in.data(), in.info, mode, &shape));
  TestDib out;
  out.block.resize(size_t(DibBlockSize(shape)));
  TransformDib(in.data(), in.info, mode, out.data());
  EXPECT_EQ(CheckDib(out.data(), out.block.size(), &out.info), DibFault::kSound);
  return out;
}

class TransformAtDepth : public ::testing::TestWithParam<int> {};

TEST_P(TransformAtDepth, GeometryMatchesDefinition) {
  const int bits = GetParam();
  for (auto [w, h] : {std::pair{5, 3}, std::pair{9, 2}, std::pair{1, 7}}) {
    auto in = MakeDib(Shape(w, h, bits), [&](int x, int y) { return Pattern(x, y, bits); });
    struct Case {
      int mode, outW, outH;
      std::function<std::pair<int, int>(int, int)> source;  // output (x, y) -> input (x, y)
    } cases[] = {
        {1, w, h, [&](int x, int y) { return std::pair{x, y}; }},
        {2, w, h, [&](int x, int y) { return std::pair{w - 1 - x, y}; }},
        {4, w, h, [&](int x, int y) { return std::pair{x, h - 1 - y}; }},
        {16, h, w, [&](int x, int y) { return std::pair{y, h - 1 - x}; }},
        {32, w, h, [&](int x, int y) { return std::pair{w - 1 - x, h - 1 - y}; }},
        {48, h, w, [&](int x, int y) { return std::pair{w - 1 - y, x}; }},
    };
    for (const auto& c : cases) {
      auto out = Apply(in, c.mode);
      ASSERT_EQ(out.info.width, c.outW);
      ASSERT_EQ(out.info.height, c.outH);
      EXPECT_EQ(0, std::memcmp(out.info.Palette(out.data()), in.info.Palette(in.data()), in.info.colours * 4));
      for (int y = 0; y < c.outH; ++y)
        for (int x = 0; x < c.outW; ++x) {
          auto [sx, sy] = c.source(x, y);
          ASSERT_EQ(out.Pixel(x, y), in.Pixel(sx, sy))
              << "bits " << bits << " mode " << c.mode << " " << w << "x" << h << " at " << x << "," << y;
        }
    }
  }
}

TEST_P(TransformAtDepth, RoundTrips) {
  const int bits = GetParam();
  auto in = MakeDib(Shape(5, 3, bits), [&](int x, int y) { return Pattern(x, y, bits); });
  auto same = [&](TestDib& a) {
    ASSERT_EQ(a.block.size(), in.block.size());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) ASSERT_EQ(a.Pixel(x, y), in.Pixel(x, y)) << x << "," << y;
  };
  auto right = Apply(in, 16);
  auto back = Apply(right, 48);
  same(back);
  auto mirrored = Apply(in, 2);
  auto twice = Apply(mirrored, 2);
  same(twice);
  auto quarter2 = Apply(right, 16);
  auto half = Apply(in, 32);
  EXPECT_EQ(quarter2.block, half.block);
  auto flipped = Apply(mirrored, 4);
  EXPECT_EQ(flipped.block, half.block);
  auto negative = Apply(in, 8);
  auto positive = Apply(negative, 8);
  EXPECT_EQ(positive.block, in.block);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, TransformAtDepth, ::testing::Values(1, 4, 8, 16, 24, 32));

TEST(Transform, NegativeOfEachDepth) {
  auto rgb = MakeDib(Shape(5, 3, 24), [](int x, int y) { return Pattern(x, y, 24); });
  auto neg = Apply(rgb, 8);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(neg.Pixel(x, y), 0xFFFFFFu - rgb.Pixel(x, y));

  auto pal = MakeDib(Shape(5, 3, 8), [](int x, int y) { return Pattern(x, y, 8); });
  auto palNeg = Apply(pal, 8);
  const uint8_t* a = pal.info.Palette(pal.data());
  const uint8_t* b = palNeg.info.Palette(palNeg.data());
  for (int i = 0; i < 256 * 4; ++i) EXPECT_EQ(b[i], (i % 4 == 3) ? a[i] : 255 - a[i]) << i;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(palNeg.Pixel(x, y), pal.Pixel(x, y));

  // 32 bits: the colour bytes turn, the fourth byte stays.
  auto wide = MakeDib(Shape(2, 1, 32), [](int x, int) { return x ? 0xAA102030u : 0x00FF0001u; });
  auto wideNeg = Apply(wide, 8);
  EXPECT_EQ(wideNeg.Pixel(0, 0), 0x0000FFFEu);
  EXPECT_EQ(wideNeg.Pixel(1, 0), 0xAAEFDFCFu);

  // 16 bits 5-5-5: each 5-bit channel becomes 31 - v, the top bit stays.
  auto short16 = MakeDib(Shape(1, 1, 16), [](int, int) { return 0x8000u | (3u << 10) | (7u << 5) | 30u; });
  EXPECT_EQ(Apply(short16, 8).Pixel(0, 0), 0x8000u | (28u << 10) | (24u << 5) | 1u);
}

TEST(Transform, UnknownModesAreRefused) {
  auto in = MakeDib(Shape(2, 2, 24), [](int, int) { return 0u; });
  DibShape shape;
  for (int mode : {0, 3, 6, 12, 24, 64, -1}) EXPECT_FALSE(TransformShape(in.data(), in.info, mode, &shape)) << mode;
}

}  // namespace
}  // namespace quillo::dib
