// Water's ripple tank: a height field per frame, disturbed by drops,
// propagated as a damped wave and shown by refracting the picture through
// its slopes. Water keeps 16-bit cells, Blob 32-bit ones; every function
// here is one template over the cell type, instantiated for both.
//
// The outer one-cell frame of a field stays 0 for good: drops are cut at
// the first and last rows and columns, the propagation only computes
// interior cells, and the rendering leaves the picture's outer one-pixel
// frame alone.
#pragma once
#include <cstdint>
#include <memory>
#include <type_traits>

#include "imaging/basics/runtime_random.h"

namespace quillo::qlo12 {

// width x height signed heights, row-major from memory row 0 (the picture's
// bottom row): cell (x, y) lies under the picture's column x, memory row y.
template <typename Cell>
class HeightField {
  static_assert(std::is_same_v<Cell, int16_t> || std::is_same_v<Cell, int32_t>,
                "Water's fields hold 16-bit cells, Blob's 32-bit cells");

 public:
  using CellType = Cell;

  // Makes width x height cells, all 0. False, leaving the field empty, when
  // a size is not positive, the cells would not fit in memory's address
  // range, or memory runs out.
  bool Allocate(int width, int height);
  void Release();
  void Clear();  // every cell to 0

  bool empty() const { return !cells_; }
  int width() const { return width_; }
  int height() const { return height_; }
  Cell* Row(int y) { return cells_.get() + int64_t(y) * width_; }
  const Cell* Row(int y) const { return cells_.get() + int64_t(y) * width_; }
  Cell& At(int x, int y) { return Row(y)[x]; }
  Cell At(int x, int y) const { return Row(y)[x]; }

 private:
  std::unique_ptr<Cell[]> cells_;
  int width_ = 0, height_ = 0;
};

using WaterHeights = HeightField<int16_t>;
using BlobHeights = HeightField<int32_t>;

// Radii are taken as at most this (no control goes past 256); it keeps
// every square of the shapes inside 32 bits.
constexpr int kMaxDropRadius = 32767;

// A drop's centre: a negative x becomes rand mod max(1, W - 2c - 1) + c + 1,
// then a negative y likewise with H (one draw each, x first), which keeps
// random drops off the edges. Non-negative coordinates are kept.
void SettleDropCentre(int width, int height, int radius, int& x, int& y, RuntimeRandom& random);

// The drop shapes, centred at (x, y) (settled as above) with radius c. They
// change the cells (x + j, y + i) with max(-c, 1 - y) <= i < min(c, H - 1 -
// y), max(-c, 1 - x) <= j < min(c, W - 1 - x) and i^2 + j^2 < c^2; sums are
// stored with the cell's wrap-around. A radius below 1 changes nothing.
//
// Smooth bump of height h: cell += (h x (K[k] + 65535)) >> 19 with k =
// trunc(sqrt(L x (i^2 + j^2))), L = (1024 / c)^2 rounded to single
// precision; K + 65535 runs from 131071 at the centre to about 0 at the rim.
// (The product is formed in 64 bits.)
template <typename Cell>
void SmoothDrop(HeightField<Cell>& field, int x, int y, int radius, int height,
                RuntimeRandom& random);

// Cone of height h: cell += trunc((h / 64) x (c - sqrt(i^2 + j^2))), h / 64
// an integer division (toward zero).
template <typename Cell>
void ConeDrop(HeightField<Cell>& field, int x, int y, int radius, int height,
              RuntimeRandom& random);

// Flat disc: cell += value.
template <typename Cell>
void DiscDrop(HeightField<Cell>& field, int x, int y, int radius, int value,
              RuntimeRandom& random);

// The damping shift is used in 0 ... 31: a larger one acts as 31, a negative
// one as 0.
constexpr int kMaxDampingShift = 31;

// One step of the damped wave, into `next` from `current`: for every
// interior cell (rows 1 ... H - 2, columns 1 ... W - 2)
//   d = (sum of the eight neighbours in current) >> 2 - next[cell]
//   next[cell] = d - (d >> shift)                 (arithmetic shifts)
// where next[cell] on the right is the value from two steps back, the
// field's own old content. d is exact: for 32-bit cells it is formed in 64
// bits and a shift of 32 or more acts as 31; for 16-bit cells it is an int
// smaller than 2^17 in size, so every shift from 17 up gives its sign (0 or
// -1) and shifts of 32 or more acting as 31 is the same sound rule: d >> s
// is always floor(d / 2^s), and a huge shift leaves d all but undamped
// (negative values step 1 toward zero). The stored value wraps to the cell
// width. Fields of different sizes are left alone.
template <typename Cell>
void PropagateField(const HeightField<Cell>& current, HeightField<Cell>& next, int dampingShift);

// Draws the field into `image` from `backup`, both 24-bit pictures of the
// field's width x height with rows of `stride` bytes (memory row 0 first).
// Only interior pixels (columns 1 ... W - 2, memory rows 1 ... H - 2) are
// written; the outer one-pixel frame keeps what the image holds. For cell
// value h0 with right neighbour h1 and upper neighbour (next memory row) h2:
//   dx = (h0 - h1) >> 3, dy = (h0 - h2) >> 3
// and the pixel is the backup's at (clamp(x + dx, 0, W - 1), clamp(y + dy,
// 0, H - 1)): a slope bends the view toward the lower side. With light L > 0
// each byte then becomes clamp(byte - ((h0 - h1) >> (L - 1)), 0, 255)
// (L - 1 at most 31), so slopes facing one way darken and the others
// brighten; L <= 0 copies. Nothing is drawn when a row is shorter than
// width x 3 bytes or a pointer is null.
template <typename Cell>
void RenderField(const HeightField<Cell>& field, const uint8_t* backup, uint8_t* image,
                 int64_t stride, int light);

extern template class HeightField<int16_t>;
extern template class HeightField<int32_t>;

}  // namespace quillo::qlo12
