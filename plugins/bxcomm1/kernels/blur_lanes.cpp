#include "blur_lanes.h"

namespace quillo {

BlurLanes::BlurLanes(const GaussCurve& curve)
    : reach_(curve.reach()), total_(float(curve.total())), inverse_(1.0f / float(curve.total())) {
  for (int i = 0; i <= reach_; ++i) weights_.push_back(float(curve.At(i)));
}

namespace {

// sum / total for 0 <= sum <= 255 total < 2^24: the float estimate is off by
// at most one either way, and the remainder, exact in floats, corrects it.
inline uint8_t Quotient(float sum, float total, float inverse) {
  int q = int(sum * inverse);
  const float rest = sum - float(q) * total;
  q += int(rest >= total) - int(rest < 0);
  return uint8_t(q);
}

}  // namespace

void BlurLanes::Convolve(const float* padded, size_t step, size_t count, uint8_t* out) const {
  const size_t c = size_t(reach_);
  const float* w = weights_.data();
  const float total = total_, inverse = inverse_;
  for (size_t j = 0; j < count; j += kLanes) {
    // Taps k and -k share a weight: their samples are added first.
    const float* centre = padded + j + c * step;
    float sum[kLanes];
    for (size_t l = 0; l < kLanes; ++l) sum[l] = w[0] * centre[l] + w[c] * padded[j + l];
    size_t i = 1;
    for (; i + 1 < c; i += 2) {  // two pairs of taps per visit of the sums
      const float* before = centre - i * step;
      const float* after = centre + i * step;
      const float* before2 = before - step;
      const float* after2 = after + step;
      const float weight = w[i], weight2 = w[i + 1];
      for (size_t l = 0; l < kLanes; ++l)
        sum[l] += weight * (before[l] + after[l]) + weight2 * (before2[l] + after2[l]);
    }
    if (i < c) {
      const float* before = centre - i * step;
      const float* after = centre + i * step;
      const float weight = w[i];
      for (size_t l = 0; l < kLanes; ++l) sum[l] += weight * (before[l] + after[l]);
    }
    for (size_t l = 0; l < kLanes; ++l) out[j + l] = Quotient(sum[l], total, inverse);
  }
}

}  // namespace quillo
