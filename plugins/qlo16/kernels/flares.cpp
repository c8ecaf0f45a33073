#include "flares.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <numbers>

namespace quillo::qlo16 {

namespace {

// Colour bytes as fractions of 0.8.
constexpr double kLight = 0.0031372549019607846;
constexpr double kEmitterTurn = 0.62831855;
constexpr double kEmitterSwing = 1.1309733552923256;

bool Ready(const FlaresState& s) {
  return s.width > 0 && s.height > 0 && s.heat.size() == size_t(s.width) * size_t(s.height);
}

bool Inside(const FlaresState& s, int x, int y) { return x >= 0 && x < s.width && y >= 2 && y <= s.height - 2; }

void Heat(uint8_t& cell, int64_t gain) { cell = uint8_t(std::min<int64_t>(255, cell + gain)); }

}  // namespace

FirePalette256 FlaresPalette(double hueShift, double saturationShift, double lightnessShift) {
  FirePalette256 palette;
  for (int i = 0; i < 256; ++i) {
    animation::Hsl c = animation::ToHsl(i * kLight, i * kLight, (i / 2) * kLight);
    c.lightness = std::clamp(c.lightness + lightnessShift, 0.0, 1.0);
    c.saturation = std::clamp(c.saturation + saturationShift, 0.0, 1.0);
    if (c.hasHue) c.hue = animation::WrapHue(c.hue, hueShift);
    palette[size_t(i)] = animation::FromHsl(c);
  }
  return palette;
}

bool ResetFlares(FlaresState& state, int width, int height) {
  const bool positive = width > 0 && height > 0;
  state.width = positive ? width : 0;
  state.height = positive ? height : 0;
  state.time = state.phase = 0;
  try {
    state.heat.assign(size_t(state.width) * size_t(state.height), 0);
  } catch (const std::bad_alloc&) {
    state.width = state.height = 0;
    std::vector<uint8_t>().swap(state.heat);
    return false;
  }
  return true;
}

void SetFlaresEmitters(FlaresState& state, int emitters) {
  state.emitters = std::clamp(emitters, kFlaresMinEmitters, kFlaresMaxEmitters);
}

FlaresEmitter FlaresEmitterAt(const FlaresState& state, int i) {
  const double t = state.time, phase = state.phase;
  const double c = i * kEmitterTurn;
  const int m = std::clamp(std::min(state.emitters, kFlaresLengthEmitters), 1, kFlaresLengthEmitters);
  FlaresEmitter e;
  e.x = int((std::cos(c + 2 * t + phase) * 0.8 + 1) * (state.width / 2));
  e.y = int((std::cos(phase + 1.4 * t + i * kEmitterSwing) * 0.8 + 1) * (state.height / 2));
  e.length = std::max(int((std::sin(c + t) + 1.3) * (state.height / m)), kFlaresMinRay);
  return e;
}

bool AddFlaresRay(FlaresState& s, int x0, int y0, int x1, int y1) {
  if (!Ready(s) || !Inside(s, x0, y0) || !Inside(s, x1, y1)) return false;
  const int dx = x1 - x0, dy = y1 - y0;
  const bool alongX = std::abs(dx) >= std::abs(dy);
  const int major = alongX ? std::abs(dx) : std::abs(dy);
  const int minor = alongX ? std::abs(dy) : std::abs(dx);
  const int stepMajor = (alongX ? dx : dy) < 0 ? -1 : 1;
  const int stepMinor = (alongX ? dy : dx) < 0 ? -1 : 1;
  const int len = major + 1;
  // A ray of one point has its whole share on that point.
  const int64_t divisor = major > 0 ? major : 1;
  int64_t intensity = int64_t(255) << 16;
  const int64_t fade = intensity / len;
  int64_t error = 0;  // the far pixel's share; the near one has the rest
  int a = 0, b = 0;   // offsets along the major and minor axes
  const int64_t w = s.width;
  for (int k = 0; k < len; ++k) {
    const int x = x0 + (alongX ? a : b), y = y0 + (alongX ? b : a);
    Heat(s.heat[size_t(y * w + x)], (divisor - error) * intensity / divisor >> 16);
    if (error > 0) {
      const int fx = alongX ? x : x + stepMinor, fy = alongX ? y + stepMinor : y;
      Heat(s.heat[size_t(fy * w + fx)], error * intensity / divisor >> 16);
    }
    intensity -= fade;
    a += stepMajor;
    error += minor;
    if (error >= major && major > 0) {
      error -= major;
      b += stepMinor;
    }
  }
  return true;
}

void FlaresFrame(FlaresState& state, const FirePalette256& palette, const uint8_t* backup, uint8_t* out,
                 int64_t stride, RuntimeRandom& random) {
  if (!Ready(state) || !backup || !out || stride < int64_t(state.width) * 3) return;
  std::memset(state.heat.data(), 0, state.heat.size());
  const int emitters = std::clamp(state.emitters, kFlaresMinEmitters, kFlaresMaxEmitters);
  for (int i = 0; i < emitters; ++i) {
    const FlaresEmitter e = FlaresEmitterAt(state, i);
    const int rays = random.Next() & 31;
    for (int r = 0; r < rays; ++r) {
      const double u = random.Next(), v = random.Next();
      const int x = e.x + int(e.length * std::cos(v));
      const int y = e.y - int(std::sin(u) * e.length);
      AddFlaresRay(state, e.x, e.y, x, y);
    }
  }

  const int w = state.width, h = state.height;
  for (int i = 0; i < h; ++i) {
    const uint8_t* heat = state.heat.data() + int64_t(i) * w;
    const int64_t row = int64_t(h - 1 - i) * stride;
    const uint8_t* src = backup + row;
    uint8_t* dst = out + row;
    for (int j = 0; j < w; ++j, src += 3, dst += 3) {
      if (!heat[j]) {
        dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
        continue;
      }
      const FireColour& p = palette[heat[j]];
      dst[0] = uint8_t(p.blue + ((255 - p.blue) * src[0] >> 8));
      dst[1] = uint8_t(p.green + ((255 - p.green) * src[1] >> 8));
      dst[2] = uint8_t(p.red + ((255 - p.red) * src[2] >> 8));
    }
  }

  state.time += 0.02;
  state.phase += 0.001;
  if (state.phase > std::numbers::pi) state.phase -= std::numbers::pi;
}

}  // namespace quillo::qlo16
