// Fast paths of the blur, sharpen and edge kernels against plain loops
// written from the formulas in their headers, on pictures of awkward sizes
// with padded rows, guard bytes around both buffers, and areas inside and
// across the picture's edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugins/bxcomm1/kernels/edge_filter.h"
#include "plugins/bxcomm1/kernels/gauss_blur.h"
#include "plugins/bxcomm1/kernels/sharpen.h"

namespace quillo::test {
namespace {

constexpr size_t kGuard = 64;

enum class Fill { kNoise, kExtremes, kColumnsFlat };

// Source and target with kGuard bytes before and after each; the target
// starts as a pattern, so a write outside the area shows.
struct GuardedPicture {
  int width, height, stride;
  std::vector<uint8_t> source, target;

  GuardedPicture(int w, int h, int pad, Fill fill, uint32_t seed) : width(w), height(h) {
    stride = w * 3 + pad;
    source.resize(size_t(stride) * h + 2 * kGuard);
    target.resize(source.size());
    for (size_t i = 0; i < source.size(); ++i) {
      seed = seed * 1103515245u + 12345u;
      const uint8_t flat = uint8_t((i - kGuard) % size_t(stride) / 3 * 37);  // by column
      source[i] = fill == Fill::kNoise      ? uint8_t(seed >> 24)
                  : fill == Fill::kExtremes ? uint8_t(seed >> 31 ? 255 : 0)
                                            : flat;
      target[i] = uint8_t(i * 7 + 1);
    }
  }
  PixelPass Pass(std::vector<uint8_t>& into, int x0, int x1, int y0, int y1) const {
    return {source.data() + kGuard, into.data() + kGuard, width, height, stride, x0, x1, y0, y1};
  }
};

void ReferenceBlur(const PixelPass& p, const GaussCurve& curve) {
  std::memcpy(p.target, p.source, size_t(p.stride) * p.height);
  const int x0 = std::max(p.colBegin, 0), x1 = std::min(p.colEnd, p.width);
  const int y0 = std::max(p.rowBegin, 0), y1 = std::min(p.rowEnd, p.height);
  auto line = [&](uint8_t* first, int64_t step, int length) {
    std::vector<uint8_t> v(size_t(length) * 3);
    for (int i = 0; i < length; ++i) std::memcpy(&v[size_t(i) * 3], first + i * step, 3);
    for (int x = 0; x < length; ++x)
      for (int ch = 0; ch < 3; ++ch) {
        int64_t sum = 0;
        for (int k = -curve.reach(); k < curve.reach(); ++k)
          sum += curve.At(k) * v[size_t(std::clamp(x + k, 0, length - 1)) * 3 + ch];
        first[x * step + ch] = uint8_t(sum / curve.total());
      }
  };
  for (int x = x0; x < x1; ++x) line(p.target + int64_t(y0) * p.stride + x * 3, p.stride, y1 - y0);
  for (int y = y0; y < y1; ++y) line(p.target + int64_t(y) * p.stride + x0 * 3, 3, x1 - x0);
}

void ReferenceSharpen(const PixelPass& p, int strength) {
  const SharpenWeights w = SharpenWeightsFor(strength);
  const int x0 = std::max(p.colBegin, 0), x1 = std::min(p.colEnd, p.width), h = p.height;
  for (int y = std::max(p.rowBegin, 0); y < std::min(p.rowEnd, h); ++y) {
    int rb = y == 0 ? 0 : y - 1, rc = y, ra = y + 1;
    if (y >= h - 2) rb = std::max(h - 2, 0), rc = ra = h - 1;
    for (int x = x0; x < x1; ++x)
      for (int k = 0; k < 3; ++k) {
        const int s = std::min(x, std::max(x0, x1 - 3)) * 3 + k;
        const int sum =
            (w.centre - 4) * p.SourceRow(rc)[s] - 4 * p.SourceRow(rb)[s] - 4 * p.SourceRow(ra)[s];
        p.TargetRow(y)[x * 3 + k] =
            uint8_t(sum < 0                 ? 0
                    : sum > 255 * w.divisor ? 255
                                            : (sum + w.divisor / 2) / w.divisor);
      }
  }
}

void ReferenceEdge(const PixelPass& p, int divisor) {
  const int64_t scale = 655360 / std::max(divisor, 1);
  const int w = p.width, h = p.height;
  auto at = [&](int x, int y, int k) {
    return int(p.SourceRow(std::clamp(y, 0, h - 1))[std::clamp(x, 0, w - 1) * 3 + k]);
  };
  for (int y = std::max(p.rowBegin, 0); y < std::min(p.rowEnd, h); ++y)
    for (int x = std::max(p.colBegin, 0); x < std::min(p.colEnd, w); ++x)
      for (int k = 0; k < 3; ++k) {
        const int gy = 2 * (at(x, y + 1, k) - at(x, y - 1, k)) + at(x - 1, y + 1, k) +
                       at(x + 1, y + 1, k) - at(x - 1, y - 1, k) - at(x + 1, y - 1, k);
        const int gx =
            2 * (at(x + 1, y, k) - at(x - 1, y, k)) + at(x + 1, y + 1, k) - at(x - 1, y - 1, k);
        const int64_t magnitude = std::lround(std::sqrt(double(gx * gx + gy * gy)));
        p.TargetRow(y)[x * 3 + k] = uint8_t(std::min<int64_t>(255, (magnitude * scale) >> 16));
      }
}

// Runs `fast` and `reference` on copies of the target over the whole
// picture, an inner area and one reaching past every side, and expects the
// same bytes everywhere, guards included.
template <typename Fast, typename Reference>
void ExpectSameAsReference(const GuardedPicture& pic, Fast fast, Reference reference) {
  const int w = pic.width, h = pic.height;
  const int areas[][4] = {{0, w, 0, h}, {w / 3, w - w / 4, h / 2, h}, {-2, w + 5, -1, h + 3}};
  for (const auto& a : areas) {
    std::vector<uint8_t> got = pic.target, want = pic.target;
    fast(pic.Pass(got, a[0], a[1], a[2], a[3]));
    reference(pic.Pass(want, a[0], a[1], a[2], a[3]));
    ASSERT_EQ(got, want) << w << "x" << h << " area " << a[0] << ".." << a[1] << ", " << a[2]
                         << ".." << a[3];
  }
}

const struct {
  int w, h, pad;
} kSizes[] = {{1, 1, 1}, {2, 3, 2}, {5, 7, 3}, {3, 40, 3}, {37, 2, 1}, {61, 23, 1}, {300, 200, 0}};

// The blur as the effect's threads run it: columns and rows each in two calls.
void BlurInHalves(const PixelPass& p, const GaussCurve& curve) {
  CopyPassSource(p);
  BlurAreaColumns(p, curve, -1, p.width / 2);
  BlurAreaColumns(p, curve, p.width / 2, p.width + 1);
  BlurAreaRows(p, curve, 0, p.height / 3);
  BlurAreaRows(p, curve, p.height / 3, p.height);
}

TEST(FilterFastPaths, GaussBlurMatchesTheCurveSumForEveryReach) {
  // 0.1 is the one-tap curve, 1.5 a total whose float reciprocal puts
  // exact multiples just under their quotient, 100 the widest curve the
  // dialog gives, 110 too wide for float sums (the slow reference skips the
  // largest picture there).
  for (double radius : {0.1, 0.7, 1.5, 3.0, 20.0, 100.0, 110.0})
    for (const auto& s : kSizes)
      for (Fill fill : {Fill::kNoise, Fill::kExtremes, Fill::kColumnsFlat}) {
        if (radius > 20 && s.w * s.h > 2000) continue;
        const GuardedPicture pic(s.w, s.h, s.pad, fill, 11);
        const GaussCurve curve(radius);
        ExpectSameAsReference(
            pic, [&](const PixelPass& p) { BlurInHalves(p, curve); },
            [&](const PixelPass& p) { ReferenceBlur(p, curve); });
      }
}

TEST(FilterFastPaths, GaussBlurQuotientsJustBelowAMultipleOfTheTotal) {
  // Radius 97.3: a column of 200 with one 199 that weight-1 taps read sums
  // to 200 total - 1, which the float estimate puts at 200.
  GuardedPicture pic(1, 400, 1, Fill::kNoise, 1);
  for (int y = 0; y < 400; ++y)
    std::fill_n(pic.source.data() + kGuard + y * pic.stride, 3, uint8_t(y == 10 ? 199 : 200));
  const GaussCurve curve(97.3);
  ExpectSameAsReference(
      pic, [&](const PixelPass& p) { BlurInHalves(p, curve); },
      [&](const PixelPass& p) { ReferenceBlur(p, curve); });
}

TEST(FilterFastPaths, SharpenMatchesTheKernelForEveryStrength) {
  // 1 .. 100 is the dialog's range; -139 .. 358 keeps 16-bit sums, beyond
  // them the weights need int. Every strength on the smaller pictures.
  const std::vector<int> corners = {-100000, -140, -139, 1, 50, 100, 358, 359, 100000};
  std::vector<int> all = corners;
  for (int s = 2; s < 100; ++s) all.push_back(s);
  for (const auto& size : kSizes)
    for (Fill fill : {Fill::kNoise, Fill::kExtremes}) {
      const GuardedPicture pic(size.w, size.h, size.pad, fill, 5);
      for (int s : (size.w * size.h < 2000) ? all : corners)
        ExpectSameAsReference(
            pic, [&](const PixelPass& p) { RunSharpen(p, s, p.rowBegin, p.rowEnd); },
            [&](const PixelPass& p) { ReferenceSharpen(p, s); });
    }
}

TEST(FilterFastPaths, SharpenDividesEverySumExactly) {
  // Row 1 of a 4-row picture reads rows 0, 1 and 2: every here byte with
  // every below + above total.
  GuardedPicture pic(256 * 511 / 3 + 1, 4, 0, Fill::kNoise, 3);
  for (int i = 0; i < 256 * 511; ++i) {
    uint8_t* rows = pic.source.data() + kGuard + i;
    rows[pic.stride] = uint8_t(i % 256);
    rows[0] = uint8_t(i / 256 / 2);
    rows[2 * pic.stride] = uint8_t(i / 256 - i / 256 / 2);
  }
  for (int s : {-139, -50, 0, 1, 2, 3, 25, 50, 51, 75, 99, 100, 101, 200, 358}) {
    std::vector<uint8_t> got = pic.target, want = pic.target;
    RunSharpen(pic.Pass(got, 0, pic.width, 1, 2), s, 0, 4);
    ReferenceSharpen(pic.Pass(want, 0, pic.width, 1, 2), s);
    EXPECT_EQ(got, want) << "strength " << s;
  }
}

TEST(FilterFastPaths, EdgeMatchesTheRoundedMagnitude) {
  for (const auto& s : kSizes)
    for (Fill fill : {Fill::kNoise, Fill::kExtremes}) {
      const GuardedPicture pic(s.w, s.h, s.pad, fill, 9);
      for (int d : {-3, 0, 1, 2, 6, 10, 49, 50, 51, 700000})
        ExpectSameAsReference(
            pic, [&](const PixelPass& p) { RunEdge(p, d, p.rowBegin, p.rowEnd); },
            [&](const PixelPass& p) { ReferenceEdge(p, d); });
    }
  // The fast path rounds a float root; over every square the gradients can
  // reach (1020^2 + 765^2) that agrees with rounding the exact root.
  for (int m = 0; m <= 1020 * 1020 + 765 * 765; ++m)
    ASSERT_EQ(int(std::sqrt(float(m)) + 0.5f), std::lround(std::sqrt(double(m)))) << m;
}

}  // namespace
}  // namespace quillo::test
