// The tunnel map: sample entries against the rays worked out independently,
// every entry inside the picture for odd and tiny sizes in every mode, and
// the plane's middle row where the ray runs parallel to the floor.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "plugins/qlo12/kernels/tunnel_map.h"

namespace {

using quillo::animation::MapEntry;
using quillo::qlo12::BuildTunnelMap;

std::vector<MapEntry> Map(int width, int height, int mode) {
  std::vector<MapEntry> map(size_t(width) * size_t(height), MapEntry{-1, -1});
  BuildTunnelMap(width, height, mode, map.data());
  return map;
}

TEST(TunnelMap, SampleEntriesMatchTheRays) {
  // mode, memory row, column, texture column, texture row for a 37 x 23
  // picture; entries whose values lie near a whole number are left out, so
  // a last-bit difference of a maths library cannot move them.
  struct Sample {
    int mode, i, j, column, row;
  };
  const Sample samples[] = {
      {0, 0, 0, 7, 21},
      {0, 2, 23, 10, 10},
      {0, 5, 9, 15, 21},
      {0, 7, 32, 34, 0},
      {0, 10, 18, 26, 18},
      {0, 13, 4, 7, 18},
      {0, 15, 27, 34, 8},
      {0, 18, 13, 10, 17},
      {0, 20, 36, 15, 8},
      {1, 0, 7, 34, 2},
      {1, 2, 30, 35, 0},
      {1, 5, 16, 30, 18},
      {1, 8, 2, 2, 1},
      {1, 10, 25, 0, 3},
      {1, 13, 11, 3, 18},
      {1, 15, 34, 8, 1},
      {1, 18, 20, 13, 9},
      {1, 21, 6, 16, 20},
      {2, 0, 14, 10, 21},
      {2, 3, 0, 24, 5},
      {2, 5, 23, 20, 15},
      {2, 10, 32, 31, 0},
      {2, 13, 18, 9, 0},
      {2, 16, 4, 16, 7},
      {2, 18, 27, 0, 15},
      {2, 21, 13, 16, 2},
  };
  std::vector<MapEntry> maps[3] = {Map(37, 23, 0), Map(37, 23, 1), Map(37, 23, 2)};
  for (const Sample& s : samples) {
    const MapEntry& e = maps[s.mode][size_t(s.i) * 37 + size_t(s.j)];
    EXPECT_EQ(e.column, s.column) << "mode " << s.mode << " at " << s.j << "," << s.i;
    EXPECT_EQ(e.row, s.row) << "mode " << s.mode << " at " << s.j << "," << s.i;
  }
}

TEST(TunnelMap, EveryEntryLiesInsideThePicture) {
  for (int mode : {0, 1, 2, 7})
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 1}, std::pair{1, 2}, std::pair{3, 5},
                               std::pair{37, 23}, std::pair{320, 200}, std::pair{641, 3}}) {
      const std::vector<MapEntry> map = Map(w, h, mode);
      for (size_t n = 0; n < map.size(); ++n) {
        ASSERT_GE(map[n].column, 0) << mode << " " << w << "x" << h << " entry " << n;
        ASSERT_LT(map[n].column, w) << mode << " " << w << "x" << h << " entry " << n;
        ASSERT_GE(map[n].row, 0) << mode << " " << w << "x" << h << " entry " << n;
        ASSERT_LT(map[n].row, h) << mode << " " << w << "x" << h << " entry " << n;
      }
    }
  // A 1 x 1 picture maps everything to its only pixel.
  for (int mode : {0, 1, 2}) {
    EXPECT_EQ(Map(1, 1, mode)[0].column, 0);
    EXPECT_EQ(Map(1, 1, mode)[0].row, 0);
  }
  // An unknown mode is the cylinder.
  const std::vector<MapEntry> seven = Map(37, 23, 7), zero = Map(37, 23, 0);
  for (size_t n = 0; n < seven.size(); ++n) {
    ASSERT_EQ(seven[n].column, zero[n].column);
    ASSERT_EQ(seven[n].row, zero[n].row);
  }
}

TEST(TunnelMap, ThePlanesMiddleRowCountsAsZero) {
  // 200 rows step the virtual screen by exactly 1: memory row 100 is the
  // screen's middle, where the ray never meets the floor or the ceiling.
  const std::vector<MapEntry> map = Map(64, 200, 2);
  for (int j = 0; j < 64; ++j) {
    EXPECT_EQ(map[100 * 64 + size_t(j)].column, 0) << j;
    EXPECT_EQ(map[100 * 64 + size_t(j)].row, 0) << j;
  }
  // Its neighbours see the plane far away, not zero everywhere.
  int moved = 0;
  for (int j = 0; j < 64; ++j) moved += map[99 * 64 + size_t(j)].column != 0;
  EXPECT_GT(moved, 0);
}

}  // namespace
