#include "colour_stretch.h"

#include <algorithm>

namespace quillo::imaging {

Hsv BytesToHsv(const uint8_t bytes[3]) {
  const double c0 = bytes[0] / 255.0, c1 = bytes[1] / 255.0, c2 = bytes[2] / 255.0;
  const double hi = std::max({c0, c1, c2}), lo = std::min({c0, c1, c2});
  Hsv out;
  out.v = hi;
  out.s = hi != 0.0 ? (hi - lo) / hi : 0.0;
  if (out.s != 0.0) {
    const double d = hi - lo;
    double h;
    if (c0 == hi)
      h = (c1 - c2) / d;
    else if (c1 == hi)
      h = 2.0 + (c2 - c0) / d;
    else
      h = 4.0 + (c0 - c1) / d;
    h /= 6.0;
    if (h < 0.0) h += 1.0;
    if (h > 1.0) h -= 1.0;
    out.h = h;
  }
  return out;
}

void HsvToBytes(const Hsv& hsv, uint8_t bytes[3]) {
  const auto byte = [](double value) {
    const double scaled = value * 255.0;
    return uint8_t(scaled <= 0.0 ? 0 : scaled >= 255.0 ? 255 : int(scaled));
  };
  double c[3];
  HsvToUnit(hsv, c);
  for (int i = 0; i < 3; ++i) bytes[i] = byte(c[i]);
}

void HsvToUnit(const Hsv& hsv, double c[3]) {
  const double v = hsv.v, s = hsv.s;
  if (s == 0.0) {
    c[0] = c[1] = c[2] = v;
    return;
  }
  double h6 = hsv.h * 6.0;
  if (h6 >= 6.0 || h6 < 0.0) h6 = 0.0;
  const int sector = int(h6);
  const double f = h6 - sector;
  const double p = v * (1.0 - s), q = v * (1.0 - s * f), t = v * (1.0 - s * (1.0 - f));
  switch (sector) {
    case 0: c[0] = v, c[1] = t, c[2] = p; break;
    case 1: c[0] = q, c[1] = v, c[2] = p; break;
    case 2: c[0] = p, c[1] = v, c[2] = t; break;
    case 3: c[0] = p, c[1] = q, c[2] = v; break;
    case 4: c[0] = t, c[1] = p, c[2] = v; break;
    default: c[0] = v, c[1] = p, c[2] = q; break;
  }
}

void HsvRange::Add(const Hsv& c) {
  sMin = std::min(sMin, c.s), sMax = std::max(sMax, c.s);
  vMin = std::min(vMin, c.v), vMax = std::max(vMax, c.v);
}

void HsvRange::Stretch(Hsv& c) const {
  if (sMax != sMin) c.s = (c.s - sMin) / (sMax - sMin);
  if (vMax != vMin) c.v = (c.v - vMin) / (vMax - vMin);
}

void StretchSaturationValue(uint8_t* pixels, int64_t stride, int left, int right, int firstRow,
                            int endRow) {
  if (!pixels || left >= right || firstRow >= endRow) return;
  HsvRange range;
  for (int y = firstRow; y < endRow; ++y) {
    const uint8_t* p = pixels + int64_t(y) * stride + int64_t(left) * 3;
    for (int x = left; x < right; ++x, p += 3) range.Add(BytesToHsv(p));
  }
  for (int y = firstRow; y < endRow; ++y) {
    uint8_t* p = pixels + int64_t(y) * stride + int64_t(left) * 3;
    for (int x = left; x < right; ++x, p += 3) {
      Hsv c = BytesToHsv(p);
      range.Stretch(c);
      HsvToBytes(c, p);
    }
  }
}

}  // namespace quillo::imaging
