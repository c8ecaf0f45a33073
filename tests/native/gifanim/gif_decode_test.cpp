#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gifanim/gif_decode.h"
#include "tests/native/gifanim/gif_builder.h"
#include "tests/native/gifanim/peak_memory.h"

using gifanim::DecodeGif;
using gifanim::GifImage;
using gifanim::GifLimits;
using gifanim::GifStatus;
using gif_test::Bits;
using gif_test::GifBuilder;
using gif_test::Literals;

namespace {

// Decodes a code stream as one row of `count` pixels, every one kept, into
// `px` (which holds at least `capacity` entries); `n` receives the count.
GifStatus DecodeRow(int mcs, const std::vector<uint8_t>& codes, uint8_t* px, std::size_t capacity,
                    std::size_t count, std::size_t& n) {
  const int w = static_cast<int>(count);
  const gifanim::LzwShape shape{w, 1, false, w, 1};
  std::size_t stored = 0;
  const GifStatus st = gifanim::DecodeLzw(mcs, codes.data(), codes.size(), shape, px, capacity, n, stored);
  EXPECT_EQ(stored, std::min(n, capacity));
  return st;
}

std::vector<uint8_t> ReadSeed(const char* path) {
  std::ifstream f(std::string(QUILLO_SOURCE_DIR) + "/" + path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

GifStatus Decode(const std::vector<uint8_t>& f, GifImage& img, const GifLimits& l = GifLimits{}) {
  return DecodeGif(f.data(), f.size(), img, l);
}

TEST(GifFile, SignatureVersionAndTrailer) {
  GifImage img;
  auto ok87 = GifBuilder("GIF87a").Image(0, 0, 4, 2, Literals({1, 0, 1, 0, 1, 0, 1, 0})).Trailer();
  ASSERT_EQ(Decode(ok87, img), GifStatus::kOk);
  ASSERT_EQ(img.frames.size(), 1u);
  const auto& f = img.frames[0];
  EXPECT_FALSE(f.has_control);
  EXPECT_EQ(f.transparent, -1);
  EXPECT_EQ(f.delay_ms, 0);
  EXPECT_EQ(f.user_input, 0);
  EXPECT_EQ(f.disposal, 0);
  EXPECT_EQ(f.indices, (std::vector<uint8_t>{1, 0, 1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(img.global_count, 2);
  EXPECT_EQ(img.global_table_size, 2);

  for (const char* bad : {"GIF89A", "GIF88a", "gif89a", "JIF89a"}) {
    auto f2 = GifBuilder(bad).Trailer();
    EXPECT_EQ(Decode(f2, img), GifStatus::kBadSignature) << bad;
    EXPECT_TRUE(img.frames.empty());
  }
  // Every prefix of a valid file short of the trailer fails.
  for (size_t n = 0; n + 1 < ok87.size(); ++n) {
    std::vector<uint8_t> cut(ok87.begin(), ok87.begin() + n);
    EXPECT_NE(Decode(cut, img), GifStatus::kOk) << n;
  }
  // Stray bytes between blocks are skipped; anything after the trailer is ignored.
  auto stray = GifBuilder().Raw({0x00, 0x55}).Image(0, 0, 4, 2, Literals({1, 1, 1, 1, 0, 0, 0, 0}))
                   .Raw({0x10}).Trailer();
  stray.push_back(0x2C);
  ASSERT_EQ(Decode(stray, img), GifStatus::kOk);
  EXPECT_EQ(img.frames.size(), 1u);
}

TEST(GifFile, ScreenValuesWithoutGlobalTable) {
  GifImage img;
  auto f = GifBuilder("GIF89a", 3, 1, 0).Trailer();
  f[10] = 0x35;  // no table, resolution bits 3, size bits 5
  ASSERT_EQ(Decode(f, img), GifStatus::kOk);
  EXPECT_EQ(img.colour_resolution, 7);
  EXPECT_EQ(img.global_table_size, 64);
  EXPECT_EQ(img.global_count, 0);
  EXPECT_EQ(img.background, -1);
  EXPECT_TRUE(img.frames.empty());
}

TEST(GifFile, ControlValuesApplyToNextImageOnly) {
  GifImage img;
  auto px = Literals({0, 0, 0, 0, 0, 0, 0, 0});
  auto f = GifBuilder()
               .Control(0x02 | (3 << 2) | 1, 7, 1)
               .Image(0, 0, 4, 2, px)
               .Image(0, 0, 4, 2, px)
               .Control(0x00, 50, 9)
               .Control(0x08, 2, 0)  // the last of several wins
               .Image(0, 0, 4, 2, px)
               .Control(0x01, 30, 1)
               .Raw({0x21, 0x01, 3, 'a', 'b', 'c', 0})  // plain text consumes it
               .Image(0, 0, 4, 2, px)
               .Trailer();
  ASSERT_EQ(Decode(f, img), GifStatus::kOk);
  ASSERT_EQ(img.frames.size(), 4u);
  EXPECT_EQ(img.frames[0].delay_ms, 70);
  EXPECT_EQ(img.frames[0].transparent, 1);
  EXPECT_EQ(img.frames[0].disposal, 3);
  EXPECT_EQ(img.frames[0].user_input, 1);
  EXPECT_EQ(img.frames[1].transparent, -1);
  EXPECT_EQ(img.frames[1].delay_ms, 0);
  EXPECT_EQ(img.frames[2].delay_ms, 20);
  EXPECT_EQ(img.frames[2].disposal, 2);
  EXPECT_EQ(img.frames[2].transparent, -1);
  EXPECT_FALSE(img.frames[3].has_control);
  EXPECT_EQ(img.frames[3].delay_ms, 0);
}

TEST(GifFile, LocalTableAndRectangle) {
  GifImage img;
  auto f = GifBuilder("GIF89a", 40, 30)
               .Image(10, 20, 2, 1, Literals({3, 2}), 0, 2, 2)
               .Trailer();
  ASSERT_EQ(Decode(f, img), GifStatus::kOk);
  const auto& fr = img.frames[0];
  EXPECT_EQ(fr.left, 10);
  EXPECT_EQ(fr.top, 20);
  EXPECT_TRUE(fr.local_table);
  ASSERT_EQ(fr.palette.size(), 4u);
  EXPECT_EQ(fr.palette[1].r, 203);
  EXPECT_EQ(fr.indices, (std::vector<uint8_t>{3, 2}));
}

TEST(GifFile, InterlacedRowsAreReordered) {
  for (int h = 1; h <= 17; ++h) {
    std::vector<int> seen(h, 0);
    for (int n = 0; n < h; ++n) {
      const int r = gifanim::InterlacedRow(n, h);
      ASSERT_GE(r, 0);
      ASSERT_LT(r, h);
      ++seen[r];
    }
    for (int r = 0; r < h; ++r) EXPECT_EQ(seen[r], 1) << h << " " << r;
  }
  EXPECT_EQ(gifanim::InterlacedRow(1, 10), 8);
  EXPECT_EQ(gifanim::InterlacedRow(2, 10), 4);
  EXPECT_EQ(gifanim::InterlacedRow(3, 10), 2);
  EXPECT_EQ(gifanim::InterlacedRow(5, 10), 1);
  // A 1 x 5 image: decode order rows 0, 4, 2, 1, 3.
  GifImage img;
  auto f = GifBuilder("GIF89a", 1, 5).Image(0, 0, 1, 5, Literals({0, 1, 2, 3, 0}), 0x40, 2, 2)
               .Trailer();
  ASSERT_EQ(Decode(f, img), GifStatus::kOk);
  // Indices stay in stream order; KeptRow names each one's image row.
  EXPECT_EQ(img.frames[0].indices, (std::vector<uint8_t>{0, 1, 2, 3, 0}));
  const int rows[] = {0, 4, 2, 1, 3};
  for (int n = 0; n < 5; ++n) EXPECT_EQ(gifanim::KeptRow(img.frames[0], n), rows[n]);
}

TEST(GifLzw, TableGrowthRepeatsAndFullTable) {
  // Code size 2: 0, then 6 (= next free, the "string + its first" case) gives
  // 0 0 0; then 6 again (now in the table) gives 0 0.
  Bits b;
  b.Put(4, 3).Put(0, 3).Put(6, 3).Put(6, 3).Put(5, 3);
  auto codes = b.Done();
  std::vector<uint8_t> px(5, 9);
  size_t n = 0;
  ASSERT_EQ(DecodeRow(2, codes, px.data(), px.size(), 5, n),
            GifStatus::kOk);
  EXPECT_EQ(n, 5u);
  EXPECT_EQ(px, (std::vector<uint8_t>(5, 0)));

  // Fill the table to 4096 entries with code size 8, then keep decoding at 12
  // bits without a clear: codes must still resolve against the full table.
  Bits c;
  int width = 9, next = 258;
  c.Put(256, width).Put(1, width);
  size_t expect = 1;
  while (next < 4096) {
    c.Put(1, width);
    ++expect;
    ++next;
    if (next >= (1 << width) && width < 12) ++width;
  }
  c.Put(300, 12);  // entry 300 is "1 1"
  expect += 2;
  c.Put(257, 12);
  auto full = c.Done();
  std::vector<uint8_t> out(expect, 7);
  ASSERT_EQ(DecodeRow(8, full, out.data(), out.size(), expect, n),
            GifStatus::kOk);
  EXPECT_EQ(n, expect);
  EXPECT_EQ(out, std::vector<uint8_t>(expect, 1));
}

TEST(GifLzw, BadStreamsAreErrors) {
  std::vector<uint8_t> px(8, 0);
  size_t n = 0;
  auto run = [&](const std::vector<uint8_t>& codes, int mcs = 2, size_t count = 8) {
    return DecodeRow(mcs, codes, px.data(), px.size(), count, n);
  };
  EXPECT_EQ(run(Bits().Put(4, 3).Put(0, 3).Put(7, 3).Done()), GifStatus::kBadLzw);  // above next free
  EXPECT_EQ(run(Bits().Put(6, 3).Done()), GifStatus::kBadLzw);        // first code is a table entry
  EXPECT_EQ(run(Bits().Put(4, 3).Put(6, 3).Done()), GifStatus::kBadLzw);  // same after a clear
  EXPECT_EQ(run({0}, 12), GifStatus::kBadCodeSize);
  EXPECT_EQ(run(Literals({1, 1, 1}), 2, 2), GifStatus::kBadLzw);  // more pixels than the image
  EXPECT_EQ(run(Literals({1}), 2, 0), GifStatus::kBadLzw);
  // Clear and end codes after a full image are fine.
  EXPECT_EQ(run(Literals({1, 1}), 2, 2), GifStatus::kOk);
  // Too few pixels: the rest keeps index 0.
  px.assign(8, 0);
  EXPECT_EQ(run(Literals({3, 3, 3}, false)), GifStatus::kOk);
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(px, (std::vector<uint8_t>{3, 3, 3, 0, 0, 0, 0, 0}));

  GifImage img;
  auto f = GifBuilder().Image(0, 0, 4, 2, Literals({1}), 0, 12).Trailer();
  EXPECT_EQ(Decode(f, img), GifStatus::kBadCodeSize);
  EXPECT_TRUE(img.frames.empty());
}

TEST(GifFile, ImagesAreChargedForWhatTheirCodesCanYield) {
  GifImage img;
  // A screen-sized image with one pixel of data costs one pixel.
  auto tiny = GifBuilder("GIF89a", 65535, 65535).Image(0, 0, 65535, 65535, Literals({1})).Trailer();
  ASSERT_EQ(Decode(tiny, img), GifStatus::kOk);
  EXPECT_EQ(img.frames[0].indices, (std::vector<uint8_t>{1}));
  // 120 000 bytes of 9-bit codes could yield over 2^28 pixels: refused
  // before a buffer is made.
  auto big = GifBuilder("GIF89a", 65535, 65535)
                 .Image(0, 0, 65535, 65535, std::vector<uint8_t>(120000, 0), 0, 8)
                 .Trailer();
  EXPECT_EQ(Decode(big, img), GifStatus::kTooLarge);
  EXPECT_TRUE(img.frames.empty());

  GifLimits small;
  small.max_frame_pixels = 100;
  small.max_total_pixels = 150;
  const auto hundred = Literals(std::vector<int>(100, 1));
  auto two = GifBuilder("GIF89a", 10, 10).Image(0, 0, 10, 10, hundred).Image(0, 0, 10, 10, hundred).Trailer();
  EXPECT_EQ(Decode(two, img, small), GifStatus::kTooLarge);
  small.max_total_pixels = 200;
  ASSERT_EQ(Decode(two, img, small), GifStatus::kOk);
  EXPECT_EQ(img.frames.size(), 2u);
  EXPECT_EQ(img.frames[1].decoded, 100u);
}

TEST(GifFile, MemoryIsBoundedByTheScreenAndTheCodes) {
  // 76 bytes: four 65535 x 4095 images on a 1 x 1 screen, each only a clear
  // and an end code.
  const auto file = ReadSeed("fuzz/gif_decoder/seeds/huge_images_tiny_screen.gif");
  ASSERT_EQ(file.size(), 76u);
  for (const auto keep : {gifanim::GifKeep::kOnScreen, gifanim::GifKeep::kWholeImage}) {
    GifImage img;
    test_memory::ResetPeak();
    ASSERT_EQ(DecodeGif(file.data(), file.size(), img, GifLimits{}, keep), GifStatus::kOk);
    EXPECT_LT(test_memory::Peak(), std::size_t{256} << 10);
    ASSERT_EQ(img.frames.size(), 4u);
    for (const auto& f : img.frames) {
      EXPECT_EQ(f.width, 65535);
      EXPECT_EQ(f.decoded, 0u);
      EXPECT_TRUE(f.indices.empty());
      EXPECT_EQ(f.kept_width, keep == gifanim::GifKeep::kOnScreen ? 1 : 65535);
    }
  }
  // Pixels off the screen are decoded and dropped: a 300 x 300 image of
  // real data on a 10 x 4 screen holds 40 of them.
  std::vector<int> px(300 * 300);
  for (std::size_t i = 0; i < px.size(); ++i) px[i] = static_cast<int>(i % 4);
  auto wide = GifBuilder("GIF89a", 10, 4).Image(0, 0, 300, 300, Literals(px)).Trailer();
  GifImage img;
  ASSERT_EQ(Decode(wide, img), GifStatus::kOk);
  EXPECT_EQ(img.frames[0].decoded, px.size());
  ASSERT_EQ(img.frames[0].indices.size(), 40u);
  EXPECT_EQ(img.frames[0].indices[10], 300 % 4);  // row 1, column 0
}

TEST(GifLzw, TheYieldBoundHoldsForTheLongestStrings) {
  // One colour over and over, each code naming the entry it creates, builds
  // strings one longer each code: the fastest growth there is, until the
  // table is full and its last entry repeats. The decoder's real yield must
  // stay within the bound the buffers are sized by.
  for (const std::size_t count : {1u, 2u, 100u, 8000000u}) {
    Bits b;
    b.Put(256, 9).Put(0, 9);
    int next = 258, width = 9;
    std::size_t made = 1, len = 1;
    for (;;) {
      const int code = next < 4096 ? next : 4095;
      const std::size_t add = next < 4096 ? len + 1 : len;
      if (made + add > count) break;
      b.Put(code, width);
      made += add;
      len = add;
      if (next < 4096) ++next;
      if (next >= (1 << width) && width < 12) ++width;
    }
    const auto codes = b.Done();
    std::vector<uint8_t> px(count, 9);
    std::size_t n = 0;
    ASSERT_EQ(DecodeRow(8, codes, px.data(), px.size(), count, n), GifStatus::kOk);
    EXPECT_EQ(n, made);
    EXPECT_LE(static_cast<uint64_t>(n), gifanim::MaxLzwPixels(8, codes.size())) << count;
  }
}

}  // namespace
