#include "gauss_blur.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pass_rows.h"

namespace quillo {

GaussCurve::GaussCurve(double radius) {
  if (!std::isfinite(radius) || radius <= 0) radius = 0.1;
  const double s2 = 2 * radius * radius;
  const double reach = std::ceil(std::sqrt(-std::log(1.0 / 255) * s2));
  // Beyond 1e6 taps no picture side is left to blur over.
  reach_ = int(std::clamp(reach, 1.0, 1e6));
  curve_.assign(size_t(2 * reach_ + 1), 0);
  curve_[size_t(reach_)] = 255;
  for (int i = 1; i <= reach_; ++i) {
    const int v = int(std::trunc(255 * std::exp(-double(i) * i / s2)));
    curve_[size_t(reach_ + i)] = curve_[size_t(reach_ - i)] = v;
  }
  for (int k = -reach_; k < reach_; ++k) total_ += At(k);
}

void CopyPassSource(const PixelPass& pass) {
  if (!PassGeometryUsable(pass) || pass.source == pass.target) return;
  std::memcpy(pass.target, pass.source, size_t(pass.stride) * size_t(pass.height));
}

namespace {

struct Area {
  int col0, col1, row0, row1;
  bool Empty() const { return col0 >= col1 || row0 >= row1; }
};

Area AreaOf(const PixelPass& pass) {
  return {std::max(pass.colBegin, 0), std::min(pass.colEnd, pass.width), std::max(pass.rowBegin, 0),
          std::min(pass.rowEnd, pass.height)};
}

// One line of `length` pixels at `stepBytes` apart, blurred in place: the
// line is read into a buffer first, each end padded with `reach` copies of
// its end pixel, which is what clamping the positions gives.
void BlurLine(uint8_t* first, int64_t stepBytes, int length, const GaussCurve& curve,
              std::vector<int32_t>& padded) {
  const int c = curve.reach();
  padded.resize(size_t(length + 2 * c) * 3);
  for (int i = -c; i < length + c; ++i) {
    const uint8_t* p = first + stepBytes * std::clamp(i, 0, length - 1);
    int32_t* q = &padded[size_t(i + c) * 3];
    q[0] = p[0];
    q[1] = p[1];
    q[2] = p[2];
  }
  const int64_t total = curve.total();
  for (int x = 0; x < length; ++x) {
    int64_t sum[3] = {0, 0, 0};
    const int32_t* window = &padded[size_t(x) * 3];  // position x - c
    for (int k = -c; k < c; ++k, window += 3) {
      const int weight = curve.At(k);
      sum[0] += int64_t(weight) * window[0];
      sum[1] += int64_t(weight) * window[1];
      sum[2] += int64_t(weight) * window[2];
    }
    uint8_t* out = first + stepBytes * x;
    out[0] = uint8_t(sum[0] / total);
    out[1] = uint8_t(sum[1] / total);
    out[2] = uint8_t(sum[2] / total);
  }
}

}  // namespace

void BlurAreaColumns(const PixelPass& pass, const GaussCurve& curve, int colBegin, int colEnd) {
  if (!PassGeometryUsable(pass)) return;
  const Area a = AreaOf(pass);
  if (a.Empty()) return;
  std::vector<int32_t> padded;
  for (int x = std::max(colBegin, a.col0); x < std::min(colEnd, a.col1); ++x)
    BlurLine(pass.TargetRow(a.row0) + int64_t(x) * 3, pass.stride, a.row1 - a.row0, curve, padded);
}

void BlurAreaRows(const PixelPass& pass, const GaussCurve& curve, int rowBegin, int rowEnd) {
  if (!PassGeometryUsable(pass)) return;
  const Area a = AreaOf(pass);
  if (a.Empty()) return;
  std::vector<int32_t> padded;
  for (int y = std::max(rowBegin, a.row0); y < std::min(rowEnd, a.row1); ++y)
    BlurLine(pass.TargetRow(y) + int64_t(a.col0) * 3, 3, a.col1 - a.col0, curve, padded);
}

}  // namespace quillo
