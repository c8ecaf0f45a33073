#include "hulling.h"

#include <algorithm>
#include <new>

#include "pass_rows.h"

namespace quillo {

bool DespeckleGrids::Load(const PixelPass& pass) {
  if (!PassGeometryUsable(pass)) return false;
  width_ = pass.width;
  height_ = pass.height;
  const size_t cells = size_t(width_ + 2) * size_t(height_ + 2);
  try {
    for (auto& grid : grid_) grid.assign(cells, 0);
    scratch_.assign(cells, 0);
  } catch (const std::bad_alloc&) {
    for (auto& grid : grid_) std::vector<uint8_t>().swap(grid);
    std::vector<uint8_t>().swap(scratch_);
    return false;
  }
  const size_t gridStride = size_t(width_) + 2;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* in = pass.SourceRow(y);
    for (int c = 0; c < 3; ++c) {
      uint8_t* cell = &grid_[c][(size_t(y) + 1) * gridStride + 1];
      for (int x = 0; x < width_; ++x) cell[x] = in[x * 3 + c];
    }
  }
  return true;
}

void DespeckleGrids::Hull(int channel, int dx, int dy, bool raise) {
  std::vector<uint8_t>& grid = grid_[channel];
  const int64_t gridStride = int64_t(width_) + 2;
  const int64_t ahead = dy * gridStride + dx;  // the neighbour at +d
  for (int y = 1; y <= height_; ++y) {
    const uint8_t* v = &grid[size_t(y * gridStride + 1)];
    uint8_t* t = &scratch_[size_t(y * gridStride + 1)];
    if (raise) {
      for (int x = 0; x < width_; ++x) t[x] = uint8_t(v[x] < v[x + ahead] ? v[x] + 1 : v[x]);
    } else {
      for (int x = 0; x < width_; ++x)
        t[x] = uint8_t(int(v[x]) >= int(v[x + ahead]) + 2 ? v[x] - 1 : v[x]);
    }
  }
  for (int y = 1; y <= height_; ++y) {
    const uint8_t* t = &scratch_[size_t(y * gridStride + 1)];
    uint8_t* out = &grid[size_t(y * gridStride + 1)];
    if (raise) {
      for (int x = 0; x < width_; ++x)
        out[x] = uint8_t(t[x] <= t[x - ahead] && t[x] < t[x + ahead] ? t[x] + 1 : t[x]);
    } else {
      for (int x = 0; x < width_; ++x)
        out[x] = uint8_t(int(t[x]) >= int(t[x - ahead]) + 2 && t[x] > t[x + ahead] ? t[x] - 1 : t[x]);
    }
  }
}

void DespeckleGrids::Run(int channel) {
  if (channel < 0 || channel > 2 || grid_[channel].empty()) return;
  std::fill(scratch_.begin(), scratch_.end(), uint8_t(0));
  static constexpr int kDirections[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
  for (const auto& d : kDirections) {
    Hull(channel, d[0], d[1], true);
    Hull(channel, -d[0], -d[1], true);
    Hull(channel, -d[0], -d[1], false);
    Hull(channel, d[0], d[1], false);
  }
}

void DespeckleGrids::Store(const PixelPass& pass) const {
  if (grid_[0].empty() || pass.width != width_ || pass.height != height_ || !PassGeometryUsable(pass))
    return;
  const size_t gridStride = size_t(width_) + 2;
  const int row0 = std::max(pass.rowBegin, 0), row1 = std::min(pass.rowEnd, height_);
  const int col0 = std::max(pass.colBegin, 0), col1 = std::min(pass.colEnd, width_);
  for (int y = row0; y < row1; ++y) {
    uint8_t* out = pass.TargetRow(y);
    for (int c = 0; c < 3; ++c) {
      const uint8_t* cell = &grid_[c][(size_t(y) + 1) * gridStride + 1];
      for (int x = col0; x < col1; ++x) out[x * 3 + c] = cell[x];
    }
  }
}

}  // namespace quillo
