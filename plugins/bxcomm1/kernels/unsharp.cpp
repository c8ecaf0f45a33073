#include "unsharp.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pass_rows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

UnsharpKernel::UnsharpKernel(double radius) : weights_(UnsharpWeights(radius)) {}

namespace {

struct Area {
  int col0, col1, row0, row1;
};
Area AreaOf(const PixelPass& p) {
  return {std::max(p.colBegin, 0), std::min(p.colEnd, p.width), std::max(p.rowBegin, 0),
          std::min(p.rowEnd, p.height)};
}

inline uint8_t RoundedByte(double sum) {
  return uint8_t(std::clamp(std::trunc(sum + 0.5), 0.0, 255.0));
}

// Values summed side by side; a block's sums stay in registers over all taps.
constexpr size_t kBlock = 16;
static_assert(kBlock == 16, "SumTaps packs 16 results into one vector");
constexpr size_t RoundUp(size_t count) { return (count + kBlock - 1) / kBlock * kBlock; }

// out[j] for j < RoundUp(count): the sum over taps k = 0 .. n - 1 of
// w[k] x samples[j + k step], added in ascending k, divided by `divisor`
// when Divide (a line's end, where only some taps remain), then rounded.
// The first product stands for 0.0 plus it, which is the same double: no
// product is -0, since weights and samples are not negative.
#if defined(__SSE2__)
template <bool Divide>
void SumTaps(const double* w, int n, const double* samples, size_t step, size_t count, double divisor,
             uint8_t* out) {
  constexpr int kVectors = int(kBlock / 2);
  const __m128d half = _mm_set1_pd(0.5), top = _mm_set1_pd(255.0), by = _mm_set1_pd(divisor);
  for (size_t j = 0; j < count; j += kBlock) {
    const double* p = samples + j;
    __m128d sum[kVectors];
    __m128d weight = _mm_set1_pd(w[0]);
    for (int i = 0; i < kVectors; ++i) sum[i] = _mm_mul_pd(weight, _mm_loadu_pd(p + 2 * i));
    for (int k = 1; k < n; ++k) {
      p += step;
      weight = _mm_set1_pd(w[k]);
      for (int i = 0; i < kVectors; ++i)
        sum[i] = _mm_add_pd(sum[i], _mm_mul_pd(weight, _mm_loadu_pd(p + 2 * i)));
    }
    // RoundedByte for sums in [0, 2^31): trunc(sum + 0.5) is then the int
    // conversion, and of the clamp only its top can act.
    __m128i q[kVectors];
    for (int i = 0; i < kVectors; ++i) {
      if (Divide) sum[i] = _mm_div_pd(sum[i], by);
      q[i] = _mm_cvttpd_epi32(_mm_min_pd(_mm_add_pd(sum[i], half), top));
    }
    const __m128i low = _mm_packs_epi32(_mm_unpacklo_epi64(q[0], q[1]), _mm_unpacklo_epi64(q[2], q[3]));
    const __m128i high = _mm_packs_epi32(_mm_unpacklo_epi64(q[4], q[5]), _mm_unpacklo_epi64(q[6], q[7]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm_packus_epi16(low, high));
  }
}
#else
template <bool Divide>
void SumTaps(const double* w, int n, const double* samples, size_t step, size_t count, double divisor,
             uint8_t* out) {
  for (size_t j = 0; j < count; j += kBlock) {
    const double* p = samples + j;
    double sum[kBlock];
    for (size_t l = 0; l < kBlock; ++l) sum[l] = w[0] * p[l];
    for (int k = 1; k < n; ++k) {
      p += step;
      const double weight = w[k];
      for (size_t l = 0; l < kBlock; ++l) sum[l] += weight * p[l];
    }
    if (Divide)
      for (size_t l = 0; l < kBlock; ++l) sum[l] /= divisor;
    for (size_t l = 0; l < kBlock; ++l) out[j + l] = RoundedByte(sum[l]);
  }
}
#endif

// The weights of taps [kBegin, kEnd), added in ascending order.
inline double WeightSum(const double* w, int kBegin, int kEnd) {
  double sum = 0;
  for (int k = kBegin; k < kEnd; ++k) sum += w[k];
  return sum;
}

}  // namespace

// Each row's bytes become doubles (kBlock spare zeros at the end, read by
// the last block's unused lanes); the pixels with every tap on the row go
// through SumTaps with the row's channel step of 3, the few at either end
// one by one.
void UnsharpKernel::BlurRows(const PixelPass& pass, int rowBegin, int rowEnd) const {
  if (!PassGeometryUsable(pass)) return;
  const Area a = AreaOf(pass);
  if (a.col0 >= a.col1) return;
  const double* w = weights_.data();
  const int n = int(weights_.size()), m = n / 2;
  const int length = a.col1 - a.col0;
  const size_t count = size_t(length) * 3;
  // Pixels [m, innerEnd) have all their taps on the row.
  const int innerEnd = length - n + m + 1;
  const size_t innerCount = innerEnd > m ? size_t(innerEnd - m) * 3 : 0;
  std::vector<double> line(count + kBlock, 0.0);
  std::vector<uint8_t> inner(RoundUp(innerCount));
  for (int y = std::max(rowBegin, a.row0); y < std::min(rowEnd, a.row1); ++y) {
    const uint8_t* in = pass.SourceRow(y) + int64_t(a.col0) * 3;
    uint8_t* out = pass.TargetRow(y) + int64_t(a.col0) * 3;
    for (size_t i = 0; i < count; ++i) line[i] = in[i];
    if (innerCount > 0) {
      SumTaps<false>(w, n, line.data(), 3, innerCount, 1.0, inner.data());
      std::memcpy(out + size_t(m) * 3, inner.data(), innerCount);
    }
    auto edge = [&](int x) {
      const int kBegin = std::max(0, m - x), kEnd = std::min(n, length - x + m);
      const double weightSum = WeightSum(w, kBegin, kEnd);
      for (int c = 0; c < 3; ++c) {
        double sum = 0;
        for (int k = kBegin; k < kEnd; ++k) sum += w[k] * line[size_t(x + k - m) * 3 + size_t(c)];
        out[x * 3 + c] = RoundedByte(sum / weightSum);
      }
    };
    for (int x = 0; x < std::min(m, length); ++x) edge(x);
    for (int x = std::max(m, innerEnd); x < length; ++x) edge(x);
  }
}

// kStrip bytes of every row at a time, so that all reads and writes run
// along rows. The strip's rows become doubles in a ring of the last
// min(n, rows) rows read, kept twice over (slots s and s + ring) so that the
// n rows of any window lie one after another at kStrip apart. A row is read
// before any row at or below it is written, so the ring holds the column
// values from before the blur. Past a narrow strip the lanes hold earlier
// values or zeros, whose results are not stored.
constexpr size_t kStrip = 96;
static_assert(kStrip % kBlock == 0, "strip rows are whole blocks");

void UnsharpKernel::BlurColumns(const PixelPass& pass, int colBegin, int colEnd) const {
  if (!PassGeometryUsable(pass)) return;
  const Area a = AreaOf(pass);
  const int x0 = std::max(colBegin, a.col0), x1 = std::min(colEnd, a.col1);
  if (a.row0 >= a.row1 || x0 >= x1) return;
  const double* w = weights_.data();
  const int n = int(weights_.size()), m = n / 2;
  const int length = a.row1 - a.row0;
  const int ring = std::min(n, length);
  std::vector<double> rows(size_t(2 * ring) * kStrip, 0.0);
  uint8_t strip[kStrip];
  for (size_t first = size_t(x0) * 3; first < size_t(x1) * 3; first += kStrip) {
    const size_t width = std::min(kStrip, size_t(x1) * 3 - first);
    int read = 0;  // rows of the strip in the ring so far
    for (int y = 0; y < length; ++y) {
      for (const int last = std::min(length - 1, y + n - 1 - m); read <= last; ++read) {
        const uint8_t* src = pass.TargetRow(a.row0 + read) + first;
        double* slot = &rows[size_t(read % ring) * kStrip];
        double* twin = slot + size_t(ring) * kStrip;
        for (size_t b = 0; b < width; ++b) slot[b] = twin[b] = src[b];
      }
      // Taps k whose row y + k - m lies in the area.
      const int kBegin = std::max(0, m - y), kEnd = std::min(n, length - y + m);
      const double* window = &rows[size_t((y + kBegin - m) % ring) * kStrip];
      if (kBegin == 0 && kEnd == n)
        SumTaps<false>(w, n, window, kStrip, width, 1.0, strip);
      else
        SumTaps<true>(w + kBegin, kEnd - kBegin, window, kStrip, width,
                      WeightSum(w, kBegin, kEnd), strip);
      std::memcpy(pass.TargetRow(a.row0 + y) + first, strip, width);
    }
  }
}

void UnsharpKernel::Combine(const PixelPass& pass, double amount, int threshold, int rowBegin,
                            int rowEnd) {
  if (!std::isfinite(amount)) amount = 0;
  // push[d + 255]: trunc(d x amount) for source - blur = d (0 below the
  // threshold), held to +-256: beyond that the clamp to 0 .. 255 gives the
  // same byte whatever the source, and inside it source + push is exact.
  int16_t push[511];
  for (int d = -255; d <= 255; ++d) {
    const int diff = std::abs(2 * d) < threshold ? 0 : d;
    push[d + 255] = int16_t(std::clamp(std::trunc(diff * amount), -256.0, 256.0));
  }
  // The look-ups one by one, the additions and clamps a chunk at a time,
  // where the compiler turns them into vector steps.
  constexpr int kChunk = 512;
  int16_t pushes[kChunk];
  ForEachPassRow(pass, rowBegin, rowEnd, [&](const uint8_t* in, uint8_t* out, int count) {
    for (int first = 0; first < count * 3; first += kChunk) {
      const int size = std::min(kChunk, count * 3 - first);
      const uint8_t* a = in + first;
      uint8_t* b = out + first;
      for (int i = 0; i < size; ++i) pushes[i] = push[a[i] - b[i] + 255];
      for (int i = 0; i < size; ++i) b[i] = uint8_t(std::clamp(a[i] + pushes[i], 0, 255));
    }
  });
}

}  // namespace quillo
