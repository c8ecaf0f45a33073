#include "star.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace quillo::qlo11 {

namespace {

int SizeClass(int64_t distance, int step) {
  if (distance >= int64_t(step) * 9) return 3;
  if (distance >= int64_t(step) * 7) return 2;
  if (distance >= int64_t(step) * 5) return 1;
  return 0;
}

bool Inside(int32_t position, int size) {
  const int32_t pixel = position / kStarSubpixel;  // toward zero
  return pixel >= 0 && pixel <= size;
}

}  // namespace

void SetStarCount(StarState& state, int count) {
  state.count = std::clamp(count, kStarMinCount, kStarMaxCount);
}

void SpawnStar(Star& star, int width, int height, RuntimeRandom& random) {
  const int m = std::min(width, height);
  const int x = random.Below(2 * int64_t(m)) + width / 2 - m;
  const int y = random.Below(2 * int64_t(m)) + height / 2 - m;
  star.x = star.lastX = x * kStarSubpixel;
  star.y = star.lastY = y * kStarSubpixel;
  star.z = random.Below(15) + 1;
}

void StartStars(StarState& state, int width, int height, RuntimeRandom& random) {
  SetStarCount(state, state.count);
  for (int k = 0; k < kStarMaxCount; ++k) {
    if (k < state.count)
      SpawnStar(state.stars[size_t(k)], width, height, random);
    else
      state.stars[size_t(k)] = Star();
  }
}

int StarSpriteKind(int x, int y, int width, int height) {
  const int64_t dx = std::llabs(int64_t(x) - width / 2), dy = std::llabs(int64_t(y) - height / 2);
  return std::max(SizeClass(dx, width / 20), SizeClass(dy, height / 20));
}

void DrawStarSprite(const StarSprites& sprites, int kind, int colour, int x, int y, uint8_t* out, int width,
                    int height, int64_t stride) {
  if (!sprites.ready || kind < 0 || kind >= kStarSpriteKinds) return;
  const int size = kStarSpriteSizes[kind];
  const std::vector<uint8_t>& sprite = sprites.variants[size_t(kind)][size_t(colour & (kStarColours - 1))];
  const int64_t left = int64_t(x) - size / 2, bottom = int64_t(y) - size / 2;
  const int64_t c0 = std::max<int64_t>(left, 0), c1 = std::min<int64_t>(left + size, width);
  const int64_t r0 = std::max<int64_t>(bottom, 0), r1 = std::min<int64_t>(bottom + size, height);
  if (c0 >= c1 || r0 >= r1) return;
  const int64_t bytes = (c1 - c0) * 3;
  for (int64_t r = r0; r < r1; ++r) {
    const uint8_t* __restrict src = sprite.data() + ((r - bottom) * size + (c0 - left)) * 3;
    uint8_t* __restrict dst = out + r * stride + c0 * 3;
    for (int64_t k = 0; k < bytes; ++k) dst[k] = std::max(dst[k], src[k]);
  }
}

void StarFrame(StarState& state, const StarSprites& sprites, const uint8_t* source, uint8_t* out, int width,
               int height, int64_t stride, RuntimeRandom& random) {
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  SetStarCount(state, state.count);
  std::memcpy(out, source, size_t(stride) * size_t(height));
  const int64_t cx = int64_t(kStarSubpixel) * (width / 2), cy = int64_t(kStarSubpixel) * (height / 2);
  for (int k = 0; k < state.count; ++k) {
    Star& s = state.stars[size_t(k)];
    if (s.z < 1 || s.z > 15) SpawnStar(s, width, height, random);
    const int32_t oldX = s.x, oldY = s.y;
    s.lastX = oldX;
    s.lastY = oldY;
    s.x = int32_t(oldX + (oldX - cx) / (s.z + 20));
    s.y = int32_t(oldY + (oldY - cy) / (s.z + 20));
    if (!Inside(oldX, width) || !Inside(oldY, height)) SpawnStar(s, width, height, random);
    if (s.x == s.lastX && s.y == s.lastY) {
      s.lastX = s.x + 1;
      s.lastY = s.y + 1;
    }
    const int px = s.x / kStarSubpixel, py = s.y / kStarSubpixel;
    DrawStarSprite(sprites, StarSpriteKind(px, py, width, height), k, px, py, out, width, height, stride);
  }
}

}  // namespace quillo::qlo11
