// Seamless textures: a picture folded onto itself so that it tiles without
// visible edges. Each pixel is weighted by how close it lies to the middle
// of its quarter and added to its own place and to the diagonally opposite
// quarter, so the picture's borders meet their weighted opposite sides.
#pragma once
#include <cstdint>

namespace quillo::animation {

// Weight of byte value v at column x, memory row y of a width x height
// picture: from 0 to v, v itself on the middle row or column of an odd size.
// Integer arithmetic with truncating division, in 64 bits so no size wraps;
// a zero divisor (pictures 2 or 3 pixels wide or high) gives 0.
int SeamWeight(int width, int height, int x, int y, int v);

// Writes the seamless texture of `source` into `target`: both 24-bit
// pictures of width x height with rows of `stride` bytes (memory row 0
// first). The target is cleared (padding included), then every source byte's
// weight is added (8-bit wrap-around) at its own place and, except on the
// middle row or column of an odd size, at the diagonally opposite quarter:
// row y - cy when y >= cy, else y + cy; column x - cx when x >= cx, else
// x + cx, with cx = width / 2 + width % 2 and cy likewise. Nothing happens
// for sizes that are not positive or rows shorter than width x 3.
void MakeSeamless(const uint8_t* source, uint8_t* target, int width, int height, int64_t stride);

// The additions of source rows [rowBegin, rowEnd) only, onto a target the
// caller cleared: running it over every row in any order, in any runs, gives
// MakeSeamless (the additions wrap, so their order does not matter).
void MakeSeamlessRows(const uint8_t* source, uint8_t* target, int width, int height, int64_t stride,
                      int rowBegin, int rowEnd);

}  // namespace quillo::animation
