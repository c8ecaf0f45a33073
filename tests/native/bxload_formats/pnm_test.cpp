// Hand-built portable any-map files: every kind, comments, maxvals, and
// files that lie about their size.
#include <gtest/gtest.h>

#include "formats_helpers.h"
#include "outside/bxload/pnm_codec.h"

namespace quillo::bxload {
namespace {

using test::Bytes;
using test::Rgb;
using V = std::vector<uint8_t>;

PnmImage Read(const std::string& text) {
  const V bytes = Bytes(text);
  return ReadPnm(bytes.data(), bytes.size());
}

TEST(PnmReader, BitmapsPlainAndRawAreOneBitWithSetBitsBlack) {
  // 10 x 2: a width that leaves spare bits in each raw row.
  const std::string plain = "P1\n# a comment\n10 2\n1010101010\n0 0 0 0 0 0 0 0 0 1\n";
  std::string raw = "P4 10#c\n2\n";
  raw += std::string{char(0xAA), char(0x80 | 0x3F), char(0x00), char(0x40 | 0x3F)};
  for (const std::string& text : {plain, raw}) {
    const PnmImage image = Read(text);
    ASSERT_TRUE(image.error.empty()) << image.error;
    EXPECT_EQ(test::BitsOf(image.dib), 1);
    int w = 0, h = 0;
    const V rgb = Rgb(image.dib, &w, &h);
    ASSERT_EQ(w, 10);
    ASSERT_EQ(h, 2);
    for (int x = 0; x < 10; ++x) {
      const bool blackTop = x % 2 == 0;
      const bool blackBottom = x == 9;
      EXPECT_EQ(rgb[x * 3], blackTop ? 0 : 255) << x;
      EXPECT_EQ(rgb[30 + x * 3 + 1], blackBottom ? 0 : 255) << x;
    }
  }
}

TEST(PnmReader, GreyMapsScaleToFullRangeWithRounding) {
  // maxval 3: 0, 85, 170, 255. maxval 1000 (plain): 500 -> round(127.5) = 128.
  const PnmImage p2 = Read("P2 4 1 3 0 1 2 3");
  ASSERT_TRUE(p2.error.empty()) << p2.error;
  EXPECT_EQ(test::BitsOf(p2.dib), 8);
  EXPECT_EQ(Rgb(p2.dib), (V{0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}));
  const PnmImage p2b = Read("P2\n#x\n1 1\n#y\n1000\n500\n");
  ASSERT_TRUE(p2b.error.empty()) << p2b.error;
  EXPECT_EQ(Rgb(p2b.dib), (V{128, 128, 128}));
  // 16-bit raw: two big-endian bytes per sample.
  std::string p5 = "P5 2 1 65535\n";
  p5 += std::string{char(0x80), char(0x00), char(0xFF), char(0xFF)};
  const PnmImage raw = Read(p5);
  ASSERT_TRUE(raw.error.empty()) << raw.error;
  EXPECT_EQ(Rgb(raw.dib), (V{128, 128, 128, 255, 255, 255}));  // 32768*255/65535 = 127.5 -> 128
}

TEST(PnmReader, PixmapsKeepChannelOrderAndRowOrder) {
  const PnmImage plain = Read("P3 # c\n2 2 255\n255 0 0  0 255 0\n0 0 255  1 2 3\n");
  ASSERT_TRUE(plain.error.empty()) << plain.error;
  EXPECT_EQ(test::BitsOf(plain.dib), 24);
  const V expected{255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3};
  EXPECT_EQ(Rgb(plain.dib), expected);
  std::string p6 = "P6\n2 2\n255\n";
  p6.append(expected.begin(), expected.end());
  p6 += "trailing data is ignored";
  const PnmImage raw = Read(p6);
  ASSERT_TRUE(raw.error.empty()) << raw.error;
  EXPECT_EQ(Rgb(raw.dib), expected);
  std::string p6w = "P6 1 1 300\n";
  p6w += std::string{char(0x01), char(0x2C), 0, 0, 0, char(150)};
  const PnmImage wide = Read(p6w);
  ASSERT_TRUE(wide.error.empty()) << wide.error;
  EXPECT_EQ(Rgb(wide.dib), (V{255, 0, 128}));  // 150*255/300 = 127.5 -> 128
}

TEST(PnmReader, DamagedAndLyingFilesAreRefused) {
  const std::string cases[] = {
      "",  "P", "P7 1 1 255\n\0", "P6 2 2 255\n123456789",  // raster short by 3 bytes
      "P5 2 1 65535\n\x01\x02\x03",                           // 16-bit raster short
      "P3 1 1 255 1 2", "P2 1 1 10 11",                       // plain short, sample above maxval
      "P1 2 1 0 2", "P5 0 1 255\n", "P5 1 1 0\n\0", "P5 1 1 65536\n\0\0",
      "P5 70000 70000 255\n",                                  // over 2^28 pixels
      "P4 99999999999 1\n", "P5 1 1 255",                      // number overflow, no separator
      "P5 1 1 10\n\x0B",                                       // raw sample above maxval
      "P6 2 1 255\n\x01\x02\x03\x04\x05",
  };
  for (const std::string& text : cases) {
    const PnmImage image = Read(text);
    EXPECT_TRUE(image.dib.empty()) << text;
    EXPECT_FALSE(image.error.empty()) << text;
  }
  EXPECT_TRUE(ReadPnm(nullptr, 0).dib.empty());
}

}  // namespace
}  // namespace quillo::bxload
