#include "zoom.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "resample_loops.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillo::imaging {

double BSplineKernel(double x) {
  if (x < 0) x = -x;
  if (x < 1.0) return 0.5 * x * x * x - x * x + 2.0 / 3.0;
  if (x < 2.0) return (2.0 - x) * (2.0 - x) * (2.0 - x) / 6.0;
  return 0.0;
}

namespace {

// Largest picture side handled; far beyond any DIB that fits in 2 GB of
// 24-bit rows, so index arithmetic below stays inside 32 bits.
constexpr int64_t kMaxSide = 1 << 28;

template <typename T>
std::unique_ptr<T[]> Allocate(int64_t count) {
  if (count <= 0 || count > (int64_t(1) << 40) / int64_t(sizeof(T))) return nullptr;
  return std::unique_ptr<T[]>(new (std::nothrow) T[size_t(count)]);
}

// The (source index, weight) lists of every output coordinate of one axis,
// flattened: output i owns taps [first[i], first[i + 1]).
struct AxisTaps {
  std::unique_ptr<int32_t[]> first;
  std::unique_ptr<int32_t[]> index;
  std::unique_ptr<double[]> weight;
  int maxTaps = 0;  // the most taps of one output coordinate
};

struct TapRange {
  double centre, support, scale;
  bool shrink;
  int64_t left, right;
};

TapRange RangeOf(int i, double s, double support) {
  TapRange r;
  r.centre = double(i) / s;
  r.shrink = s < 1.0;
  r.support = r.shrink ? support / s : support;
  r.scale = s;
  r.left = int64_t(r.centre - r.support + 0.5);
  r.right = int64_t(r.centre + r.support + 0.5);
  return r;
}

bool BuildTaps(int inCount, int outCount, const ResampleFilter& filter, AxisTaps* taps) {
  const double s = double(outCount) / double(inCount);
  int64_t total = 0;
  for (int i = 0; i < outCount; ++i) {
    const TapRange r = RangeOf(i, s, filter.support);
    total += std::max<int64_t>(0, r.right - r.left);
  }
  if (total > INT32_MAX) return false;
  taps->first = Allocate<int32_t>(int64_t(outCount) + 1);
  taps->index = Allocate<int32_t>(std::max<int64_t>(total, 1));
  taps->weight = Allocate<double>(std::max<int64_t>(total, 1));
  if (!taps->first || !taps->index || !taps->weight) return false;

  int32_t at = 0;
  for (int i = 0; i < outCount; ++i) {
    const TapRange r = RangeOf(i, s, filter.support);
    taps->first[i] = at;
    double sum = 0.0;
    for (int64_t j = r.left; j < r.right; ++j) {
      const double t = double(j) - r.centre + 0.5;
      const double w = r.shrink ? filter.kernel(t * s) * s : filter.kernel(t);
      int64_t k = j < 0 ? -j : j;
      if (k >= inCount) k = 2 * int64_t(inCount) - k - 1;
      k = std::clamp<int64_t>(k, 0, inCount - 1);
      taps->index[at] = int32_t(k);
      taps->weight[at] = w;
      sum += w;
      ++at;
    }
    taps->maxTaps = std::max(taps->maxTaps, int(at - taps->first[i]));
    if (sum != 0.0 && sum != 1.0)
      for (int32_t n = taps->first[i]; n < at; ++n) taps->weight[n] /= sum;
  }
  taps->first[outCount] = at;
  return true;
}

// trunc(sum + 0.5) clamped to 0..255, exactly as a conversion to a 64-bit
// integer followed by a clamp gives it; what that conversion cannot hold
// (2^63 and beyond, NaN) comes out of the processor as the most negative
// integer, so as 0.
inline uint8_t ToByte(double sum) {
  const double t = sum + 0.5;
  if (!(t >= 0.0 && t < 9223372036854775808.0)) return 0;
  return t >= 255.0 ? uint8_t(255) : uint8_t(int(t));
}

// Doubles starting on a 64-byte boundary, zeroed.
struct DoubleBuffer {
  std::unique_ptr<double[]> raw;
  double* data = nullptr;
  bool Make(int64_t count) {
    raw = Allocate<double>(count + 8);
    if (!raw) return false;
    const uintptr_t at = reinterpret_cast<uintptr_t>(raw.get());
    data = raw.get() + ((64 - at % 64) % 64) / sizeof(double);
    std::fill(data, data + count, 0.0);
    return true;
  }
};

// ---------------------------------------------------------------------------
// Vertical pass: columns stay, rows change. It runs over column blocks; in a
// block, every input row an output row reads is converted to doubles once
// into one of a few slots (a row stays while later output rows read it), and
// each output value is then summed in registers over its taps in tap order.

// The slot schedule, the same for every block: output row y first converts
// the rows loads [loadFirst[y], loadFirst[y + 1]) name into their slots, then
// reads tap n from slot tapSlot[n]. Output rows go in bands of `band` rows,
// each band starting with empty slots, so that a band runs over all column
// blocks while its input rows are still in the caches and address tables.
struct RowPlan {
  int slots = 0;
  int band = 1;
  std::unique_ptr<int32_t[]> loadFirst, loadSlot, loadRow, tapSlot;
};

bool PlanRows(const AxisTaps& taps, int inCount, int outCount, RowPlan* plan) {
  const int32_t total = taps.first[outCount];
  // No output row reads more distinct rows than it has taps or the input has.
  const int slots = std::max(1, std::min(taps.maxTaps, inCount));
  plan->slots = slots;
  // About 128 input rows per band.
  plan->band = int(std::min<int64_t>(outCount, std::max<int64_t>(8, int64_t(outCount) * 128 / inCount)));
  plan->loadFirst = Allocate<int32_t>(int64_t(outCount) + 1);
  plan->loadSlot = Allocate<int32_t>(std::max<int32_t>(total, 1));
  plan->loadRow = Allocate<int32_t>(std::max<int32_t>(total, 1));
  plan->tapSlot = Allocate<int32_t>(std::max<int32_t>(total, 1));
  auto slotOfRow = Allocate<int32_t>(inCount);
  auto rowOfSlot = Allocate<int32_t>(slots);
  auto lastUse = Allocate<int32_t>(slots);  // the last output row reading the slot
  if (!plan->loadFirst || !plan->loadSlot || !plan->loadRow || !plan->tapSlot || !slotOfRow ||
      !rowOfSlot || !lastUse)
    return false;
  std::fill(slotOfRow.get(), slotOfRow.get() + inCount, -1);
  std::fill(rowOfSlot.get(), rowOfSlot.get() + slots, -1);
  std::fill(lastUse.get(), lastUse.get() + slots, -1);
  int32_t loads = 0;
  int next = 0;  // slots are reused in turn, skipping those this row reads
  for (int y = 0; y < outCount; ++y) {
    const int32_t begin = taps.first[y], end = taps.first[y + 1];
    plan->loadFirst[y] = loads;
    if (y % plan->band == 0) {
      for (int s = 0; s < slots; ++s) {
        if (rowOfSlot[s] >= 0) slotOfRow[rowOfSlot[s]] = -1;
        rowOfSlot[s] = -1;
        lastUse[s] = -1;
      }
      next = 0;
    }
    for (int32_t n = begin; n < end; ++n)
      if (slotOfRow[taps.index[n]] >= 0) lastUse[slotOfRow[taps.index[n]]] = y;
    for (int32_t n = begin; n < end; ++n) {
      const int32_t row = taps.index[n];
      int32_t slot = slotOfRow[row];
      if (slot < 0) {
        while (lastUse[next] == y) next = (next + 1) % slots;
        slot = next;
        next = (next + 1) % slots;
        if (rowOfSlot[slot] >= 0) slotOfRow[rowOfSlot[slot]] = -1;
        rowOfSlot[slot] = row;
        slotOfRow[row] = slot;
        lastUse[slot] = y;
        plan->loadSlot[loads] = slot;
        plan->loadRow[loads] = row;
        ++loads;
      }
      plan->tapSlot[n] = slot;
    }
  }
  plan->loadFirst[outCount] = loads;
  return true;
}

// Values per block column of a slot: the slots of a block stay within about
// 24 KB, so the taps read from the first-level cache.
int64_t BlockValues(int slots) {
  constexpr int64_t kRingBytes = 24 * 1024;
  const int64_t fit = kRingBytes / (8 * int64_t(slots)) / 16 * 16;
  return std::clamp<int64_t>(fit, 16, 1024);
}

void ConvertPlain(const uint8_t* src, double* dst, int64_t n) {
  for (int64_t i = 0; i < n; ++i) dst[i] = double(src[i]);
}

void SumColumnsPlain(const double* const* rows, const double* weights, int count, int64_t n, uint8_t* dst) {
  for (int64_t i = 0; i < n; ++i) {
    double v = 0.0;
    if (count > 0) v = weights[0] * rows[0][i];
    for (int k = 1; k < count; ++k) v += weights[k] * rows[k][i];
    dst[i] = ToByte(v);
  }
}

#if defined(__SSE2__)
// Two results of ToByte, as the low two 32-bit lanes.
inline __m128i ToInts(__m128d sum) {
  __m128d t = _mm_add_pd(sum, _mm_set1_pd(0.5));
  t = _mm_and_pd(t, _mm_cmplt_pd(t, _mm_set1_pd(9223372036854775808.0)));
  t = _mm_min_pd(_mm_max_pd(t, _mm_setzero_pd()), _mm_set1_pd(255.0));
  return _mm_cvttpd_epi32(t);
}

void ConvertVector(const uint8_t* src, double* dst, int64_t n) {
  const __m128i zero = _mm_setzero_si128();
  int64_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i lo = _mm_unpacklo_epi8(v, zero), hi = _mm_unpackhi_epi8(v, zero);
    const __m128i q[4] = {_mm_unpacklo_epi16(lo, zero), _mm_unpackhi_epi16(lo, zero),
                          _mm_unpacklo_epi16(hi, zero), _mm_unpackhi_epi16(hi, zero)};
    for (int k = 0; k < 4; ++k) {
      _mm_storeu_pd(dst + i + 4 * k, _mm_cvtepi32_pd(q[k]));
      _mm_storeu_pd(dst + i + 4 * k + 2, _mm_cvtepi32_pd(_mm_shuffle_epi32(q[k], 0x4E)));
    }
  }
  for (; i < n; ++i) dst[i] = double(src[i]);
}

