// BMP writer round trips and the packed DIB conversions the writers use.
#include <gtest/gtest.h>

#include <cstring>

#include "bmp_builder.h"
#include "outside/bxload/bmp_reader.h"
#include "outside/bxload/bmp_writer.h"

namespace quillo::bxload::test {
namespace {

// A packed DIB of odd size with every index (or a colour ramp) present.
std::vector<uint8_t> Pattern(int bits, int width = 13, int height = 7) {
  std::vector<uint8_t> dib = NewDib(width, height, bits);
  if (bits <= 8) {
    DibColour* table = DibTable(dib);
    for (int i = 0; i < (1 << bits); ++i) table[i] = {uint8_t(i), uint8_t(i * 5), uint8_t(255 - i), 0};
  }
  uint8_t* rows = dib.data() + DibBitsOffset(dib);
  const int64_t stride = DibStride(width, bits);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = rows + stride * y;
    for (int x = 0; x < width; ++x) {
      const int v = (x * 7 + y * 11) & ((1 << (bits <= 8 ? bits : 8)) - 1);
      if (bits == 1) row[x / 8] |= uint8_t(v << (7 - x % 8));
      else if (bits == 4) row[x / 2] |= uint8_t((x & 1) ? v : v << 4);
      else if (bits == 8) row[x] = uint8_t(v);
      else row[3 * x] = uint8_t(v), row[3 * x + 1] = uint8_t(x * 19), row[3 * x + 2] = uint8_t(y * 37);
    }
  }
  return dib;
}

DibView ViewOf(const std::vector<uint8_t>& dib) {
  DibView view;
  std::string error;
  EXPECT_TRUE(ParseDib(dib.data(), dib.size(), view, error)) << error;
  return view;
}

TEST(BmpWriter, RoundTripKeepsPixelsAndPaletteAtEveryDepth) {
  for (int bits : {1, 4, 8, 24}) {
    const std::vector<uint8_t> dib = Pattern(bits);
    std::string error;
    const std::vector<uint8_t> file = WriteBmp(ViewOf(dib), error);
    ASSERT_FALSE(file.empty()) << error;
    EXPECT_EQ(file[28], bits);
    BmpImage back = ReadBmp(file.data(), file.size());
    ASSERT_TRUE(back.error.empty()) << back.error;
    EXPECT_EQ(back.dib, dib) << bits;
  }
}

TEST(BmpWriter, TopDownSourceIsStoredBottomUp) {
  std::vector<uint8_t> dib = Pattern(24, 3, 2);
  std::vector<uint8_t> flipped = dib;
  DibHeader h;
  std::memcpy(&h, flipped.data(), sizeof h);
  h.height = -h.height;
  std::memcpy(flipped.data(), &h, sizeof h);
  uint8_t* rows = flipped.data() + DibBitsOffset(flipped);
  std::memcpy(rows, dib.data() + DibBitsOffset(dib) + 12, 12);
  std::memcpy(rows + 12, dib.data() + DibBitsOffset(dib), 12);
  std::string error;
  const std::vector<uint8_t> file = WriteBmp(ViewOf(flipped), error);
  EXPECT_EQ(ReadBmp(file.data(), file.size()).dib, dib);
}

TEST(BmpWriter, RefusesThirtyTwoBits) {
  std::vector<uint8_t> dib = NewDib(2, 2, 32);
  std::string error;
  EXPECT_TRUE(WriteBmp(ViewOf(dib), error).empty());
  EXPECT_FALSE(error.empty());
}

TEST(PackedDib, ParseRefusesBlocksThatDoNotHoldTheirPixels) {
  std::vector<uint8_t> dib = Pattern(8);
  DibView view;
  std::string error;
  EXPECT_TRUE(ParseDib(dib.data(), dib.size(), view, error));
  EXPECT_FALSE(ParseDib(dib.data(), dib.size() - 1, view, error));
  EXPECT_FALSE(ParseDib(dib.data(), 39, view, error));
  DibHeader h;
  std::memcpy(&h, dib.data(), sizeof h);
  for (auto mutate : {+[](DibHeader& x) { x.clrUsed = 257; }, +[](DibHeader& x) { x.bitCount = 16; },
                      +[](DibHeader& x) { x.compression = 1; }, +[](DibHeader& x) { x.width = -3; },
                      +[](DibHeader& x) { x.height = INT32_MIN; }, +[](DibHeader& x) { x.size = 1u << 31; },
                      +[](DibHeader& x) { x.width = 1 << 30; }}) {
    DibHeader bad = h;
    mutate(bad);
    std::vector<uint8_t> copy = dib;
    std::memcpy(copy.data(), &bad, sizeof bad);
    EXPECT_FALSE(ParseDib(copy.data(), copy.size(), view, error));
  }
}

TEST(PackedDib, ToBgr24AndPackIndices) {
  const std::vector<uint8_t> dib4 = Pattern(4);
  const DibView v4 = ViewOf(dib4);
  const std::vector<uint8_t> rgb = ToBgr24(v4);
  const DibView v24 = ViewOf(rgb);
  for (int y = 0; y < v4.height; ++y)
    for (int x = 0; x < v4.width; ++x) {
      const DibColour c = v4.Colour(IndexAt(v4.Row(y), x, 4));
      const uint8_t* p = v24.Row(y) + 3 * x;
      EXPECT_EQ(p[0], c.blue);
      EXPECT_EQ(p[2], c.red);
    }
  // An 8-bit image whose indices fit 4 bits repacks losslessly; one that
  // does not fit is refused.
  std::vector<uint8_t> dib8 = Pattern(8);
  uint8_t* rows = dib8.data() + DibBitsOffset(dib8);
  const DibView v8 = ViewOf(dib8);
  for (int y = 0; y < v8.height; ++y)
    for (int x = 0; x < v8.width; ++x) rows[v8.stride * y + x] &= 15;
  const std::vector<uint8_t> packed = PackIndices(ViewOf(dib8), 4);
  const DibView vp = ViewOf(packed);
  for (int y = 0; y < v8.height; ++y)
    for (int x = 0; x < v8.width; ++x) EXPECT_EQ(IndexAt(vp.Row(y), x, 4), IndexAt(v8.Row(y), x, 8));
  EXPECT_TRUE(PackIndices(ViewOf(dib8), 1).empty());
}

}  // namespace
}  // namespace quillo::bxload::test
