// The BMP reader on hand-built files: every depth and header kind, and
// files that lie about their sizes.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "outside/bxload/bmp_reader.h"

namespace quillo::bxload::test {
namespace {

std::vector<DibColour> Palette(int n) {
  std::vector<DibColour> table;
  for (int i = 0; i < n; ++i) table.push_back({uint8_t(i * 3), uint8_t(255 - i), uint8_t(i * 7), 0});
  return table;
}

Decoded Read(const std::vector<uint8_t>& file) {
  BmpImage image = ReadBmp(file.data(), file.size());
  EXPECT_TRUE(image.error.empty()) << image.error;
  return Decoded(std::move(image.dib));
}

std::string Refusal(const std::vector<uint8_t>& file) {
  BmpImage image = ReadBmp(file.data(), file.size());
  EXPECT_TRUE(image.dib.empty());
  return image.error;
}

TEST(BmpReader, PalettedDepthsKeepIndicesAndTable) {
  for (int bits : {1, 4, 8}) {
    const int colours = 1 << bits;
    std::vector<std::vector<uint32_t>> rows(3, std::vector<uint32_t>(11));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 11; ++x) rows[y][x] = uint32_t(x * 5 + y * 3) % colours;
    BmpLayout layout;
    layout.width = 11, layout.height = 3, layout.bitCount = bits;
    layout.table = Palette(colours);
    layout.pixels = PackRows(rows, bits);
    Decoded d = Read(BuildBmp(layout));
    ASSERT_TRUE(d.ok()) << bits;
    EXPECT_EQ(d.view.bitCount, bits);
    EXPECT_EQ(d.view.tableEntries, colours);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 11; ++x) EXPECT_EQ(d.Index(x, y), int(rows[y][x])) << bits << " " << x << "," << y;
    EXPECT_EQ(d.view.Colour(colours - 1).red, layout.table.back().red);
  }
}

TEST(BmpReader, ShortTableIsPaddedWithBlackToFullDepth) {
  BmpLayout layout;
  layout.width = 2, layout.height = 1, layout.bitCount = 8, layout.colours = 3;
  layout.table = Palette(3);
  layout.pixels = PackRows({{2, 200}}, 8);
  Decoded d = Read(BuildBmp(layout));
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.view.tableEntries, 256);
  EXPECT_EQ(d.view.Colour(2).red, 14);
  EXPECT_EQ(d.view.Colour(200).green, 0);
  EXPECT_EQ(d.Index(1, 0), 200);
}

TEST(BmpReader, TrueColourBottomUpAndTopDownGiveTheSamePicture) {
  const std::vector<std::vector<uint32_t>> rows = {{0xFF0000, 0x00FF00, 0x0000FF},
                                                   {0x123456, 0xABCDEF, 0x000001}};
  for (bool topDown : {false, true}) {
    BmpLayout layout;
    layout.width = 3, layout.height = topDown ? -2 : 2;
    layout.pixels = PackRows(rows, 24, topDown);
    Decoded d = Read(BuildBmp(layout));
    ASSERT_TRUE(d.ok());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(d.Rgb(x, y), rows[y][x]) << topDown;
  }
}

TEST(BmpReader, TopDownPaletted) {
  BmpLayout layout;
  layout.width = 2, layout.height = -2, layout.bitCount = 4;
  layout.table = Palette(16);
  layout.pixels = PackRows({{1, 2}, {3, 4}}, 4, true);
  Decoded d = Read(BuildBmp(layout));
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.Index(0, 0), 1);
  EXPECT_EQ(d.Index(1, 1), 4);
}

std::vector<uint8_t> Words16(std::initializer_list<uint16_t> words) {
  std::vector<uint8_t> out;
  for (uint16_t w : words) out.push_back(uint8_t(w)), out.push_back(uint8_t(w >> 8));
  return out;
}

TEST(BmpReader, SixteenBitFiveFiveFiveAndBitfields) {
  BmpLayout layout;
  layout.width = 2, layout.height = 2, layout.bitCount = 16;
  layout.pixels = Words16({0x7C00, 0x0010, 0x03E0, 0x7FFF});  // bottom row first
  Decoded d = Read(BuildBmp(layout));
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.view.bitCount, 24);
  EXPECT_EQ(d.Rgb(0, 1), 0xFF0000u);
  EXPECT_EQ(d.Rgb(1, 1), 132u);  // 16 of 31 -> (16 * 255 + 15) / 31
  EXPECT_EQ(d.Rgb(0, 0), 0x00FF00u);
  EXPECT_EQ(d.Rgb(1, 0), 0xFFFFFFu);

  layout.compression = 3;  // 5-6-5 masks after the 40-byte header
  layout.masks = {0xF800, 0x07E0, 0x001F};
  layout.pixels = Words16({0xF800, 0x07E0, 0x001F, 0x0400});
  d = Read(BuildBmp(layout));
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.Rgb(0, 1), 0xFF0000u);
  EXPECT_EQ(d.Rgb(1, 1), 0x00FF00u);
  EXPECT_EQ(d.Rgb(0, 0), 0x0000FFu);
  EXPECT_EQ(d.Rgb(1, 0), 0x008200u);  // 32 of 63
}