// Sixteen values at a time, eight independent sums; the slots are padded to
// a multiple of 16 values, so the last group reads converted (or zero) data.
void SumColumnsVector(const double* const* rows, const double* weights, int count, int64_t n, uint8_t* dst) {
  if (count == 0) {
    std::memset(dst, 0, size_t(n));
    return;
  }
  for (int64_t i = 0; i < n; i += 16) {
    const double* p = rows[0] + i;
    __m128d w = _mm_set1_pd(weights[0]);
    __m128d a0 = _mm_mul_pd(w, _mm_load_pd(p)), a1 = _mm_mul_pd(w, _mm_load_pd(p + 2));
    __m128d a2 = _mm_mul_pd(w, _mm_load_pd(p + 4)), a3 = _mm_mul_pd(w, _mm_load_pd(p + 6));
    __m128d a4 = _mm_mul_pd(w, _mm_load_pd(p + 8)), a5 = _mm_mul_pd(w, _mm_load_pd(p + 10));
    __m128d a6 = _mm_mul_pd(w, _mm_load_pd(p + 12)), a7 = _mm_mul_pd(w, _mm_load_pd(p + 14));
    for (int k = 1; k < count; ++k) {
      p = rows[k] + i;
      w = _mm_set1_pd(weights[k]);
      a0 = _mm_add_pd(a0, _mm_mul_pd(w, _mm_load_pd(p)));
      a1 = _mm_add_pd(a1, _mm_mul_pd(w, _mm_load_pd(p + 2)));
      a2 = _mm_add_pd(a2, _mm_mul_pd(w, _mm_load_pd(p + 4)));
      a3 = _mm_add_pd(a3, _mm_mul_pd(w, _mm_load_pd(p + 6)));
      a4 = _mm_add_pd(a4, _mm_mul_pd(w, _mm_load_pd(p + 8)));
      a5 = _mm_add_pd(a5, _mm_mul_pd(w, _mm_load_pd(p + 10)));
      a6 = _mm_add_pd(a6, _mm_mul_pd(w, _mm_load_pd(p + 12)));
      a7 = _mm_add_pd(a7, _mm_mul_pd(w, _mm_load_pd(p + 14)));
    }
    const __m128i q0 = _mm_unpacklo_epi64(ToInts(a0), ToInts(a1));
    const __m128i q1 = _mm_unpacklo_epi64(ToInts(a2), ToInts(a3));
    const __m128i q2 = _mm_unpacklo_epi64(ToInts(a4), ToInts(a5));
    const __m128i q3 = _mm_unpacklo_epi64(ToInts(a6), ToInts(a7));
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(q0, q1), _mm_packs_epi32(q2, q3));
    if (i + 16 <= n) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), bytes);
    } else {
      alignas(16) uint8_t last[16];
      _mm_store_si128(reinterpret_cast<__m128i*>(last), bytes);
      std::memcpy(dst + i, last, size_t(n - i));
    }
  }
}
#endif

