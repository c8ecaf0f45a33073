// The unsharp mask's lane paths against a copy of the one-value-at-a-time
// formula it replaced: every byte of both buffers must agree, guard bytes
// and row padding included, for radii across the dialog's range, tiny and
// odd pictures, areas inside and across the picture's edges, stages split
// into several calls, and amounts and thresholds of either sign.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "plugins/bxcomm1/kernels/pass_rows.h"
#include "plugins/bxcomm1/kernels/unsharp.h"

namespace quillo::test {
namespace {

// The former kernel, kept here only to compare against: a product table
// and one line (row or column) at a time, each value's taps summed in
// ascending order.
class ReferenceUnsharp {
 public:
  explicit ReferenceUnsharp(double radius) : weights_(UnsharpWeights(radius)) {
    products_.resize(weights_.size() * 256);
    for (size_t i = 0; i < weights_.size(); ++i)
      for (int v = 0; v < 256; ++v) products_[i * 256 + size_t(v)] = weights_[i] * v;
  }

  void BlurRows(const PixelPass& pass, int rowBegin, int rowEnd) const {
    if (!PassGeometryUsable(pass)) return;
    const Area a = AreaOf(pass);
    if (a.col0 >= a.col1) return;
    std::vector<uint8_t> line;
    for (int y = std::max(rowBegin, a.row0); y < std::min(rowEnd, a.row1); ++y)
      BlurLine(pass.SourceRow(y) + int64_t(a.col0) * 3, 3, pass.TargetRow(y) + int64_t(a.col0) * 3,
               3, a.col1 - a.col0, line);
  }

  void BlurColumns(const PixelPass& pass, int colBegin, int colEnd) const {
    if (!PassGeometryUsable(pass)) return;
    const Area a = AreaOf(pass);
    if (a.row0 >= a.row1) return;
    std::vector<uint8_t> line;
    for (int x = std::max(colBegin, a.col0); x < std::min(colEnd, a.col1); ++x) {
      uint8_t* column = pass.TargetRow(a.row0) + int64_t(x) * 3;
      BlurLine(column, pass.stride, column, pass.stride, a.row1 - a.row0, line);
    }
  }

