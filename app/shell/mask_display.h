// The display copy of a masked image: the picture blended over a grey
// checkerboard by its mask, so unselected parts show as the board.
#pragma once
#include <cstddef>
#include <cstdint>

namespace quillo {

// Checkerboard grey at (x, y) counted from the top-left pixel: 8 x 8 cells,
// 170 where x / 8 + y / 8 is odd, 85 where it is even.
uint8_t CheckerGrey(int x, int y);

// out = (image * m + c * (255 - m)) / 255 per channel, truncated, with m the
// mask byte and c the checkerboard grey. `image` and `out` are 24-bit rows
// bottom-up with stride ((width * 24 + 31) / 32) * 4; `mask` is width bytes
// per row, top-down. Returns false, writing nothing, when a size is not
// positive or a buffer is shorter than its layout needs. `out` may be
// `image`.
bool BuildMaskDisplay(const uint8_t* image, size_t imageSize, const uint8_t* mask,
                      size_t maskSize, int width, int height, uint8_t* out, size_t outSize);

}  // namespace quillo
