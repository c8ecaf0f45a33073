#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "contracts/dib_format.h"
#include "gifanim/gif_frames.h"
#include "tests/native/gifanim/gif_builder.h"

using gifanim::GifFrame;
using gifanim::GifImage;
using gifanim::PlaceFrame;

namespace {

GifFrame Frame(int x, int y, int w, int h, std::vector<uint8_t> px) {
  GifFrame f;
  f.left = x;
  f.top = y;
  f.width = w;
  f.height = h;
  f.kept_width = w;
  f.kept_height = h;
  f.decoded = static_cast<std::size_t>(w) * h;
  f.indices = std::move(px);
  return f;
}

TEST(GifFrames, DepthFromLargestTable) {
  GifImage img;
  img.global_count = 2;
  EXPECT_EQ(gifanim::FrameBitCount(img), 1);
  img.global_count = 16;
  EXPECT_EQ(gifanim::FrameBitCount(img), 4);
  img.global_count = 32;
  EXPECT_EQ(gifanim::FrameBitCount(img), 8);
  // No global table, a 4-colour local table: 4 bits, so the table fits.
  img.global_count = 0;
  GifFrame f;
  f.local_table = true;
  f.palette.resize(4);
  img.frames.push_back(f);
  EXPECT_EQ(gifanim::FrameBitCount(img), 4);
}

TEST(GifFrames, PlacementAtEachDepthIsBottomUpAndClipped) {
  // 2 x 2 image at (1, 1) on a 3 x 3 screen at 8 bits.
  const uint64_t s8 = quillo::DibStride(3, 8);
  std::vector<uint8_t> bits(s8 * 3, 0);
  ASSERT_TRUE(PlaceFrame(Frame(1, 1, 2, 2, {1, 2, 3, 4}), bits.data(), bits.size(), s8, 3, 3, 8));
  // Screen row 1 (image row 0) is DIB row 1; screen row 2 is DIB row 0.
  EXPECT_EQ(bits[s8 * 1 + 1], 1);
  EXPECT_EQ(bits[s8 * 1 + 2], 2);
  EXPECT_EQ(bits[0 + 1], 3);
  EXPECT_EQ(bits[0 + 2], 4);
  EXPECT_EQ(bits[s8 * 2 + 0], 0);

  // 4 bits: even column high nibble; indices keep to their nibble.
  const uint64_t s4 = quillo::DibStride(3, 4);
  std::vector<uint8_t> b4(s4, 0);
  ASSERT_TRUE(PlaceFrame(Frame(0, 0, 3, 1, {0xA, 0x5, 0xFF}), b4.data(), b4.size(), s4, 3, 1, 4));
  EXPECT_EQ(b4[0], 0xA5);
  EXPECT_EQ(b4[1], 0xF0);

  // 1 bit: nonzero sets the bit, bit 7 leftmost; a frame partly off the
  // screen (right and below) writes only what is inside.
  const uint64_t s1 = quillo::DibStride(10, 1);
  std::vector<uint8_t> b1(s1 * 2, 0);
  ASSERT_TRUE(PlaceFrame(Frame(7, 1, 5, 3, std::vector<uint8_t>(15, 9)), b1.data(), b1.size(), s1,
                         10, 2, 1));
  EXPECT_EQ(b1[0], 0x01);
  EXPECT_EQ(b1[1], 0xC0);
  EXPECT_EQ(b1[2], 0);
  EXPECT_EQ(b1[s1], 0);  // DIB row 1 is screen row 0: untouched

  // Wholly outside, far away: nothing written, no fault.
  std::vector<uint8_t> b(s8 * 3, 0);
  ASSERT_TRUE(PlaceFrame(Frame(65535, 65535, 2, 2, {1, 1, 1, 1}), b.data(), b.size(), s8, 3, 3, 8));
  EXPECT_EQ(b, std::vector<uint8_t>(s8 * 3, 0));
}

TEST(GifFrames, DecodedImagesPlaceTheirOnScreenRowsInImageOrder) {
  // A 4 x 8 image whose pixel (x, r) is (x + r) % 4 on a 3 x 5 screen, plain
  // and interlaced, whole and with its stream cut after four rows.
  for (const bool interlaced : {false, true}) {
    for (const bool cut : {false, true}) {
      std::vector<int> stream;
      std::vector<bool> delivered(8, false);
      for (int n = 0; n < (cut ? 4 : 8); ++n) {
        const int r = interlaced ? gifanim::InterlacedRow(n, 8) : n;
        delivered[r] = true;
        for (int x = 0; x < 4; ++x) stream.push_back((x + r) % 4);
      }
      const auto file = gif_test::GifBuilder("GIF89a", 3, 5, 2)
                            .Image(0, 0, 4, 8, gif_test::Literals(stream, !cut), interlaced ? 0x40 : 0)
                            .Trailer();
      GifImage img;
      ASSERT_EQ(gifanim::DecodeGif(file.data(), file.size(), img), gifanim::GifStatus::kOk);
      const GifFrame& f = img.frames[0];
      EXPECT_LE(f.indices.size(), 15u);
      const uint64_t stride = quillo::DibStride(3, 8);
      std::vector<uint8_t> bits(stride * 5, 0xEE);
      for (int y = 0; y < 5; ++y) std::fill_n(bits.begin() + y * stride, 3, 0);
      ASSERT_TRUE(PlaceFrame(f, bits.data(), bits.size(), stride, 3, 5, 8));
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
          EXPECT_EQ(bits[(4 - y) * stride + x], delivered[y] ? (x + y) % 4 : 0)
              << interlaced << cut << " " << x << "," << y;
      EXPECT_EQ(bits[3], 0xEE);  // row padding untouched
    }
  }
}

TEST(GifFrames, ColourTableIsCutOrPaddedWithBlack) {
  GifFrame f;
  f.palette = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  std::vector<uint8_t> two(8, 0xEE), four(16, 0xEE);
  gifanim::FillColourTable(f, two.data(), 2);
  EXPECT_EQ(two, (std::vector<uint8_t>{3, 2, 1, 0, 6, 5, 4, 0}));
  gifanim::FillColourTable(f, four.data(), 4);
  EXPECT_EQ(four, (std::vector<uint8_t>{3, 2, 1, 0, 6, 5, 4, 0, 9, 8, 7, 0, 0, 0, 0, 0}));
}

TEST(GifFrames, InconsistentSizesAreRefused) {
  std::vector<uint8_t> bits(8, 0);
  EXPECT_FALSE(PlaceFrame(Frame(0, 0, 2, 2, {1, 1, 1}), bits.data(), bits.size(), 4, 2, 2, 8));
  EXPECT_FALSE(PlaceFrame(Frame(0, 0, 1, 1, {1}), bits.data(), bits.size(), 4, 2, 3, 8));
  EXPECT_FALSE(PlaceFrame(Frame(0, 0, 1, 1, {1}), bits.data(), bits.size(), 1, 8, 1, 8));
  EXPECT_FALSE(PlaceFrame(Frame(0, 0, 1, 1, {1}), bits.data(), bits.size(), 4, 0, 1, 8));
}

}  // namespace
