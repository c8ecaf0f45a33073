#include "bleed.h"

#include <algorithm>
#include <cmath>

#include "pass_rows.h"

namespace quillo {

double BleedFactor(int position) {
  return position < -100 ? (position + 100) * 0.1 - 1 : position * 0.01;
}

namespace {
uint8_t Mix(double keep, double factor, uint8_t value, double grey) {
  const double v = std::trunc(keep * value + factor * grey);
  return uint8_t(std::clamp(v, 0.0, 255.0));
}
}  // namespace

void RunBleed(const PixelPass& pass, const BleedSettings& s, int rowBegin, int rowEnd) {
  const double g = std::isfinite(s.factor) ? s.factor : 0.0;
  const double keep = 1 - g;
  ForEachPassRow(pass, rowBegin, rowEnd, [&](const uint8_t* in, uint8_t* out, int count) {
    for (int x = 0; x < count; ++x, in += 3, out += 3) {
      const double grey = 0.30 * in[2] + 0.59 * in[1] + 0.11 * in[0];
      out[0] = s.blue ? Mix(keep, g, in[0], grey) : in[0];
      out[1] = s.green ? Mix(keep, g, in[1], grey) : in[1];
      out[2] = s.red ? Mix(keep, g, in[2], grey) : in[2];
    }
  });
}

}  // namespace quillo
