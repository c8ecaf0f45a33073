#include "flame.h"

#include <algorithm>
#include <cmath>

namespace quillo::qlo12 {
namespace {

// The base colour turned in hue, saturation and lightness space; the
// lightness stays as it is.
FireColour Turn(const FireColour& base, double hueShift, double saturationShift) {
  animation::Hsl c = animation::ToHsl(base.red / 255.0, base.green / 255.0, base.blue / 255.0);
  c.lightness = std::clamp(c.lightness, 0.0, 1.0);
  c.saturation = std::clamp(c.saturation + saturationShift, 0.0, 1.0);
  if (c.hasHue) c.hue = animation::WrapHue(c.hue, hueShift);
  return animation::FromHsl(c);
}

}  // namespace

std::vector<FireColour> FirePalette(double hueShift, double saturationShift) {
  std::vector<FireColour> palette(256);
  for (int k = 0; k < 256; ++k) palette[size_t(k)] = Turn(animation::BaseFireColour(k), hueShift, saturationShift);
  return palette;
}

bool FlameSizeWorkable(int width, int height) { return width >= 2 && height >= 4; }

void ResetFlame(FlameState& state, int width, int height) {
  state.width = std::max(width, 0);
  state.height = std::max(height, 0);
  state.heat.assign(size_t(state.width) * size_t(state.height), 0);
  state.sparks.clear();
}

void StepFlame(FlameState& state, double heatParameter, RuntimeRandom& random) {
  const int w = state.width, h = state.height;
  if (!FlameSizeWorkable(w, h) || state.heat.size() != size_t(w) * size_t(h)) return;
  double& t = state.time;

  for (int g = 20; g <= 27; ++g) {
    const double c = 25.0 * (g - 20), d = 70.0 * (g - 20);
    for (int n = 0; n < 8; ++n) {
      Spark s;
      s.speedX = (random.Next() & 31) - 16;
      s.speedUp = random.Next() & 31;
      const double x = w / 2 + w * std::cos((c + t) * 0.1) * (std::sin(t / (g - 10) + 10) + 0.2) *
                                   std::sin(std::sin(t * 0.05) * 20 + d) * 0.4;
      const double y = h / 2 + h * (std::sin(t * 0.1 + 10) + 0.2) * std::cos((c + t) * 0.1) *
                                   std::cos(d + std::sin(t / g) * 20) * 0.4;
      s.startX = int(x);
      s.startY = int(y);
      s.heat = int((std::sin(t / 3) * 5 + 1) * heatParameter + 70);
      state.sparks.push_back(s);
    }
    t += 0.01;
  }

  // Every spark but the newest heats its path (the new ones at their
  // starting points), then cools; the spent ones go.
  const int64_t cells = int64_t(w) * h;
  for (size_t i = 0; i + 1 < state.sparks.size(); ++i) {
    Spark& s = state.sparks[i];
    const int a = s.age / 16;
    const int64_t x = s.startX + int64_t(s.speedX) * a;
    if (x < w) {
      const int64_t y = h - int64_t(s.speedUp - 2 * a) * a - s.startY;
      // A negative x falls into the row before, as long as it stays in the
      // field. A spark born while the heat wave is low carries negative heat
      // (it is gone after this frame): the cell then cools, never wrapping.
      const int64_t index = y * w + x;
      if (y > 3 && y < h && index >= 0 && index < cells) {
        uint8_t& cell = state.heat[size_t(index)];
        cell = uint8_t(std::clamp(int64_t(cell) + s.heat, int64_t(0), int64_t(255)));
      }
    }
    s.age += 1;
    s.heat -= (s.heat >> 4) + 1;
  }
  const Spark newest = state.sparks.back();
  state.sparks.pop_back();
  std::erase_if(state.sparks, [](const Spark& s) { return s.heat <= 1; });
  state.sparks.push_back(newest);

  // Smooth in place from the third row: each cell with half and a quarter of
  // itself and its six neighbours below, beside and above, divided by eight.
  uint8_t* f = state.heat.data();
  const int64_t end = 2 * int64_t(w) + int64_t(w) * (h - 3);
  for (int64_t n = 2 * int64_t(w); n < end; ++n) {
    const int v = f[n];
    const int sum = v + v / 4 + v / 2 + f[n - w] + f[n + w] + f[n - w - 1] + f[n - w + 1] + f[n - 1] + f[n + 1];
    f[n] = uint8_t(sum >> 3);
  }
}

void DrawFlame(const FlameState& state, const std::vector<FireColour>& palette,
               const uint8_t* backup, uint8_t* out, int64_t stride) {
  const int w = state.width, h = state.height;
  if (!backup || !out || palette.size() != 256 || w <= 0 || h <= 0 || stride < int64_t(w) * 3 ||
      state.heat.size() != size_t(w) * size_t(h))
    return;
  for (int row = 2; row <= h - 2; ++row) {
    const uint8_t* heat = state.heat.data() + int64_t(row) * w;
    const uint8_t* src = backup + row * stride;
    uint8_t* dst = out + row * stride;
    for (int col = 0; col < w; ++col, src += 3, dst += 3) {
      const FireColour& p = palette[heat[col]];
      dst[0] = uint8_t(p.blue + ((255 - p.blue) * src[0] >> 8));
      dst[1] = uint8_t(p.green + ((255 - p.green) * src[1] >> 8));
      dst[2] = uint8_t(p.red + ((255 - p.red) * src[2] >> 8));
    }
  }
}

}  // namespace quillo::qlo12
