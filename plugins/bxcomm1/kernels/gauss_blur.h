// Gaussian blur with a byte-valued curve: curve[0] = 255 and curve[+-i] =
// trunc(255 exp(-i^2 / (2 r^2))) for i = 1 .. c, c = ceil(sqrt(-ln(1/255) x
// 2 r^2)). A line of L values becomes out[x] = (sum over k = -c .. c - 1 of
// curve[k] v[clamp(x + k, 0, L - 1)]) / total, integer division, total the
// curve's sum over -c .. c - 1 (curve[c] does not enter). Lines are the
// area's columns and rows, so clamping happens at the area's edges; the pass
// works in place on the target.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/basics/pixel_pass.h"

namespace quillo {

class GaussCurve {
 public:
  explicit GaussCurve(double radius);
  int reach() const { return reach_; }             // c
  int At(int k) const { return curve_[size_t(k + reach_)]; }  // -c <= k <= c
  int64_t total() const { return total_; }

 private:
  int reach_ = 0;
  std::vector<int> curve_;
  int64_t total_ = 0;
};

// The whole source picture copied into the target (the blur's first step).
void CopyPassSource(const PixelPass& pass);
// Blurs the target's area columns [colBegin, colEnd) along their length.
void BlurAreaColumns(const PixelPass& pass, const GaussCurve& curve, int colBegin, int colEnd);
// Blurs the target's area rows [rowBegin, rowEnd) along their length.
void BlurAreaRows(const PixelPass& pass, const GaussCurve& curve, int rowBegin, int rowEnd);

}  // namespace quillo
