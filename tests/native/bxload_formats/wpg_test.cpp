// WPG files: round trips at the writable depths, every run-length code and
// both bitmap record types built by hand, damaged records.
#include <gtest/gtest.h>

#include "formats_helpers.h"
#include "outside/bxload/wpg_codec.h"

namespace quillo::bxload {
namespace {

using V = std::vector<uint8_t>;

void Le16(V& out, unsigned v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); }

V Header(uint8_t level = 1) { return {0xFF, 'W', 'P', 'C', 16, 0, 0, 0, 1, 0x16, level, 0, 0, 0, 0, 0}; }

void Record(V& f, uint8_t type, const V& body) {
  f.push_back(type);
  if (body.size() < 0xFF) {
    f.push_back(uint8_t(body.size()));
  } else {
    f.push_back(0xFF);
    Le16(f, unsigned(body.size()));
  }
  f.insert(f.end(), body.begin(), body.end());
}

V Bitmap(unsigned w, unsigned h, unsigned depth, const V& rle, bool type2 = false) {
  V body;
  if (type2)
    for (int i = 0; i < 5; ++i) Le16(body, 0);  // rotation and frame
  for (unsigned v : {w, h, depth, 75u, 75u}) Le16(body, v);
  body.insert(body.end(), rle.begin(), rle.end());
  return body;
}

TEST(Wpg, WritableDepthsRoundTripExactly) {
  for (int bits : {1, 4, 8})
    for (int width : {1, 9, 333}) {
      const V dib = test::Patterned(width, 6, bits);
      EXPECT_EQ(test::RoundTrip(dib, WriteWpg, ReadWpg), dib) << bits << " bits, width " << width;
    }
  std::string error;
  EXPECT_TRUE(WriteWpg(test::View(test::Patterned(3, 3, 24)), error).empty());
  EXPECT_FALSE(error.empty());
}

TEST(Wpg, RunCodesRowRepeatsAndColourMaps) {
  // 2-bit, 8 x 3, type 0x14 record: row 0 = run of 0xE4 twice; row 1 = 0xFF
  // run (0x80 n) ; row 2 = the previous row again.
  V f = Header();
  V map;
  Le16(map, 1);
  Le16(map, 2);
  map.insert(map.end(), {10, 20, 30, 40, 50, 60});
  Record(f, 0x0E, map);
  Record(f, 0x14, Bitmap(8, 3, 2, {0x82, 0xE4, 0x80, 2, 0x00, 1}, true));
  Record(f, 0x10, {});
  const WpgImage image = ReadWpg(f.data(), f.size());
  ASSERT_TRUE(image.error.empty()) << image.error;
  EXPECT_EQ(test::BitsOf(image.dib), 4);
  const V rgb = test::Rgb(image.dib);
  // 0xE4 = indices 3, 2, 1, 0: entry 3 VGA cyan, 2 from the map, 1 from the map, 0 black.
  EXPECT_EQ(V(rgb.begin(), rgb.begin() + 12), (V{0, 170, 170, 40, 50, 60, 10, 20, 30, 0, 0, 0}));
  EXPECT_EQ(V(rgb.begin() + 24, rgb.begin() + 27), (V{0, 170, 170}));  // row 1: all index 3
  EXPECT_EQ(V(rgb.begin() + 24, rgb.begin() + 48), V(rgb.begin() + 48, rgb.end()));

  // 1-bit without a map: black and white; literal bytes; unknown records skipped.
  V g = Header();
  Record(g, 0x0F, {1, 0, 0, 0, 0, 0});
  Record(g, 0x05, {1, 2, 3});
  Record(g, 0x0B, Bitmap(9, 1, 1, {0x02, 0x80, 0x80}));
  const WpgImage mono = ReadWpg(g.data(), g.size());
  ASSERT_TRUE(mono.error.empty()) << mono.error;
  const V bw = test::Rgb(mono.dib);
  EXPECT_EQ(bw[0], 255);
  EXPECT_EQ(bw[3], 0);
  EXPECT_EQ(bw[24], 255);

  // Bits of the file beyond the width never reach the DIB.
  V h = Header();
  Record(h, 0x0B, Bitmap(5, 1, 1, {0x01, 0xFF}));
  const WpgImage padded = ReadWpg(h.data(), h.size());
  ASSERT_TRUE(padded.error.empty()) << padded.error;
  EXPECT_EQ(test::View(padded.dib).Row(0)[0], 0xF8);
}

TEST(Wpg, DamagedFilesAreRefusedWithAReason) {
  auto with = [](const V& bitmap, uint8_t level = 1) {
    V f = Header(level);
    Record(f, 0x0B, bitmap);
    Record(f, 0x10, {});
    return f;
  };
  V cut = with(Bitmap(4, 2, 8, {0x84, 1, 0x84}));
  V longRecord = Header();
  longRecord.insert(longRecord.end(), {0x0B, 0xFF, 0x00, 0x10, 0, 0});
  V badMap = Header();
  Record(badMap, 0x0E, {0xFF, 0, 2, 0, 1, 2, 3, 4, 5, 6});  // entries 255 and 256
  Record(badMap, 0x0B, Bitmap(1, 1, 8, {0x81, 0}));
  const V header = Header();
  const V cases[] = {
      with(Bitmap(4, 2, 8, {0x84, 1, 0x84, 2}), 2),          // level 2
      with(Bitmap(4, 2, 8, {0x85, 1, 0x83, 2})),             // run past the row
      with(Bitmap(4, 2, 8, {0x05, 1, 2, 3, 4, 5, 0x84, 0})),  // literal past the row
      with(Bitmap(4, 2, 8, {0x80, 5, 0x84, 0})),             // 0xFF run past the row
      with(Bitmap(4, 2, 8, {0x00, 1, 0x84, 0})),             // repeat before any row
      with(Bitmap(4, 2, 8, {0x82, 1, 0x00, 1})),             // repeat mid-row
      with(Bitmap(4, 2, 8, {0x84, 1})),                      // ends before the last row
      with(Bitmap(65535, 65535, 8, {0x00, 0xFF})),           // lying size
      with(Bitmap(4, 2, 3, V(8, 0x81))),                     // 3 bits
      cut, longRecord, badMap,
      V(header.begin(), header.begin() + 10),
  };
  for (const V& file : cases) {
    const WpgImage image = ReadWpg(file.data(), file.size());
    EXPECT_TRUE(image.dib.empty());
    EXPECT_FALSE(image.error.empty());
  }
}

}  // namespace
}  // namespace quillo::bxload
