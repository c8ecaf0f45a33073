// The picture puzzles' boards: the slide rule, both shuffles (their draws,
// solvability by the empty cell's parity and by breadth-first search), the
// solved test, sides rounded up to multiples of N, tiles cut and drawn back,
// and drawing that never leaves the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <numeric>
#include <string>
#include <unordered_map>
#include <vector>

#include "plugins/qlo15/kernels/puzzle.h"

namespace {

using namespace quillo;
using namespace quillo::qlo15;

struct CRand {
  uint32_t s;
  int operator()() {
    s = s * 214013u + 2531011u;
    return int((s >> 16) & 0x7FFF);
  }
};

PuzzleBoard Board(int n, std::vector<int32_t> cells) {
  PuzzleBoard b;
  b.n = n;
  b.cells = std::move(cells);
  return b;
}

// Parity of the permutation the cells hold (values 1 ... n x n).
int PermutationParity(const PuzzleBoard& b) {
  std::vector<int32_t> p = b.cells;
  int swaps = 0;
  for (size_t i = 0; i < p.size(); ++i)
    while (p[i] != int32_t(i + 1)) {
      std::swap(p[i], p[size_t(p[i] - 1)]);
      ++swaps;
    }
  return swaps & 1;
}

bool IsPermutation(const PuzzleBoard& b) {
  std::vector<int32_t> sorted = b.cells;
  std::sort(sorted.begin(), sorted.end());
  for (size_t i = 0; i < sorted.size(); ++i)
    if (sorted[i] != int32_t(i + 1)) return false;
  return true;
}

std::string Key(const PuzzleBoard& b) { return std::string(b.cells.begin(), b.cells.end()); }

// Every board reachable from the solved one by slides of one step, with its
// distance in moves.
std::unordered_map<std::string, int> ReachableBoards(int n) {
  PuzzleBoard start;
  ResetBoard(start, n);
  std::unordered_map<std::string, int> seen{{Key(start), 0}};
  std::deque<PuzzleBoard> queue{start};
  while (!queue.empty()) {
    PuzzleBoard b = queue.front();
    queue.pop_front();
    const int d = seen[Key(b)];
    int ec = 0, er = 0;
    FindEmptyCell(b, &ec, &er);
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& s : steps) {
      const int c = ec + s[0], r = er + s[1];
      if (c < 0 || r < 0 || c >= n || r >= n) continue;
      PuzzleBoard next = b;
      SlideMove(next, c, r);
      if (seen.emplace(Key(next), d + 1).second) queue.push_back(next);
    }
  }
  return seen;
}

TEST(Qlo15Puzzle, OnlyTilesOfTheEmptyCellsLineMoveOneStepTowardIt) {
  // The 4 x 4 board 1 ... 16 with the empty cell (16) at column 1, row 2.
  std::vector<int32_t> cells(16);
  std::iota(cells.begin(), cells.end(), 1);
  std::swap(cells[2 * 4 + 1], cells[15]);
  const PuzzleBoard start = Board(4, cells);
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) {
      SCOPED_TRACE(testing::Message() << col << ", " << row);
      PuzzleBoard b = start;
      const bool moved = SlideMove(b, col, row);
      const bool inLine = (col == 1) != (row == 2);
      EXPECT_EQ(moved, inLine);
      if (!inLine) {
        EXPECT_EQ(b.cells, start.cells);
        continue;
      }
      EXPECT_EQ(b.at(col, row), 16) << "the clicked cell becomes empty";
      for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
          const bool between = col == 1 ? c == 1 && std::min(row, 2) <= r && r <= std::max(row, 2)
                                        : r == 2 && std::min(col, 1) <= c && c <= std::max(col, 1);
          if (!between) {
            EXPECT_EQ(b.at(c, r), start.at(c, r)) << "outside the line: " << c << ", " << r;
          } else if (c != col || r != row) {
            // Each tile between comes from its neighbour one step nearer the click.
            const int fc = c + (col > 1) - (col < 1), fr = r + (row > 2) - (row < 2);
            EXPECT_EQ(b.at(c, r), start.at(fc, fr)) << c << ", " << r;
          }
        }
    }
  // Outside the board, or a board without an empty cell: nothing.
  PuzzleBoard b = start;
  EXPECT_FALSE(SlideMove(b, -1, 2));
  EXPECT_FALSE(SlideMove(b, 4, 2));
  PuzzleBoard none = Board(2, {1, 2, 3, 1});
  EXPECT_FALSE(SlideMove(none, 0, 0));
  EXPECT_EQ(b.cells, start.cells);
}

