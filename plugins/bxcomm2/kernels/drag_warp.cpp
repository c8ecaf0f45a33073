#include "drag_warp.h"

#include <algorithm>
#include <cmath>

namespace quillo::bxcomm2 {

namespace {

bool Inside(const DragWarpPicture& p, DragPoint q) {
  return q.x >= 0 && q.y >= 0 && q.x < p.width && q.y < p.height;
}

// Source position of a target pixel: the pixel itself moved by S - E times
// the bilinear weight of the corner at E.
struct Square {
  int left, bottom, side;  // the square's first column and memory row
  bool endAtRight, endAtTop;
};

void WarpSquare(const DragWarpPicture& p, const Square& q, DragPoint start, DragPoint end) {
  const int x0 = std::max(q.left, 0), x1 = std::min(q.left + q.side, p.width - 1);
  const int y0 = std::max(q.bottom, 0), y1 = std::min(q.bottom + q.side, p.height - 1);
  const double moveX = start.x - end.x, moveY = start.y - end.y, side = q.side;
  const double maxX = p.width - 1, maxY = p.height - 1;
  for (int y = y0; y <= y1; ++y) {
    const double v = (y - q.bottom) / side;
    const double wy = q.endAtTop ? v : 1.0 - v;
    uint8_t* out = p.target + int64_t(y) * p.stride;
    for (int x = x0; x <= x1; ++x) {
      const double u = (x - q.left) / side;
      const double w = (q.endAtRight ? u : 1.0 - u) * wy;
      const double sx = std::clamp(x + moveX * w, 0.0, maxX), sy = std::clamp(y + moveY * w, 0.0, maxY);
      const int ix = std::min(int(sx), p.width - 2 < 0 ? 0 : p.width - 2);
      const int iy = std::min(int(sy), p.height - 2 < 0 ? 0 : p.height - 2);
      const int nx = std::min(ix + 1, p.width - 1), ny = std::min(iy + 1, p.height - 1);
      const double fx = sx - ix, fy = sy - iy;
      const double w00 = (1 - fx) * (1 - fy), w10 = fx * (1 - fy), w01 = (1 - fx) * fy, w11 = fx * fy;
      const uint8_t* r0 = p.source + int64_t(iy) * p.stride;
      const uint8_t* r1 = p.source + int64_t(ny) * p.stride;
      for (int c = 0; c < 3; ++c)
        out[3 * x + c] = uint8_t(r0[3 * ix + c] * w00 + r0[3 * nx + c] * w10 + r1[3 * ix + c] * w01 +
                                 r1[3 * nx + c] * w11);
      if (p.sourceMask && p.targetMask) {
        // The mask's rows run top-down.
        const int64_t m0 = int64_t(p.height - 1 - iy) * p.width, m1 = int64_t(p.height - 1 - ny) * p.width;
        p.targetMask[int64_t(p.height - 1 - y) * p.width + x] =
            uint8_t(p.sourceMask[m0 + ix] * w00 + p.sourceMask[m0 + nx] * w10 + p.sourceMask[m1 + ix] * w01 +
                    p.sourceMask[m1 + nx] * w11);
      }
    }
  }
}

}  // namespace

int DragWarpSide(DragPoint start, DragPoint end) {
  const double dx = double(end.x) - start.x, dy = double(end.y) - start.y;
  return 2 * int(std::sqrt(dx * dx + dy * dy));
}

void DragWarp(const DragWarpPicture& p, DragPoint start, DragPoint end) {
  if (!p.source || !p.target || p.width <= 0 || p.height <= 0 || p.stride < int64_t(p.width) * 3) return;
  if (!Inside(p, start) || !Inside(p, end)) return;
  const int r = DragWarpSide(start, end);
  if (r == 0) return;
  WarpSquare(p, {end.x - r, end.y - r, r, true, true}, start, end);
  WarpSquare(p, {end.x, end.y - r, r, false, true}, start, end);
  WarpSquare(p, {end.x - r, end.y, r, true, false}, start, end);
  WarpSquare(p, {end.x, end.y, r, false, false}, start, end);
}

}  // namespace quillo::bxcomm2
