#include "firework.h"

#include <algorithm>
#include <cstring>

namespace quillo::qlo15 {

namespace {

const uint8_t kColours[13][3] = {
    {255, 255, 255}, {0, 255, 255}, {255, 0, 255}, {255, 255, 0}, {0, 0, 255},
    {255, 0, 0},     {0, 255, 0},   {255, 128, 128}, {128, 255, 128}, {128, 128, 255},
    {255, 0, 128},   {128, 255, 128}, {0, 128, 255}};

constexpr int32_t kParked = -20000;  // far off the picture: not drawn

}  // namespace

int FireworkDefaultHeight(int height) {
  if (height >= 300) return 128;
  if (height >= 200) return 30;
  if (height >= 150) return 25;
  if (height >= 100) return 20;
  if (height >= 80) return 15;
  if (height >= 50) return 10;
  return 5;
}

void SetFirework(FireworkState& state, int rockets, int sparks, int launchHeight) {
  state.rockets = std::clamp(rockets, kFireworkMinRockets, kFireworkMaxRockets);
  state.sparks = std::clamp(sparks, kFireworkMinSparks, kFireworkMaxSparks);
  state.launchHeight = std::clamp(launchHeight, kFireworkMinHeight, kFireworkMaxHeight);
  state.regenerate = true;
}

const uint8_t* FireworkColour(int rocket) { return kColours[(rocket % 13 + 13) % 13]; }

void FireworkFrame(FireworkState& state, const uint8_t* source, uint8_t* out, int width, int height,
                   int64_t stride, RuntimeRandom& random) {
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  // Settings are clamped on every frame, so the rockets' sparks never pass
  // the tables.
  const bool regenerate = state.regenerate;
  SetFirework(state, state.rockets, state.sparks, state.launchHeight);
  if (regenerate) {
    state.x.fill(kParked);
    state.y.fill(kParked);
    state.vx.fill(0);
    state.vy.fill(0);
    for (int i = 0; i < state.rockets; ++i) {
      state.countdown[size_t(i)] = i * state.sparks + 1;
      state.exploded[size_t(i)] = 1;
    }
  }
  state.regenerate = false;
  std::memcpy(out, source, size_t(stride * height));
  const int sparks = state.sparks;
  for (int i = 0; i < state.rockets; ++i) {
    const size_t first = size_t(i) * size_t(sparks);
    if (!state.exploded[size_t(i)] && state.vy[first] > 0) {
      state.exploded[size_t(i)] = 1;
      for (size_t p = first; p < first + size_t(sparks); ++p) {
        state.vx[p] = random.Below(30) - 15;
        const int b = random.Below(31);
        state.vy[p] = b <= 15 ? b - 16 : b - 15;
      }
    }
    const uint8_t* colour = FireworkColour(i);
    for (size_t p = first; p < first + size_t(sparks); ++p) {
      const int32_t column = state.x[p] >> 3;
      const int64_t m = int64_t(height) - (state.y[p] >> 3) - 1;
      if (state.x[p] > 7 && column < width - 1 && m > 0 && m < height - 1) {
        for (int64_t r = m; r <= m + 1; ++r) {
          uint8_t* at = out + r * stride + int64_t(column) * 3;
          std::memcpy(at, colour, 3);
          std::memcpy(at + 3, colour, 3);
        }
      }
      state.x[p] += state.vx[p];
      state.y[p] += state.vy[p];
      state.vy[p] += 1;
    }
    if (state.countdown[size_t(i)]-- <= 1) {
      state.countdown[size_t(i)] = sparks * state.rockets;
      state.exploded[size_t(i)] = 0;
      const int b = random.Below(width);
      const int t = random.Next();
      const int g = random.Next();
      const int k = g % 15;
      const int32_t y = int32_t((int64_t(255 - state.launchHeight) * height) / 32);
      for (size_t p = first; p < first + size_t(sparks); ++p) {
        state.x[p] = b * 8;
        state.y[p] = y;
        state.vy[p] = t % 28 - 58;
        state.vx[p] = k < 8 ? k - 8 : k - 7;
      }
    }
  }
}

}  // namespace quillo::qlo15