TEST(Qlo15Puzzle, SlidingShufflesFollowTheirDrawsAndAreAlwaysSolvable) {
  const auto reachable2 = ReachableBoards(2);
  const auto reachable3 = ReachableBoards(3);
  EXPECT_EQ(reachable2.size(), 12u);
  EXPECT_EQ(reachable3.size(), 181440u) << "half of the 9! boards";
  int solvedShuffles = 0;
  for (int n = kPuzzleMinSide; n <= kSlidingMaxSide; ++n)
    for (uint32_t seed : {1u, 7u, 1234567u, 0xFFFFFFFFu, 1700000000u}) {
      SCOPED_TRACE(testing::Message() << "n " << n << " seed " << seed);
      RuntimeRandom random(seed);
      PuzzleBoard b;
      ShuffleSliding(b, n, random);
      ASSERT_EQ(b.n, n);
      ASSERT_TRUE(IsPermutation(b));
      // The empty cell's walk: alternately a new column and a new row, each
      // drawn until it differs, 100 moves from the corner.
      CRand rand{seed};
      int col = n - 1, row = n - 1;
      for (int k = 0; k < kSlidingShuffleMoves; ++k) {
        int& v = k % 2 == 0 ? col : row;
        int d;
        do d = rand() % n;
        while (d == v);
        v = d;
      }
      EXPECT_EQ(random.state(), rand.s);
      int ec = -1, er = -1;
      ASSERT_TRUE(FindEmptyCell(b, &ec, &er));
      EXPECT_EQ(ec, col);
      EXPECT_EQ(er, row);
      // Solvable: the permutation's parity equals that of the empty cell's
      // distance from its home corner.
      EXPECT_EQ(PermutationParity(b), ((n - 1 - ec) + (n - 1 - er)) & 1);
      if (n == 2) {
        EXPECT_TRUE(reachable2.count(Key(b)));
      }
      if (n == 3) {
        ASSERT_TRUE(reachable3.count(Key(b)));
        if (reachable3.at(Key(b)) == 0) ++solvedShuffles;
      }
    }
  EXPECT_LT(solvedShuffles, 5);
}

TEST(Qlo15Puzzle, SwapShuffleDrawsTwoCellsPerSwapAndSwapsSolveIt) {
  for (int n : {2, 5, 20}) {
    RuntimeRandom random(99);
    PuzzleBoard b;
    ShuffleSwap(b, n, random);
    std::vector<int32_t> expect(size_t(n) * n);
    std::iota(expect.begin(), expect.end(), 1);
    CRand rand{99};
    for (int k = 0; k < kSwapShuffleSwaps; ++k) {
      const int a = rand() % (n * n);
      const int c = rand() % (n * n);
      std::swap(expect[size_t(a)], expect[size_t(c)]);
    }
    EXPECT_EQ(b.cells, expect) << n;
    // A player puts each cell's own tile there by one swap at most.
    int swaps = 0;
    for (int i = 0; i < n * n; ++i) {
      const auto at = std::find(b.cells.begin(), b.cells.end(), i + 1) - b.cells.begin();
      if (at != i) {
        SwapCells(b, i, int(at));
        ++swaps;
      }
    }
    EXPECT_TRUE(BoardSolved(b));
    EXPECT_LT(swaps, n * n);
  }
  PuzzleBoard b;
  ResetBoard(b, 3);
  SwapCells(b, -1, 0);
  SwapCells(b, 0, 9);
  EXPECT_TRUE(BoardSolved(b)) << "cells outside the board are not swapped";
}

TEST(Qlo15Puzzle, SolvedOnlyWhenEveryCellHoldsItsOwnIndexPlusOne) {
  PuzzleBoard b;
  ResetBoard(b, 4);
  EXPECT_TRUE(BoardSolved(b));
  SwapCells(b, 14, 15);
  EXPECT_FALSE(BoardSolved(b));
  SwapCells(b, 14, 15);
  ASSERT_TRUE(SlideMove(b, 3, 2));
  EXPECT_FALSE(BoardSolved(b));
  ASSERT_TRUE(SlideMove(b, 3, 3));
  EXPECT_TRUE(BoardSolved(b)) << "sliding back solves it";
  EXPECT_FALSE(BoardSolved(PuzzleBoard{})) << "no board";
  EXPECT_FALSE(BoardSolved(Board(3, {1, 2, 3, 4}))) << "cells missing";
}

