// Run-length coded BMPs: every escape, and runs that try to leave the
// picture.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "outside/bxload/bmp_reader.h"

namespace quillo::bxload::test {
namespace {

// Decodes `stream` as an RLE picture and returns its indices, top row first.
std::vector<std::vector<int>> Decode(int bits, int width, int height, std::vector<uint8_t> stream) {
  BmpLayout layout;
  layout.width = width, layout.height = height, layout.bitCount = bits;
  layout.compression = bits == 8 ? 1 : 2;
  layout.table.resize(size_t(1) << bits);
  layout.pixels = std::move(stream);
  const std::vector<uint8_t> file = BuildBmp(layout);
  BmpImage image = ReadBmp(file.data(), file.size());
  EXPECT_TRUE(image.error.empty()) << image.error;
  Decoded d(std::move(image.dib));
  const int rows = height < 0 ? -height : height;
  std::vector<std::vector<int>> out(size_t(rows), std::vector<int>(size_t(width), 0));
  if (!d.ok()) return out;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < width; ++x) out[y][x] = d.Index(x, y);
  return out;
}

using Grid = std::vector<std::vector<int>>;

TEST(BmpRle, Rle8AllEscapes) {
  // Rows are coded bottom-up: row 0 of the stream is the picture's last row.
  const Grid got = Decode(8, 6, 4, {
      3, 7,                 // run of three 7s
      0, 3, 1, 2, 3, 0,     // absolute run of three, padded to even length
      0, 0,                 // end of line
      0, 2, 2, 1,           // delta: two right, one up -> row 2, x = 2
      2, 9,                 // 9 9
      0, 0,                 // end of line -> row 3
      0, 4, 5, 6, 7, 8,     // absolute run of four (no padding)
      0, 1,                 // end of bitmap
      6, 4});               // ignored
  const Grid want = {{5, 6, 7, 8, 0, 0},
                     {0, 0, 9, 9, 0, 0},
                     {0, 0, 0, 0, 0, 0},
                     {7, 7, 7, 1, 2, 3}};
  EXPECT_EQ(got, want);
}

TEST(BmpRle, Rle4AllEscapes) {
  const Grid got = Decode(4, 5, 3, {
      5, 0x12,              // 1 2 1 2 1
      0, 0,                 // end of line
      0, 3, 0x34, 0x50,     // absolute run of three nibbles in two bytes (already even)
      0, 2, 1, 1,           // delta: one right, one up -> row 2, x = 4
      1, 0xF0,              // F
      0, 1});
  const Grid want = {{0, 0, 0, 0, 15},
                     {3, 4, 5, 0, 0},
                     {1, 2, 1, 2, 1}};
  EXPECT_EQ(got, want);
}

TEST(BmpRle, RunsPastTheRowAreClippedAndDoNotWrap) {
  const Grid got = Decode(8, 3, 2, {
      5, 4,                 // five 4s into a row of three
      0, 5, 1, 2, 3, 4, 5, 0,  // absolute run, also past the row
      0, 0,
      2, 6,
      0, 1});
  const Grid want = {{6, 6, 0}, {4, 4, 4}};
  EXPECT_EQ(got, want);
  const Grid got4 = Decode(4, 3, 1, {9, 0xAB, 0, 1});
  EXPECT_EQ(got4, (Grid{{10, 11, 10}}));
}

TEST(BmpRle, RunsPastTheImageStop) {
  // Deltas and end-of-lines beyond the top row, then more runs.
  EXPECT_EQ(Decode(8, 2, 2, {1, 3, 0, 2, 0, 200, 2, 9, 0, 0, 0, 0, 0, 0, 2, 8}),
            (Grid{{0, 0}, {3, 0}}));
  EXPECT_EQ(Decode(8, 2, 2, {0, 2, 255, 0, 2, 5, 0, 0, 2, 6}), (Grid{{6, 6}, {0, 0}}));
}

TEST(BmpRle, TruncatedStreamsKeepWhatWasDecoded) {
  EXPECT_EQ(Decode(8, 4, 1, {2, 1, 0, 4, 9, 9}), (Grid{{1, 1, 0, 0}}));  // absolute run cut short
  EXPECT_EQ(Decode(8, 4, 1, {2, 1, 0, 2, 1}), (Grid{{1, 1, 0, 0}}));     // delta cut short
  EXPECT_EQ(Decode(4, 4, 1, {3, 0x56, 0}), (Grid{{5, 6, 5, 0}}));        // odd byte left over
  EXPECT_EQ(Decode(8, 2, 1, {}), (Grid{{0, 0}}));
}

TEST(BmpRle, TopDownRowsFillFromTheTop) {
  EXPECT_EQ(Decode(8, 2, -2, {2, 1, 0, 0, 2, 2, 0, 1}), (Grid{{1, 1}, {2, 2}}));
}

}  // namespace
}  // namespace quillo::bxload::test
