// A horizontal shear of every source row followed by a vertical shear of
// every column, made one result row at a time without the canvas between
// them. Row y of the result blends, in each column j, the two horizontally
// sheared pixels that the column's move brings to rows y and y - 1; those
// are read straight from the source along the slant of the vertical shear,
// in runs of columns that move by the same whole number of rows, a few
// result rows together so that neighbouring runs share what they read.
#pragma once
#include <cstdint>
#include <vector>

#include "shear_lines.h"

namespace quillo::bxcomm2 {

class ShearPair {
 public:
  // Source row k (`width` pixels, k < height) lands moved by rowMoves[k]
  // among `columns` columns; column j's row k then lands at row k +
  // columnMoves[j].shift. Throws std::bad_alloc.
  ShearPair(Plane<const uint8_t> source, int width, int height, const Layout& layout, const std::vector<Move>& rowMoves,
            const std::vector<Move>& columnMoves);

  // Row y of the result: `columns` pixels to out. Fastest upwards.
  void Row(int y, uint8_t* out);

 private:
  static constexpr int kBlock = 8;  // result rows made together

  struct Run {
    int first, end;  // columns
    int rowShift;
  };

  // For rows y .. y + count - 1, one after the other from `out`: each
  // column j's horizontally sheared pixel of source row y - its shift
  // (background above and below the source).
  void SlantedRows(int y, int count, uint8_t* out) const;
  uint8_t* Slanted(int slot) { return slanted_.data() + int64_t(slot) * slantedStride_; }

  Plane<const uint8_t> source_;
  int width_, height_, columns_;
  Layout layout_;
  int64_t rowBytes_;
  std::vector<Move> rowMoves_;
  std::vector<Run> runs_;
  bool rising_;                       // whether the runs' row shifts rise along the row
  std::vector<int16_t> byteWeights_;  // each column's weight, once per byte
  int64_t slantedStride_;             // a row and room for blocks past its end
  std::vector<uint8_t> slanted_;      // slanted rows blockY_ - 1 .. blockY_ + kBlock - 1
  int blockY_;
};

}  // namespace quillo::bxcomm2
