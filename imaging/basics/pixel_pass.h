// The rectangle of 24-bit pixels one pass of an effect reads and writes.
// Rows are memory rows of a bottom-up DIB (row 0 is the bottom picture row);
// source and target have the same geometry; the pass covers rows
// [rowBegin, rowEnd) and columns [colBegin, colEnd).
#pragma once
#include <cstdint>

namespace quillo {

struct PixelPass {
  const uint8_t* source = nullptr;
  uint8_t* target = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes per row
  int colBegin = 0, colEnd = 0;
  int rowBegin = 0, rowEnd = 0;

  const uint8_t* SourceRow(int row) const { return source + int64_t(row) * stride; }
  uint8_t* TargetRow(int row) const { return target + int64_t(row) * stride; }
};

}  // namespace quillo
