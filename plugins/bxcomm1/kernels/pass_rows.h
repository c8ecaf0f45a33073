// Row iteration shared by the colour kernels: clips a requested row range to
// the pass rectangle and to the picture, and hands each row's run of pixels
// to a callback. A pass whose geometry cannot describe real pixels (missing
// buffers, rows narrower than the width) is skipped, so bad input never
// reads or writes outside the buffers.
#pragma once
#include <algorithm>
#include <cstdint>

#include "imaging/basics/pixel_pass.h"

namespace quillo {

inline bool PassGeometryUsable(const PixelPass& pass) {
  return pass.source != nullptr && pass.target != nullptr && pass.width > 0 && pass.height > 0 &&
         pass.stride > 0 && int64_t(pass.stride) >= int64_t(pass.width) * 3;
}

// Calls rowFn(const uint8_t* source, uint8_t* target, int pixelCount) for
// every memory row in [rowBegin, rowEnd) that lies inside the pass rows and
// the picture, with the pointers at the pass's first column.
template <typename RowFn>
void ForEachPassRow(const PixelPass& pass, int rowBegin, int rowEnd, RowFn&& rowFn) {
  if (!PassGeometryUsable(pass)) return;
  const int firstRow = std::max({rowBegin, pass.rowBegin, 0});
  const int endRow = std::min({rowEnd, pass.rowEnd, pass.height});
  const int firstCol = std::max(pass.colBegin, 0);
  const int endCol = std::min(pass.colEnd, pass.width);
  if (firstRow >= endRow || firstCol >= endCol) return;
  const int count = endCol - firstCol;
  for (int row = firstRow; row < endRow; ++row) {
    rowFn(pass.SourceRow(row) + int64_t(firstCol) * 3, pass.TargetRow(row) + int64_t(firstCol) * 3,
          count);
  }
}

}  // namespace quillo
