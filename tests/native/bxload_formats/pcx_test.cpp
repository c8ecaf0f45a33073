// PCX files: round trips at every depth, plane layouts built by hand, runs
// and sizes that lie.
#include <gtest/gtest.h>

#include "formats_helpers.h"
#include "outside/bxload/pcx_codec.h"

namespace quillo::bxload {
namespace {

using V = std::vector<uint8_t>;

V Header(int width, int height, int bits, int planes, int lineBytes, const V& palette = {}) {
  V h(128, 0);
  h[0] = 0x0A;
  h[1] = 5;
  h[2] = 1;
  h[3] = uint8_t(bits);
  h[8] = uint8_t((width - 1) & 0xFF), h[9] = uint8_t((width - 1) >> 8);
  h[10] = uint8_t((height - 1) & 0xFF), h[11] = uint8_t((height - 1) >> 8);
  for (size_t i = 0; i < palette.size() && i < 48; ++i) h[16 + i] = palette[i];
  h[65] = uint8_t(planes);
  h[66] = uint8_t(lineBytes & 0xFF), h[67] = uint8_t(lineBytes >> 8);
  return h;
}

V Cat(V a, const V& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(Pcx, EveryWritableDepthRoundTripsExactly) {
  for (int bits : {1, 4, 8, 24})
    for (int width : {1, 17, 64, 301}) {
      const V dib = test::Patterned(width, 7, bits);
      EXPECT_EQ(test::RoundTrip(dib, WritePcx, ReadPcx), dib) << bits << " bits, width " << width;
    }
  // A flat picture codes long runs; a byte of 0xC0 or more alone needs a count byte.
  V flat = NewDib(200, 3, 8);
  DibTable(flat)[0xC5] = {1, 2, 3, 0};
  std::fill(flat.begin() + long(DibBitsOffset(flat)), flat.end(), uint8_t(0xC5));
  flat[DibBitsOffset(flat) + 5] = 0xC1;
  EXPECT_EQ(test::RoundTrip(flat, WritePcx, ReadPcx), flat);
}

TEST(Pcx, PlaneLayoutsBuiltByHand) {
  // Two 1-bit planes: four colours from the header palette, plane 1 = high bit.
  const V palette{0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
  V file = Cat(Header(4, 1, 1, 2, 2, palette), {0xC2, 0x50, 0xC2, 0x30});  // planes 0101.. and 0011..
  PcxImage image = ReadPcx(file.data(), file.size());
  ASSERT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::BitsOf(image.dib), 4);
  EXPECT_EQ(test::Rgb(image.dib), (V{0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255}));

  // One 8-bit plane without the trailing palette reads as grey; padding bytes are dropped.
  file = Cat(Header(3, 2, 8, 1, 4), {0xC4, 0x10, 1, 2, 3, 0});
  image = ReadPcx(file.data(), file.size());
  ASSERT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::Rgb(image.dib), (V{16, 16, 16, 16, 16, 16, 16, 16, 16, 1, 1, 1, 2, 2, 2, 3, 3, 3}));

  // Three 8-bit planes red, green, blue; a run crosses from the red into the green line.
  file = Cat(Header(2, 1, 8, 3, 2), {0xC3, 9, 7, 0xC2, 5});
  image = ReadPcx(file.data(), file.size());
  ASSERT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::Rgb(image.dib), (V{9, 9, 5, 9, 7, 5}));

  // A 1-bit picture whose two palette entries are equal is black and white.
  // The byte 0xF0 is above 0xBF, so it is stored as a run of one.
  file = Cat(Header(8, 1, 1, 1, 2), {0xC1, 0xF0, 0x00});
  image = ReadPcx(file.data(), file.size());
  ASSERT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::Rgb(image.dib)[0], 255);
  EXPECT_EQ(test::Rgb(image.dib)[21], 0);
}

TEST(Pcx, DamagedFilesAreRefusedWithAReason) {
  const V good = Cat(Header(2, 2, 8, 1, 2), {1, 2, 3, 4});
  ASSERT_TRUE(ReadPcx(good.data(), good.size()).error.empty());
  const V cases[] = {
      V(127, 0x0A),                                          // short header
      Cat(Header(2, 2, 8, 1, 2), {1, 2, 3}),                 // ends before the last pixel
      Cat(Header(2, 2, 8, 1, 2), {1, 2, 0xC3, 4}),           // run past the row
      Cat(Header(2, 2, 8, 1, 2), {1, 2, 3, 0xC1}),           // count byte without value
      Cat(Header(65535, 65535, 8, 1, 65535), {0xC0, 0}),     // lying size
      Cat(Header(20, 2, 8, 1, 4), V(40, 0)),                 // lines shorter than the width
      Cat(Header(2, 2, 8, 2, 2), V(8, 0)),                   // two 8-bit planes
      Cat(Header(2, 2, 3, 1, 2), V(4, 0)),                   // 3 bits
  };
  for (const V& file : cases) {
    const PcxImage image = ReadPcx(file.data(), file.size());
    EXPECT_TRUE(image.dib.empty());
    EXPECT_FALSE(image.error.empty());
  }
  V reversed = good;
  reversed[8] = 0, reversed[4] = 5;  // xMax below xMin
  EXPECT_FALSE(ReadPcx(reversed.data(), reversed.size()).error.empty());
}

}  // namespace
}  // namespace quillo::bxload
