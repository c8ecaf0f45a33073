// Saturation and value stretch of a 24-bit picture area through hue,
// saturation, value. Portable: no Windows headers.
#pragma once
#include <cstdint>

namespace quillo::imaging {

struct Hsv {
  double h = 0, s = 0, v = 0;
};

// With c0, c1, c2 = bytes 0, 1, 2 / 255: v = max, s = (max - min) / max (0
// when max is 0); when s is not 0 and d = max - min, h = (c1 - c2) / d if c0
// is the maximum, 2 + (c2 - c0) / d if c1 is, else 4 + (c0 - c1) / d; then
// h / 6 wrapped into 0..1. Hue is 0 for greys.
Hsv BytesToHsv(const uint8_t bytes[3]);
// Back: f = fraction of 6h (6h of 6 or more counts as 0), p = v(1 - s),
// q = v(1 - sf), t = v(1 - s(1 - f)); sectors 0..5 give (v,t,p), (q,v,p),
// (p,v,t), (p,q,v), (t,p,v), (v,p,q); s = 0 gives (v,v,v). Each byte is
// trunc(value x 255).
void HsvToBytes(const Hsv& hsv, uint8_t bytes[3]);
// The same conversion without the last step: the three components as
// fractions 0..1 (bytes 0, 1, 2).
void HsvToUnit(const Hsv& hsv, double components[3]);

// The extremes of saturation and value over an area, and the stretch that
// maps them to 0 and 1 (a component whose extremes are equal is kept).
struct HsvRange {
  double sMin = 2, sMax = -1, vMin = 2, vMax = -1;
  void Add(const Hsv& c);
  void Stretch(Hsv& c) const;
};

// Columns [left, right) of bottom-up rows [firstRow, endRow): every pixel's
// saturation becomes (s - smin) / (smax - smin) and its value
// (v - vmin) / (vmax - vmin), the extremes taken over the area; a channel
// whose extremes are equal is left as it is. The area must lie inside the
// picture.
void StretchSaturationValue(uint8_t* pixels, int64_t stride, int left, int right, int firstRow,
                            int endRow);

}  // namespace quillo::imaging
