// Tiling, two-colour expansion and the saturation/value stretch.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "colour_stretch.h"
#include "image_copy.h"

namespace quillo::imaging {
namespace {

struct Image {
  int width, height;
  int64_t stride;
  std::vector<uint8_t> bytes;
  Image(int w, int h) : width(w), height(h), stride(((int64_t(w) * 24 + 31) / 32) * 4),
                        bytes(size_t(stride * h), 0) {}
  // y counted from the top
  uint8_t* top(int x, int y) { return bytes.data() + (height - 1 - y) * stride + x * 3; }
  Bgr24Picture view() { return Bgr24Picture{bytes.data(), width, height, stride}; }
};

Image Numbered(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.top(x, y)[0] = uint8_t(x), img.top(x, y)[1] = uint8_t(y);
  return img;
}

TEST(TileTest, WrapsStartsAndFillsEveryPixel) {
  Image source = Numbered(5, 3);
  struct Case { int column, row, firstX, firstY; };
  // A start equal to the width (or height) is start 0; negatives wrap back.
  const Case cases[] = {{0, 0, 0, 0}, {5, 3, 0, 0}, {2, 1, 2, 1}, {12, 7, 2, 1}, {-1, -4, 4, 2}};
  for (const Case& c : cases) {
    Image target(13, 8);
    TileBgr24(source.view(), target.view(), c.column, c.row);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 13; ++x) {
        ASSERT_EQ(target.top(x, y)[0], (x + c.firstX) % 5) << c.column << "," << c.row;
        ASSERT_EQ(target.top(x, y)[1], (y + c.firstY) % 3) << c.column << "," << c.row;
      }
  }
}

TEST(TwoColourTest, SetBitsTakeTheColourClearBitsItsInverse) {
  // 10 pixels a row: 2 bytes of bits, rows padded to 4 bytes.
  const uint8_t bits[] = {0xA0, 0x40, 0, 0,   // 1010 0000 01..
                          0xFF, 0xC0, 0, 0};  // all set
  Image target(10, 2);
  const uint8_t colour[3] = {0x12, 0x80, 0xFF};
  TwoColourToBgr24(bits, 4, target.view(), colour);
  const uint8_t* row0 = target.bytes.data();
  const bool set0[10] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(row0[3 * x], set0[x] ? 0x12 : 0xED) << x;
    EXPECT_EQ(row0[3 * x + 1], set0[x] ? 0x80 : 0x7F) << x;
    EXPECT_EQ(row0[3 * x + 2], set0[x] ? 0xFF : 0x00) << x;
  }
  for (int x = 0; x < 10; ++x) EXPECT_EQ(target.bytes[target.stride + 3 * x], 0x12);
  EXPECT_EQ(target.bytes[30], 0);  // padding untouched
}

// A block holding a header and then `tail` bytes.
std::vector<uint8_t> Block(const DibHeader& h, size_t tail) {
  std::vector<uint8_t> block(sizeof h + tail, 0);
  std::memcpy(block.data(), &h, sizeof h);
  return block;
}

DibHeader Header(int32_t width, int32_t height, uint16_t bits, uint32_t colours = 0) {
  DibHeader h{};
  h.size = 40;
  h.width = width;
  h.height = height;
  h.planes = 1;
  h.bitCount = bits;
  h.clrUsed = colours;
  return h;
}

TEST(OneBitRowsTest, RowsFollowTheStatedHeaderAndTable) {
  struct Case {
    DibHeader header;
    uint64_t offset;
  };
  DibHeader longHeader = Header(33, 3, 8, 5);
  longHeader.size = 108;
  DibHeader masks16 = Header(33, 3, 16);
  masks16.compression = 3;
  DibHeader masksInHeader = masks16;
  masksInHeader.size = 56;
  for (const Case& c : {Case{Header(33, 3, 8), 40 + 1024}, Case{Header(33, 3, 4, 3), 40 + 12},
                        Case{Header(33, 3, 24 + 1), 40}, Case{Header(33, 3, 32, 7), 40 + 28},
                        Case{longHeader, 108 + 20}, Case{masks16, 52}, Case{masksInHeader, 56}}) {
    // 33 pixels need 8 bytes a row: exactly three rows fit, one byte less does not.
    const std::vector<uint8_t> exact = Block(c.header, size_t(c.offset - 40 + 3 * 8));
    OneBitRows rows;
    ASSERT_TRUE(FindOneBitRows(exact.data(), exact.size(), &rows)) << c.offset;
    EXPECT_EQ(rows.offset, c.offset);
    EXPECT_EQ(rows.stride, 8);
    EXPECT_EQ(rows.width, 33);
    EXPECT_EQ(rows.height, 3);
    EXPECT_FALSE(FindOneBitRows(exact.data(), exact.size() - 1, &rows)) << c.offset;
  }
}

