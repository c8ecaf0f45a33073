// Tiling copy and two-colour expansion of packed DIB pixel rows. Portable:
// no Windows headers.
#pragma once
#include <cstdint>

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

}  // namespace quillo::imaging
