#include <gtest/gtest.h>

#include <vector>

#include "contracts/dib_format.h"
#include "mask_display.h"

namespace quillo {
namespace {

TEST(MaskDisplay, CheckerboardCellsFromTheTopLeft) {
  EXPECT_EQ(CheckerGrey(0, 0), 85);
  EXPECT_EQ(CheckerGrey(7, 7), 85);
  EXPECT_EQ(CheckerGrey(8, 0), 170);
  EXPECT_EQ(CheckerGrey(0, 8), 170);
  EXPECT_EQ(CheckerGrey(8, 8), 85);
  EXPECT_EQ(CheckerGrey(23, 9), 170);  // cell (2, 1)
}

// Pixel (x, y from the top) of a bottom-up 24-bit buffer.
const uint8_t* At(const std::vector<uint8_t>& buf, int width, int height, int x, int y) {
  return buf.data() + size_t(height - 1 - y) * size_t(Stride24(width)) + 3 * size_t(x);
}

TEST(MaskDisplay, BlendValuesAndOrientation) {
  const int w = 10, h = 9;  // stride 32: padded rows
  std::vector<uint8_t> image(size_t(Stride24(w)) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = const_cast<uint8_t*>(At(image, w, h, x, y));
      p[0] = 200, p[1] = 0, p[2] = 255;
    }
  std::vector<uint8_t> mask(size_t(w) * h, 0);
  mask[0] = 255;                       // top-left: the image itself
  mask[1] = 128;                       // (1, 0): a half blend over grey 85
  mask[size_t(8) * w + 9] = 0;         // (9, 8): pure board, cell (1, 1) = 85
  std::vector<uint8_t> out(image.size(), 0xEE);
  ASSERT_TRUE(BuildMaskDisplay(image.data(), image.size(), mask.data(), mask.size(), w, h,
                               out.data(), out.size()));
  const uint8_t* tl = At(out, w, h, 0, 0);
  EXPECT_EQ(tl[0], 200);
  EXPECT_EQ(tl[1], 0);
  EXPECT_EQ(tl[2], 255);
  const uint8_t* half = At(out, w, h, 1, 0);
  EXPECT_EQ(half[0], (200 * 128 + 85 * 127) / 255);  // 142
  EXPECT_EQ(half[1], (0 * 128 + 85 * 127) / 255);    // 42
  EXPECT_EQ(half[2], (255 * 128 + 85 * 127) / 255);  // 170
  EXPECT_EQ(At(out, w, h, 8, 0)[1], 170) << "cell (1, 0) is light";
  EXPECT_EQ(At(out, w, h, 0, 8)[1], 170) << "the board counts y from the top";
  EXPECT_EQ(At(out, w, h, 9, 8)[0], 85);
  // Row padding is left alone.
  EXPECT_EQ(out[size_t(3 * w)], 0xEE);
}

TEST(MaskDisplay, RefusesShortBuffersAndBadSizes) {
  const int w = 4, h = 4;
  std::vector<uint8_t> image(size_t(Stride24(w)) * h, 1), mask(size_t(w) * h, 9), out(image.size(), 7);
  struct Case {
    const char* name;
    size_t imageSize, maskSize, outSize;
    int w, h;
  } cases[] = {
      {"short image", image.size() - 1, mask.size(), out.size(), w, h},
      {"short mask", image.size(), mask.size() - 1, out.size(), w, h},
      {"short output", image.size(), mask.size(), out.size() - 1, w, h},
      {"zero width", image.size(), mask.size(), out.size(), 0, h},
      {"negative height", image.size(), mask.size(), out.size(), w, -4},
      {"huge", image.size(), mask.size(), out.size(), 0x7FFFFFFF, 0x7FFFFFFF},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(BuildMaskDisplay(image.data(), c.imageSize, mask.data(), c.maskSize, c.w, c.h,
                                  out.data(), c.outSize))
        << c.name;
    EXPECT_EQ(out[0], 7) << c.name << ": nothing written";
  }
}

}  // namespace
}  // namespace quillo
