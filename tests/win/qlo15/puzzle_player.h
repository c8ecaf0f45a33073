// A player for the picture puzzles, for tests: a picture whose N x N cells
// have distinct solid colours, the board read back from the picture the
// puzzle shows (each cell's centre names its piece, black the empty cell)
// and the clicks that solve it: breadth-first search for the sliding
// puzzle, one swap per misplaced piece for the swap puzzle.
#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <unordered_map>
#include <utility>
#include <vector>

#include "win_test_support.h"

namespace quillo::test {

// Colour of piece t (blue, green, red) on a board of n per side; never black.
inline void PieceColour(int t, int n, uint8_t bgr[3]) {
  bgr[0] = uint8_t(20 + 45 * (t % n));
  bgr[1] = uint8_t(20 + 45 * (t / n));
  bgr[2] = uint8_t(200 - 7 * t);
}

// width x height with n x n cells of the piece colours (sides multiples of n).
inline HGLOBAL MakeCellPicture(int width, int height, int n) {
  return MakeDib24(width, height, [=](int x, int y, uint8_t bgr[3]) {
    PieceColour((y / (height / n)) * n + x / (width / n), n, bgr);
  });
}

// The board the picture shows: cell values 1 ... n x n (n x n for black).
inline std::vector<int> ReadBoard(HGLOBAL picture, int n, int width, int height) {
  std::vector<int> cells;
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) {
      uint8_t p[3];
      DibPixel(picture, c * (width / n) + width / n / 2, r * (height / n) + height / n / 2, p);
      int best = n * n, bestDistance = p[0] * p[0] + p[1] * p[1] + p[2] * p[2];
      for (int t = 0; t < n * n; ++t) {
        uint8_t q[3];
        PieceColour(t, n, q);
        const int d = (p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) + (p[2] - q[2]) * (p[2] - q[2]);
        if (d < bestDistance) {
          bestDistance = d;
          best = t + 1;
        }
      }
      cells.push_back(best);
    }
  return cells;
}

// The cells (col, row) to click, in order, to solve a sliding board of
// n <= 4 per side by moves of one step; empty when it cannot be solved.
inline std::vector<std::pair<int, int>> SolveSliding(const std::vector<int>& cells, int n) {
  auto pack = [](const std::vector<int>& b) {
    uint64_t k = 0;
    for (int v : b) k = k * 16 + uint64_t(v - 1);
    return k;
  };
  std::vector<int> goal(cells.size());
  for (size_t i = 0; i < goal.size(); ++i) goal[i] = int(i + 1);
  // Each board remembers the board before it and the cell clicked there.
  std::unordered_map<uint64_t, std::pair<uint64_t, int>> from{{pack(cells), {0, -1}}};
  std::deque<std::vector<int>> queue{cells};
  const uint64_t target = pack(goal);
  bool found = pack(cells) == target;
  while (!queue.empty() && !found) {
    const std::vector<int> b = queue.front();
    queue.pop_front();
    int e = 0;
    while (b[size_t(e)] != n * n) ++e;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& s : steps) {
      const int c = e % n + s[0], r = e / n + s[1];
      if (c < 0 || r < 0 || c >= n || r >= n) continue;
      std::vector<int> next = b;
      std::swap(next[size_t(e)], next[size_t(r * n + c)]);
      if (from.emplace(pack(next), std::make_pair(pack(b), r * n + c)).second) {
        if (pack(next) == target) found = true;
        queue.push_back(std::move(next));
      }
    }
  }
  std::vector<std::pair<int, int>> clicks;
  if (!found) return clicks;
  for (uint64_t k = target; from.at(k).second >= 0; k = from.at(k).first)
    clicks.insert(clicks.begin(), {from.at(k).second % n, from.at(k).second / n});
  return clicks;
}

// The pairs of cells (indices) to swap, in order, to solve a swap board.
inline std::vector<std::pair<int, int>> SolveSwaps(std::vector<int> cells) {
  std::vector<std::pair<int, int>> swaps;
  for (int i = 0; i < int(cells.size()); ++i)
    for (int j = i + 1; j < int(cells.size()) && cells[size_t(i)] != i + 1; ++j)
      if (cells[size_t(j)] == i + 1) {
        std::swap(cells[size_t(i)], cells[size_t(j)]);
        swaps.push_back({i, j});
      }
  return swaps;
}

}  // namespace quillo::test
