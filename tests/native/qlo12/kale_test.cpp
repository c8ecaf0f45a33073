// The kaleidoscope: sample entries and frame bytes against values worked out
// independently, every entry inside the picture whatever the centre, count
// or size, the mirror of a single segment, whole-pixel frames against a
// direct lookup, and the saved-parameter blocks of both Kale and Illusion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "plugins/qlo12/kernels/kale_blob.h"
#include "plugins/qlo12/kernels/kale_map.h"
#include "pattern_picture.h"

namespace {

using namespace quillo::qlo12;

std::vector<KaleEntry> Map(int w, int h, const KaleParameters& p) {
  std::vector<KaleEntry> map(size_t(w) * size_t(h), KaleEntry{-1, -1});
  EXPECT_TRUE(BuildKaleMap(w, h, p, map.data()));
  return map;
}

KaleParameters Params(int w, int h, int n, double cx, double cy, double ox, double oy, double a1,
                      double a2, int mirror) {
  KaleParameters p = DefaultKaleParameters(w, h);
  p.segments = n, p.centreX = cx, p.centreY = cy, p.offsetX = ox, p.offsetY = oy;
  p.angle1 = a1, p.angle2 = a2, p.mirror = mirror;
  return p;
}

// Memory row, column, the entry, and the frame's bytes at that pixel.
struct Sample {
  int i, j, column, row, b, g, r;
};

void ExpectSamples(const KaleParameters& p, int64_t ox, int64_t oy,
                   std::initializer_list<Sample> samples) {
  const auto map = Map(13, 9, p);
  PatternPicture texture(13, 9), out(13, 9, false);
  DrawKaleFrame(texture.bytes.data(), out.bytes.data(), 13, 9, texture.stride, map.data(), ox, oy);
  for (const Sample& s : samples) {
    const KaleEntry& e = map[size_t(s.i * 13 + s.j)];
    const uint8_t* px = out.At(s.j, s.i);
    EXPECT_EQ(e.column, s.column) << s.j << "," << s.i;
    EXPECT_EQ(e.row, s.row) << s.j << "," << s.i;
    EXPECT_EQ(px[0] << 16 | px[1] << 8 | px[2], s.b << 16 | s.g << 8 | s.r) << s.j << "," << s.i;
  }
}

TEST(KaleMap, SampleEntriesAndFramesMatchTheReference) {
  // A 13 x 9 picture with the start-up parameters: the first frame, then
  // offsets (5, -3) and (18, 6), the same shift of the texture.
  const KaleParameters defaults = DefaultKaleParameters(13, 9);
  ExpectSamples(defaults, 0, 0,
                {{0, 0, 6995, 2214, 87, 104, 123}, {1, 7, 6362, 7326, 139, 145, 198},
                 {3, 2, 8012, 7881, 155, 47, 100}, {6, 4, 6810, 6914, 161, 89, 142},
                 {7, 12, 7763, 1555, 120, 173, 103}, {8, 10, 9154, 9045, 49, 87, 140}});
  for (const auto& [ox, oy] : {std::pair{5, -3}, std::pair{18, 6}})
    ExpectSamples(defaults, ox, oy,
                  {{0, 0, 6995, 2214, 90, 100, 153}, {1, 7, 6362, 7326, 96, 118, 171},
                   {3, 2, 8012, 7881, 74, 127, 180}, {6, 4, 6810, 6914, 128, 140, 171},
                   {7, 12, 7763, 1555, 101, 154, 207}, {8, 10, 9154, 9045, 105, 155, 208}});
  // Three unmirrored segments about an off-pixel centre, map offsets.
  ExpectSamples(Params(13, 9, 3, 2.5, 7.0, 3.25, -1.5, 1.0, 2.0, 0), 11, 2,
                {{1, 7, 8225, 3731, 52, 105, 155}, {2, 11, 5017, 6476, 240, 63, 90},
                 {3, 2, 6011, 542, 78, 131, 166}, {5, 9, 3700, 3027, 76, 122, 171},
                 {7, 12, 9936, 5261, 115, 78, 131}, {4, 3, 5088, 8642, 168, 82, 131}});
  // Centre clicked at the top right corner, with angles the saver draws.
  ExpectSamples(Params(13, 9, 8, 12, 8, 0, 0, 107, 214, 1), -4, 20,
                {{0, 0, 88, 2145, 167, 220, 59}, {1, 7, 6352, 3790, 150, 60, 97},
                 {3, 2, 9979, 2137, 225, 103, 97}, {7, 12, 13225, 8603, 196, 109, 149},
                 {8, 10, 851, 9015, 159, 203, 85}});
}

TEST(KaleMap, EveryEntryLiesInsideThePicture) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{1, 7}, std::pair{13, 9},
                             std::pair{64, 3}})
    for (const KaleParameters& p :
         {DefaultKaleParameters(w, h), Params(w, h, 1, 0, 0, 0, 0, 0, 0, 1),
          Params(w, h, 7, w - 1, h - 1, -2.75, 3e7, 359, 358, 0),
          Params(w, h, 0, -4.5, h + 3.0, 0, 0, -1e300, 45, 1),  // N = 0 counts as 1
          Params(w, h, -9, 1e300, -1e300, 0, 0, 45, 45, 1),
          Params(w, h, 5000000, nan, 2, inf, -inf, nan, inf, 1)}) {
      const auto map = Map(w, h, p);
      for (size_t n = 0; n < map.size(); ++n)
        ASSERT_TRUE(map[n].column >= 0 && map[n].column < w * 1024 && map[n].row >= 0 &&
                    map[n].row < h * 1024)
            << w << "x" << h << " N " << p.segments << " entry " << n;
    }
}

