// Area-averaging resampling for drawing reduced views (portable).
#pragma once
#include <cstdint>

#include "dib_check.h"
#include "dib_convert.h"

namespace quillo::dib {

// Resamples `source` (image pixels, y from the top, inside the image) to
// width x height blue, green, red pixels at `out`, rows top-down with
// `outStride` bytes each. Output pixel (x, y) is the mean of the source
// pixels in columns [x * sw / width, max(that + 1, (x + 1) * sw / width))
// and the rows found the same way: a box filter when shrinking, pixel
// repetition when enlarging. Means are rounded to nearest.
void ResampleToBgr(const uint8_t* block, const DibInfo& info, const PixelRect& source, int64_t width,
                   int64_t height, uint8_t* out, int64_t outStride);

}  // namespace quillo::dib