struct VerticalWork {
  RowPlan plan;
  int64_t block = 0;
  DoubleBuffer ring;  // plan.slots x block values
  std::unique_ptr<const double*[]> rows;
  bool Make(const AxisTaps& taps, int inCount, int outCount) {
    if (!PlanRows(taps, inCount, outCount, &plan)) return false;
    block = BlockValues(plan.slots);
    rows = Allocate<const double*>(std::max(1, taps.maxTaps));
    return rows && ring.Make(block * plan.slots);
  }
};

constexpr int kPrefetchAhead = 4;

void VerticalPass(const Bgr24Picture& in, const Bgr24Picture& out, const AxisTaps& taps, VerticalWork& work,
                  bool vectors) {
  auto convert = ConvertPlain;
  auto sum = SumColumnsPlain;
#if defined(__SSE2__)
  if (vectors) convert = ConvertVector, sum = SumColumnsVector;
#else
  (void)vectors;
#endif
  const RowPlan& plan = work.plan;
  const int64_t rowBytes = int64_t(out.width) * out.channels;
  for (int y0 = 0; y0 < out.height; y0 += plan.band) {
    const int yEnd = std::min(out.height, y0 + plan.band);
    for (int64_t x0 = 0; x0 < rowBytes; x0 += work.block) {
      const int64_t n = std::min(work.block, rowBytes - x0);
      for (int y = y0; y < yEnd; ++y) {
#if defined(__SSE2__)
        // The rows a few output rows ahead are fetched early: a block reads
        // each input row only for a short stretch, too short for the
        // processor's own stream detection.
        if (y + kPrefetchAhead < yEnd)
          for (int32_t l = plan.loadFirst[y + kPrefetchAhead]; l < plan.loadFirst[y + kPrefetchAhead + 1]; ++l) {
            const char* row = reinterpret_cast<const char*>(in.pixels + int64_t(plan.loadRow[l]) * in.stride + x0);
            for (int64_t b = 0; b < n; b += 64) _mm_prefetch(row + b, _MM_HINT_T0);
          }
#endif
        for (int32_t l = plan.loadFirst[y]; l < plan.loadFirst[y + 1]; ++l)
          convert(in.pixels + int64_t(plan.loadRow[l]) * in.stride + x0,
                  work.ring.data + int64_t(plan.loadSlot[l]) * work.block, n);
        const int32_t begin = taps.first[y], end = taps.first[y + 1];
        for (int32_t k = begin; k < end; ++k)
          work.rows[k - begin] = work.ring.data + int64_t(plan.tapSlot[k]) * work.block;
        sum(work.rows.get(), taps.weight.get() + begin, int(end - begin), n,
            out.pixels + int64_t(y) * out.stride + x0);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Horizontal pass: rows stay, columns change. Four rows at a time are
// interleaved as doubles (value i of row k at 4 i + k), so one tap's weight
// multiplies the same column of the four rows together, every sum still in
// tap order.

constexpr int kRowsAtOnce = 4;

void InterleavePlain(const uint8_t* const* rows, double* dst, int64_t n) {
  for (int64_t i = 0; i < n; ++i)
    for (int k = 0; k < kRowsAtOnce; ++k) dst[kRowsAtOnce * i + k] = double(rows[k][i]);
}

void SumRowsPlain(const double* lanes, const AxisTaps& taps, int outWidth, int channels, int rowCount,
                  uint8_t* const* dst) {
  const int64_t pixel = int64_t(channels) * kRowsAtOnce;
  for (int x = 0; x < outWidth; ++x) {
    const int32_t begin = taps.first[x], end = taps.first[x + 1];
    for (int k = 0; k < rowCount; ++k)
      for (int c = 0; c < channels; ++c) {
        double v = 0.0;
        const int64_t lane = int64_t(c) * kRowsAtOnce + k;
        if (begin < end) v = taps.weight[begin] * lanes[int64_t(taps.index[begin]) * pixel + lane];
        for (int32_t n = begin + 1; n < end; ++n) v += taps.weight[n] * lanes[int64_t(taps.index[n]) * pixel + lane];
        dst[k][int64_t(x) * channels + c] = ToByte(v);
      }
  }
}

#if defined(__SSE2__)
// Doubles of four 32-bit lanes holding bytes.
inline void StoreFour(double* dst, __m128i q) {
  _mm_store_pd(dst, _mm_cvtepi32_pd(q));
  _mm_store_pd(dst + 2, _mm_cvtepi32_pd(_mm_shuffle_epi32(q, 0x4E)));
}

void InterleaveVector(const uint8_t* const* rows, double* dst, int64_t n) {
  const __m128i zero = _mm_setzero_si128();
  int64_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m128i r0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[0] + i));
    const __m128i r1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[1] + i));
    const __m128i r2 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[2] + i));
    const __m128i r3 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[3] + i));
    const __m128i r01 = _mm_unpacklo_epi8(r0, r1), r23 = _mm_unpacklo_epi8(r2, r3);
    // Four values of the four rows each, in lane order.
    const __m128i halves[2] = {_mm_unpacklo_epi16(r01, r23), _mm_unpackhi_epi16(r01, r23)};
    double* d = dst + kRowsAtOnce * i;
    for (const __m128i& h : halves) {
      const __m128i lo = _mm_unpacklo_epi8(h, zero), hi = _mm_unpackhi_epi8(h, zero);
      StoreFour(d, _mm_unpacklo_epi16(lo, zero));
      StoreFour(d + 4, _mm_unpackhi_epi16(lo, zero));
      StoreFour(d + 8, _mm_unpacklo_epi16(hi, zero));
      StoreFour(d + 12, _mm_unpackhi_epi16(hi, zero));
      d += 16;
    }
  }
  for (; i < n; ++i)
    for (int k = 0; k < kRowsAtOnce; ++k) dst[kRowsAtOnce * i + k] = double(rows[k][i]);
}