TEST(KaleMap, RefusesUnworkableSizes) {
  EXPECT_TRUE(KaleSizeWorkable(1, 1));
  EXPECT_TRUE(KaleSizeWorkable(kKaleMaxSide, 1));
  KaleEntry entry{-1, -1};
  for (const auto& [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, -3},
                             std::pair{kKaleMaxSide + 1, 1}, std::pair{1, 1 << 30}}) {
    EXPECT_FALSE(KaleSizeWorkable(w, h)) << w << "x" << h;
    EXPECT_FALSE(BuildKaleMap(w, h, DefaultKaleParameters(w, h), &entry));
  }
  EXPECT_EQ(entry.column, -1);
  // A stride too short for the width draws nothing.
  PatternPicture texture(4, 2), out(4, 2, false);
  const std::vector<KaleEntry> map(8);
  DrawKaleFrame(texture.bytes.data(), out.bytes.data(), 4, 2, 11, map.data(), 0, 0);
  EXPECT_EQ(out.bytes, std::vector<uint8_t>(out.bytes.size(), 0));
}

TEST(KaleMap, OneSegmentIsAHalfTurnAndItsMirrorImage) {
  // With no turn the upper half-plane (dy > 0) shows itself; below the
  // axis the mirror flag reflects it across the axis, without the flag the
  // half-turn repeats, a point reflection through the centre.
  for (int mirror : {1, 0}) {
    const auto map = Map(11, 11, Params(11, 11, 1, 5, 5, 0, 0, 0, 0, mirror));
    for (int i = 0; i < 11; ++i)
      for (int j = 0; j < 11; ++j) {
        if (i == 5) continue;  // on the segment border
        const int x = i > 5 || mirror ? j : 10 - j, y = i > 5 ? i : 10 - i;
        const KaleEntry& e = map[size_t(i * 11 + j)];
        // Within a rounding step of the whole pixel, either side of it.
        const auto near = [](int32_t v, int whole, int size) {
          const int d = std::abs(v - whole * 1024);
          return d <= 1 || size * 1024 - d <= 1;
        };
        EXPECT_TRUE(near(e.column, x, 11)) << mirror << " at " << j << "," << i << ": " << e.column;
        EXPECT_TRUE(near(e.row, y, 11)) << mirror << " at " << j << "," << i << ": " << e.row;
      }
  }
}

TEST(KaleFrame, WholePixelEntriesAreADirectLookup) {
  // Entries on whole pixels, some outside the texture, show exactly the
  // texel at (entry + offset) reduced into the texture.
  const auto mod = [](int v, int m) { return (v % m + m) % m; };
  PatternPicture texture(5, 3), out(5, 3, false);
  std::vector<KaleEntry> map(15);
  for (int n = 0; n < 15; ++n)
    map[size_t(n)] = {int32_t((n * 7 % 5 - 5 * (n % 3)) * 1024), int32_t((n % 4 - 4) * 1024)};
  for (const auto& [ox, oy] : {std::pair{0, 0}, std::pair{3, -1}, std::pair{-12, 7}}) {
    DrawKaleFrame(texture.bytes.data(), out.bytes.data(), 5, 3, texture.stride, map.data(), ox, oy);
    for (int n = 0; n < 15; ++n) {
      const int x = mod((map[size_t(n)].column >> 10) + ox, 5);
      const int y = mod((map[size_t(n)].row >> 10) + oy, 3);
      EXPECT_EQ(0, std::memcmp(out.At(n % 5, n / 5), texture.At(x, y), 3)) << n << " " << ox;
    }
  }
  // The last column and row blend with themselves rather than read past
  // the picture; a 1 x 1 picture is one uniform pixel whatever the entry.
  map[0] = {4 * 1024 + 1023, 2 * 1024 + 1023};
  DrawKaleFrame(texture.bytes.data(), out.bytes.data(), 5, 3, texture.stride, map.data(), 0, 0);
  EXPECT_EQ(0, std::memcmp(out.At(0, 0), texture.At(4, 2), 3));
  PatternPicture one(1, 1), oneOut(1, 1, false);
  const KaleEntry any{-5000, 777};
  DrawKaleFrame(one.bytes.data(), oneOut.bytes.data(), 1, 1, one.stride, &any, 9, -4);
  EXPECT_EQ(0, std::memcmp(oneOut.At(0, 0), one.At(0, 0), 3));
}

