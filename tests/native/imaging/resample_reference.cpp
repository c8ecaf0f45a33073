// Test-only copy of the resampler as it was before its inner loops were
// restructured: straightforward loops over precomputed taps, the sums in
// double in increasing source index order. The fast resampler must give
// exactly these bytes.
#include "resample_reference.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace quillo::imaging::testing {

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
    if (sum != 0.0 && sum != 1.0)
      for (int32_t n = taps->first[i]; n < at; ++n) taps->weight[n] /= sum;
  }
  taps->first[outCount] = at;
  return true;
}

inline uint8_t ToByte(double sum) {
  const int64_t v = int64_t(sum + 0.5);
  return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Byte values as doubles, so the inner loops convert by table.
struct ByteTable {
  double value[256];
  ByteTable() {
    for (int i = 0; i < 256; ++i) value[i] = double(i);
  }
};
const ByteTable kBytes;

// Rows stay, columns change: source and target have the same height.
void HorizontalPass(const Bgr24Picture& in, const Bgr24Picture& out, const AxisTaps& taps) {
  const double* byte = kBytes.value;
  if (in.channels == 1) {
    for (int y = 0; y < out.height; ++y) {
      const uint8_t* src = in.pixels + int64_t(y) * in.stride;
      uint8_t* dst = out.pixels + int64_t(y) * out.stride;
      for (int x = 0; x < out.width; ++x) {
        double v = 0.0;
        for (int32_t n = taps.first[x]; n < taps.first[x + 1]; ++n) v += taps.weight[n] * byte[src[taps.index[n]]];
        dst[x] = ToByte(v);
      }
    }
    return;
  }
  for (int y = 0; y < out.height; ++y) {
    const uint8_t* src = in.pixels + int64_t(y) * in.stride;
    uint8_t* dst = out.pixels + int64_t(y) * out.stride;
    for (int x = 0; x < out.width; ++x) {
      const int32_t begin = taps.first[x], end = taps.first[x + 1];
      double b = 0.0, g = 0.0, r = 0.0;
      for (int32_t n = begin; n < end; ++n) {
        const uint8_t* p = src + 3 * int64_t(taps.index[n]);
        const double w = taps.weight[n];
        b += w * byte[p[0]];
        g += w * byte[p[1]];
        r += w * byte[p[2]];
      }
      dst[3 * x] = ToByte(b);
      dst[3 * x + 1] = ToByte(g);
      dst[3 * x + 2] = ToByte(r);
    }
  }
}

// Columns stay, rows change. Every byte of a row is one independent sum, so
// a block of a row is accumulated across the contributing source rows at
// once; each sum still adds its terms in increasing source row order.
void VerticalPass(const Bgr24Picture& in, const Bgr24Picture& out, const AxisTaps& taps) {
  constexpr int kBlock = 1536;  // bytes of a row summed together (12 KB of doubles)
  alignas(64) double acc[kBlock];
  const int64_t rowBytes = int64_t(out.width) * out.channels;
  for (int y = 0; y < out.height; ++y) {
    const int32_t begin = taps.first[y], end = taps.first[y + 1];
    uint8_t* dst = out.pixels + int64_t(y) * out.stride;
    for (int64_t x0 = 0; x0 < rowBytes; x0 += kBlock) {
      const int n = int(std::min<int64_t>(kBlock, rowBytes - x0));
      if (begin == end) {
        std::fill(acc, acc + n, 0.0);
      } else {
        // 0.0 + w * v is w * v exactly, so the first term is stored directly.
        const uint8_t* src = in.pixels + int64_t(taps.index[begin]) * in.stride + x0;
        const double w = taps.weight[begin];
        for (int i = 0; i < n; ++i) acc[i] = w * double(src[i]);
      }
      for (int32_t k = begin + 1; k < end; ++k) {
        const uint8_t* src = in.pixels + int64_t(taps.index[k]) * in.stride + x0;
        const double w = taps.weight[k];
        for (int i = 0; i < n; ++i) acc[i] += w * double(src[i]);
      }
      for (int i = 0; i < n; ++i) dst[x0 + i] = ToByte(acc[i]);
    }
  }
}

}  // namespace

ZoomStatus ReferenceResampleBgr24(const Bgr24Picture& source, const Bgr24Picture& target,
                         const ResampleFilter& filter) {
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

  if (verticalFirst) {
    VerticalPass(source, middle, down);
    HorizontalPass(middle, target, across);
  } else {
    HorizontalPass(source, middle, across);
    VerticalPass(middle, target, down);
  }
  return ZoomStatus::kDone;
}

}  // namespace quillo::imaging::testing
