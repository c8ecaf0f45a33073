// The two picture puzzles: a board of N x N cells over a picture cut into
// N x N tiles. In the sliding puzzle the value N x N is the empty cell and
// tiles slide along the empty cell's row or column; in the swap puzzle any
// two cells trade places. Cells are kept row by row, rows from the top of
// the picture; a cell holding v shows tile v - 1, and the board is solved
// when every cell holds its own index + 1.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"

namespace quillo::qlo15 {

constexpr int kPuzzleMinSide = 2;
constexpr int kSlidingMaxSide = 10, kSlidingDefaultSide = 3;
constexpr int kSwapMaxSide = 20, kSwapDefaultSide = 5;
constexpr int kSlidingShuffleMoves = 100;
constexpr int kSwapShuffleSwaps = 5000;

struct PuzzleBoard {
  int n = 0;                   // cells per side; 0: no board yet
  std::vector<int32_t> cells;  // n x n values 1 ... n x n, row by row from the top

  int32_t& at(int col, int row) { return cells[std::size_t(row) * std::size_t(n) + std::size_t(col)]; }
  int32_t at(int col, int row) const { return cells[std::size_t(row) * std::size_t(n) + std::size_t(col)]; }
  int32_t empty() const { return n * n; }
};

// `side` rounded up to a multiple of n (at least n): 5 for n = 2 gives 6.
int RoundUpToMultiple(int side, int n);

// The solved board of n x n cells (n clamped to 1 ... kSwapMaxSide).
void ResetBoard(PuzzleBoard& board, int n);
bool BoardSolved(const PuzzleBoard& board);

// The cell under picture point (x, y) (y from the top) of a board whose
// cells are cellWidth x cellHeight pixels; false outside the board.
bool CellAt(const PuzzleBoard& board, int cellWidth, int cellHeight, int x, int y, int* col, int* row);

// The empty cell of a sliding board; false when the board has none.
bool FindEmptyCell(const PuzzleBoard& board, int* col, int* row);

// A click on (col, row) of a sliding board: in the empty cell's column or
// row, every tile between the two slides one step toward the empty cell
// and the clicked cell becomes empty. Anywhere else, or on the empty cell
// itself, nothing moves. True when tiles moved.
bool SlideMove(PuzzleBoard& board, int col, int row);

// The solved board shuffled by kSlidingShuffleMoves moves of the empty
// cell from (n - 1, n - 1), alternately to a random other column of its
// row and a random other row of its column (each drawn as rand mod n until
// it differs from the current one). `moves` other than the game's count
// shuffles less (example pictures).
void ShuffleSliding(PuzzleBoard& board, int n, RuntimeRandom& random, int moves = kSlidingShuffleMoves);

// Cells a and b (indices row x n + col) trade values.
void SwapCells(PuzzleBoard& board, int a, int b);

// The solved board shuffled by kSwapShuffleSwaps swaps of two cells, each
// drawn as rand mod n x n (or by `swaps` swaps).
void ShuffleSwap(PuzzleBoard& board, int n, RuntimeRandom& random, int swaps = kSwapShuffleSwaps);

// The tiles of a picture (24-bit, rows bottom-up, `stride` bytes a row)
// whose sides are multiples of n: tile t is the cell t of the solved board,
// cellWidth x cellHeight pixels of 3 bytes, rows top-down, tiles one after
// another. False, with `tiles` untouched, when the sides are not multiples
// of n or memory runs out.
bool CutTiles(const uint8_t* pixels, int width, int height, int64_t stride, int n,
              std::vector<uint8_t>& tiles);

// Draws the board into a picture of width x height (rows bottom-up): each
// cell shows its value's tile; with `emptyBlack` the picture is cleared to
// black first and the empty cell left so. Cells or tiles reaching past the
// picture or past `tiles` are clipped.
void DrawBoard(const PuzzleBoard& board, const std::vector<uint8_t>& tiles, int cellWidth,
               int cellHeight, bool emptyBlack, uint8_t* pixels, int width, int height,
               int64_t stride);

}  // namespace quillo::qlo15
