// Edge: the gradient magnitude of each channel, scaled by a divisor d.
// With p(x, y) the backup pixel (memory rows; y + 1 is one row higher in
// the picture) and coordinates outside the picture clamped to it:
//   gy = 2 (p(x, y+1) - p(x, y-1)) + p(x-1, y+1) + p(x+1, y+1) - p(x-1, y-1) - p(x+1, y-1)
//   gx = 2 (p(x+1, y) - p(x-1, y)) + p(x+1, y+1) - p(x-1, y-1)
//   result = min(255, (round(sqrt(gx^2 + gy^2)) x trunc(655360 / d)) >> 16)
#pragma once
#include "imaging/basics/pixel_pass.h"

namespace quillo {

// Processes memory rows [rowBegin, rowEnd) of the pass's area; d is 1 .. 50
// (values below 1 count as 1).
void RunEdge(const PixelPass& pass, int divisor, int rowBegin, int rowEnd);

}  // namespace quillo
