// Exact quarter turns, counter-clockwise with rows counted upward: turning
// once takes pixel (x, y) of a W x H picture to (H - 1 - y, x). The result
// is made in one pass from the source, in bands of rows so that what is
// read along a source row is written down a band's columns.
#include <algorithm>
#include <cstring>

#include "shear_lines.h"
#include "shear_rotate.h"

namespace quillo::bxcomm2 {

namespace {

constexpr int kBand = 32;  // result rows made together

// One layer (`channels` bytes a pixel) of `in` (w x h), turned into `out`.
void TurnLayer(Plane<const uint8_t> in, int w, int h, int channels, int turns, Plane<uint8_t> out) {
  const int outW = turns == 2 ? w : h, outH = turns == 2 ? h : w;
  for (int band = 0; band < outH; band += kBand) {
    const int bandEnd = std::min(outH, band + kBand);
    for (int x = 0; x < outW; ++x)
      for (int y = band; y < bandEnd; ++y) {
        // The source pixel of result pixel (x, y).
        const int sx = turns == 1 ? y : turns == 2 ? w - 1 - x : w - 1 - y;
        const int sy = turns == 1 ? h - 1 - x : turns == 2 ? h - 1 - y : x;
        std::memcpy(out.Row(y) + int64_t(x) * channels, in.Row(sy) + int64_t(sx) * channels, size_t(channels));
      }
  }
}

}  // namespace

Picture QuarterTurns(const Picture& in, int turns) {
  turns = ((turns % 4) + 4) % 4;
  if (turns == 0) return in;
  const bool across = turns % 2 == 1;
  auto out = Picture::Make(across ? in.height : in.width, across ? in.width : in.height, !in.mask.empty());
  if (!out) return in;
  TurnLayer(PixelPlane(in), in.width, in.height, 3, turns, PixelPlane(*out));
  if (!in.mask.empty()) TurnLayer(MaskPlane(in), in.width, in.height, 1, turns, MaskPlane(*out));
  return std::move(*out);
}

}  // namespace quillo::bxcomm2
