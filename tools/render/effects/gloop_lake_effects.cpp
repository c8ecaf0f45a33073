// Gloop and Lake: the picture as jelly poked by the mouse, and the picture
// mirrored in rippling water.
#include <memory>

#include "plugins/qlo14/kernels/gloop.h"
#include "plugins/qlo14/kernels/lake.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

using namespace qlo14;

const OptionInfo kGloopOptions[] = {
    {"cell", OptionKind::kInteger, kGloopMinCell, kGloopMaxCell, kGloopDefaultCell, "node spacing in pixels"},
    {"fps", OptionKind::kInteger, 1, 1000, 30, "frames a second: the jelly pokes itself after 3 still seconds"},
};

const OptionInfo kLakeOptions[] = {
    {"period", OptionKind::kInteger, kLakeMinPeriod, kLakeMaxPeriod, kLakeDefaultPeriod, "frames a ripple takes"},
};

// The cursor's place on its screen laid over the picture.
void CursorOverPicture(const CursorPoint& c, const Picture& p, int* x, int* y) {
  *x = c.screenWidth > 0 ? int(int64_t(c.x) * p.width / c.screenWidth) : 0;
  *y = c.screenHeight > 0 ? int(int64_t(c.y) * p.height / c.screenHeight) : 0;
}

// A press (--drop) or a cursor that moved since the last frame
// (--cursor-path) is a mouse report over the view; every `fps` frames one
// idle second passes, as the plug-in's timer counts them.
class GloopRun : public EffectRun {
 public:
  GloopRun(const Picture& picture, GloopState state, int fps)
      : backup_(picture), state_(std::move(state)), fps_(fps) {}

  void Frame(const FrameInput& input, Picture& image) override {
    if (input.index > 0 && input.index % fps_ == 0) GloopSecond(state_);
    if (input.index > 0 && (input.cursor.x != last_.x || input.cursor.y != last_.y)) {
      int x = 0, y = 0;
      CursorOverPicture(input.cursor, image, &x, &y);
      GloopMouse(state_, x, y);
    }
    last_ = input.cursor;
    if (input.drop.button != MouseButton::kNone) GloopMouse(state_, input.drop.x, input.drop.y);
    GloopFrame(state_, backup_.pixels.data(), image.pixels.data(), image.stride, *input.random);
  }

 private:
  Picture backup_;
  GloopState state_;
  int fps_;
  CursorPoint last_;
};

std::unique_ptr<EffectRun> StartGloopRun(const EffectSetup& setup, std::string& error) {
  GloopState state;
  if (!StartGloop(state, setup.picture.width, setup.picture.height, setup.options.Integer("cell"))) {
    error = "no memory for the node grid";
    return nullptr;
  }
  return std::make_unique<GloopRun>(setup.picture, std::move(state), setup.options.Integer("fps"));
}

class LakeRun : public EffectRun {
 public:
  LakeRun(const Picture& picture, int period) : backup_(picture) { SetLakePeriod(state_, period); }

  void Frame(const FrameInput&, Picture& image) override {
    LakeFrame(state_, backup_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride);
  }

 private:
  Picture backup_;
  LakeState state_;
};

std::unique_ptr<EffectRun> StartLakeRun(const EffectSetup& setup, std::string&) {
  return std::make_unique<LakeRun>(setup.picture, setup.options.Integer("period"));
}

}  // namespace

const EffectRow kGloopRow{"gloop", "the picture as jelly: the mouse (drops, cursor path) pokes it, idle it wobbles by itself",
                          EffectKind::kAnimated, kGloopOptions, StartGloopRun};
const EffectRow kLakeRow{"lake", "the picture mirrored in rippling water, whole rows swinging", EffectKind::kAnimated,
                         kLakeOptions, StartLakeRun};

}  // namespace quillo::render
