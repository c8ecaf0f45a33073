// Unsharp mask: the area blurred along rows and then columns with a sampled
// Gaussian, and each channel pushed away from its blur: diff = source -
// blur, dropped when |2 diff| < threshold, result clamp(source + trunc(diff
// x amount)).
//
// Blur weights for radius r: sd = |r| + 1, R = 2 sd, n = 2 ceil(R - 0.5) + 1
// taps around the middle m = n / 2; tap i > m averages 50 samples of
// exp(-t^2 / (2 sd^2)) over t = i - m - 0.5 + 0.02 j (j = 1 .. 50, only t <=
// R), taps below the middle mirror those above, the middle averages 51
// samples from 0.5 to 1.5; all are divided by their sum. A line's pixel is
// round(sum of weight x value) over its window; near the ends (and on lines
// shorter than the window) the taps outside are dropped and the sum is
// divided by the weights that remain.
//
// Each value's sum runs over its taps in ascending order from 0.0 in
// doubles; the fast paths add many values side by side but keep that order,
// so they give the same bytes as the one-value-at-a-time formula.
#pragma once
#include <vector>

#include "imaging/basics/pixel_pass.h"

namespace quillo {

std::vector<double> UnsharpWeights(double radius);

class UnsharpKernel {
 public:
  explicit UnsharpKernel(double radius);
  const std::vector<double>& weights() const { return weights_; }

  // First stage: area rows [rowBegin, rowEnd) blurred from the source into
  // the target.
  void BlurRows(const PixelPass& pass, int rowBegin, int rowEnd) const;
  // Second stage: area columns [colBegin, colEnd) of the target blurred in
  // place.
  void BlurColumns(const PixelPass& pass, int colBegin, int colEnd) const;
  // Last stage: rows [rowBegin, rowEnd) of the target (holding the blur)
  // turned into the sharpened result.
  static void Combine(const PixelPass& pass, double amount, int threshold, int rowBegin, int rowEnd);

 private:
  std::vector<double> weights_;
};

}  // namespace quillo