  static void Combine(const PixelPass& pass, double amount, int threshold, int rowBegin,
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

 private:
  struct Area {
    int col0, col1, row0, row1;
  };
  static Area AreaOf(const PixelPass& p) {
    return {std::max(p.colBegin, 0), std::min(p.colEnd, p.width), std::max(p.rowBegin, 0),
            std::min(p.rowEnd, p.height)};
  }

  void BlurLine(const uint8_t* in, int64_t inStep, uint8_t* out, int64_t outStep, int length,
                std::vector<uint8_t>& line) const {
    line.resize(size_t(length) * 3);
    for (int x = 0; x < length; ++x)
      for (int k = 0; k < 3; ++k) line[size_t(x) * 3 + size_t(k)] = in[inStep * x + k];
    const int n = int(weights_.size()), m = n / 2;
    for (int x = 0; x < length; ++x) {
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

  std::vector<double> weights_;
  std::vector<double> products_;
};

constexpr size_t kGuard = 40;

enum class Fill { kNoise, kZero, kFull, kExtremes, kRamp };

// Source and target with kGuard bytes around each and padded rows; the
// target starts as a pattern so that a stray write shows.
struct Picture {
  int width, height, stride;
  std::vector<uint8_t> source, target;

  Picture(int w, int h, Fill fill, uint32_t seed, int pad = 5)
      : width(w), height(h), stride(w * 3 + pad) {
    source.resize(size_t(stride) * size_t(h) + 2 * kGuard);
    target.resize(source.size());
    for (size_t i = 0; i < source.size(); ++i) {
      seed = seed * 1103515245u + 12345u;
      const uint8_t noise = uint8_t(seed >> 24);
      source[i] = fill == Fill::kNoise      ? noise
                  : fill == Fill::kZero     ? 0
                  : fill == Fill::kFull     ? 255
                  : fill == Fill::kExtremes ? uint8_t(noise & 0x80 ? 255 : 0)
                                            : uint8_t(i * 5 / 7 + (noise & 3));
      target[i] = uint8_t(i * 11 + 3);
    }
  }
  PixelPass Pass(std::vector<uint8_t>& into, int x0, int x1, int y0, int y1) const {
    return {source.data() + kGuard, into.data() + kGuard, width, height, stride, x0, x1, y0, y1};
  }
};

struct Rect {
  int x0, x1, y0, y1;
};

// Both kernels through all three stages on copies of the same picture, the
// fast one with each stage cut into calls of `rowSlice` rows or `colSlice`
// columns, the buffers compared after every stage.
void ExpectSame(const Picture& pic, double radius, Rect r, int rowSlice, int colSlice,
                double amount = 1.0, int threshold = 0) {
  SCOPED_TRACE(testing::Message() << pic.width << "x" << pic.height << " radius " << radius
                                  << " area " << r.x0 << ".." << r.x1 << " x " << r.y0 << ".."
                                  << r.y1 << " slices " << rowSlice << "/" << colSlice);
  std::vector<uint8_t> expect = pic.target, got = pic.target;
  const PixelPass e = pic.Pass(expect, r.x0, r.x1, r.y0, r.y1);
  const PixelPass g = pic.Pass(got, r.x0, r.x1, r.y0, r.y1);
  const ReferenceUnsharp reference(radius);
  const UnsharpKernel kernel(radius);
  auto sliced = [](int begin, int end, int slice, auto&& run) {
    for (int a = begin; a < end; a += slice) run(a, std::min(end, a + slice));
  };
  reference.BlurRows(e, r.y0, r.y1);
  sliced(r.y0, r.y1, rowSlice, [&](int a, int b) { kernel.BlurRows(g, a, b); });
  ASSERT_EQ(got, expect) << "rows";
  reference.BlurColumns(e, r.x0, r.x1);
  sliced(r.x0, r.x1, colSlice, [&](int a, int b) { kernel.BlurColumns(g, a, b); });
  ASSERT_EQ(got, expect) << "columns";
  ReferenceUnsharp::Combine(e, amount, threshold, r.y0, r.y1);
  sliced(r.y0, r.y1, rowSlice,
         [&](int a, int b) { UnsharpKernel::Combine(g, amount, threshold, a, b); });
  ASSERT_EQ(got, expect) << "combine";
}

// Radius 0 and the dialog's ends (0.1 .. 50) with the ones between.
const double kRadii[] = {0, 0.1, 0.5, 1, 2, 3, 7.5, 20, 50};

TEST(UnsharpFast, TinyPicturesOfEveryShapeMatch) {
  for (double radius : kRadii)
    for (int w = 1; w <= 7; ++w)
      for (int h = 1; h <= 7; ++h) {
        const Picture pic(w, h, Fill::kNoise, uint32_t(w * 31 + h));
        ExpectSame(pic, radius, {0, w, 0, h}, h, w);
      }
}

TEST(UnsharpFast, PicturesAroundTheWindowAndStripSizesMatch) {
  // Sides below, at and above the 13- and 27-tap windows (radius 2 and
  // 5.5), and rows of bytes that end in a partial strip or block.
  uint32_t seed = 7;
  for (double radius : {0.0, 2.0, 5.5})
    for (int w : {12, 13, 14, 27, 33, 64, 65, 97})
      for (int h : {1, 9, 12, 13, 14, 27, 40}) {
        const Picture pic(w, h, Fill::kNoise, ++seed);
        ExpectSame(pic, radius, {0, w, 0, h}, h, w);
      }
  // The dialog's widest window, 205 taps.
  for (auto [w, h] : {std::pair{3, 211}, std::pair{211, 2}, std::pair{204, 211}, std::pair{205, 205},
                      std::pair{211, 204}}) {
    const Picture pic(w, h, Fill::kNoise, ++seed);
    ExpectSame(pic, 50.0, {0, w, 0, h}, h, w);
  }
}

TEST(UnsharpFast, FlatAndTwoLevelPicturesMatch) {
  for (Fill fill : {Fill::kZero, Fill::kFull, Fill::kExtremes, Fill::kRamp})
    for (double radius : kRadii) {
      const Picture pic(45, 38, fill, 99);
      ExpectSame(pic, radius, {0, 45, 0, 38}, 38, 45);
    }
}

TEST(UnsharpFast, AreasOffTheOriginAndStagesInSlicesMatch) {
  const Picture pic(150, 90, Fill::kNoise, 2024);
  const Rect areas[] = {{0, 150, 0, 90},   {3, 147, 5, 81},  {17, 18, 0, 90},
                        {40, 121, 44, 45}, {-9, 80, -4, 200}, {120, 400, 60, 95}};
  for (double radius : {0.5, 3.0, 7.5})
    for (const Rect& r : areas)
      for (auto [rows, cols] : {std::pair{1000, 1000}, std::pair{16, 16}, std::pair{7, 5}}) {
        ExpectSame(pic, radius, r, rows, cols);
      }
}

TEST(UnsharpFast, CombineMatchesForEveryAmountAndThreshold) {
  const Picture pic(67, 23, Fill::kNoise, 5);
  for (double amount : {0.0, -0.0, 0.05, 0.5, 1.0, 2.7, 100.0, -0.5, -1.0, -3.3, 1e300, -1e300})
    for (int threshold : {-5, 0, 1, 2, 3, 50, 100, 255, 511, 1000}) {
      SCOPED_TRACE(testing::Message() << "amount " << amount << " threshold " << threshold);
      // Blur values of every kind: a second noise picture as the target.
      std::vector<uint8_t> expect = Picture(67, 23, Fill::kNoise, 6).source, got = expect;
      ReferenceUnsharp::Combine(pic.Pass(expect, 2, 60, 1, 22), amount, threshold, 0, 23);
      UnsharpKernel::Combine(pic.Pass(got, 2, 60, 1, 22), amount, threshold, 0, 23);
      ASSERT_EQ(got, expect);
    }
  // A non-finite amount counts as 0.
  const Picture other(5, 4, Fill::kExtremes, 8);
  ExpectSame(other, 1.0, {0, 5, 0, 4}, 4, 5, std::nan(""), 0);
  ExpectSame(other, 1.0, {0, 5, 0, 4}, 4, 5, INFINITY, 3);
}

}  // namespace
}  // namespace quillo::test
