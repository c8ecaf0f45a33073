// The private clipboard block "BEXA_RGBA": a masked picture area as
//   bytes 0-3   the ASCII letters "RGBA"
//   bytes 4-7   width in pixels (signed 32-bit, little-endian)
//   bytes 8-11  height in pixels (signed 32-bit, little-endian)
//   bytes 12-   4 x width x height bytes: rows top-down, each pixel blue,
//               green, red, mask byte.
// The pictures on both sides are 24-bit rows bottom-up with stride
// ((width * 24 + 31) / 32) * 4 and masks of width bytes per row, top-down.
#pragma once
#include <cstddef>
#include <cstdint>

#include "view_layout.h"

namespace quillo {

constexpr size_t kRgbaHeaderBytes = 12;

// 12 + 4 x width x height, or 0 when a size is not positive or the total
// does not fit in a size_t (the sizes are multiplied in 64 bits after
// checking, so nothing wraps).
size_t RgbaBlockBytes(int64_t width, int64_t height);

// Writes the block of `area` (image pixels, y from the top, right and bottom
// exclusive) of a width x height picture into `out`, which must hold
// RgbaBlockBytes of the area. Returns false, writing nothing, when the area
// is empty or not inside the picture, or a buffer is shorter than its
// layout needs.
bool WriteRgbaBlock(const uint8_t* pixels, size_t pixelsSize, const uint8_t* mask,
                    size_t maskSize, int width, int height, const Rect& area, uint8_t* out,
                    size_t outSize);

// Reads the header of a block of `blockSize` bytes. True only when it starts
// with "RGBA", both sizes are positive and the whole pixel area lies inside
// the block.
bool ReadRgbaBlockSize(const uint8_t* block, size_t blockSize, int* width, int* height);

// Fills a picture and mask of the block's size from the block. False,
// writing nothing, when the block is not sound (ReadRgbaBlockSize) or the
// picture (24-bit, bottom-up) or mask is shorter than that size needs.
bool ReadRgbaBlock(const uint8_t* block, size_t blockSize, uint8_t* pixels, size_t pixelsSize,
                   uint8_t* mask, size_t maskSize);

}  // namespace quillo
