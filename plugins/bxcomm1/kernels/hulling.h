// Despeckle by hulling: each channel of the picture, framed by a one-cell
// border of zeros, is raised where a cell lies below its neighbours and
// lowered where it stands above them, along the four directions (1, 0),
// (0, 1), (1, 1), (1, -1) in turn, each with the four hull steps H(d,
// raise), H(-d, raise), H(-d, lower), H(d, lower). A hull step has two
// sweeps (grid to scratch, scratch back to grid):
//   sweep 1, v against the grid at +d: raise t = v + 1 if v < it; lower
//     t = v - 1 if v >= it + 2; else t = v;
//   sweep 2, t against the scratch at +d (N) and -d (O): raise, when t <= O,
//     t + 1 if t < N; lower, when t >= O + 2, t - 1 if t > N.
// Border cells are never written. The steps run as a chain down the grid a
// few rows apart (hull_step.h), which gives the same cells as running each
// step over the whole grid in turn.
#pragma once
#include <cstdint>
#include <memory>

#include "imaging/basics/pixel_pass.h"

namespace quillo {

class DespeckleGrids {
 public:
  // The three channels of the whole source picture; false when the grids
  // cannot be allocated (nothing else happens then).
  bool Load(const PixelPass& pass);
  // Runs every hull step on channel 0, 1 or 2 (byte order).
  void Run(int channel);
  // Writes the three grids into the target's area.
  void Store(const PixelPass& pass) const;

 private:
  static constexpr int kSteps = 16;
  int width_ = 0, height_ = 0;
  // Allocated without clearing: Load writes every cell, border included.
  std::unique_ptr<uint8_t[]> grid_[3];
  std::unique_ptr<uint8_t[]> rings_;  // three scratch rows for each step
};

}  // namespace quillo