TEST(BmpReader, ThirtyTwoBitPlainAndMasksInLargerHeaders) {
  BmpLayout layout;
  layout.width = 1, layout.height = 1, layout.bitCount = 32;
  layout.pixels = {0x11, 0x22, 0x33, 0x44};
  EXPECT_EQ(Read(BuildBmp(layout)).Rgb(0, 0), 0x332211u);
  for (uint32_t header : {52u, 56u, 108u, 124u}) {
    layout.headerSize = header;
    layout.compression = 3;
    layout.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};  // red in the low byte
    if (header == 52) layout.masks.resize(3);
    Decoded d = Read(BuildBmp(layout));
    ASSERT_TRUE(d.ok()) << header;
    EXPECT_EQ(d.Rgb(0, 0), 0x112233u) << header;
  }
}

TEST(BmpReader, Os2CoreHeaderWithThreeByteTable) {
  BmpLayout layout;
  layout.headerSize = 12;
  layout.width = 3, layout.height = 1, layout.bitCount = 8;
  layout.table = Palette(256);
  layout.pixels = PackRows({{0, 9, 255}}, 8);
  Decoded d = Read(BuildBmp(layout));
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.Index(1, 0), 9);
  EXPECT_EQ(d.view.Colour(9).red, 63);
  EXPECT_EQ(d.view.Colour(255).blue, uint8_t(255 * 3));
}

TEST(BmpReader, HeaderlessPackedDib) {
  BmpLayout layout;
  layout.fileHeader = false;
  layout.width = 2, layout.height = 1, layout.bitCount = 1;
  layout.table = Palette(2);
  layout.pixels = PackRows({{1, 0}}, 1);
  Decoded d = Read(BuildBmp(layout));
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.Index(0, 0), 1);
  EXPECT_EQ(d.Index(1, 0), 0);
}

TEST(BmpReader, LastRowMayLackItsPadding) {
  BmpLayout layout;
  layout.width = 1, layout.height = 2;
  layout.pixels = PackRows({{0x010203}, {0x040506}}, 24);
  layout.pixels.resize(layout.pixels.size() - 1);
  EXPECT_EQ(Read(BuildBmp(layout)).Rgb(0, 0), 0x010203u);
  layout.pixels.resize(layout.pixels.size() - 1);  // now a pixel byte is missing
  EXPECT_NE(Refusal(BuildBmp(layout)).find("truncated"), std::string::npos);
}

TEST(BmpReader, LyingHeadersAreRefusedWithAReason) {
  BmpLayout good;
  good.width = 4, good.height = 4, good.bitCount = 8;
  good.table = Palette(256);
  good.pixels.assign(16, 1);
  ASSERT_TRUE(Read(BuildBmp(good)).ok());

  BmpLayout s = good;
  s.pixelOffset = 100000;
  EXPECT_NE(Refusal(BuildBmp(s)).find("past the end"), std::string::npos);
  s = good;
  s.pixelOffset = 20;
  EXPECT_NE(Refusal(BuildBmp(s)).find("header"), std::string::npos);
  s = good;
  s.colours = 1000;
  EXPECT_NE(Refusal(BuildBmp(s)).find("256"), std::string::npos);
  s = good;
  s.colours = 200;
  s.table = Palette(10);  // the file ends inside the claimed table
  s.pixels.clear();
  EXPECT_FALSE(Refusal(BuildBmp(s)).empty());
  s = good;
  s.headerSize = 64;
  EXPECT_FALSE(Refusal(BuildBmp(s)).empty());
  s = good;
  s.bitCount = 2;
  EXPECT_FALSE(Refusal(BuildBmp(s)).empty());
  s = good;
  s.compression = 4;  // embedded JPEG
  EXPECT_FALSE(Refusal(BuildBmp(s)).empty());
  s = good;
  s.compression = 1, s.bitCount = 4;  // RLE8 needs 8 bits
  EXPECT_FALSE(Refusal(BuildBmp(s)).empty());
  s = good;
  s.width = 0;
  EXPECT_FALSE(Refusal(BuildBmp(s)).empty());
  s = good;
  s.height = INT32_MIN;
  EXPECT_FALSE(Refusal(BuildBmp(s)).empty());
  s = good;
  s.width = 70000, s.height = 70000;  // uncompressed: far more rows than bytes
  EXPECT_NE(Refusal(BuildBmp(s)).find("truncated"), std::string::npos);

  const std::vector<uint8_t> file = BuildBmp(good);
  for (size_t cut : {size_t(0), size_t(2), size_t(13), size_t(20), size_t(53), size_t(500)})
    EXPECT_TRUE(ReadBmp(file.data(), cut).dib.empty()) << cut;
}

TEST(BmpReader, HugeRleDimensionsAreRefusedBeforeAllocating) {
  BmpLayout s;
  s.width = 60000, s.height = 60000, s.bitCount = 8, s.compression = 1;
  s.table = Palette(256);
  s.pixels = {0, 1};  // end of bitmap: a valid, tiny stream
  EXPECT_NE(Refusal(BuildBmp(s)).find("too large"), std::string::npos);
  s.width = 16, s.height = 16;
  const std::vector<uint8_t> file = BuildBmp(s);
  EXPECT_TRUE(ReadBmp(file.data(), file.size(), 100).dib.empty());  // the limit is honoured
  EXPECT_FALSE(ReadBmp(file.data(), file.size()).dib.empty());
}

}  // namespace
}  // namespace quillo::bxload::test
