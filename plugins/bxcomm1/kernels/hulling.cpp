#include "hulling.h"

#include <algorithm>
#include <new>
#include <vector>

#include "hull_step.h"
#include "pass_rows.h"

namespace quillo {

namespace {

// The grid row of a picture row, past the border row.
inline size_t CellRow(int y, size_t gridStride) { return (size_t(y) + 1) * gridStride + 1; }

}  // namespace

bool DespeckleGrids::Load(const PixelPass& pass) {
  if (!PassGeometryUsable(pass)) return false;
  width_ = pass.width;
  height_ = pass.height;
  const size_t gridStride = size_t(width_) + 2;
  const size_t cells = gridStride * size_t(height_ + 2);
  for (auto& grid : grid_) grid.reset(new (std::nothrow) uint8_t[cells]);
  rings_.reset(new (std::nothrow) uint8_t[kSteps * 3 * gridStride]());
  if (!grid_[0] || !grid_[1] || !grid_[2] || !rings_) {
    for (auto& grid : grid_) grid.reset();
    rings_.reset();
    return false;
  }
  for (auto& grid : grid_) {
    std::fill_n(&grid[0], gridStride, uint8_t(0));
    std::fill_n(&grid[cells - gridStride], gridStride, uint8_t(0));
  }
  for (int y = 0; y < height_; ++y) {
    const uint8_t* in = pass.SourceRow(y);
    uint8_t* c0 = &grid_[0][CellRow(y, gridStride)];
    uint8_t* c1 = &grid_[1][CellRow(y, gridStride)];
    uint8_t* c2 = &grid_[2][CellRow(y, gridStride)];
    c0[-1] = c1[-1] = c2[-1] = 0;
    c0[width_] = c1[width_] = c2[width_] = 0;
    for (int x = 0, w = width_; x < w; ++x, in += 3) c0[x] = in[0], c1[x] = in[1], c2[x] = in[2];
  }
  return true;
}

// Step s handles row tick - 2s: the step before it has then finished the
// two rows beyond, and never reads the rows this step has written again.
void DespeckleGrids::Run(int channel) {
  if (channel < 0 || channel > 2 || !grid_[channel]) return;
  static constexpr int kDirections[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
  const int64_t gridStride = int64_t(width_) + 2;
  std::vector<HullStep> chain;
  chain.reserve(kSteps);
  for (const auto& d : kDirections) {
    for (const HullMove move : {HullMove{d[0], d[1], true}, HullMove{-d[0], -d[1], true},
                                HullMove{-d[0], -d[1], false}, HullMove{d[0], d[1], false}}) {
      uint8_t* ring = &rings_[size_t(chain.size()) * 3 * size_t(gridStride)];
      chain.emplace_back(move, grid_[channel].get(), width_, height_, ring);
    }
  }
  for (int tick = 1; tick <= height_ + 2 * (kSteps - 1); ++tick) {
    for (int s = 0; s < kSteps; ++s) {
      const int y = tick - 2 * s;
      if (y >= 1 && y <= height_) chain[size_t(s)].Row(y);
    }
  }
}

void DespeckleGrids::Store(const PixelPass& pass) const {
  if (!grid_[0] || pass.width != width_ || pass.height != height_ || !PassGeometryUsable(pass)) return;
  const size_t gridStride = size_t(width_) + 2;
  const int row0 = std::max(pass.rowBegin, 0), row1 = std::min(pass.rowEnd, height_);
  const int col0 = std::max(pass.colBegin, 0), col1 = std::min(pass.colEnd, width_);
  for (int y = row0; y < row1; ++y) {
    uint8_t* out = pass.TargetRow(y) + size_t(col0) * 3;
    const uint8_t* c0 = &grid_[0][CellRow(y, gridStride)];
    const uint8_t* c1 = &grid_[1][CellRow(y, gridStride)];
    const uint8_t* c2 = &grid_[2][CellRow(y, gridStride)];
    for (int x = col0; x < col1; ++x, out += 3) out[0] = c0[x], out[1] = c1[x], out[2] = c2[x];
  }
}

}  // namespace quillo
