#include "unsharp.h"

#include <algorithm>
#include <cmath>

#include "pass_rows.h"

namespace quillo {

std::vector<double> UnsharpWeights(double radius) {
  if (!std::isfinite(radius)) radius = 0;
  const double sd = std::fabs(radius) + 1, R = 2 * sd;
  const int n = std::max(1, 2 * int(std::ceil(R - 0.5)) + 1);
  const int m = n / 2;
  const double twoVariance = 2 * sd * sd;
  std::vector<double> w(size_t(n), 0.0);
  for (int i = m + 1; i < n; ++i) {
    const double b = i - m - 0.5;
    double sum = 0;
    for (int j = 1; j <= 50; ++j) {
      const double t = b + 0.02 * j;
      if (t <= R) sum += std::exp(-t * t / twoVariance);
    }
    w[size_t(i)] = (1.0 / 50) * sum;
  }
  for (int i = 0; i < m; ++i) w[size_t(i)] = w[size_t(n - 1 - i)];
  double centre = 0;
  for (int j = 0; j <= 50; ++j) {
    const double t = 0.5 + 0.02 * j;
    centre += std::exp(-t * t / twoVariance);
  }
  w[size_t(m)] = (1.0 / 51) * centre;
  double total = 0;
  for (double v : w) total += v;
  for (double& v : w) v /= total;
  return w;
}

UnsharpKernel::UnsharpKernel(double radius) : weights_(UnsharpWeights(radius)) {
  products_.resize(weights_.size() * 256);
  for (size_t i = 0; i < weights_.size(); ++i)
    for (int v = 0; v < 256; ++v) products_[i * 256 + size_t(v)] = weights_[i] * v;
}

void UnsharpKernel::BlurLine(const uint8_t* in, int64_t inStep, uint8_t* out, int64_t outStep,
                             int length, std::vector<uint8_t>& line) const {
  line.resize(size_t(length) * 3);
  for (int x = 0; x < length; ++x)
    for (int k = 0; k < 3; ++k) line[size_t(x) * 3 + size_t(k)] = in[inStep * x + k];
  const int n = int(weights_.size()), m = n / 2;
  for (int x = 0; x < length; ++x) {
    // Taps k whose sample x + k - m lies on the line.
    const int kBegin = std::max(0, m - x), kEnd = std::min(n, length - x + m);
    const bool whole = kBegin == 0 && kEnd == n;
    double weightSum = 0;
    if (!whole)
      for (int k = kBegin; k < kEnd; ++k) weightSum += weights_[size_t(k)];
    for (int c = 0; c < 3; ++c) {
      double sum = 0;
      for (int k = kBegin; k < kEnd; ++k)
        sum += products_[size_t(k) * 256 + line[size_t(x + k - m) * 3 + size_t(c)]];
      if (!whole) sum /= weightSum;
      out[outStep * x + c] = uint8_t(std::clamp(std::trunc(sum + 0.5), 0.0, 255.0));
    }
  }
}

namespace {
struct Area {
  int col0, col1, row0, row1;
};
Area AreaOf(const PixelPass& p) {
  return {std::max(p.colBegin, 0), std::min(p.colEnd, p.width), std::max(p.rowBegin, 0),
          std::min(p.rowEnd, p.height)};
}
}  // namespace

void UnsharpKernel::BlurRows(const PixelPass& pass, int rowBegin, int rowEnd) const {
  if (!PassGeometryUsable(pass)) return;
  const Area a = AreaOf(pass);
  if (a.col0 >= a.col1) return;
  std::vector<uint8_t> line;
  for (int y = std::max(rowBegin, a.row0); y < std::min(rowEnd, a.row1); ++y)
    BlurLine(pass.SourceRow(y) + int64_t(a.col0) * 3, 3, pass.TargetRow(y) + int64_t(a.col0) * 3, 3,
             a.col1 - a.col0, line);
}

void UnsharpKernel::BlurColumns(const PixelPass& pass, int colBegin, int colEnd) const {
  if (!PassGeometryUsable(pass)) return;
  const Area a = AreaOf(pass);
  if (a.row0 >= a.row1) return;
  std::vector<uint8_t> line;
  for (int x = std::max(colBegin, a.col0); x < std::min(colEnd, a.col1); ++x) {
    uint8_t* column = pass.TargetRow(a.row0) + int64_t(x) * 3;
    BlurLine(column, pass.stride, column, pass.stride, a.row1 - a.row0, line);
  }
}

void UnsharpKernel::Combine(const PixelPass& pass, double amount, int threshold, int rowBegin,
                            int rowEnd) {
  if (!std::isfinite(amount)) amount = 0;
  ForEachPassRow(pass, rowBegin, rowEnd, [&](const uint8_t* in, uint8_t* out, int count) {
    for (int i = 0; i < count * 3; ++i) {
      int diff = int(in[i]) - int(out[i]);
      if (std::abs(2 * diff) < threshold) diff = 0;
      out[i] = uint8_t(std::clamp(in[i] + std::trunc(diff * amount), 0.0, 255.0));
    }
  });
}

}  // namespace quillo
