#include "light.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quillo::qlo15 {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kThreeDegrees = 0.05235987755982989;
constexpr double kOneDegree = 0.017453292519943295;

// A path term truncated toward zero; a term near tan's pole stays finite
// (tan B cos B is about 1 there), the clamp only keeps the conversion
// defined.
int32_t Term(double v) { return int32_t(std::clamp(v, -1e9, 1e9)); }

// Adds the spot at `at` to byte `channel` of each pixel it covers, clipped
// to the picture and saturating at 255.
void AddSpot(const LightState& state, LightPoint at, int channel, uint8_t* out, int width, int height,
             int64_t stride) {
  const int64_t firstColumn = std::max<int64_t>(at.x, 0);
  const int64_t lastColumn = std::min<int64_t>(int64_t(at.x) + state.spotWidth, width);
  const int64_t firstRow = std::max<int64_t>(at.y, 0);
  const int64_t lastRow = std::min<int64_t>(int64_t(at.y) + state.spotHeight, height);
  for (int64_t row = firstRow; row < lastRow; ++row) {
    const uint8_t* spot = state.spot.data() + size_t(row - at.y) * size_t(state.spotWidth);
    uint8_t* o = out + row * stride + firstColumn * 3 + channel;
    for (int64_t column = firstColumn; column < lastColumn; ++column, o += 3)
      *o = uint8_t(std::min(255, *o + spot[column - at.x]));
  }
}

}  // namespace

void SetLight(LightState& state, int spotWidth, int spotHeight, int intensity, bool separatePaths) {
  state.spotWidth = std::clamp(spotWidth, kLightMinSize, kLightMaxSize);
  state.spotHeight = std::clamp(spotHeight, kLightMinSize, kLightMaxSize);
  state.intensity = std::clamp(intensity, kLightMinIntensity, kLightMaxIntensity);
  state.separatePaths = separatePaths;
  state.recompute = true;
}

void BuildLightSpot(LightState& state) {
  const int w = state.spotWidth, h = state.spotHeight;
  state.spot.assign(size_t(w) * size_t(h), 0);
  for (int i = 0; i < h; ++i) {
    const double f = 1 - std::cos(kTwoPi * i / h);
    for (int j = 0; j < w; ++j) {
      const int mirrored = std::max(j, w - 1 - j);
      const double e = 1 - std::cos(kTwoPi * mirrored / w);
      const double value = f * e * state.intensity;
      state.spot[size_t(i) * size_t(w) + size_t(j)] = uint8_t(std::min(255.0, std::trunc(value)));
    }
  }
}

void BuildLightPaths(LightState& state, int width, int height) {
  const int w = state.spotWidth, h = state.spotHeight;
  const int ox = width / 2 - w / 2, oy = height / 2 - h / 2;
  const int px = width / 2 - w / 3, py = height / 2 - h / 3;
  for (int k = 0; k < kLightPathSteps; ++k) {
    const double a = k * kThreeDegrees, b = k * kOneDegree;
    const LightPoint shared = {ox + Term(px * std::cos(a)), oy + Term(py * std::sin(b) * std::cos(a))};
    state.paths[1][size_t(k)] = shared;
    if (state.separatePaths) {
      state.paths[0][size_t(k)] = {ox + Term(px * std::sin(a)), oy + Term(py * std::cos(b) * std::sin(b))};
      state.paths[2][size_t(k)] = {ox + Term(px * std::tan(b) * std::cos(b)), oy + Term(py * std::sin(a))};
    } else {
      state.paths[0][size_t(k)] = state.paths[2][size_t(k)] = shared;
    }
  }
}

void LightFrame(LightState& state, const uint8_t* source, uint8_t* out, int width, int height,
                int64_t stride) {
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  std::memcpy(out, source, size_t(stride) * size_t(height));
  if (state.recompute) {
    SetLight(state, state.spotWidth, state.spotHeight, state.intensity, state.separatePaths);
    BuildLightSpot(state);
    BuildLightPaths(state, width, height);
    state.recompute = false;
  }
  const size_t k = size_t(state.step % kLightPathSteps);
  AddSpot(state, state.paths[0][k], 1, out, width, height, stride);  // green
  AddSpot(state, state.paths[1][k], 0, out, width, height, stride);  // blue
  AddSpot(state, state.paths[2][k], 2, out, width, height, stride);  // red
  state.step = (state.step + kLightStepsPerFrame) % kLightPathSteps;
}

}  // namespace quillo::qlo15