// Four rows' ToByte results of two sums (rows 0, 1 and rows 2, 3).
inline __m128i FourInts(__m128d rows01, __m128d rows23) {
  return _mm_unpacklo_epi64(ToInts(rows01), ToInts(rows23));
}

void SumRowsVector(const double* lanes, const AxisTaps& taps, const double* pairs, int outWidth, int channels,
                   int rowCount, uint8_t* const* dst) {
  const int32_t* first = taps.first.get();
  const int32_t* index = taps.index.get();
  if (channels == 3) {
    for (int x = 0; x < outWidth; ++x) {
      const int32_t begin = first[x], end = first[x + 1];
      __m128d b01 = _mm_setzero_pd(), b23 = b01, g01 = b01, g23 = b01, r01 = b01, r23 = b01;
      if (begin < end) {
        const double* p = lanes + int64_t(index[begin]) * 12;
        const __m128d w = _mm_load_pd(pairs + 2 * int64_t(begin));
        b01 = _mm_mul_pd(w, _mm_load_pd(p)), b23 = _mm_mul_pd(w, _mm_load_pd(p + 2));
        g01 = _mm_mul_pd(w, _mm_load_pd(p + 4)), g23 = _mm_mul_pd(w, _mm_load_pd(p + 6));
        r01 = _mm_mul_pd(w, _mm_load_pd(p + 8)), r23 = _mm_mul_pd(w, _mm_load_pd(p + 10));
      }
      for (int32_t n = begin + 1; n < end; ++n) {
        const double* p = lanes + int64_t(index[n]) * 12;
        const __m128d w = _mm_load_pd(pairs + 2 * int64_t(n));
        b01 = _mm_add_pd(b01, _mm_mul_pd(w, _mm_load_pd(p)));
        b23 = _mm_add_pd(b23, _mm_mul_pd(w, _mm_load_pd(p + 2)));
        g01 = _mm_add_pd(g01, _mm_mul_pd(w, _mm_load_pd(p + 4)));
        g23 = _mm_add_pd(g23, _mm_mul_pd(w, _mm_load_pd(p + 6)));
        r01 = _mm_add_pd(r01, _mm_mul_pd(w, _mm_load_pd(p + 8)));
        r23 = _mm_add_pd(r23, _mm_mul_pd(w, _mm_load_pd(p + 10)));
      }
      // Bytes: blue of rows 0..3, green of rows 0..3, red of rows 0..3.
      const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(FourInts(b01, b23), FourInts(g01, g23)),
                                             _mm_packs_epi32(FourInts(r01, r23), _mm_setzero_si128()));
      const uint32_t blue = uint32_t(_mm_cvtsi128_si32(bytes));
      const uint32_t green = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(bytes, 4)));
      const uint32_t red = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(bytes, 8)));
      for (int k = 0; k < rowCount; ++k) {
        uint8_t* d = dst[k] + 3 * int64_t(x);
        d[0] = uint8_t(blue >> (8 * k));
        d[1] = uint8_t(green >> (8 * k));
        d[2] = uint8_t(red >> (8 * k));
      }
    }
    return;
  }
  for (int x = 0; x < outWidth; ++x) {
    const int32_t begin = first[x], end = first[x + 1];
    __m128d v01 = _mm_setzero_pd(), v23 = v01;
    if (begin < end) {
      const double* p = lanes + int64_t(index[begin]) * 4;
      const __m128d w = _mm_load_pd(pairs + 2 * int64_t(begin));
      v01 = _mm_mul_pd(w, _mm_load_pd(p)), v23 = _mm_mul_pd(w, _mm_load_pd(p + 2));
    }
    for (int32_t n = begin + 1; n < end; ++n) {
      const double* p = lanes + int64_t(index[n]) * 4;
      const __m128d w = _mm_load_pd(pairs + 2 * int64_t(n));
      v01 = _mm_add_pd(v01, _mm_mul_pd(w, _mm_load_pd(p)));
      v23 = _mm_add_pd(v23, _mm_mul_pd(w, _mm_load_pd(p + 2)));
    }
    const __m128i q = FourInts(v01, v23);
    const uint32_t bytes = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(q, q), q)));
    for (int k = 0; k < rowCount; ++k) dst[k][x] = uint8_t(bytes >> (8 * k));
  }
}
#endif

