#include "aquarium.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace quillo::qlo15 {

namespace {

constexpr double kWaveAngleStep = 0.0030679615757712823;  // 2 pi / 2048
constexpr double kOneOverTwoPi = 0.15915494309189535;

// One memory row of the pulse. Along the ray through (j, i) the source sits
// at cx + (j - cx) f / D with f = D + m and m = b Tq[...]; since D divides
// (j - cx) D exactly and (j - cx) m has the same sign, that is
// j + (j - cx) m / D, which needs no product of two distances.
//
// Pictures whose products n = (j - cx) m stay below 2^31 (all but the
// widest) divide through one floating reciprocal a pixel: with
// r = (1 + 2^-50) / D, n r lies within n / D (1 + 2^-50 -+ 2^-52), never
// below |n / D| and short of the next integer by more than 1 / D - |n| 2^-50
// / D > 0, so its truncation is exactly trunc(n / D). Wider ones take 64-bit
// integer quotients.
void RenderRowNarrow(const AquariumState& state, int phase, int i, const int32_t* distance,
                     const uint8_t* source, uint8_t* out, int64_t stride) {
  constexpr double kBias = 1 + 0x1p-50;
  const auto& wave = AquariumWaveTable();
  const int width = state.width, height = state.height;
  const int32_t b = state.amplitude;
  const int32_t dy = i - state.cy;
  const uint8_t* sourceRow = source + int64_t(i) * stride;
  for (int j = 0; j < width; ++j, out += 3) {
    const int32_t d = distance[j];
    if (d == 0) {
      std::memcpy(out, sourceRow + int64_t(j) * 3, 3);
      continue;
    }
    const int32_t m = b * wave[size_t((phase + (d >> 10)) & (kAquariumPhases - 1))];
    const double r = kBias / d;
    const int32_t sx = j + int32_t(double((j - state.cx) * m) * r);
    const int32_t sy = i + int32_t(double(dy * m) * r);
    if (uint32_t(sx) >= uint32_t(width) || uint32_t(sy) >= uint32_t(height)) {
      out[0] = out[1] = out[2] = 0;
      continue;
    }
    std::memcpy(out, source + int64_t(sy) * stride + int64_t(sx) * 3, 3);
  }
}

void RenderRowWide(const AquariumState& state, int phase, int i, const int32_t* distance, const uint8_t* source,
                   uint8_t* out, int64_t stride) {
  const auto& wave = AquariumWaveTable();
  const int width = state.width, height = state.height;
  const int64_t b = state.amplitude;
  const int64_t dy = i - state.cy;
  const uint8_t* sourceRow = source + int64_t(i) * stride;
  for (int j = 0; j < width; ++j, out += 3) {
    const int32_t d = distance[j];
    if (d == 0) {
      std::memcpy(out, sourceRow + int64_t(j) * 3, 3);
      continue;
    }
    const int64_t m = b * wave[size_t((phase + (d >> 10)) & (kAquariumPhases - 1))];
    const int64_t sx = j + int64_t(j - state.cx) * m / d;
    const int64_t sy = i + dy * m / d;
    if (sx < 0 || sx >= width || sy < 0 || sy >= height) {
      out[0] = out[1] = out[2] = 0;
      continue;
    }
    std::memcpy(out, source + int64_t(sy) * stride + int64_t(sx) * 3, 3);
  }
}

}  // namespace

const std::array<int32_t, kAquariumPhases>& AquariumWaveTable() {
  static const std::array<int32_t, kAquariumPhases> table = [] {
    std::array<int32_t, kAquariumPhases> t{};
    for (int k = 0; k < kAquariumPhases; ++k) t[size_t(k)] = int32_t(std::fabs(std::cos(k * kWaveAngleStep)) * 1024);
    return t;
  }();
  return table;
}

