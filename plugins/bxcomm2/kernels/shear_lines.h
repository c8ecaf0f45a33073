// The line steps of the shears (see shear_rotate.h for the arithmetic): the
// 14-bit blend and a line moved along itself. Lines hold pixels of
// `channels` bytes (3 for colour, 1 for a mask).
#pragma once
#include <cstdint>

namespace quillo::bxcomm2 {

constexpr int kOne = 16384;  // 1.0 in the shears' fixed point

// How a line moves: by `shift` whole pixels, each pixel then weighted by
// `weight` against the one before it.
struct Move {
  int shift = 0;
  int weight = kOne;
};

Move MoveBy(double offset);

inline Move Shifted(Move move, int pixels) { return {move.shift + pixels, move.weight}; }

// (p F + q (16384 - F) + 8192) >> 14, as q + (((p - q) 8F >> 16) + 1 >> 1):
// the same value for every p, q and F (the last halving rounds as the 8192
// does), in 16-bit steps that vectorise to one high multiplication.
inline uint8_t Blend(int p, int q, int weight) {
  const int16_t difference = int16_t((p - q) * 8);
  const int16_t high = int16_t((int32_t(difference) * int16_t(weight)) >> 16);
  return uint8_t(q + ((high + 1) >> 1));
}

// out[i] = Blend(p[i], q[i], weight) over `count` bytes.
void BlendBytes(const uint8_t* p, const uint8_t* q, int64_t count, int weight, uint8_t* out);

// Memory rows of one layer of a picture.
template <typename Byte>
struct Plane {
  Byte* row0;    // memory row 0
  int64_t step;  // bytes from one memory row to the next
  Byte* Row(int y) const { return row0 + step * y; }
};
template <typename Byte>
Plane(Byte*, int64_t) -> Plane<Byte>;  // for compilers without aggregate deduction

// The colour pixels and the mask of a picture (const or not) as planes.
template <typename P>
auto PixelPlane(P& picture) {
  return Plane{picture.pixels.data(), picture.stride};
}

// Mask rows run top-down: memory row y is mask row height - 1 - y.
template <typename P>
auto MaskPlane(P& picture) {
  return Plane{picture.mask.data() + int64_t(picture.height - 1) * picture.width, -int64_t(picture.width)};
}

// Bytes per pixel and the background of one pixel.
struct Layout {
  int channels = 3;
  uint8_t fill[3] = {0, 0, 0};
};

void FillPixels(uint8_t* out, int64_t count, const Layout& layout);

// out[0, outLength) is `line` (length pixels) moved by `move`: pixel k
// lands at k + move.shift, background comes in before the first pixel and
// takes the last one's share after it, and the rest is background.
void ShearSpan(const uint8_t* line, int length, Move move, const Layout& layout, uint8_t* out, int outLength);

}  // namespace quillo::bxcomm2
