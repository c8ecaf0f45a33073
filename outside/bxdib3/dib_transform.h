// The copies DuplicateDIB makes: plain, mirrored, negative and turned
// (portable). Modes are the DuplicateMode values of dib_services.h:
//   1  copy
//   2  mirror left to right:   out(x, y) = in(w - 1 - x, y)
//   4  mirror top to bottom:   out(x, y) = in(x, h - 1 - y)
//   8  negative: every colour channel v becomes 255 - v (the colour table
//      of a paletted image, the masked channels of a 16/32-bit image; the
//      fourth byte of 32-bit pixels is kept)
//   16 quarter turn clockwise:         out(x, y) = in(y, h - 1 - x), size h x w
//   32 half turn:                      out(x, y) = in(w - 1 - x, h - 1 - y)
//   48 quarter turn counter-clockwise: out(x, y) = in(w - 1 - y, x), size h x w
// with x, y counted from the top-left corner. Every bit depth keeps its
// depth, colour table and masks; 1- and 4-bit images move their indices.
#pragma once
#include <cstdint>

#include "dib_check.h"

namespace quillo::dib {

bool IsTransformMode(int mode);
// Shape of the result of `mode` on a sound image; false for an unknown mode.
bool TransformShape(const uint8_t* block, const DibInfo& info, int mode, DibShape* shape);
// Writes the result into `out`, which holds DibBlockSize(shape) bytes.
void TransformDib(const uint8_t* block, const DibInfo& info, int mode, uint8_t* out);

}  // namespace quillo::dib
