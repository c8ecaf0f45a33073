// Private to the frame kernels: a texture as one frame of a sliding map sees
// it. The frame offset is folded into per-row and per-column tables once a
// frame, so a pixel finds its texel with two table reads and no modulo.
// Texels are read four bytes at a time (one load for a 24-bit pixel); the
// texture's last memory row is read from a copy one pixel longer, so the
// fourth byte never lies past the end of the texture.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugins/animation/kernels/texture_map.h"

namespace quillo::qlo12 {

// Where a table row's texels start: its own texture row and the next one
// (the last row repeating itself).
struct ShiftedRow {
  const uint8_t* row;
  const uint8_t* below;
};
// A table column's byte offsets: its own texture column and the next one
// (the last column repeating itself).
struct ShiftedColumn {
  int32_t left, right;
};

// The tables as plain pointers. Kernels copy this into a local before their
// loops: stores into byte arrays may alias anything whose address is known,
// and a local copy keeps the compiler from reloading the pointers after
// every store.
struct ShiftedTables {
  const ShiftedRow* rows;
  const ShiftedColumn* columns;
  int width, height;

  // v, or v reduced into 0 .. size - 1 when it lies outside (never for the
  // maps the builders make, so the test costs a predicted branch; the
  // reduction is written out here, as a call would cost the loop its
  // registers).
  static int Inside(int v, int size) {
    if (unsigned(v) < unsigned(size)) [[likely]]
      return v;
    const int r = v % size;
    return r < 0 ? r + size : r;
  }
  const ShiftedRow& Row(int v) const { return rows[Inside(v, height)]; }
  const ShiftedColumn& Column(int v) const { return columns[Inside(v, width)]; }
};

class ShiftedTexture {
 public:
  // Table row r is texture row (r + offsetY) mod height, table column c
  // texture column (c + offsetX) mod width; the geometry must be usable
  // (positive sizes, rows of at least width x 3 bytes).
  ShiftedTexture(const uint8_t* texture, int width, int height, int64_t stride, int64_t offsetX,
                 int64_t offsetY)
      : width_(width), height_(height), rows_(size_t(height)), columns_(size_t(width)),
        lastRow_(size_t(width) * 3 + 1) {
    std::memcpy(lastRow_.data(), texture + (height - 1) * stride, size_t(width) * 3);
    auto rowStart = [&](int row) {
      return row == height - 1 ? lastRow_.data() : texture + row * stride;
    };
    const int oy = animation::ReduceInto(offsetY, height);
    const int ox = animation::ReduceInto(offsetX, width);
    for (int r = 0, row = oy; r < height; ++r, row = row + 1 < height ? row + 1 : 0)
      rows_[size_t(r)] = {rowStart(row), rowStart(row + 1 < height ? row + 1 : row)};
    for (int c = 0, column = ox; c < width; ++c, column = column + 1 < width ? column + 1 : 0)
      columns_[size_t(c)] = {3 * column, 3 * (column + 1 < width ? column + 1 : column)};
  }

  ShiftedTables Tables() const { return {rows_.data(), columns_.data(), width_, height_}; }

 private:
  int width_, height_;
  std::vector<ShiftedRow> rows_;
  std::vector<ShiftedColumn> columns_;
  std::vector<uint8_t> lastRow_;
};

// Copies a 24-bit pixel as four bytes; the fourth lands on the next pixel's
// first byte (written afterwards) or in spare room of the destination.
inline void CopyPixel4(uint8_t* dst, const uint8_t* src) { std::memcpy(dst, src, 4); }

// Frames are worked in blocks of this many pixels of one row: the texels
// are gathered into small arrays and blended by loops of a fixed length,
// which the compiler turns into vector code.
constexpr int kFrameBlockPixels = 64;
constexpr int kFrameBlockBytes = 3 * kFrameBlockPixels;

}  // namespace quillo::qlo12