// Little-endian block bytes built by hand.
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void PutDouble(std::vector<uint8_t>& b, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  Put32(b, uint32_t(bits));
  Put32(b, uint32_t(bits >> 32));
}
std::vector<uint8_t> KaleBlock(uint32_t magic, uint32_t size, int n, double cx, double cy, int m) {
  std::vector<uint8_t> b;
  Put32(b, magic), Put32(b, size), Put32(b, uint32_t(n)), PutDouble(b, cx), PutDouble(b, cy);
  Put32(b, uint32_t(m));
  return b;
}

TEST(KaleBlob, RoundTripsAndRefusesOrClampsForeignBlocks) {
  KaleParameters p = Params(13, 9, 17, 3.5, 8, 0, 0, 1, 2, 0);
  const std::vector<uint8_t> block = WriteKaleBlob(p, 13, 9);
  EXPECT_EQ(block, KaleBlock(kKaleBlobMagic, 32, 17, 3.5, 8, 0));
  KaleParameters back = DefaultKaleParameters(13, 9);
  ASSERT_TRUE(ReadKaleBlob(block.data(), block.size(), 13, 9, back));
  EXPECT_TRUE(back.segments == 17 && back.centreX == 3.5 && back.centreY == 8.0 && !back.mirror);
  EXPECT_EQ(back.angle1, kKaleDefaultAngle);  // not in the block

  KaleParameters untouched = DefaultKaleParameters(13, 9);
  for (const std::vector<uint8_t>& bad :
       {KaleBlock(kKaleBlobMagic + 1, 32, 5, 1, 1, 1), KaleBlock(kKaleBlobMagic, 36, 5, 1, 1, 1),
        KaleBlock(kIllusionBlobMagic, 32, 5, 1, 1, 1)})
    EXPECT_FALSE(ReadKaleBlob(bad.data(), bad.size(), 13, 9, untouched));
  EXPECT_FALSE(ReadKaleBlob(block.data(), 31, 13, 9, untouched));
  EXPECT_FALSE(ReadKaleBlob(nullptr, 32, 13, 9, untouched));
  EXPECT_EQ(untouched.segments, kKaleDefaultSegments);
  EXPECT_EQ(untouched.centreX, 6.0);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Clamp {  // block values, then the values read
    int n;
    double cx, cy;
    int m, wantN;
    double wantX, wantY;
    int wantM;
  };
  for (const Clamp& c : {Clamp{0, nan, inf, 7, 1, 6, 4, 1}, Clamp{51, -5, 1e300, -2, 50, 0, 8, 0},
                         Clamp{-2147483647 - 1, -inf, 2.25, 1, 1, 6, 2.25, 1}}) {
    const auto b = KaleBlock(kKaleBlobMagic, 32, c.n, c.cx, c.cy, c.m);
    KaleParameters q;
    ASSERT_TRUE(ReadKaleBlob(b.data(), b.size(), 13, 9, q));
    EXPECT_EQ(q.segments, c.wantN);
    EXPECT_EQ(q.centreX, c.wantX);
    EXPECT_EQ(q.centreY, c.wantY);
    EXPECT_EQ(q.mirror, c.wantM);
  }
}

std::vector<uint8_t> IllusionBlock(uint32_t magic, uint32_t size, int sx, int sy, int n) {
  std::vector<uint8_t> b;
  Put32(b, magic), Put32(b, size), Put32(b, uint32_t(sx)), Put32(b, uint32_t(sy));
  Put32(b, uint32_t(n));
  return b;
}

TEST(IllusionBlob, RoundTripsAndRefusesOrClampsForeignBlocks) {
  const std::vector<uint8_t> block = WriteIllusionBlob({62, 2, 12}, 64, 48);
  EXPECT_EQ(block, IllusionBlock(kIllusionBlobMagic, 20, 62, 2, 12));
  IllusionSettings s;
  ASSERT_TRUE(ReadIllusionBlob(block.data(), block.size(), 64, 48, s));
  EXPECT_TRUE(s.speedX == 62 && s.speedY == 2 && s.sectors == 12);

  IllusionSettings untouched;
  for (const auto& bad : {IllusionBlock(kIllusionBlobMagic, 24, 1, 1, 1),
                          IllusionBlock(kKaleBlobMagic, 20, 1, 1, 1)})
    EXPECT_FALSE(ReadIllusionBlob(bad.data(), bad.size(), 64, 48, untouched));
  EXPECT_FALSE(ReadIllusionBlob(block.data(), 19, 64, 48, untouched));
  EXPECT_EQ(untouched.sectors, kIllusionDefaultSectors);

  // Sectors 1 .. 100; speeds 0 .. max(size - 1, 15).
  const auto low = IllusionBlock(kIllusionBlobMagic, 20, -3, 99999, 0);
  ASSERT_TRUE(ReadIllusionBlob(low.data(), low.size(), 64, 8, s));
  EXPECT_TRUE(s.speedX == 0 && s.speedY == 15 && s.sectors == 1);
  const auto high = IllusionBlock(kIllusionBlobMagic, 20, 70, 99999, 101);
  ASSERT_TRUE(ReadIllusionBlob(high.data(), high.size(), 64, 800, s));
  EXPECT_TRUE(s.speedX == 63 && s.speedY == 799 && s.sectors == 100);
}

}  // namespace
