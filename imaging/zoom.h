// Separable cubic B-spline resampling of 24-bit pictures (rows bottom-up,
// blue, green, red bytes). Portable: no Windows headers.
#pragma once
#include <cstdint>

namespace quillo::imaging {

// A 24-bit picture: `height` rows of `stride` bytes, row 0 the bottom one.
// With `channels` 1 it is a one-byte mask instead.
struct Bgr24Picture {
  uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int64_t stride = 0;
  int channels = 3;
};

// A resampling kernel k(x), zero beyond |x| > support.
struct ResampleFilter {
  double (*kernel)(double x);
  double support;
};

enum class ZoomStatus { kDone, kBadSize, kNoMemory };

// The kernel, with |x| = a:
//   f(a) = 0.5 a^3 - a^2 + 2/3        for a < 1
//   f(a) = (2 - a)^3 / 6              for 1 <= a < 2
//   f(a) = 0                          beyond.
double BSplineKernel(double x);

// Resamples `source` into `target` (both already allocated; the target's
// size is the new size). Each axis with scale s = new / old: output i has
// centre c = i / s; with w = 2 / s and weight f(t s) s when s < 1 (otherwise
// w = 2 and weight f(t)), source indexes j run over [trunc(c - w + 0.5),
// trunc(c + w + 0.5)) with t = j - c + 0.5; an index outside the source is
// mirrored (j < 0 -> -j, j >= n -> 2n - j - 1) and then clamped into it, so
// sources narrower than the filter never reach outside. Weights are divided
// by their sum when it is neither 0 nor 1. Each channel is
// trunc(sum of weight x value + 0.5), clamped to 0..255, summed in double in
// increasing j order. When the height shrinks the vertical pass runs first
// into an intermediate picture of old width x new height; otherwise the
// horizontal pass runs first into new width x old height.
// kBadSize for a missing picture or a size below 1; kNoMemory when the
// intermediate picture, the tap tables or the passes' working rows cannot be
// allocated.
ZoomStatus ZoomBgr24(const Bgr24Picture& source, const Bgr24Picture& target);

// The same two-pass method with another kernel: the support w replaces 2
// (w / s when shrinking).
ZoomStatus ResampleBgr24(const Bgr24Picture& source, const Bgr24Picture& target,
                         const ResampleFilter& filter);

}  // namespace quillo::imaging