void HorizontalPass(const Bgr24Picture& in, const Bgr24Picture& out, const AxisTaps& taps,
                    const double* pairs, double* lanes, bool vectors) {
  const int64_t inValues = int64_t(in.width) * in.channels;
#if !defined(__SSE2__)
  (void)vectors;
  (void)pairs;
#endif
  for (int y0 = 0; y0 < out.height; y0 += kRowsAtOnce) {
    const int rowCount = std::min(kRowsAtOnce, out.height - y0);
    const uint8_t* rows[kRowsAtOnce];
    uint8_t* dst[kRowsAtOnce];
    for (int k = 0; k < kRowsAtOnce; ++k) {
      const int y = y0 + std::min(k, rowCount - 1);  // missing rows repeat the last one
      rows[k] = in.pixels + int64_t(y) * in.stride;
      dst[k] = out.pixels + int64_t(y) * out.stride;
    }
#if defined(__SSE2__)
    if (vectors) {
      InterleaveVector(rows, lanes, inValues);
      SumRowsVector(lanes, taps, pairs, out.width, out.channels, rowCount, dst);
      continue;
    }
#endif
    InterleavePlain(rows, lanes, inValues);
    SumRowsPlain(lanes, taps, out.width, out.channels, rowCount, dst);
  }
}

}  // namespace

