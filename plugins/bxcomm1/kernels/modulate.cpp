#include "modulate.h"

#include <algorithm>
#include <cmath>

#include "pass_rows.h"

namespace quillo {

const std::array<double, 256>& ModulateUnitTable() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> t;
    const double step = 1.0 / 255.0;
    double v = 0.0;
    for (int i = 0; i < 256; ++i) {
      t[i] = v;
      v += step;
    }
    return t;
  }();
  return table;
}

namespace {

constexpr int kPairCount = 256 * 255 / 2;

inline int PairIndex(int mx, int mn) { return mx * (mx - 1) / 2 + mn; }

// floor(v * 255 + 0.5) stored as a byte. The argument is never below -1 here,
// where truncation after the clamp gives the same byte as floor.
inline uint8_t UnitToByte(double v) {
  const double x = v * 255.0 + 0.5;
  if (x <= 0.0) return 0;
  if (x >= 255.0) return 255;
  return uint8_t(int(x));
}

inline double Limit01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

}  // namespace

ModulateKernel::ModulateKernel() = default;
ModulateKernel::~ModulateKernel() = default;

void ModulateKernel::Prepare(const ModulateSettings& settings) {
  const std::array<double, 256>& unit = ModulateUnitTable();
  hueShift_ = double(std::clamp(settings.hue, -255, 255)) / 255.0;
  const double satShift = double(std::clamp(settings.saturation, -255, 255)) / 255.0;
  const double lightShift = double(std::clamp(settings.lightness, -255, 255)) / 255.0;

  for (int v = 0; v < 256; ++v) {
    const double l = Limit01((unit[v] + unit[v]) / 2.0 + lightShift);
    greyBytes_[v] = UnitToByte(l);
  }
  if (!pairs_) pairs_.reset(new Pair[kPairCount]);
  for (int mx = 1; mx < 256; ++mx) {
    for (int mn = 0; mn < mx; ++mn) {
      const double hi = unit[mx], lo = unit[mn];
      double l = (hi + lo) / 2.0;
      const double d = hi - lo;
      double s = l <= 0.5 ? d / (hi + lo) : d / (2.0 - hi - lo);
      l = Limit01(l + lightShift);
      s = Limit01(s + satShift);
      Pair& p = pairs_[PairIndex(mx, mn)];
      if (s == 0.0) {
        p.flat = 1;
        p.flatByte = UnitToByte(l);
        p.m1 = p.m2 = 0;
        p.m1Byte = p.m2Byte = 0;
        continue;
      }
      const double m2 = l <= 0.5 ? l * (1.0 + s) : l + s - l * s;
      const double m1 = 2.0 * l - m2;
      p.flat = 0;
      p.flatByte = 0;
      p.m1 = m1;
      p.m2 = m2;
      p.m1Byte = UnitToByte(m1);
      p.m2Byte = UnitToByte(m2);
    }
  }
}

void ModulateKernel::Run(const PixelPass& pass, int rowBegin, int rowEnd) const {
  if (!pairs_) return;
  const std::array<double, 256>& unit = ModulateUnitTable();
  const Pair* pairs = pairs_.get();
  const double hueShift = hueShift_;
  ForEachPassRow(pass, rowBegin, rowEnd, [&](const uint8_t* src, uint8_t* dst, int count) {
    // The previous pixel's result is reused when the colour repeats.
    uint32_t lastKey = 0xFFFFFFFFu;
    uint8_t lastOut[3] = {0, 0, 0};
    for (int i = 0; i < count; ++i, src += 3, dst += 3) {
      const int b = src[0], g = src[1], r = src[2];
      const uint32_t key = uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16;
      if (key == lastKey) {
        dst[0] = lastOut[0], dst[1] = lastOut[1], dst[2] = lastOut[2];
        continue;
      }
      lastKey = key;
      const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
      if (mx == mn) {
        lastOut[0] = lastOut[1] = lastOut[2] = greyBytes_[mx];
      } else {
        const Pair& p = pairs[PairIndex(mx, mn)];
        if (p.flat) {
          lastOut[0] = lastOut[1] = lastOut[2] = p.flatByte;
        } else {
          // The unit table is strictly increasing, so comparing bytes decides
          // exactly as comparing the table's doubles.
          const double top = unit[mx];
          const double d = top - unit[mn];
          double h;
          if (r == mx) {
            h = g != mn ? 1.0 - (top - unit[g]) / d : 5.0 + (top - unit[b]) / d;
          } else if (g == mx) {
            h = b != mn ? 3.0 - (top - unit[b]) / d : 1.0 + (top - unit[r]) / d;
          } else {
            h = r != mn ? 5.0 - (top - unit[r]) / d : 3.0 + (top - unit[g]) / d;
          }
          h = h / 6.0;
          h = h + hueShift;
          if (h < 0) h += 1.0;
          if (h > 1) h -= 1.0;
          const double h6 = 6.0 * h;
          const int sector = int(h6);
          const double f = h6 - double(sector);
          const double span = p.m2 - p.m1;
          const uint8_t low = p.m1Byte, high = p.m2Byte;
          switch (sector) {
            case 1:  // (falling, m2, m1)
              lastOut[2] = UnitToByte(p.m2 - f * span), lastOut[1] = high, lastOut[0] = low;
              break;
            case 2:  // (m1, m2, rising)
              lastOut[2] = low, lastOut[1] = high, lastOut[0] = UnitToByte(p.m1 + f * span);
              break;
            case 3:  // (m1, falling, m2)
              lastOut[2] = low, lastOut[1] = UnitToByte(p.m2 - f * span), lastOut[0] = high;
              break;
            case 4:  // (rising, m1, m2)
              lastOut[2] = UnitToByte(p.m1 + f * span), lastOut[1] = low, lastOut[0] = high;
              break;
            case 5:  // (m2, m1, falling)
              lastOut[2] = high, lastOut[1] = low, lastOut[0] = UnitToByte(p.m2 - f * span);
              break;
            default:  // 0, and 6 when the hue lands on 1: (m2, rising, m1)
              lastOut[2] = high, lastOut[1] = UnitToByte(p.m1 + f * span), lastOut[0] = low;
              break;
          }
        }
      }
      dst[0] = lastOut[0], dst[1] = lastOut[1], dst[2] = lastOut[2];
    }
  });
}

}  // namespace quillo
