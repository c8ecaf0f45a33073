// The drift of the map-driven effects (tunnel, worm, kaleidoscope,
// illusion): each frame shifts the texture by the speed, and after drawing
// the speed is read again from the cursor, the further from the screen's
// centre the faster.
#pragma once
#include <cstdint>

#include "plugins/animation/kernels/cursor_speed.h"
#include "plugins/animation/kernels/texture_map.h"
#include "tools/render/effects/effect_registry.h"

namespace quillo::render {

struct TextureDrift {
  int64_t x = 0, y = 0;    // kept reduced into the texture
  animation::Speed speed;  // 0 until the first cursor reading

  void Advance(int width, int height) {
    x = animation::ReduceInto(x + speed.x, width);
    y = animation::ReduceInto(y + speed.y, height);
  }
  void ReadCursor(const CursorPoint& c, int width, int height, int factor) {
    speed = animation::SpeedFromCursor(c.screenWidth, c.screenHeight, c.x, c.y, width, height, factor);
  }
};

}  // namespace quillo::render
