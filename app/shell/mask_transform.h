// Masks that follow their picture through the image commands, and the
// lightness grey of a packed DIB. Masks are width x height bytes, rows
// top-down.
#pragma once
#include <cstddef>
#include <cstdint>

#include "view_layout.h"

namespace quillo {

// The geometric changes of the transform commands, numbered like the DIB
// services' copy modes. x, y count from the top-left of the w x h source.
enum class MaskTransform {
  kMirrorX = 2,    // out(x, y) = in(w - 1 - x, y), w x h
  kMirrorY = 4,    // out(x, y) = in(x, h - 1 - y), w x h
  kTurnRight = 16, // out(x, y) = in(y, h - 1 - x), h x w (quarter turn clockwise)
  kHalfTurn = 32,  // out(x, y) = in(w - 1 - x, h - 1 - y), w x h
  kTurnLeft = 48,  // out(x, y) = in(w - 1 - y, x), h x w (quarter turn counter-clockwise)
};

// Writes the changed mask of a width x height mask into `out` (which is h x
// w for the quarter turns). False, writing nothing, for sizes that are not
// positive or buffers shorter than width x height bytes; `out` must not be
// `in`.
bool TransformMask(const uint8_t* in, size_t inSize, int width, int height, MaskTransform change,
                   uint8_t* out, size_t outSize);

// out[i] = 255 - in[i] for the first `count` bytes; `out` may be `in`.
void InvertMask(const uint8_t* in, uint8_t* out, size_t count);

// Copies `area` (clamped already: inside width x height, non-empty) of a
// width x height mask into a mask of the area's size. False, writing
// nothing, when the area is not inside the mask or a buffer is too short.
bool CopyMaskArea(const uint8_t* in, size_t inSize, int width, int height, const Rect& area,
                  uint8_t* out, size_t outSize);

// Lightness grey of a packed DIB in place: every pixel of a 24- or 32-bit
// picture, or every colour-table entry of a paletted one, gets
// (max + min) / 2 of its blue, green and red (integer halving) in all three
// channels; the fourth byte is kept. A picture with a 2-entry table and
// 16-bit pictures are left unchanged. False (nothing changed) when the
// block is not an uncompressed DIB whose table and rows lie inside `size`.
bool LightnessGreyDib(uint8_t* dib, size_t size);

// (max + min) / 2 of three channel values.
constexpr uint8_t Lightness(uint8_t b, uint8_t g, uint8_t r) {
  const uint8_t hi = b > g ? (b > r ? b : r) : (g > r ? g : r);
  const uint8_t lo = b < g ? (b < r ? b : r) : (g < r ? g : r);
  return uint8_t((unsigned(hi) + unsigned(lo)) / 2);
}

}  // namespace quillo