bool StartAquarium(AquariumState& state, int width, int height) {
  state.width = std::max(0, width);
  state.height = std::max(0, height);
  state.cx = state.width / 2;
  state.cy = state.height / 2;
  state.recompute = true;
  try {
    state.distance.assign(size_t(state.width) * size_t(state.height), 0);
  } catch (const std::bad_alloc&) {
    std::vector<int32_t>().swap(state.distance);
    return false;
  }
  return true;
}

void SetAquariumCentre(AquariumState& state, int cx, int cy) {
  state.cx = std::clamp(cx, 0, std::max(0, state.width - 1));
  state.cy = std::clamp(cy, 0, std::max(0, state.height - 1));
  state.recompute = true;
}

void SetAquariumWave(AquariumState& state, double wavelength, int amplitude, int speed) {
  if (!std::isfinite(wavelength)) wavelength = kAquariumDefaultWavelength;
  state.wavelength = std::clamp(wavelength, double(kAquariumMinWavelength), double(kAquariumMaxWavelength));
  state.amplitude = std::clamp(amplitude, kAquariumMinAmplitude, kAquariumMaxAmplitude);
  state.speed = std::clamp(speed, kAquariumMinSpeed, kAquariumMaxSpeed);
  state.recompute = true;
}

bool AquariumTick(AquariumState& state, int count, RuntimeRandom& random) {
  if (count <= 0 || count % kAquariumTicksPerChange != 0) return false;
  state.wavelength = random.Below(90) + 10;
  state.recompute = true;
  return true;
}

bool AquariumRestDue(AquariumState& state) {
  if (!(state.phase <= kAquariumRestPhase && state.phase + state.speed > kAquariumRestPhase)) return false;
  if (++state.crossings < kAquariumCrossingsPerRest) return false;
  state.crossings = 0;
  return true;
}

void AquariumWander(AquariumState& state, RuntimeRandom& random) {
  if (!state.wandering) return;
  const int64_t w = state.width, h = state.height;
  const int cx = int(random.Below(4 * w) / 5 + w / 10);
  const int cy = int(random.Below(4 * h) / 5 + h / 10);
  SetAquariumCentre(state, cx, cy);
}

void BuildAquariumMap(AquariumState& state) {
  const size_t count = size_t(state.width) * size_t(state.height);
  if (state.distance.size() != count) return;
  const double unit = state.wavelength * kOneOverTwoPi;
  for (int i = 0; i < state.height; ++i) {
    int32_t* row = state.distance.data() + size_t(i) * size_t(state.width);
    const double dy = double(state.cy - i);
    for (int j = 0; j < state.width; ++j) {
      const double dx = double(state.cx - j);
      row[j] = int32_t(std::sqrt(dy * dy + dx * dx) * 1024 / unit);
    }
  }
}

void RenderAquarium(const AquariumState& state, int phase, const uint8_t* source, uint8_t* out,
                    int64_t stride) {
  const int width = state.width, height = state.height;
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  if (state.distance.size() != size_t(width) * size_t(height)) {
    std::memcpy(out, source, size_t(stride) * size_t(height));
    return;
  }
  phase &= kAquariumPhases - 1;
  // |j - cx| and |i - cy| stay below the picture's sides, Tq below 1025.
  const int64_t longest = std::max(width, height);
  const bool narrow = longest * state.amplitude * 1025 <= INT32_MAX;
  for (int i = 0; i < height; ++i) {
    const int32_t* distance = state.distance.data() + size_t(i) * size_t(width);
    uint8_t* o = out + int64_t(i) * stride;
    if (narrow)
      RenderRowNarrow(state, phase, i, distance, source, o, stride);
    else
      RenderRowWide(state, phase, i, distance, source, o, stride);
  }
}

void AquariumFrame(AquariumState& state, const uint8_t* source, uint8_t* out, int64_t stride) {
  if (state.recompute) {
    BuildAquariumMap(state);
    state.phase = kAquariumRestPhase;
    state.recompute = false;
  } else {
    state.phase += state.speed;
  }
  state.phase &= kAquariumPhases - 1;
  RenderAquarium(state, state.phase, source, out, stride);
}

}  // namespace quillo::qlo15
