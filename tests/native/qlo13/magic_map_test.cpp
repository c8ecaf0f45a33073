// The magic patterns' maps: every entry inside the picture for every
// pattern, size and setting (the divisions by the centre's angle and the
// half-diagonal included), and values worked out by hand at known pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "plugins/qlo13/kernels/disco.h"
#include "plugins/qlo13/kernels/magic_map.h"

namespace quillo::qlo13 {
namespace {

using animation::MapEntry;

std::vector<MapEntry> Map(const MagicSettings& s, int w, int h) {
  std::vector<MapEntry> map(size_t(w) * h, MapEntry{-1, -1});
  BuildMagicMap(s, w, h, map.data());
  return map;
}

TEST(MagicMap, EveryPatternStaysInsideOddTinyAndOneRowPictures) {
  // One row high: the centre's angle is 0, the remainder of patterns 4 and
  // 5 by it must be skipped, not divide by zero. One pixel: R is 0 too.
  const int sizes[][2] = {{1, 1}, {1, 5}, {7, 1}, {2, 3}, {3, 2}, {33, 17}, {64, 48}};
  for (int mode = 0; mode < kMagicModes; ++mode) {
    const MagicModeRow& row = kMagicModeTable[mode];
    const MagicSettings lowest{mode, row.low[0], row.low[1], row.low[2]};
    const MagicSettings highest{mode, row.high[0], row.high[1], row.high[2]};
    const MagicSettings usual{mode, row.defaults[0], row.defaults[1], row.defaults[2]};
    for (const MagicSettings& s : {lowest, highest, usual})
      for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        const std::vector<MapEntry> map = Map(s, w, h);
        for (size_t n = 0; n < map.size(); ++n) {
          ASSERT_GE(map[n].column, 0) << "mode " << mode << " " << w << "x" << h << " entry " << n;
          ASSERT_LT(map[n].column, w) << "mode " << mode << " " << w << "x" << h << " entry " << n;
          ASSERT_GE(map[n].row, 0) << "mode " << mode << " " << w << "x" << h << " entry " << n;
          ASSERT_LT(map[n].row, h) << "mode " << mode << " " << w << "x" << h << " entry " << n;
        }
      }
  }
}

TEST(MagicMap, HandWorkedPixelsOfASixHundredFortyByFourHundredEightyPicture) {
  // 640 x 480: centre (320, 240), R = 400.
  const int w = 640, h = 480;
  // At the centre Ang is 0 and d is 0.
  EXPECT_EQ(MagicPatternAt({0, 3, 2, 0}, w, h, 240, 320).u, 768 % 640);
  EXPECT_EQ(MagicPatternAt({0, 3, 2, 0}, w, h, 240, 320).v, 479);
  EXPECT_EQ(MagicPatternAt({3, 3, 4, 0}, w, h, 240, 320).u, 320);
  EXPECT_EQ(MagicPatternAt({3, 3, 4, 0}, w, h, 240, 320).v, 479 - 240);
  // Pattern 7: c = trunc(sqrt(400)) x 3 x 50 / 255 = 11, q = 1: radius 11 at angle 0.
  EXPECT_EQ(MagicPatternAt({7, 3, 4, 0}, w, h, 240, 320).u, 320 - 11);
  EXPECT_EQ(MagicPatternAt({7, 3, 4, 0}, w, h, 240, 320).v, 239);
  // Pattern 10 at the centre divides 0 by sq(0) = 1.
  EXPECT_EQ(MagicPatternAt({10, 3, 4, 0}, w, h, 240, 320).u, 0);
  EXPECT_EQ(MagicPatternAt({10, 3, 4, 0}, w, h, 240, 320).v, 479);
  // Pattern 2 one row above and at the middle row: e = Ang + 256 above,
  // Ang - 256 from the middle on. Straight right of the centre Ang is 0.
  // Above it, at (dx, dy) = (80, -1), Ang = trunc(256 x 0.6366 x atan(80)) - 256 = -3.
  EXPECT_EQ(MagicPatternAt({2, 1, 2, 0}, w, h, 239, 400).u, 253);
  EXPECT_EQ(MagicPatternAt({2, 1, 2, 0}, w, h, 240, 400).u, 256);
  EXPECT_EQ(MagicPatternAt({2, 1, 2, 0}, w, h, 240, 400).v, 480 % 480);
  // Pattern 1 with S1 = 0: one column stretched over the picture.
  for (int i = 0; i < h; i += 37)
    for (int j = 0; j < w; j += 41) EXPECT_EQ(MagicPatternAt({1, 0, 2, 0}, w, h, i, j).u, 0);
  // Pattern 1 takes d x S1 in 16 bits: d = 400 (a corner, dx = -320, dy =
  // -240) times 10 is 4000, well inside; the product wraps only beyond
  // 32767, which no map entry reaches anyway.
  EXPECT_EQ(MagicPatternAt({1, 10, 2, 0}, w, h, 0, 0).u, 4000 % 640);
}

TEST(MagicMap, PatternSixSamplesTheFirstTexelOnItsRing) {
  // k = W S1 / 255 = 640 x 3 / 255 = 7: where d = 7, g = 1 and both
  // coordinates are 0 whatever S2 is.
  const int w = 640, h = 480;
  for (int s2 : {1, 5, 10}) {
    const MagicTexel t = MagicPatternAt({6, 3, s2, 0}, w, h, 240, 327);
    EXPECT_EQ(t.u, 0);
    EXPECT_EQ(t.v, 0);
  }
  // Off the ring the remainders by d - k show.
  EXPECT_NE(MagicPatternAt({6, 3, 2, 0}, w, h, 240, 340).u + MagicPatternAt({6, 3, 2, 0}, w, h, 240, 340).v, 0);
}

TEST(MagicMap, PatternNineFoldsAngleIntoSixteenUnitTeethAtTheLowestSetting) {
  // S1 = 0: f = 2^((1143 / 255) and 31) = 16. g depends on the angle only
  // through a triangle of period 32, so points on one circle whose angles
  // differ by 32 units map to the same texel.
  const int w = 640, h = 480;
  const MagicSettings s{9, 0, 64, 0};
  // Every pixel at distance 100 from the centre, by its angle.
  std::map<int, MagicTexel> onRing;
  for (int i = 0; i < h; ++i)
    for (int j = 0; j < w; ++j) {
      const int dx = j - 320, dy = i - 240;
      if (int(std::sqrt(double(dx * dx + dy * dy))) != 100) continue;
      onRing[DiscoAngle(dx, dy)] = MagicPatternAt(s, w, h, i, j);
    }
  int pairs = 0;
  for (const auto& [angle, texel] : onRing) {
    auto other = onRing.find(angle + 32);
    if (other == onRing.end()) continue;
    ++pairs;
    EXPECT_EQ(texel.u, other->second.u) << "angles " << angle << " and " << angle + 32;
    EXPECT_EQ(texel.v, other->second.v) << "angles " << angle << " and " << angle + 32;
  }
  EXPECT_GT(pairs, 20);
  // One unit off the period the texel changes somewhere on the ring.
  int differ = 0;
  for (const auto& [angle, texel] : onRing) {
    auto other = onRing.find(angle + 8);
    if (other != onRing.end() && (texel.u != other->second.u || texel.v != other->second.v)) ++differ;
  }
  EXPECT_GT(differ, 0);
}

TEST(MagicMap, UnknownModeCountsAsTheOpeningPatternAndHugeSizesWriteNothing) {
  const std::vector<MapEntry> opening = Map({2, 3, 2, 0}, 20, 10);
  const std::vector<MapEntry> unknown = Map({42, 3, 2, 0}, 20, 10);
  for (size_t n = 0; n < opening.size(); ++n) {
    EXPECT_EQ(opening[n].column, unknown[n].column);
    EXPECT_EQ(opening[n].row, unknown[n].row);
  }
  std::vector<MapEntry> untouched(4, MapEntry{-1, -1});
  BuildMagicMap({2, 3, 2, 0}, 40000, 1, untouched.data());
  BuildMagicMap({2, 3, 2, 0}, 0, 5, untouched.data());
  for (const MapEntry& e : untouched) EXPECT_EQ(e.column, -1);
}

}  // namespace
}  // namespace quillo::qlo13
