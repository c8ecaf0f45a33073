// The box filter behind reduced views.
#include <gtest/gtest.h>

#include "dib_resample.h"
#include "test_dib.h"

namespace quillo::dib {
namespace {

using test::MakeDib;
using test::Pattern;
using test::Shape;

TEST(Resample, SameSizeIsACopyAndHalfSizeAverages) {
  auto in = MakeDib(Shape(6, 4, 24), [](int x, int y) { return Pattern(x, y, 24); });
  std::vector<uint8_t> out(6 * 4 * 3);
  ResampleToBgr(in.data(), in.info, PixelRect{0, 0, 6, 4}, 6, 4, out.data(), 18);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      for (int c = 0; c < 3; ++c) ASSERT_EQ(out[y * 18 + x * 3 + c], (in.Pixel(x, y) >> (8 * c)) & 0xFF);

  // 2:1 over the rectangle (2, 1)..(6, 3): each output is the rounded mean of 4.
  std::vector<uint8_t> half(2 * 1 * 3);
  ResampleToBgr(in.data(), in.info, PixelRect{2, 1, 4, 2}, 2, 1, half.data(), 6);
  for (int x = 0; x < 2; ++x)
    for (int c = 0; c < 3; ++c) {
      unsigned sum = 0;
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) sum += (in.Pixel(2 + 2 * x + dx, 1 + dy) >> (8 * c)) & 0xFF;
      EXPECT_EQ(half[x * 3 + c], (sum + 2) / 4);
    }
}

TEST(Resample, PalettedAndMixedDirections) {
  // Black and white 1-bit columns, 3 wide to 1 wide and 1 high to 2 high.
  auto in = MakeDib(Shape(3, 1, 1), [](int x, int) { return uint32_t(x == 1); });
  uint8_t* t = in.info.Palette(in.data());
  std::memset(t, 0, 4);
  std::memset(t + 4, 255, 3);
  uint8_t out[8] = {};
  ResampleToBgr(in.data(), in.info, PixelRect{0, 0, 3, 1}, 1, 2, out, 4);
  EXPECT_EQ(out[0], 85);  // (0 + 255 + 0) / 3
  EXPECT_EQ(out[4], 85);
}

}  // namespace
}  // namespace quillo::dib
