#include "gradient_frame.h"

#include <algorithm>
#include <cmath>

namespace quillo::qlo13 {

namespace {

PaletteColour ColourOf(const GradientStop& s) { return {s.blue, s.green, s.red}; }

uint8_t Blend(int a, int b, int t, int span) {
  return uint8_t((a * (span - t) + b * t + span / 2) / span);
}

}  // namespace

GradientPalette PaletteOf(const Gradient& gradient) {
  GradientPalette p{};
  const auto& stops = gradient.stops;
  if (stops.empty()) return p;
  // For position k: the last stop at or before it and the first after it.
  // Several stops at one position make a hard edge there: the blend from
  // below ends at the first of them, the last one holds from it on.
  size_t after = 0;
  for (int k = 0; k < 256; ++k) {
    while (after < stops.size() && stops[after].position <= k) ++after;
    if (after == 0) {
      p[k] = ColourOf(stops.front());
    } else if (after == stops.size()) {
      p[k] = ColourOf(stops.back());
    } else {
      const GradientStop& a = stops[after - 1];
      const GradientStop& b = stops[after];
      // Between stops a and b: the blend runs from a's colour to the first
      // stop at b's position.
      const int span = b.position - a.position;
      const int t = k - a.position;
      p[k] = {Blend(a.blue, b.blue, t, span), Blend(a.green, b.green, t, span), Blend(a.red, b.red, t, span)};
    }
  }
  return p;
}

GradientPalette TurnHue(const GradientPalette& palette, int degrees) {
  const int turn = ((degrees % 360) + 360) % 360;
  if (turn == 0) return palette;
  GradientPalette out;
  for (int k = 0; k < 256; ++k) {
    const PaletteColour& c = palette[k];
    const double r = c.red, g = c.green, b = c.blue;
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
    const double chroma = hi - lo;
    if (chroma == 0) {
      out[k] = c;
      continue;
    }
    double hue;
    if (hi == r) hue = std::fmod((g - b) / chroma, 6.0);
    else if (hi == g) hue = (b - r) / chroma + 2;
    else hue = (r - g) / chroma + 4;
    hue = std::fmod(hue * 60 + turn + 360, 360) / 60;  // sextant 0 .. 6
    const double x = chroma * (1 - std::fabs(std::fmod(hue, 2.0) - 1));
    double rr = 0, gg = 0, bb = 0;
    switch (int(hue) % 6) {
      case 0: rr = chroma, gg = x; break;
      case 1: rr = x, gg = chroma; break;
      case 2: gg = chroma, bb = x; break;
      case 3: gg = x, bb = chroma; break;
      case 4: rr = x, bb = chroma; break;
      default: rr = chroma, bb = x; break;
    }
    auto byte = [](double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); };
    out[k] = {byte(bb + lo), byte(gg + lo), byte(rr + lo)};
  }
  return out;
}

void BuildBrightness(const uint8_t* picture, int width, int height, int64_t stride, uint8_t* brightness) {
  for (int i = 0; i < height; ++i) {
    const uint8_t* s = picture + i * stride;
    uint8_t* d = brightness + int64_t(i) * width;
    for (int j = 0; j < width; ++j, s += 3) d[j] = uint8_t((29 * s[0] + 150 * s[1] + 77 * s[2] + 128) >> 8);
  }
}

void GradientFrame(GradientRun& run, const GradientPalette& palette, const uint8_t* brightness,
                   const uint8_t* backup, uint8_t* out, int width, int height, int64_t stride) {
  run.speed = std::clamp(run.speed, 0, kGradientMaxSpeed);
  run.strength = std::clamp(run.strength, 0, 100);
  const GradientPalette turned = TurnHue(palette, run.hue);
  const int a = run.strength * 256 / 100;
  // For each brightness, the palette entry it shows this frame.
  PaletteColour shown[256];
  for (int k = 0; k < 256; ++k) shown[k] = turned[(k + run.flow) & 255];
  for (int i = 0; i < height; ++i) {
    const uint8_t* level = brightness + int64_t(i) * width;
    const uint8_t* s = backup + i * stride;
    uint8_t* d = out + i * stride;
    if (a == 256) {
      for (int j = 0; j < width; ++j, d += 3) {
        const PaletteColour& c = shown[level[j]];
        d[0] = c.blue;
        d[1] = c.green;
        d[2] = c.red;
      }
      continue;
    }
    for (int j = 0; j < width; ++j, s += 3, d += 3) {
      const PaletteColour& c = shown[level[j]];
      d[0] = uint8_t(s[0] + (((c.blue - s[0]) * a) >> 8));
      d[1] = uint8_t(s[1] + (((c.green - s[1]) * a) >> 8));
      d[2] = uint8_t(s[2] + (((c.red - s[2]) * a) >> 8));
    }
  }
  run.hue = (run.hue + run.speed) % 360;
  if (run.flowing) run.flow = (run.flow + 1) & 255;
}

}  // namespace quillo::qlo13
