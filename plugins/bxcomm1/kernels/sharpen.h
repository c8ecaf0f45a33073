// Sharpen: a vertical three-row kernel. With centre weight c = trunc((100 -
// s) x 0.5 + 13) and divisor g = max(1, c - 12), each channel's sum is
// -4 below + (c - 4) here - 4 above (the 3 x 3 pattern's rows, each row's
// weights taken in the pixel's own column); the result is 0 for a negative
// sum, 255 above 255 g, else (sum + g / 2) / g.
// Rows: the first picture row is its own row below; rows from height - 2 on
// use rows height - 2, height - 1 and height - 1. Columns: the last two
// columns of the area read the third-last.
#pragma once
#include "imaging/basics/pixel_pass.h"

namespace quillo {

struct SharpenWeights {
  int centre = 0, divisor = 1;
};
SharpenWeights SharpenWeightsFor(int strength);

void RunSharpen(const PixelPass& pass, int strength, int rowBegin, int rowEnd);

}  // namespace quillo
