#include "puzzle.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace quillo::qlo15 {

int RoundUpToMultiple(int side, int n) {
  if (n < 1) return side;
  if (side < n) return n;
  return int((int64_t(side) + n - 1) / n * n);
}

void ResetBoard(PuzzleBoard& board, int n) {
  board.n = std::clamp(n, 1, kSwapMaxSide);
  board.cells.resize(size_t(board.n) * size_t(board.n));
  for (size_t i = 0; i < board.cells.size(); ++i) board.cells[i] = int32_t(i + 1);
}

bool BoardSolved(const PuzzleBoard& board) {
  if (board.n < 1 || board.cells.size() != size_t(board.n) * size_t(board.n)) return false;
  for (size_t i = 0; i < board.cells.size(); ++i)
    if (board.cells[i] != int32_t(i + 1)) return false;
  return true;
}

bool CellAt(const PuzzleBoard& board, int cellWidth, int cellHeight, int x, int y, int* col, int* row) {
  if (board.n < 1 || cellWidth < 1 || cellHeight < 1 || x < 0 || y < 0) return false;
  const int c = x / cellWidth, r = y / cellHeight;
  if (c >= board.n || r >= board.n) return false;
  *col = c;
  *row = r;
  return true;
}

bool FindEmptyCell(const PuzzleBoard& board, int* col, int* row) {
  for (int r = 0; r < board.n; ++r)
    for (int c = 0; c < board.n; ++c)
      if (board.at(c, r) == board.empty()) {
        *col = c;
        *row = r;
        return true;
      }
  return false;
}

bool SlideMove(PuzzleBoard& board, int col, int row) {
  if (col < 0 || row < 0 || col >= board.n || row >= board.n) return false;
  int ec = 0, er = 0;
  if (!FindEmptyCell(board, &ec, &er)) return false;
  if (col == ec && row == er) return false;
  if (col == ec) {
    const int step = row > er ? 1 : -1;
    for (int r = er; r != row; r += step) board.at(col, r) = board.at(col, r + step);
  } else if (row == er) {
    const int step = col > ec ? 1 : -1;
    for (int c = ec; c != col; c += step) board.at(c, row) = board.at(c + step, row);
  } else {
    return false;
  }
  board.at(col, row) = board.empty();
  return true;
}

void ShuffleSliding(PuzzleBoard& board, int n, RuntimeRandom& random, int moves) {
  ResetBoard(board, n);
  n = board.n;
  if (n < 2) return;
  int col = n - 1, row = n - 1;
  for (int k = 0; k < moves; ++k) {
    if (k % 2 == 0) {
      int c;
      do c = random.Below(n);
      while (c == col);
      SlideMove(board, c, row);
      col = c;
    } else {
      int r;
      do r = random.Below(n);
      while (r == row);
      SlideMove(board, col, r);
      row = r;
    }
  }
}

void SwapCells(PuzzleBoard& board, int a, int b) {
  const int count = int(board.cells.size());
  if (a < 0 || b < 0 || a >= count || b >= count) return;
  std::swap(board.cells[size_t(a)], board.cells[size_t(b)]);
}

void ShuffleSwap(PuzzleBoard& board, int n, RuntimeRandom& random, int swaps) {
  ResetBoard(board, n);
  const int count = board.n * board.n;
  for (int k = 0; k < swaps; ++k) {
    const int a = random.Below(count);
    const int b = random.Below(count);
    SwapCells(board, a, b);
  }
}

bool CutTiles(const uint8_t* pixels, int width, int height, int64_t stride, int n,
              std::vector<uint8_t>& tiles) {
  if (!pixels || n < 1 || width < n || height < n || width % n || height % n) return false;
  const int cw = width / n, ch = height / n;
  const size_t rowBytes = size_t(cw) * 3;
  std::vector<uint8_t> cut;
  try {
    cut.resize(rowBytes * size_t(ch) * size_t(n) * size_t(n));
  } catch (const std::bad_alloc&) {
    return false;
  }
  uint8_t* out = cut.data();
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c)
      for (int k = 0; k < ch; ++k) {
        const int y = r * ch + k;  // from the top
        const uint8_t* line = pixels + int64_t(height - 1 - y) * stride + int64_t(c) * int64_t(rowBytes);
        std::memcpy(out, line, rowBytes);
        out += rowBytes;
      }
  tiles.swap(cut);
  return true;
}

void DrawBoard(const PuzzleBoard& board, const std::vector<uint8_t>& tiles, int cellWidth,
               int cellHeight, bool emptyBlack, uint8_t* pixels, int width, int height,
               int64_t stride) {
  if (!pixels || width < 1 || height < 1) return;
  if (emptyBlack)
    for (int y = 0; y < height; ++y) std::memset(pixels + int64_t(y) * stride, 0, size_t(width) * 3);
  if (board.n < 1 || cellWidth < 1 || cellHeight < 1) return;
  const size_t tileRow = size_t(cellWidth) * 3;
  const size_t tileBytes = tileRow * size_t(cellHeight);
  const int64_t count = int64_t(board.n) * board.n;
  for (int r = 0; r < board.n; ++r) {
    const int top = r * cellHeight;
    if (top >= height) break;
    const int rows = std::min(cellHeight, height - top);
    for (int c = 0; c < board.n; ++c) {
      const int left = c * cellWidth;
      if (left >= width) break;
      const int32_t v = board.at(c, r);
      if (v < 1 || v > count || (emptyBlack && v == count)) continue;
      if (size_t(v) * tileBytes > tiles.size()) continue;
      const uint8_t* tile = tiles.data() + size_t(v - 1) * tileBytes;
      const size_t bytes = size_t(std::min(cellWidth, width - left)) * 3;
      for (int k = 0; k < rows; ++k)
        std::memcpy(pixels + int64_t(height - 1 - top - k) * stride + int64_t(left) * 3,
                    tile + size_t(k) * tileRow, bytes);
    }
  }
}

}  // namespace quillo::qlo15
