#include "gauss_blur.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "blur_lanes.h"
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

// One line of `length` pixels at `stepBytes` apart, blurred in place with
// 64-bit sums, for curves too wide for BlurLanes: the line is read into a
// buffer first, each end padded with `reach` copies of its end pixel, which
// is what clamping the positions gives.
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

// Rows of the area through BlurLanes: each row's bytes become floats with
// `reach` copies of its end pixels on either side.
void BlurRowsInLanes(const PixelPass& pass, const BlurLanes& lanes, const Area& a, int y0, int y1) {
  const size_t c = size_t(lanes.reach()), count = size_t(a.col1 - a.col0) * 3;
  std::vector<float> padded(BlurLanes::RoundUp(count) + 2 * c * 3, 0.0f);
  std::vector<uint8_t> line(BlurLanes::RoundUp(count));
  for (int y = y0; y < y1; ++y) {
    uint8_t* row = pass.TargetRow(y) + int64_t(a.col0) * 3;
    float* inside = padded.data() + c * 3;
    for (size_t i = 0; i < count; ++i) inside[i] = row[i];
    for (size_t i = 0; i < c * 3; ++i) {
      padded[i] = inside[i % 3];
      inside[count + i] = inside[count - 3 + i % 3];
    }
    lanes.Convolve(padded.data(), 3, count, line.data());
    std::memcpy(row, line.data(), count);
  }
}

// Columns of the area through BlurLanes, kStrip bytes of every row at a
// time: the strip's rows become float rows, with `reach` copies of the
// first and last row above and below. Past a narrow last strip the lanes
// keep earlier values (or 0), whose results are not stored.
constexpr size_t kStrip = 96;

void BlurColumnsInLanes(const PixelPass& pass, const BlurLanes& lanes, const Area& a, int x0,
                        int x1) {
  const size_t c = size_t(lanes.reach()), length = size_t(a.row1 - a.row0);
  std::vector<float> padded(BlurLanes::RoundUp(length * kStrip) + 2 * c * kStrip, 0.0f);
  std::vector<uint8_t> lines(BlurLanes::RoundUp(length * kStrip));
  for (size_t first = size_t(x0) * 3; first < size_t(x1) * 3; first += kStrip) {
    const size_t width = std::min(kStrip, size_t(x1) * 3 - first);
    for (size_t y = 0; y < length; ++y) {
      const uint8_t* src = pass.TargetRow(a.row0 + int(y)) + first;
      float* dst = &padded[(c + y) * kStrip];
      for (size_t b = 0; b < width; ++b) dst[b] = src[b];
    }
    for (size_t i = 0; i < c; ++i) {
      std::memcpy(&padded[i * kStrip], &padded[c * kStrip], kStrip * sizeof(float));
      std::memcpy(&padded[(c + length + i) * kStrip], &padded[(c + length - 1) * kStrip],
                  kStrip * sizeof(float));
    }
    lanes.Convolve(padded.data(), kStrip, length * kStrip, lines.data());
    for (size_t y = 0; y < length; ++y)
      std::memcpy(pass.TargetRow(a.row0 + int(y)) + first, &lines[y * kStrip], width);
  }
}

}  // namespace

void BlurAreaColumns(const PixelPass& pass, const GaussCurve& curve, int colBegin, int colEnd) {
  if (!PassGeometryUsable(pass)) return;
  const Area a = AreaOf(pass);
  const int x0 = std::max(colBegin, a.col0), x1 = std::min(colEnd, a.col1);
  if (a.Empty() || x0 >= x1) return;
  if (BlurLanes::Fits(curve)) return BlurColumnsInLanes(pass, BlurLanes(curve), a, x0, x1);
  std::vector<int32_t> padded;
  for (int x = x0; x < x1; ++x)
    BlurLine(pass.TargetRow(a.row0) + int64_t(x) * 3, pass.stride, a.row1 - a.row0, curve, padded);
}

void BlurAreaRows(const PixelPass& pass, const GaussCurve& curve, int rowBegin, int rowEnd) {
  if (!PassGeometryUsable(pass)) return;
  const Area a = AreaOf(pass);
  const int y0 = std::max(rowBegin, a.row0), y1 = std::min(rowEnd, a.row1);
  if (a.Empty() || y0 >= y1) return;
  if (BlurLanes::Fits(curve)) return BlurRowsInLanes(pass, BlurLanes(curve), a, y0, y1);
  std::vector<int32_t> padded;
  for (int y = y0; y < y1; ++y)
    BlurLine(pass.TargetRow(y) + int64_t(a.col0) * 3, 3, a.col1 - a.col0, curve, padded);
}

}  // namespace quillo
