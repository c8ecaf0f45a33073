// Tiling copy and two-colour expansion of packed DIB pixel rows. Portable:
// no Windows headers.
#pragma once
#include <cstdint>

#include "contracts/dib_format.h"
#include "zoom.h"

namespace quillo::imaging {

// Fills the whole target from the source repeated as tiles: with c and r
// the start column and row reduced modulo the source width and height,
// target pixel (x, y) = source pixel ((x + c) mod sw, (y + r) mod sh), y
// counted from the top in both pictures. Negative starts wrap the same way.
void TileBgr24(const Bgr24Picture& source, const Bgr24Picture& target, int startColumn,
               int startRow);

// One bit per pixel, most significant bit first (rows of `bitsStride`
// bytes, same order as the target): a set bit gives `colour` (blue, green,
// red bytes), a clear bit each of those bytes XOR 255.
void TwoColourToBgr24(const uint8_t* bits, int64_t bitsStride, const Bgr24Picture& target,
                      const uint8_t colour[3]);

// Where the pixel rows of a packed DIB lie when they are read as one bit per
// pixel whatever its stated depth: bottom-up rows of ((width + 31) / 32) * 4
// bytes after the header and the colour table.
struct OneBitRows {
  int32_t width = 0;
  int32_t height = 0;
  uint64_t offset = 0;  // of the bottom row, from the block start
  int64_t stride = 0;
};

// Finds the one-bit rows of the `size`-byte block: they start after the
// header's stated size, the three bit-field masks when the compression is
// 3 and the header is shorter than 52 bytes, and clrUsed colour entries
// (2^bitCount when clrUsed is 0 and the depth is 1 to 8 bits, none for
// other depths). False when the block is shorter than 40 bytes, the stated
// header size is below 40 or beyond the block, width or height is not
// positive, or the table and height x stride bytes of rows do not lie inside
// the block. Sizes are summed in 64 bits, where no header value can wrap.
bool FindOneBitRows(const uint8_t* block, uint64_t size, OneBitRows* rows);

// Header of the 24-bit expansion of `in`: the same 40-byte header with
// bit count 24, one plane, no compression, no colour entries and image size
// height x the 24-bit stride (the caller has already made that image, so the
// size fits).
DibHeader ExpandedHeader(const DibHeader& in);

}  // namespace quillo::imaging