TEST(Qlo15Puzzle, SidesRoundUpToMultiplesAndCellsAreFoundOnTheBoardOnly) {
  EXPECT_EQ(RoundUpToMultiple(5, 2), 6);
  EXPECT_EQ(RoundUpToMultiple(6, 2), 6);
  EXPECT_EQ(RoundUpToMultiple(1, 10), 10);
  EXPECT_EQ(RoundUpToMultiple(1920, 7), 1925);
  EXPECT_EQ(RoundUpToMultiple(32767, 20), 32780);
  // N = 2 on a 5 x 5 picture: a 6 x 6 board of 3 x 3 cells.
  PuzzleBoard b;
  ResetBoard(b, 2);
  int col = -1, row = -1;
  ASSERT_TRUE(CellAt(b, 3, 3, 5, 2, &col, &row));
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 0);
  EXPECT_FALSE(CellAt(b, 3, 3, 6, 0, &col, &row));
  EXPECT_FALSE(CellAt(b, 3, 3, 0, 6, &col, &row));
  EXPECT_FALSE(CellAt(b, 3, 3, -1, 0, &col, &row));
  EXPECT_FALSE(CellAt(b, 0, 3, 0, 0, &col, &row)) << "cells of no width";
  std::vector<uint8_t> tiles(7, 42);
  const std::vector<uint8_t> five(size_t(16) * 5), six(size_t(20) * 6);
  EXPECT_FALSE(CutTiles(five.data(), 5, 5, 16, 2, tiles));
  EXPECT_EQ(tiles, std::vector<uint8_t>(7, 42)) << "a refused cut keeps the tiles";
  EXPECT_TRUE(CutTiles(six.data(), 6, 6, 20, 2, tiles));
  EXPECT_EQ(tiles.size(), 4u * 3 * 3 * 3);
}

// A picture of width x height with every byte distinct enough to follow.
std::vector<uint8_t> Picture(int width, int height, int64_t stride) {
  std::vector<uint8_t> p(size_t(stride * height), 0xEE);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width * 3; ++x) p[size_t(y * stride + x)] = uint8_t(x * 7 + y * 13 + 1);
  return p;
}

TEST(Qlo15Puzzle, TilesCutAndDrawnOnTheSolvedBoardGiveThePictureBack) {
  for (int n : {2, 3, 7}) {
    const int w = n * 5, h = n * 3;
    const int64_t stride = (int64_t(w) * 24 + 31) / 32 * 4;
    const std::vector<uint8_t> source = Picture(w, h, stride);
    std::vector<uint8_t> tiles;
    ASSERT_TRUE(CutTiles(source.data(), w, h, stride, n, tiles));
    PuzzleBoard b;
    ResetBoard(b, n);
    std::vector<uint8_t> out(source.size(), 0xEE);
    DrawBoard(b, tiles, 5, 3, false, out.data(), w, h, stride);
    EXPECT_EQ(out, source) << "swap puzzle, n " << n;
    // The sliding puzzle leaves the empty cell (bottom right) black.
    std::fill(out.begin(), out.end(), 0xEE);
    DrawBoard(b, tiles, 5, 3, true, out.data(), w, h, stride);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w * 3; ++x) {
        const size_t i = size_t(int64_t(h - 1 - y) * stride + x);
        const bool empty = x / 15 == n - 1 && y / 3 == n - 1;
        ASSERT_EQ(out[i], empty ? 0 : source[i]) << n << ": " << x << ", " << y;
      }
    // A swapped pair of cells shows each other's tiles: tile 0 (top left)
    // now in the cell right of it.
    SwapCells(b, 0, 1);
    DrawBoard(b, tiles, 5, 3, false, out.data(), w, h, stride);
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(0, std::memcmp(out.data() + (h - 1 - k) * stride + 15,
                               source.data() + (h - 1 - k) * stride, 15));
  }
}

TEST(Qlo15Puzzle, DrawingNeverWritesOutsideThePictureOrReadsOutsideTheTiles) {
  // Cells 4 x 4 of a 3 x 3 board on pictures smaller than the board, with
  // guard bytes after the picture's last row; hostile cell values and too
  // short a tile buffer.
  for (const auto& [w, h] : {std::pair{1, 1}, {5, 3}, {11, 13}, {12, 12}}) {
    const int64_t stride = (int64_t(w) * 24 + 31) / 32 * 4;
    std::vector<uint8_t> buffer(size_t(stride * h) + 64, 0xAB);
    std::vector<uint8_t> tiles(size_t(9) * 4 * 4 * 3, 0x11);
    PuzzleBoard b;
    ResetBoard(b, 3);
    b.cells[0] = 0;
    b.cells[1] = -5;
    b.cells[2] = 99;
    for (const bool black : {false, true}) {
      DrawBoard(b, tiles, 4, 4, black, buffer.data(), w, h, stride);
      std::vector<uint8_t> shortTiles(tiles.begin(), tiles.begin() + 100);
      DrawBoard(b, shortTiles, 4, 4, black, buffer.data(), w, h, stride);
      DrawBoard(b, tiles, 0, 4, black, buffer.data(), w, h, stride);
      for (size_t i = size_t(stride * h); i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xAB) << w;
      for (int y = 0; y < h; ++y)
        for (int64_t x = int64_t(w) * 3; x < stride; ++x)
          ASSERT_EQ(buffer[size_t(y * stride + x)], 0xAB) << "row padding, " << w << " x " << h;
    }
  }
}

}  // namespace