namespace internal {

ZoomStatus ResampleBgr24Using(const Bgr24Picture& source, const Bgr24Picture& target,
                              const ResampleFilter& filter, bool vectors) {
  const auto sound = [](const Bgr24Picture& p) {
    return p.pixels && p.width >= 1 && p.height >= 1 && p.width <= kMaxSide &&
           p.height <= kMaxSide && (p.channels == 1 || p.channels == 3) &&
           p.stride >= int64_t(p.width) * p.channels;
  };
  if (!sound(source) || !sound(target) || source.channels != target.channels || !filter.kernel ||
      !(filter.support > 0) || filter.support > 64)
    return ZoomStatus::kBadSize;

  AxisTaps across, down;
  if (!BuildTaps(source.width, target.width, filter, &across) ||
      !BuildTaps(source.height, target.height, filter, &down))
    return ZoomStatus::kNoMemory;

  const bool verticalFirst = target.height < source.height;
  Bgr24Picture middle;
  middle.width = verticalFirst ? source.width : target.width;
  middle.height = verticalFirst ? target.height : source.height;
  middle.channels = source.channels;
  middle.stride = int64_t(middle.width) * middle.channels;
  auto middleBytes = Allocate<uint8_t>(middle.stride * middle.height);
  if (!middleBytes) return ZoomStatus::kNoMemory;
  middle.pixels = middleBytes.get();

  // The horizontal pass's weights, each twice (one per vector lane), and its
  // interleaved rows.
  const int32_t acrossTotal = across.first[target.width];
  DoubleBuffer pairs, lanes;
  VerticalWork vertical;
  if (!pairs.Make(2 * int64_t(std::max(acrossTotal, 1))) ||
      !lanes.Make(int64_t(source.width) * source.channels * kRowsAtOnce) ||
      !vertical.Make(down, source.height, target.height))
    return ZoomStatus::kNoMemory;
  for (int32_t n = 0; n < acrossTotal; ++n) pairs.data[2 * n] = pairs.data[2 * n + 1] = across.weight[n];

  if (verticalFirst) {
    VerticalPass(source, middle, down, vertical, vectors);
    HorizontalPass(middle, target, across, pairs.data, lanes.data, vectors);
  } else {
    HorizontalPass(source, middle, across, pairs.data, lanes.data, vectors);
    VerticalPass(middle, target, down, vertical, vectors);
  }
  return ZoomStatus::kDone;
}

}  // namespace internal

ZoomStatus ZoomBgr24(const Bgr24Picture& source, const Bgr24Picture& target) {
  return ResampleBgr24(source, target, {BSplineKernel, 2.0});
}

ZoomStatus ResampleBgr24(const Bgr24Picture& source, const Bgr24Picture& target,
                         const ResampleFilter& filter) {
  return internal::ResampleBgr24Using(source, target, filter, true);
}

}  // namespace quillo::imaging
