// The drift of the map-driven effects (tunnel, worm, kaleidoscope,
// illusion, magic patterns): each frame shifts the texture by the speed,
// and after drawing the speed is read again from the cursor, the further
// from the screen's centre the faster; and the run of the effects that
// gather a texture through one fixed map.
#pragma once
#include <cstdint>

#include <vector>

#include "plugins/animation/kernels/cursor_speed.h"
#include "plugins/animation/kernels/seamless.h"
#include "plugins/animation/kernels/texture_map.h"
#include "tools/render/effects/effect_registry.h"
#include "tools/render/effects/picture.h"

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

// A map-driven effect's run: the texture (the picture, plain or made
// seamless) gathered through the map, drifting at the cursor's speed. A
// run that must never stand still drifts one pixel a frame when the cursor
// asks for none.
class MappedScroll : public EffectRun {
 public:
  MappedScroll(const Picture& picture, bool seamless, std::vector<animation::MapEntry> map,
               animation::MapRows rows, bool neverStill = false)
      : texture_(picture), map_(std::move(map)), rows_(rows), neverStill_(neverStill) {
    if (seamless)
      animation::MakeSeamless(picture.pixels.data(), texture_.pixels.data(), picture.width, picture.height,
                              picture.stride);
  }

  void Frame(const FrameInput& input, Picture& image) override {
    const int w = image.width, h = image.height;
    drift_.Advance(w, h);
    animation::DrawMappedFrame(texture_.pixels.data(), image.pixels.data(), w, h, image.stride, map_.data(),
                               drift_.x, drift_.y, rows_);
    drift_.ReadCursor(input.cursor, w, h, kSpeedFactor);
    if (neverStill_ && drift_.speed.x == 0 && drift_.speed.y == 0) drift_.speed.x = 1;
  }

 private:
  static constexpr int kSpeedFactor = 20;
  Picture texture_;
  std::vector<animation::MapEntry> map_;
  animation::MapRows rows_;
  bool neverStill_;
  TextureDrift drift_;
};

}  // namespace quillo::render
