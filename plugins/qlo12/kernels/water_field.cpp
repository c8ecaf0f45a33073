#include "water_field.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>

#include "water_tables.h"

namespace quillo::qlo12 {
namespace {

// The integer a cell's arithmetic runs in: exact for sums of eight cells and
// for differences of two.
template <typename Cell>
using Wide = std::conditional_t<sizeof(Cell) <= 2, int32_t, int64_t>;

// The cells a drop of radius c at (x, y) may change: rows y + i for i in
// [iBegin, iEnd), columns x + j for j in [jBegin, jEnd), the first and last
// rows and columns excluded. Empty for a radius below 1 or a centre too far
// outside.
struct DropWindow {
  int64_t iBegin, iEnd, jBegin, jEnd;
};

DropWindow Window(int width, int height, int64_t x, int64_t y, int64_t c) {
  return {std::max(-c, 1 - y), std::min(c, height - 1 - y), std::max(-c, 1 - x),
          std::min(c, width - 1 - x)};
}

// Visits the cells of a drop: makeShape(c) gives the shape for the settled
// radius, and shape(i^2 + j^2) the amount added to each cell inside the
// circle.
template <typename Cell, typename MakeShape>
void VisitDrop(HeightField<Cell>& field, int x, int y, int radius, RuntimeRandom& random,
               MakeShape makeShape) {
  if (field.empty()) return;
  const int c = std::min(radius, kMaxDropRadius);
  SettleDropCentre(field.width(), field.height(), c, x, y, random);
  if (c < 1) return;
  const auto shape = makeShape(c);
  const DropWindow w = Window(field.width(), field.height(), x, y, c);
  const int64_t radiusSquare = int64_t(c) * c;
  for (int64_t i = w.iBegin; i < w.iEnd; ++i) {
    Cell* row = field.Row(int(y + i));
    for (int64_t j = w.jBegin; j < w.jEnd; ++j) {
      const int64_t square = i * i + j * j;
      if (square < radiusSquare) row[x + j] = Cell(int64_t(row[x + j]) + shape(square));
    }
  }
}

// The damped wave for cells begin .. end - 1 of a row: each from the eight
// neighbours' sum >> 2 less its value from two steps back, damped by the
// shift. The rows belong to two distinct fields; restrict lets the compiler
// vectorise without checks.
template <typename Cell>
inline void WaveCells(const Cell* __restrict below, const Cell* __restrict row,
                      const Cell* __restrict above, Cell* __restrict out, int begin, int end,
                      int shift) {
  for (int x = begin; x < end; ++x) {
    const Wide<Cell> sum = Wide<Cell>(below[x - 1]) + below[x] + below[x + 1] + row[x - 1] +
                           row[x + 1] + above[x - 1] + above[x] + above[x + 1];
    const Wide<Cell> d = (sum >> 2) - out[x];
    out[x] = Cell(d - (d >> shift));
  }
}

// One row's interior in runs of a fixed length, which the compiler
// vectorises at every optimisation level, then the cells left over.
template <typename Cell>
void PropagateRow(const Cell* below, const Cell* row, const Cell* above, Cell* out, int width,
                  int shift) {
  constexpr int kRun = 16;
  int x = 1;
  for (; x + kRun <= width - 1; x += kRun) WaveCells(below, row, above, out, x, x + kRun, shift);
  WaveCells(below, row, above, out, x, width - 1, shift);
}

}  // namespace

template <typename Cell>
bool HeightField<Cell>::Allocate(int width, int height) {
  Release();
  if (width <= 0 || height <= 0) return false;
  const uint64_t cells = uint64_t(width) * uint64_t(height);
  if (cells > uint64_t(PTRDIFF_MAX) / sizeof(Cell)) return false;
  cells_.reset(new (std::nothrow) Cell[size_t(cells)]());
  if (!cells_) return false;
  width_ = width;
  height_ = height;
  return true;
}

template <typename Cell>
void HeightField<Cell>::Release() {
  cells_.reset();
  width_ = height_ = 0;
}

template <typename Cell>
void HeightField<Cell>::Clear() {
  if (cells_) std::fill_n(cells_.get(), int64_t(width_) * height_, Cell(0));
}

void SettleDropCentre(int width, int height, int radius, int& x, int& y, RuntimeRandom& random) {
  const int64_t c = std::min(radius, kMaxDropRadius);
  auto settle = [&](int& v, int size) {
    if (v < 0)
      v = int(std::clamp<int64_t>(random.Below(std::max<int64_t>(1, size - 2 * c - 1)) + c + 1,
                                  INT32_MIN, INT32_MAX));
  };
  settle(x, width);
  settle(y, height);
}

template <typename Cell>
void SmoothDrop(HeightField<Cell>& field, int x, int y, int radius, int height,
                RuntimeRandom& random) {
  const WaterTables& tables = GetWaterTables();
  VisitDrop(field, x, y, radius, random, [&](int c) {
    const float scale = float((1024.0 / c) * (1024.0 / c));
    return [&tables, scale, height](int64_t square) {
      const int64_t k = int64_t(std::sqrt(double(scale) * double(square)));
      return (int64_t(height) * (tables.Cosine(k) + 65535)) >> 19;
    };
  });
}

template <typename Cell>
void ConeDrop(HeightField<Cell>& field, int x, int y, int radius, int height,
              RuntimeRandom& random) {
  VisitDrop(field, x, y, radius, random, [height](int c) {
    const double slope = height / 64;
    return [slope, c](int64_t square) { return int64_t(slope * (c - std::sqrt(double(square)))); };
  });
}

template <typename Cell>
void DiscDrop(HeightField<Cell>& field, int x, int y, int radius, int value,
              RuntimeRandom& random) {
  VisitDrop(field, x, y, radius, random,
            [value](int) { return [value](int64_t) { return int64_t(value); }; });
}

template <typename Cell>
void PropagateField(const HeightField<Cell>& current, HeightField<Cell>& next, int dampingShift) {
  const int width = current.width(), height = current.height();
  if (current.empty() || next.empty() || &current == &next || next.width() != width ||
      next.height() != height)
    return;
  const int shift = std::clamp(dampingShift, 0, kMaxDampingShift);
  for (int y = 1; y < height - 1; ++y)
    PropagateRow(current.Row(y - 1), current.Row(y), current.Row(y + 1), next.Row(y), width, shift);
}

template <typename Cell>
void RenderField(const HeightField<Cell>& field, const uint8_t* backup, uint8_t* image,
                 int64_t stride, int light) {
  using W = Wide<Cell>;
  const int width = field.width(), height = field.height();
  if (field.empty() || !backup || !image || stride < int64_t(width) * 3) return;
  const bool lit = light > 0;
  const int lightShift = std::min(light - 1, 31);
  const W lastColumn = width - 1, lastRow = height - 1;
  for (int y = 1; y < height - 1; ++y) {
    const Cell* row = field.Row(y);
    const Cell* above = field.Row(y + 1);
    uint8_t* out = image + y * stride;
    for (int x = 1; x < width - 1; ++x) {
      const W slopeX = W(row[x]) - row[x + 1];
      const W slopeY = W(row[x]) - above[x];
      const W sx = std::clamp<W>(x + (slopeX >> 3), 0, lastColumn);
      const W sy = std::clamp<W>(y + (slopeY >> 3), 0, lastRow);
      const uint8_t* in = backup + int64_t(sy) * stride + int64_t(sx) * 3;
      uint8_t* px = out + int64_t(x) * 3;
      if (lit) {
        const W shade = slopeX >> lightShift;
        px[0] = uint8_t(std::clamp<W>(in[0] - shade, 0, 255));
        px[1] = uint8_t(std::clamp<W>(in[1] - shade, 0, 255));
        px[2] = uint8_t(std::clamp<W>(in[2] - shade, 0, 255));
      } else {
        px[0] = in[0];
        px[1] = in[1];
        px[2] = in[2];
      }
    }
  }
}

template class HeightField<int16_t>;
template class HeightField<int32_t>;

#define QUILLO_WATER_FIELD_FUNCTIONS(Cell)                                                      \
  template void SmoothDrop<Cell>(HeightField<Cell>&, int, int, int, int, RuntimeRandom&);     \
  template void ConeDrop<Cell>(HeightField<Cell>&, int, int, int, int, RuntimeRandom&);       \
  template void DiscDrop<Cell>(HeightField<Cell>&, int, int, int, int, RuntimeRandom&);       \
  template void PropagateField<Cell>(const HeightField<Cell>&, HeightField<Cell>&, int);      \
  template void RenderField<Cell>(const HeightField<Cell>&, const uint8_t*, uint8_t*, int64_t, \
                                  int);
QUILLO_WATER_FIELD_FUNCTIONS(int16_t)
QUILLO_WATER_FIELD_FUNCTIONS(int32_t)
#undef QUILLO_WATER_FIELD_FUNCTIONS

}  // namespace quillo::qlo12
