// One hull step of the despeckle (see hulling.h for the two sweeps), done in
// place on a channel grid framed by a one-cell border of zeros, one row at a
// time. Because a step only looks a couple of rows ahead, a chain of steps can
// follow each other down the grid a few rows apart while the rows they share
// are still in cache, instead of each step sweeping the whole grid twice.
#pragma once
#include <cstdint>

namespace quillo {

struct HullMove {
  int dx, dy;
  bool raise;
};

class HullStep {
 public:
  // grid: (width + 2) x (height + 2) cells, row by row. ring: 3 x (width + 2)
  // bytes for the step's own scratch rows, zero on arrival; the step writes
  // only their inner cells, so their first and last cells stay zero.
  HullStep(HullMove move, uint8_t* grid, int width, int height, uint8_t* ring);

  // Finishes grid row y. Rows go 1, 2, ..., height; row y reads grid rows up
  // to y + 2, which the step before in a chain must have finished already.
  void Row(int y);

 private:
  uint8_t* GridRow(int y) const { return grid_ + int64_t(y) * stride_; }
  // The scratch row of grid row y; the border rows are zero, like the grid's.
  uint8_t* ScratchRow(int y) const;
  void FillScratchRow(int y);

  HullMove move_;
  uint8_t* grid_;
  int width_, height_;
  int64_t stride_;
  uint8_t* ring_;
};

}  // namespace quillo
