// The illusion: sample entries and frame bytes against values worked out
// independently, the centre and corner pixels, every entry inside the
// picture for any size and sector count, and frames of hand-made maps.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "pattern_picture.h"
#include "plugins/qlo12/kernels/illusion.h"

namespace {

using quillo::qlo12::BuildIllusionMap;
using quillo::qlo12::DrawIllusionFrame;
using quillo::qlo12::IllusionEntry;
using quillo::qlo12::IllusionSizeWorkable;

std::vector<IllusionEntry> Map(int w, int h, int sectors) {
  std::vector<IllusionEntry> map(size_t(w) * size_t(h), IllusionEntry{-1, -1, -1});
  EXPECT_TRUE(BuildIllusionMap(w, h, sectors, map.data()));
  return map;
}

// Memory row, column, the entry, and the frame's bytes at that pixel.
struct Sample {
  int i, j, column, row, weight, b, g, r;
};

void ExpectSamples(int w, int h, int sectors, int64_t ox, int64_t oy,
                   std::initializer_list<Sample> samples) {
  const auto map = Map(w, h, sectors);
  PatternPicture texture(w, h), out(w, h, false);
  DrawIllusionFrame(texture.bytes.data(), out.bytes.data(), w, h, texture.stride, map.data(), ox,
                    oy);
  for (const Sample& s : samples) {
    const IllusionEntry& e = map[size_t(s.i * w + s.j)];
    const uint8_t* px = out.At(s.j, s.i);
    EXPECT_EQ(e.column, s.column) << w << "x" << h << " at " << s.j << "," << s.i;
    EXPECT_EQ(e.row, s.row) << w << "x" << h << " at " << s.j << "," << s.i;
    EXPECT_EQ(e.weight, s.weight) << w << "x" << h << " at " << s.j << "," << s.i;
    EXPECT_EQ(px[0] << 16 | px[1] << 8 | px[2], s.b << 16 | s.g << 8 | s.r)
        << w << "x" << h << " offset " << ox << " at " << s.j << "," << s.i;
  }
}

TEST(IllusionMap, SampleEntriesAndFramesMatchTheReference) {
  // An even picture: the first frame, then offsets (4, 2) and (-8, 34), the
  // same shift of the texture; then an odd picture with four sectors.
  ExpectSamples(12, 8, 7, 0, 0,
                {{0, 1, 2, 2, 909, 40, 93, 146},
                 {1, 9, 7, 2, 602, 122, 69, 122},
                 {3, 10, 8, 4, 585, 113, 166, 219},
                 {6, 7, 7, 4, 317, 78, 131, 184},
                 {7, 11, 9, 6, 828, 208, 54, 107},
                 {5, 8, 6, 4, 317, 90, 64, 117}});
  for (const auto& [ox, oy] : {std::pair{4, 2}, std::pair{-8, 34}})
    ExpectSamples(12, 8, 7, ox, oy,
                  {{0, 1, 2, 2, 909, 229, 55, 108},
                   {1, 9, 7, 2, 602, 138, 86, 139},
                   {3, 10, 8, 4, 585, 66, 119, 172},
                   {6, 7, 7, 4, 317, 104, 157, 210},
                   {7, 11, 9, 6, 828, 49, 102, 155},
                   {5, 8, 6, 4, 317, 33, 86, 139}});
  ExpectSamples(11, 7, 4, 3, 6,
                {{0, 1, 3, 2, 785, 95, 148, 201},
                 {1, 9, 7, 3, 702, 207, 179, 57},
                 {2, 3, 5, 4, 351, 140, 105, 158},
                 {5, 2, 4, 3, 566, 64, 117, 170},
                 {4, 6, 4, 2, 222, 231, 84, 81},
                 {6, 10, 8, 4, 915, 32, 85, 138},
                 {5, 0, 2, 3, 845, 195, 203, 45}});
}

TEST(IllusionMap, CornerShowsOnlyTheCopyAndCentreOnlyThePicture) {
  // Memory pixel (0, 0) of an even picture lies half a diagonal from the
  // centre: weight exactly 1024, whatever the rounding of the division.
  for (const auto& [w, h] : {std::pair{2, 2}, std::pair{12, 8}, std::pair{100, 2},
                             std::pair{640, 480}, std::pair{34, 18}}) {
    const auto map = Map(w, h, 7);
    const IllusionEntry& corner = map[0];
    const IllusionEntry& centre = map[size_t((h / 2) * w + w / 2)];
    EXPECT_EQ(corner.weight, 1024) << w << "x" << h;
    EXPECT_EQ(centre.weight, 0) << w << "x" << h;
    PatternPicture texture(w, h), out(w, h, false);
    DrawIllusionFrame(texture.bytes.data(), out.bytes.data(), w, h, texture.stride, map.data(), 5,
                      3);
    EXPECT_EQ(
        0, std::memcmp(out.At(0, 0), texture.At((corner.column + 5) % w, (corner.row + 3) % h), 3));
    EXPECT_EQ(0, std::memcmp(out.At(w / 2, h / 2), texture.At(w / 2, h / 2), 3));
  }
}

TEST(IllusionMap, EveryEntryLiesInsideThePicture) {
  for (const auto& [w, h] :
       {std::pair{1, 1}, std::pair{2, 2}, std::pair{1, 6}, std::pair{11, 7}, std::pair{301, 3}})
    for (int sectors : {1, 7, 100, 0, -3, 1 << 30}) {  // 0 and below count as 1
      const auto map = Map(w, h, sectors);
      for (size_t n = 0; n < map.size(); ++n) {
        const IllusionEntry& e = map[n];
        ASSERT_TRUE(e.column >= 0 && e.column < w && e.row >= 0 && e.row < h)
            << w << "x" << h << " N " << sectors << " entry " << n;
        ASSERT_TRUE(e.weight >= 0 && e.weight <= 1024) << w << "x" << h << " entry " << n;
      }
    }
  EXPECT_EQ(Map(5, 5, 0)[3].column, Map(5, 5, 1)[3].column);
  EXPECT_EQ(Map(1, 1, 7)[0].weight, 0);
}

TEST(IllusionMap, RefusesUnworkableSizes) {
  EXPECT_TRUE(IllusionSizeWorkable(1, 1));
  EXPECT_TRUE(IllusionSizeWorkable(32767, 2));
  IllusionEntry entry{-1, -1, -1};
  for (const auto& [w, h] : {std::pair{0, 1}, std::pair{1, -1}, std::pair{32768, 2}}) {
    EXPECT_FALSE(IllusionSizeWorkable(w, h));
    EXPECT_FALSE(BuildIllusionMap(w, h, 7, &entry));
  }
  EXPECT_EQ(entry.weight, -1);
}

TEST(IllusionFrame, HandMadeMapsBlendThePictureWithItsShiftedCopy) {
  // Full weight shows the copy at (entry + offset) reduced into the
  // picture, even for entries outside it; zero weight leaves the pixel;
  // weights beyond 0 .. 1024 count as their nearest end.
  const auto mod = [](int v, int m) { return (v % m + m) % m; };
  PatternPicture texture(6, 4), out(6, 4, false);
  const int16_t weights[3] = {5000, 1024, -7};
  std::vector<IllusionEntry> map(24);
  for (int n = 0; n < 24; ++n)
    map[size_t(n)] = {int16_t(n * 5 - 40), int16_t(n % 7 - 2), weights[n % 3]};
  for (const auto& [ox, oy] : {std::pair{0, 0}, std::pair{7, -3}}) {
    DrawIllusionFrame(texture.bytes.data(), out.bytes.data(), 6, 4, texture.stride, map.data(), ox,
                      oy);
    for (int n = 0; n < 24; ++n) {
      const int x = n % 6, y = n / 6;
      const uint8_t* want =
          map[size_t(n)].weight < 0
              ? texture.At(x, y)
              : texture.At(mod(map[size_t(n)].column + ox, 6), mod(map[size_t(n)].row + oy, 4));
      EXPECT_EQ(0, std::memcmp(out.At(x, y), want, 3)) << n << " offset " << ox;
    }
  }
  // Half weight: the integer mean rounded down, byte by byte.
  const IllusionEntry half{1, 0, 512};
  PatternPicture two(2, 1), twoOut(2, 1, false);
  const IllusionEntry pair[2] = {half, half};
  DrawIllusionFrame(two.bytes.data(), twoOut.bytes.data(), 2, 1, two.stride, pair, 0, 0);
  for (int c = 0; c < 3; ++c)
    EXPECT_EQ(twoOut.At(0, 0)[c], (two.At(0, 0)[c] + two.At(1, 0)[c]) / 2) << c;
}

}  // namespace
