#include "ftrace.h"

#include <cstring>
#include <vector>

namespace quillo::qlo11 {

namespace {

// trunc(v) when it lies in 0 .. size - 1 (tested on the double, so escaped
// points, infinities and NaNs never reach the conversion); else -1.
int CellOf(double v, int size) { return v > -1 && v < size ? int(v) : -1; }

}  // namespace

animation::MapEntry FTraceEntry(int j, int i, int width, int height, double xr, double yr, int steps) {
  const double cellX = 2 * xr / width, cellY = 2 * yr / height;
  const double x0 = -xr + j * cellX, y0 = -yr + i * cellY;
  double x = x0, y = y0;
  for (int k = 0; k < steps; ++k) {
    const double ny = y0 + 2 * x * y;
    x = x0 + x * x - y * y;
    y = ny;
  }
  const int column = CellOf((x - -xr) / cellX, width), row = CellOf((y - -yr) / cellY, height);
  if (column < 0 || row < 0) return {kFTraceOutside, kFTraceOutside};
  return {int16_t(column), int16_t(row)};
}

void BuildFTraceMap(int width, int height, double xr, double yr, int steps, animation::MapEntry* map) {
  if (!map || width <= 0 || height <= 0 || width > kFTraceMaxSide || height > kFTraceMaxSide) return;
  for (int i = 0; i < height; ++i)
    for (int j = 0; j < width; ++j)
      map[size_t(i) * size_t(width) + size_t(j)] = FTraceEntry(j, i, width, height, xr, yr, steps);
}

void DrawTracedFrame(const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride,
                     const animation::MapEntry* map, int64_t offsetX, int64_t offsetY) {
  if (!texture || !out || !map || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  const int ox = animation::ReduceInto(offsetX, width), oy = animation::ReduceInto(offsetY, height);
  // Where each shifted texture row starts and each shifted column's byte
  // offset: an entry costs two table reads and no modulo.
  std::vector<const uint8_t*> rows(static_cast<size_t>(height));
  std::vector<int32_t> columns(static_cast<size_t>(width));
  for (int r = 0; r < height; ++r)
    rows[size_t(r)] = texture + int64_t(r < height - oy ? r + oy : r + oy - height) * stride;
  for (int c = 0; c < width; ++c) columns[size_t(c)] = 3 * (c < width - ox ? c + ox : c + ox - width);
  const animation::MapEntry* entry = map;
  for (int i = 0; i < height; ++i, entry += width) {
    uint8_t* __restrict dst = out + int64_t(i) * stride;
    for (int j = 0; j < width; ++j, dst += 3) {
      const animation::MapEntry e = entry[j];
      if (unsigned(e.column) < unsigned(width) && unsigned(e.row) < unsigned(height)) [[likely]] {
        const uint8_t* t = rows[size_t(e.row)] + columns[size_t(e.column)];
        dst[0] = t[0];
        dst[1] = t[1];
        dst[2] = t[2];
      } else {
        dst[0] = dst[1] = dst[2] = 0;
      }
    }
  }
}

}  // namespace quillo::qlo11
