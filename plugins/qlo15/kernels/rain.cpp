#include "rain.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quillo::qlo15 {

namespace {

constexpr double kRingFactors[kRainRings] = {0.27, 0.75, 1.5, 2.25, 3.7, 4.75, 5.6};

// A landing place 4 or more from both ends of `extent`; the draw is taken
// even where the picture is too small for that, so the sequence does not
// depend on the size.
int LandingPlace(int extent, RuntimeRandom& random) {
  const int draw = random.Next();
  return extent > 8 ? draw % (extent - 8) + 4 : extent / 2;
}

}  // namespace

const std::array<int, kRainRings>& RainRingAmplitudes() {
  static const std::array<int, kRainRings> amplitudes = [] {
    std::array<int, kRainRings> a{};
    for (int n = 0; n < kRainRings; ++n) {
      const int k = int(kRingFactors[n] * 255 / 6);
      a[size_t(n)] = int(20 * std::sin(k * 0.02454369260617026));
    }
    return a;
  }();
  return amplitudes;
}

void SetRainDrops(RainState& state, int drops, bool reset) {
  state.dropCount = std::clamp(drops, kRainMinDrops, kRainMaxDrops);
  if (reset) state.reset = true;
}

void StartRain(RainState& state) {
  state.active = 1;
  state.reset = true;
}

bool RainTick(RainState& state, int count, RuntimeRandom& random) {
  if (count % kRainTicksPerChange != 0) return false;
  SetRainDrops(state, random.Below(200) + 30, false);
  return true;
}

void DrawRipple(const uint8_t* source, uint8_t* out, int width, int height, int64_t stride, int x,
                int y, int age) {
  const auto& amplitudes = RainRingAmplitudes();
  const int d = int(age * 0.9);
  auto put = [&](int dx, int dy, int sx, int sy) {
    if (dx < 0 || dx >= width || dy < 0 || dy >= height) return;
    sx = std::clamp(sx, 0, width - 1);
    sy = std::clamp(sy, 0, height - 1);
    std::memcpy(out + int64_t(dy) * stride + int64_t(dx) * 3, source + int64_t(sy) * stride + int64_t(sx) * 3, 3);
  };
  for (int n = 0; n < kRainRings; ++n) {
    const int r = d + 1 + n;
    const int a = amplitudes[size_t(n)];
    // r is at most 26 and the age under 20 for drops the frame keeps, but
    // the divisor stays at 1 or more for any age that is not negative.
    const int divisor = std::max(1, r * (r / 2) * age / 20 + 1);
    int i = 0, k = r, e = 1 - r, f = 5 - 2 * r;
    for (;;) {
      const int h = i * a / divisor, g = k * a / divisor;
      put(x + i, y + k, x + i + h, y + k + g);
      put(x + i, y - k, x + i + h, y - k - g);
      put(x - i, y + k, x - i - h, y + k + g);
      put(x - i, y - k, x - i - h, y - k - g);
      put(x + k, y + i, x + k + g, y + i + h);
      put(x + k, y - i, x + k + g, y - i - h);
      put(x - k, y + i, x - k - g, y + i + h);
      put(x - k, y - i, x - k - g, y - i - h);
      if (i >= k) break;
      if (e < 0) {
        e += 2 * i + 3;
        f += 2;
      } else {
        --k;
        e += f;
        f += 4;
      }
      ++i;
    }
  }
}

void RainFrame(RainState& state, const uint8_t* source, uint8_t* out, int width, int height,
               int64_t stride, RuntimeRandom& random) {
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  SetRainDrops(state, state.dropCount, false);
  state.active = std::clamp(state.active, 1, kRainMaxDrops);
  if (state.reset) {
    for (int j = 0; j < kRainMaxDrops; ++j) {
      random.Next();
      state.age[size_t(j)] = random.Below(kRainDropLife);
    }
    state.x.fill(0);
    state.y.fill(0);
    state.reset = false;
  }
  std::memcpy(out, source, size_t(stride * height));

  // A drop added by the first one lands in this same pass.
  for (int j = 0; j < state.active; ++j) {
    int32_t& age = state.age[size_t(j)];
    if (++age < kRainDropLife) continue;
    if (j == 0 && state.active < state.dropCount) ++state.active;
    age = 0;
    state.x[size_t(j)] = LandingPlace(width, random);
    state.y[size_t(j)] = LandingPlace(height, random);
  }
  // Drops not landed yet keep (0, 0) and their first age: small ripples in
  // the first pixel's corner.
  for (int j = 0; j < state.dropCount; ++j)
    DrawRipple(source, out, width, height, stride, state.x[size_t(j)], state.y[size_t(j)],
               std::clamp(state.age[size_t(j)], 0, kRainDropLife - 1));
}

}  // namespace quillo::qlo15
