#include "fire_palette.h"

#include <algorithm>
#include <cmath>

namespace quillo::animation {

namespace {

// One channel of the conversion back from hue, saturation and lightness.
double HslChannel(double n1, double n2, double hue) {
  if (hue < 0) hue += 1;
  if (hue > 1) hue -= 1;
  if (hue < 1.0 / 6) return n1 + (n2 - n1) * hue * 6;
  if (hue < 0.5) return n2;
  if (hue < 2.0 / 3) return n1 + (n2 - n1) * (2.0 / 3 - hue) * 6;
  return n1;
}

uint8_t ToByte(double v) { return uint8_t(std::clamp(std::floor(v * 255 + 0.5), 0.0, 255.0)); }

}  // namespace

FireColour BaseFireColour(int k) {
  const uint8_t red = k <= 7 ? 0 : k <= 31 ? uint8_t(10 * k - 70) : 255;
  const uint8_t green = k >= 57 ? 255 : k >= 33 ? uint8_t(10 * k - 64) : 0;
  const uint8_t blue = k <= 7    ? uint8_t(8 * k)
                       : k <= 16 ? uint8_t(-8 * k - 128)
                       : k >= 82 ? 255
                       : k >= 58 ? uint8_t(10 * k - 58)
                                 : 0;
  return FireColour{red, green, blue};
}

Hsl ToHsl(double r, double g, double b) {
  const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
  Hsl c;
  c.lightness = (hi + lo) / 2;
  if (hi == lo) return c;
  const double d = hi - lo;
  c.hasHue = true;
  c.saturation = c.lightness <= 0.5 ? d / (hi + lo) : d / (2 - hi - lo);
  double h;
  if (r == hi)
    h = (g - b) / d;
  else if (g == hi)
    h = 2 + (b - r) / d;
  else
    h = 4 + (r - g) / d;
  h /= 6;
  if (h < 0) h += 1;
  c.hue = h;
  return c;
}

FireColour FromHsl(const Hsl& c) {
  const double l = c.lightness, s = c.saturation, h = c.hue;
  if (!c.hasHue || s == 0) return FireColour{ToByte(l), ToByte(l), ToByte(l)};
  const double n2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
  const double n1 = 2 * l - n2;
  return FireColour{ToByte(HslChannel(n1, n2, h + 1.0 / 3)), ToByte(HslChannel(n1, n2, h)),
                    ToByte(HslChannel(n1, n2, h - 1.0 / 3))};
}

double WrapHue(double hue, double shift) {
  hue += shift;
  if (hue < 0) hue += 1;
  if (hue > 1) hue -= 1;
  return hue;
}

}  // namespace quillo::animation
