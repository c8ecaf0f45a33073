#include "bump.h"

#include <algorithm>
#include <cmath>

namespace quillo::qlo11 {

namespace {

BumpLightMap MakeLight() {
  BumpLightMap map{};
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const double dx = (x - 128) / 128.0, dy = (y - 128) / 128.0;
      map[size_t(y * 256 + x)] = uint8_t(std::max(0.0, 1 - std::sqrt(dx * dx + dy * dy)) * 255);
    }
  return map;
}

// Bytes of the row dimmed by the bias only (outside the light's reach).
void Dim(const uint8_t* __restrict src, uint8_t* __restrict dst, int64_t bytes) {
  for (int64_t k = 0; k < bytes; ++k) dst[k] = src[k] > kBumpBias ? uint8_t(src[k] - kBumpBias) : 0;
}

inline uint8_t Clamp255(int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

const BumpLightMap& BumpLight() {
  static const BumpLightMap map = MakeLight();
  return map;
}

void StartBump(BumpState& state, int width, int height, uint32_t now) {
  state.lightX = width / 2;
  state.lightY = height / 2;
  state.lastMove = now - 3001;
  state.newPosition = false;
}

void BumpMouse(BumpState& state, int width, int height, int x, int y, uint32_t now) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  state.mouseX = x;
  state.mouseY = y;
  state.newPosition = true;
  state.lastMove = now;
}

bool StepBumpLight(BumpState& state, int width, int height, uint32_t now) {
  // Unsigned difference: the tick count may wrap during a run.
  if (now - state.lastMove < kBumpMouseHold) {
    if (!state.newPosition) return false;
    state.newPosition = false;
    state.lightX = state.mouseX;
    state.lightY = state.mouseY;
    return true;
  }
  state.newPosition = false;
  state.a += 0.04;
  state.b += 0.03;
  state.lightX = int(std::cos(double(state.a)) * (width / 2)) + width / 2;
  state.lightY = int(std::sin(double(state.b)) * (height / 2)) + height / 2;
  return true;
}

void DrawBump(const BumpState& state, const uint8_t* source, uint8_t* out, int width, int height,
              int64_t stride) {
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  const uint8_t* light = BumpLight().data();
  const int lx = state.lightX, ly = state.lightY;
  // Columns within the light's reach: |j - lx| < R.
  const int first = std::clamp(lx - kBumpReach + 1, 0, width);
  const int last = std::clamp(lx + kBumpReach, first, width);  // one past
  const int64_t rowBytes = int64_t(width) * 3;
  for (int i = 0; i < height; ++i) {
    const int64_t memoryRow = height - 1 - i;
    const uint8_t* src = source + memoryRow * stride;
    uint8_t* dst = out + memoryRow * stride;
    const int dyLight = i - ly;
    if (dyLight <= -kBumpReach || dyLight >= kBumpReach || first == last) {
      Dim(src, dst, rowBytes);
      continue;
    }
    // The picture row above is the next memory row; edges use their own.
    const uint8_t* above = memoryRow + 1 < height ? src + stride : src;
    const uint8_t* below = memoryRow > 0 ? src - stride : src;
    Dim(src, dst, int64_t(first) * 3);
    Dim(src + int64_t(last) * 3, dst + int64_t(last) * 3, rowBytes - int64_t(last) * 3);
    // Light rows: gy's offset is fixed for the row.
    const int gyBase = kBumpBias - dyLight;
    for (int j = first; j < last; ++j) {
      const int left = j > 0 ? j - 1 : j, right = j + 1 < width ? j + 1 : j;
      const int gxBase = kBumpBias - (j - lx);
      for (int k = 0; k < 3; ++k) {
        const int c = j * 3 + k;
        const int gx = Clamp255(gxBase + src[right * 3 + k] - src[left * 3 + k]);
        const int gy = Clamp255(gyBase + below[c] - above[c]);
        dst[c] = Clamp255(light[gy * 256 + gx] + src[c] - kBumpBias);
      }
    }
  }
}

bool BumpFrame(BumpState& state, const uint8_t* source, uint8_t* out, int width, int height, int64_t stride,
               uint32_t now) {
  if (!StepBumpLight(state, width, height, now)) return false;
  DrawBump(state, source, out, width, height, stride);
  return true;
}

}  // namespace quillo::qlo11
