#include "balance.h"

#include <algorithm>
#include <cmath>

#include "pass_rows.h"

namespace quillo {

const BalanceCurves& GetBalanceCurves() {
  static const BalanceCurves curves = [] {
    BalanceCurves c;
    for (int i = 0; i < 256; ++i) c.rising[i] = 1.075 - 1.0 / (double(i) / 16.0 + 1.0);
    for (int i = 0; i < 256; ++i) c.falling[i] = c.rising[255 - i];
    for (int i = 0; i < 256; ++i) {
      const double q = double(i - 127) / 127.0;
      c.bell[i] = 0.667 * (1.0 - q * q);
    }
    return c;
  }();
  return curves;
}

namespace {

int Stage(const std::array<double, 256>& curve, int x, double v) {
  return std::clamp(int(curve[x] * v + double(x)), 0, 255);
}

}  // namespace

uint8_t BalanceByte(int x, double v) {
  const BalanceCurves& c = GetBalanceCurves();
  x = Stage(v > 0 ? c.bell : c.falling, x, v);
  x = Stage(c.bell, x, v);
  x = Stage(v > 0 ? c.rising : c.bell, x, v);
  return uint8_t(x);
}

IntHls IntToHls(int c0, int c1, int c2) {
  const int mx = std::max({c0, c1, c2});
  const int mn = std::min({c0, c1, c2});
  const int sum = mx + mn;
  // l = trunc(sum / 2); "l < 128" on the real l is sum < 256.
  IntHls out{0, sum / 2, 0};
  if (mx == mn) return out;
  const int d = mx - mn;
  // trunc of the real quotient equals integer division for these positive operands.
  out.s = sum < 256 ? d * 255 / sum : d * 255 / (511 - sum);
  double h;
  if (c0 == mx) {
    h = double(c1 - c2) / double(d);
  } else if (c1 == mx) {
    h = 2.0 + double(c2 - c0) / double(d);
  } else {
    h = 4.0 + double(c0 - c1) / double(d);
  }
  h *= 42.5;
  if (h < 0) h += 255.0;
  if (h > 255) h -= 255.0;
  out.h = int(h);
  return out;
}

namespace {

// m1, m2 are single-precision values; the arithmetic around them is double.
int HlsComponent(float m1, float m2, int t) {
  if (t > 255) t -= 255;
  if (t < 0) t += 255;
  const double a = m1, b = m2;
  double r;
  if (t < 42.5) {
    r = a + (b - a) * t / 42.5;
  } else if (t < 127.5) {
    r = b;
  } else if (t < 170) {
    r = a + (b - a) * (170 - t) / 42.5;
  } else {
    r = a;
  }
  return std::clamp(int(r * 255.0), 0, 255);
}

}  // namespace

void IntFromHls(IntHls hls, uint8_t out[3]) {
  if (hls.s == 0) {
    const uint8_t l = uint8_t(std::clamp(hls.l, 0, 255));
    out[0] = out[1] = out[2] = l;
    return;
  }
  const double l = hls.l, s = hls.s;
  const float m2 = hls.l < 128 ? float(l * (255.0 + s) / (255.0 * 255.0))
                               : float((l + s - l * s / 255.0) / 255.0);
  const float m1 = float(l * 2.0 / 255.0 - double(m2));
  out[0] = uint8_t(HlsComponent(m1, m2, hls.h + 85));
  out[1] = uint8_t(HlsComponent(m1, m2, hls.h));
  out[2] = uint8_t(HlsComponent(m1, m2, hls.h - 85));
}

BalanceKernel::BalanceKernel() = default;
BalanceKernel::~BalanceKernel() = default;

void BalanceKernel::Prepare(const BalanceSettings& settings) {
  for (int k = 0; k < 3; ++k) {
    double v = settings.value[k];
    v = std::isnan(v) ? 0.0 : std::clamp(v, -100.0, 100.0);
    for (int x = 0; x < 256; ++x) tables_.byChannel[k][x] = BalanceByte(x, v);
  }
  preserveLightness_ = settings.preserveLightness;
  if (!preserveLightness_) {
    runner_.Prepare(tables_);
  } else {
    if (!cache_) cache_.reset(new CacheEntry[size_t(1) << kCacheBits]);
    for (size_t i = 0; i < (size_t(1) << kCacheBits); ++i) cache_[i].key = kEmpty;
  }
}

void BalanceKernel::Run(const PixelPass& pass, int rowBegin, int rowEnd) {
  if (!preserveLightness_) {
    runner_.Run(pass, rowBegin, rowEnd);
    return;
  }
  const ByteTable& t0 = tables_.byChannel[0];
  const ByteTable& t1 = tables_.byChannel[1];
  const ByteTable& t2 = tables_.byChannel[2];
  CacheEntry* cache = cache_.get();
  ForEachPassRow(pass, rowBegin, rowEnd, [&](const uint8_t* src, uint8_t* dst, int count) {
    for (int i = 0; i < count; ++i, src += 3, dst += 3) {
      const uint32_t key = uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16;
      // Multiplicative hash of the 24-bit colour into the direct-mapped cache.
      CacheEntry& e = cache[(key * 2654435761u) >> (32 - kCacheBits)];
      if (e.key != key) {
        const int sourceLightness =
            (std::max({src[0], src[1], src[2]}) + std::min({src[0], src[1], src[2]})) / 2;
        IntHls adjusted = IntToHls(t0[src[0]], t1[src[1]], t2[src[2]]);
        adjusted.l = sourceLightness;
        IntFromHls(adjusted, e.out);
        e.key = key;
      }
      dst[0] = e.out[0], dst[1] = e.out[1], dst[2] = e.out[2];
    }
  });
}

}  // namespace quillo
