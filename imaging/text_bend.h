// Bending the outline points of a text between two guide lines. Portable:
// no Windows headers.
#pragma once
#include <cstddef>
#include <cstdint>

namespace quillo::imaging {

struct GuidePoint {
  int32_t x = 0, y = 0;
};

// Moves every outline point of a text drawn at (0, 0). The text box is
// W = max(extentWidth, largest x), H = max(extentHeight, largest y). For a
// point (x, y): u = x / W, v = y / H, T = top[trunc((topCount - 1) u)],
// B = bottom[trunc((bottomCount - 1) u)], and the point becomes
// (trunc((1 - v) T.x + v B.x), trunc((1 - v) T.y + v B.y)).
// False, with `out` unspecified, when there are no points, a guide count
// is below 1, the box is empty, a guide index falls outside its array (a
// point left of the text origin) or a moved point leaves the 32-bit range.
bool BendTextPoints(const GuidePoint* points, size_t count, int32_t extentWidth,
                    int32_t extentHeight, const GuidePoint* top, int topCount,
                    const GuidePoint* bottom, int bottomCount, GuidePoint* out);

}  // namespace quillo::imaging
