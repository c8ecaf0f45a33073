// Wireless bitmaps: header integers, bit order, palette mapping, round trips.
#include <gtest/gtest.h>

#include "formats_helpers.h"
#include "outside/bxload/wbmp_codec.h"

namespace quillo::bxload {
namespace {

using V = std::vector<uint8_t>;

TEST(WbmpReader, MultiByteSizesAndWhiteBits) {
  // Width 130 = 0x81 0x02, height 2; rows of 17 bytes.
  V file{0x00, 0x00, 0x81, 0x02, 0x02};
  for (int y = 0; y < 2; ++y)
    for (int i = 0; i < 17; ++i) file.push_back(i == 16 ? 0xFF : (y == 0 ? 0x80 : 0x01));
  const WbmpImage image = ReadWbmp(file.data(), file.size());
  ASSERT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::BitsOf(image.dib), 1);
  int w = 0, h = 0;
  const V rgb = test::Rgb(image.dib, &w, &h);
  ASSERT_EQ(w, 130);
  ASSERT_EQ(h, 2);
  EXPECT_EQ(rgb[0], 255);                      // top row, first bit set: white
  EXPECT_EQ(rgb[3], 0);
  EXPECT_EQ(rgb[130 * 3 + 7 * 3], 255);        // bottom row, bit 7 of byte 0
  EXPECT_EQ(rgb[130 * 3 + 0], 0);
  EXPECT_EQ(rgb[129 * 3], 255);                // last pixel of the top row
  // Spare bits of the last byte never reach the DIB.
  const DibView view = test::View(image.dib);
  EXPECT_EQ(view.Row(0)[16], 0xC0);
}

TEST(WbmpReader, DamagedFilesAreRefused) {
  const V cases[] = {
      {},
      {0x01, 0x00, 0x01, 0x01, 0x00},                    // type 1
      {0x00, 0x80, 0x01, 0x01, 0x00},                    // extension headers
      {0x00, 0x00, 0x01},                                // no height
      {0x00, 0x00, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x01},  // width over 2^31
      {0x00, 0x00, 0x00, 0x01},                          // width 0
      {0x00, 0x00, 0x09, 0x02, 0xFF, 0xFF, 0xFF},        // 9 x 2 needs 4 bytes
      {0x00, 0x00, 0x81, 0x80, 0x00, 0x81, 0x80, 0x00},  // 16384^2 pixels: too large
      {0x00, 0x00, 0x81},                                // continuation runs off the end
  };
  for (const V& file : cases) {
    const WbmpImage image = ReadWbmp(file.data(), file.size());
    EXPECT_TRUE(image.dib.empty());
    EXPECT_FALSE(image.error.empty());
  }
}

TEST(WbmpWriter, RoundTripsAndMapsPaletteByBrightness) {
  for (bool inverted : {false, true}) {
    std::vector<uint8_t> dib = NewDib(13, 3, 1);
    DibColour* table = DibTable(dib);
    // Inverted table: entry 0 is a light yellow, entry 1 a dark blue.
    table[0] = inverted ? DibColour{100, 250, 250, 0} : DibColour{0, 0, 0, 0};
    table[1] = inverted ? DibColour{120, 0, 10, 0} : DibColour{255, 255, 255, 0};
    uint8_t* bits = dib.data() + DibBitsOffset(dib);
    for (int i = 0; i < 12; ++i) bits[i] = uint8_t(i * 37 + 5);
    const DibView view = test::View(dib);
    std::string error;
    const V file = WriteWbmp(view, error);
    ASSERT_FALSE(file.empty()) << error;
    EXPECT_EQ(file.size(), 4u + 2 * 3);
    const WbmpImage back = ReadWbmp(file.data(), file.size());
    ASSERT_TRUE(back.error.empty()) << back.error;
    const V rgb = test::Rgb(back.dib);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 13; ++x) {
        const bool one = IndexAt(view.Row(y), x, 1) == 1;
        EXPECT_EQ(rgb[(y * 13 + x) * 3], one != inverted ? 255 : 0) << x << "," << y;
      }
  }
  // Other depths are refused.
  std::vector<uint8_t> dib8 = NewDib(2, 2, 8);
  std::string error;
  EXPECT_TRUE(WriteWbmp(test::View(dib8), error).empty());
  EXPECT_FALSE(error.empty());
}

TEST(WbmpWriter, LargeWidthsUseContinuationBytes) {
  std::vector<uint8_t> dib = NewDib(300, 1, 1);
  DibTable(dib)[1] = {255, 255, 255, 0};
  std::string error;
  const V file = WriteWbmp(test::View(dib), error);
  ASSERT_GE(file.size(), 5u);
  EXPECT_EQ(file[2], 0x82);  // 300 = 2 * 128 + 44
  EXPECT_EQ(file[3], 44);
  EXPECT_EQ(file[4], 1);
}

}  // namespace
}  // namespace quillo::bxload
