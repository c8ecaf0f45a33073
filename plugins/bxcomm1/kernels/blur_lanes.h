// The Gaussian blur's arithmetic on many lines at once. Samples are floats
// laid out so that one line's consecutive samples lie `step` apart and
// neighbouring lines sit next to each other: a row's interleaved channels
// (step 3) or a strip of columns (step = the strip's width). When every
// sum of byte samples times weights stays below 2^24, each product and
// partial sum is an integer a float holds exactly, so the lanes give the
// integer formula's bytes whatever order they add in.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gauss_blur.h"

namespace quillo {

class BlurLanes {
 public:
  static constexpr size_t kLanes = 256;  // results of one step of Convolve

  // Whether the curve's sums stay exact in floats.
  static bool Fits(const GaussCurve& curve) { return 255 * curve.total() < (int64_t(1) << 24); }
  static size_t RoundUp(size_t count) { return (count + kLanes - 1) / kLanes * kLanes; }

  explicit BlurLanes(const GaussCurve& curve);
  int reach() const { return reach_; }

  // out[j] = (sum over k = -c .. c - 1 of curve[k] padded[j + (k + c) step])
  // / total for j < RoundUp(count); padded holds RoundUp(count) + 2 c step
  // values.
  void Convolve(const float* padded, size_t step, size_t count, uint8_t* out) const;

 private:
  int reach_;
  std::vector<float> weights_;  // curve[i] for i = 0 .. c; the curve is even
  float total_, inverse_;
};

}  // namespace quillo