TEST(OneBitRowsTest, RefusesHeadersThatPointOutsideTheBlock) {
  DibHeader hugeTable = Header(8, 1, 16, 0xFFFFFFFF);
  DibHeader hugeHeader = Header(8, 1, 8);
  hugeHeader.size = 0xFFFFFFF0;
  DibHeader shortHeader = Header(8, 1, 8);
  shortHeader.size = 12;
  for (const DibHeader& h : {hugeTable, hugeHeader, shortHeader, Header(0x7FFFFFFF, 0x7FFFFFFF, 8),
                             Header(8, 0x7FFFFFFF, 1), Header(0, 1, 1), Header(8, 0, 1),
                             Header(8, -1, 1), Header(-8, 1, 1)}) {
    const std::vector<uint8_t> block = Block(h, 4096);
    EXPECT_FALSE(FindOneBitRows(block.data(), block.size(), nullptr)) << h.width << "x" << h.height;
  }
  const std::vector<uint8_t> tiny = Block(Header(1, 1, 1), 0);
  EXPECT_FALSE(FindOneBitRows(tiny.data(), 39, nullptr));
  EXPECT_FALSE(FindOneBitRows(nullptr, 100, nullptr));
}

TEST(OneBitRowsTest, ExpandedHeaderIsA24BitHeaderOfTheSameSize) {
  DibHeader in = Header(5, 2, 8, 200);
  in.size = 108;
  in.compression = 1;
  in.clrImportant = 9;
  in.xPelsPerMeter = 3780;
  const DibHeader out = ExpandedHeader(in);
  EXPECT_EQ(out.size, 40u);
  EXPECT_EQ(out.width, 5);
  EXPECT_EQ(out.height, 2);
  EXPECT_EQ(out.planes, 1);
  EXPECT_EQ(out.bitCount, 24);
  EXPECT_EQ(out.compression, 0u);
  EXPECT_EQ(out.clrUsed, 0u);
  EXPECT_EQ(out.clrImportant, 0u);
  EXPECT_EQ(out.sizeImage, 2u * 16);
  EXPECT_EQ(out.xPelsPerMeter, 3780);
}

TEST(HsvTest, RoundTripsPrimariesAndGreys) {
  const uint8_t colours[][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0},
                                {0, 255, 255}, {255, 0, 255}, {128, 128, 128}, {0, 0, 0}};
  for (const auto& c : colours) {
    uint8_t back[3];
    HsvToBytes(BytesToHsv(c), back);
    EXPECT_EQ(back[0], c[0]);
    EXPECT_EQ(back[1], c[1]);
    EXPECT_EQ(back[2], c[2]);
  }
}

TEST(StretchTest, EqualValueAreaStretchesSaturationOnly) {
  // Every pixel has maximum 204 (v = 0.8): the value stays, saturations
  // 0 .. 0.5 spread to 0 .. 1.
  Image img(3, 1);
  const uint8_t in[3][3] = {{204, 204, 204}, {204, 153, 153}, {102, 204, 102}};
  for (int x = 0; x < 3; ++x) std::copy(in[x], in[x] + 3, img.top(x, 0));
  StretchSaturationValue(img.bytes.data(), img.stride, 0, 3, 0, 1);
  for (int x = 0; x < 3; ++x) {
    const uint8_t* p = img.top(x, 0);
    EXPECT_EQ(std::max({p[0], p[1], p[2]}), 204) << x;
  }
  EXPECT_EQ(img.top(0, 0)[1], 204);  // grey stays grey
  EXPECT_EQ(img.top(1, 0)[1], 101);  // s 0.25 -> 0.5: trunc(0.8 * 0.5 * 255), just under 102
  EXPECT_EQ(img.top(2, 0)[0], 0);    // s 0.5 -> 1: the minimum drops to 0
  EXPECT_EQ(img.top(2, 0)[1], 204);
}

TEST(StretchTest, ValueSpreadsToFullRangeInsideTheAreaOnly) {
  Image img(4, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) std::fill(img.top(x, y), img.top(x, y) + 3, uint8_t(100 + 20 * x));
  // Columns 1..2 of the top row: the top row is stored row 1.
  StretchSaturationValue(img.bytes.data(), img.stride, 1, 3, 1, 2);
  EXPECT_EQ(img.top(1, 0)[0], 0);
  EXPECT_EQ(img.top(2, 0)[0], 255);
  EXPECT_EQ(img.top(0, 0)[0], 100);
  EXPECT_EQ(img.top(3, 0)[0], 160);
  EXPECT_EQ(img.top(1, 1)[0], 120);
}

}  // namespace
}  // namespace quillo::imaging
