#include "storm.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace quillo::qlo17 {

namespace {

constexpr double kUnit = 1.0 / 32767;
// Screen positions are kept within this of the picture before truncating,
// so a stray coordinate can never overflow an int.
constexpr double kFarOff = 1e8;

int TruncatedCoordinate(double v) { return int(std::clamp(v, -kFarOff, kFarOff)); }

}  // namespace

void SetStormCount(StormState& state, int count) {
  count = std::clamp(count, kStormMinCount, kStormMaxCount);
  if (count != state.count) state.regenerate = true;
  state.count = count;
}

bool AllocateStormGlow(StormState& state, int width, int height) {
  state.glow.clear();
  state.glow.shrink_to_fit();
  state.width = state.height = 0;
  if (width <= 0 || height <= 0) return false;
  const uint64_t bytes = uint64_t(width) * uint64_t(height) * 3;
  if (bytes > std::numeric_limits<size_t>::max() / 2) return false;
  try {
    state.glow.assign(size_t(bytes), 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  state.width = width;
  state.height = height;
  return true;
}

void BuildStormSizes(StormState& state, int width, int height) {
  const int64_t largest = int64_t(std::max(width, height)) / 2 + 10;
  const int64_t smallest = largest / 6 + 5;
  for (int d = 0; d < kStormRecords; ++d)
    state.sizes[size_t(d)] = int(smallest + (255 - d) * (largest - smallest) / 256);
}

void RegenerateStorm(StormState& state, RuntimeRandom& random) {
  for (int k = 0; k < kStormRecords; ++k) {
    StormParticle& p = state.particles[size_t(k)];
    p.x = random.Next() * kUnit;
    p.y = random.Next() * kUnit;
    p.z = random.Next() * kUnit;
    p.sprite = k % kStormSpriteKinds;
  }
  state.regenerate = false;
}

void StartStorm(StormState& state, uint8_t* out, int64_t stride, RuntimeRandom& random) {
  if (out && state.height > 0) std::memset(out, 0, size_t(stride) * size_t(state.height));
  std::fill(state.glow.begin(), state.glow.end(), uint8_t(0));
  state.centreX = state.width / 2;
  state.centreY = state.height / 2;
  BuildStormSizes(state, state.width, state.height);
  if (state.regenerate) RegenerateStorm(state, random);
}

StormAngles AnglesFromCursor(const StormCursor& cursor) {
  const int cx = cursor.screenWidth / 2, cy = cursor.screenHeight / 2;
  StormAngles angles;
  angles.a = cx > 0 ? (double(cx) - cursor.x) * 0.1 / cx : 0.0;
  angles.b = cy > 0 ? (double(cy) - cursor.y) * 0.1 / cy : 0.0;
  angles.c = angles.a == 0 && angles.b == 0 ? 1.0 : angles.a;
  return angles;
}

void RotateStorm(StormState& state, const StormAngles& angles) {
  const double ca = std::cos(angles.a), sa = std::sin(angles.a);
  const double cb = std::cos(angles.b), sb = std::sin(angles.b);
  const double cc = std::cos(angles.c), sc = std::sin(angles.c);
  for (StormParticle& p : state.particles) {
    double x = p.x, y = p.y, z = p.z;
    const double y1 = ca * y - sa * z, z1 = ca * z + sa * y;
    y = y1;
    z = z1;
    const double z2 = cb * z - sb * x, x2 = cb * x + sb * z;
    z = z2;
    x = x2;
    const double x3 = cc * x - sc * y, y3 = cc * y + sc * x;
    p.x = x3;
    p.y = y3;
    p.z = z;
  }
}

void ProjectStorm(StormState& state) {
  const double w = state.width, h = state.height;
  for (StormParticle& p : state.particles) {
    // Turning keeps every particle within sqrt(3) of the origin, so z + 5
    // stays well away from 0; a particle behind the eye is parked off the
    // picture.
    if (!(p.z > -4.0) || !std::isfinite(p.x) || !std::isfinite(p.y)) {
      p.screenX = p.screenY = -int(kFarOff);
      continue;
    }
    const double f = 5 / (p.z + 5) * 1.2;
    p.screenX = TruncatedCoordinate((f * p.x + 1) * w / 2);
    p.screenY = TruncatedCoordinate((f * p.y + 1) * h / 2);
  }
}

int StormDepth(double z) {
  if (!(z == z)) return 255;
  return int(std::clamp(std::trunc((z + 1) * 127), 0.0, 255.0));
}

void StormFrame(StormState& state, const StormSprites& sprites, const uint8_t* backup, uint8_t* out,
                int64_t stride, const StormCursor& cursor, RuntimeRandom& random) {
  const int w = state.width, h = state.height;
  if (w <= 0 || h <= 0 || state.glow.size() < size_t(w) * size_t(h) * 3) return;
  uint8_t* glow = state.glow.data();
  const size_t glowBytes = size_t(w) * size_t(h) * 3;
  for (size_t k = 0; k < glowBytes; ++k) glow[k] = uint8_t(glow[k] >> 1);

  if (state.regenerate) RegenerateStorm(state, random);
  state.angles = AnglesFromCursor(cursor);
  RotateStorm(state, state.angles);
  ProjectStorm(state);

  const int count = std::clamp(state.count, 0, kStormRecords);
  for (int k = count - 1; k >= 0; --k) {
    const StormParticle& p = state.particles[size_t(k)];
    const int n = state.sizes[size_t(StormDepth(p.z))];
    const StormSprite& sprite = sprites[size_t(p.sprite % kStormSpriteKinds)];
    StampStormSprite(sprite, n, p.screenX - n / 2, p.screenY - n / 2, glow, w, h, state.scratch);
  }

  const size_t rowBytes = size_t(w) * 3;
  for (int y = 0; y < h; ++y) {
    const uint8_t* b = backup + int64_t(y) * stride;
    const uint8_t* g = glow + size_t(y) * rowBytes;
    uint8_t* o = out + int64_t(y) * stride;
    for (size_t k = 0; k < rowBytes; ++k) {
      const unsigned sum = unsigned(b[k]) + g[k];
      o[k] = uint8_t(sum > 255 ? 255 : sum);
    }
  }
}

}  // namespace quillo::qlo17
