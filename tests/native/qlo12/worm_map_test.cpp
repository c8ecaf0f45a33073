// The worm: grid cells and map entries against the tube worked out
// independently, and every entry inside the picture whatever its size.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "plugins/qlo12/kernels/worm_map.h"

namespace {

using quillo::animation::MapEntry;
using quillo::qlo12::BuildWormGrid;
using quillo::qlo12::BuildWormMap;
using quillo::qlo12::kWormGridHeight;
using quillo::qlo12::kWormGridWidth;
using quillo::qlo12::WormCell;

const std::vector<WormCell>& Grid() {
  static const std::vector<WormCell> grid = [] {
    std::vector<WormCell> g(size_t(kWormGridWidth) * kWormGridHeight, WormCell{-1, -1});
    BuildWormGrid(g.data());
    return g;
  }();
  return grid;
}

std::vector<MapEntry> Map(int width, int height) {
  std::vector<MapEntry> map(size_t(width) * size_t(height), MapEntry{-1, -1});
  BuildWormMap(Grid().data(), width, height, map.data());
  return map;
}

TEST(WormGrid, CellsHoldTheNearestPointOfTheTube) {
  struct Cell {
    int x, y;
    double column, row;
  };
  const Cell cells[] = {{0, 0, 392.9025092205284, 0.7137573024143006},
                        {373, 15, 500.00147765613593, 35.49220836535677},
                        {106, 31, 406.91729754887416, 20.20076865353536},
                        {212, 62, 433.4626712564234, 47.771126298530724},
                        {318, 93, 479.0275486060198, 75.1342947445057},
                        {424, 124, 538.636861829025, 77.97251451337571},
                        {263, 171, 438.1826948098401, 126.6449283430569}};
  for (const Cell& c : cells) {
    const WormCell& g = Grid()[size_t(c.y) * kWormGridWidth + size_t(c.x)];
    EXPECT_NEAR(g.column, c.column, 1e-9) << c.x << "," << c.y;
    EXPECT_NEAR(g.row, c.row, 1e-9) << c.x << "," << c.y;
  }
  // The tube covers the whole grid, and every value is inside its space.
  for (const WormCell& g : Grid()) {
    ASSERT_GT(g.column + g.row, 0);
    ASSERT_LE(g.column, 640.0 + 1e-9);
    ASSERT_LE(g.row, 480.0 + 1e-9);
  }
}

TEST(WormMap, SampleEntriesAndRangeForAnySize) {
  struct Sample {
    int i, j, column, row;
  };
  const Sample at640[] = {{0, 5, 393, 478},   {48, 6, 382, 472},  {96, 7, 370, 466},
                          {192, 9, 338, 457}, {288, 11, 302, 456}, {432, 14, 255, 471}};
  const Sample at37[] = {{0, 5, 23, 22}, {2, 17, 27, 20}, {9, 16, 25, 15}, {16, 15, 21, 7}, {21, 2, 14, 22}};
  const std::vector<MapEntry> big = Map(640, 480), small = Map(37, 23);
  for (const Sample& s : at640) {
    EXPECT_EQ(big[size_t(s.i) * 640 + size_t(s.j)].column, s.column) << s.j << "," << s.i;
    EXPECT_EQ(big[size_t(s.i) * 640 + size_t(s.j)].row, s.row) << s.j << "," << s.i;
  }
  for (const Sample& s : at37) {
    EXPECT_EQ(small[size_t(s.i) * 37 + size_t(s.j)].column, s.column) << s.j << "," << s.i;
    EXPECT_EQ(small[size_t(s.i) * 37 + size_t(s.j)].row, s.row) << s.j << "," << s.i;
  }
  for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 3}, std::pair{639, 479}, std::pair{641, 481},
                             std::pair{1281, 7}}) {
    const std::vector<MapEntry> map = Map(w, h);
    for (size_t n = 0; n < map.size(); ++n) {
      ASSERT_GE(map[n].column, 0) << w << "x" << h << " entry " << n;
      ASSERT_LT(map[n].column, w) << w << "x" << h << " entry " << n;
      ASSERT_GE(map[n].row, 0) << w << "x" << h << " entry " << n;
      ASSERT_LT(map[n].row, h) << w << "x" << h << " entry " << n;
    }
  }
}

}  // namespace
