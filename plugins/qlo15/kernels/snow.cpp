#include "snow.h"

#include <algorithm>
#include <cstring>

namespace quillo::qlo15 {

void SetSnowCounts(SnowState& state, int flakes, int gusts) {
  state.flakeCount = std::clamp(flakes, kSnowMinFlakes, kSnowMaxFlakes);
  state.gustCount = std::clamp(gusts, kSnowMinGusts, kSnowMaxGusts);
}

bool SnowTick(SnowState& state, int count, RuntimeRandom& random) {
  if (count % kSnowTicksPerChange != 0) return false;
  const int flakes = random.Below(1000) + 200;
  const int gusts = random.Below(10) + 2;
  SetSnowCounts(state, flakes, gusts);
  return true;
}

void SnowFrame(SnowState& state, const uint8_t* source, uint8_t* out, int width, int height,
               int64_t stride, RuntimeRandom& random) {
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  std::memcpy(out, source, size_t(stride * height));
  // The count is clamped here too, so no frame reads past the table.
  SetSnowCounts(state, state.flakeCount, state.gustCount);
  const int count = state.flakeCount;
  Flake* flakes = state.flakes.data();

  for (int born = 0; born < 4; ++born) {
    Flake* free = std::find_if(flakes, flakes + count, [](const Flake& f) { return !f.active; });
    if (free == flakes + count) continue;
    free->y = 0;
    free->x = random.Below(width);
    free->speed = random.Below(6) + 2;
    free->layer = random.Below(3);
    free->active = 1;
    free->size = random.Below(2) + 1;
  }

  // Free records move too (their sway draws keep the sequence); they stand
  // still until born, since their speed is 0.
  for (int k = 0; k < count; ++k) {
    Flake& f = flakes[k];
    if (f.y % 2 == 0) {
      if (f.swayCounter <= 0) {
        f.swayCounter = random.Below(10);
        f.swayStep = -f.swayStep;
      }
      --f.swayCounter;
    }
    f.y += f.speed / 2;
    if (f.swayCounter > 0) f.x += f.swayStep;
    if (f.y >= height) f.active = 0;
  }

  for (int k = 0; k < count; ++k) {
    const Flake& f = flakes[k];
    if (!f.active || f.x < 0 || f.x >= width - f.size || f.y < 0 || f.y >= height - f.size) continue;
    // The square's first memory row is the flake's row; it grows upward in
    // memory, and a square that would pass the picture's top is cut there.
    const int first = height - f.y - 1;
    for (int r = first; r < first + f.size && r < height; ++r)
      std::memset(out + int64_t(r) * stride + int64_t(f.x) * 3, 255, size_t(f.size) * 3);
  }
}

}  // namespace quillo::qlo15
