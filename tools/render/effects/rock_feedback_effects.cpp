// Rock and feedback: rocks flying out of the picture around a wandering
// vanishing point, and glowing lines swirled through the warp fields over
// the picture. Each frame is drawn from the unchanged picture with the
// run's generator.
#include <memory>

#include "plugins/qlo18/kernels/feedback.h"
#include "plugins/qlo18/kernels/rock.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

using namespace qlo18;

const OptionInfo kRockOptions[] = {
    {"rocks", OptionKind::kInteger, kRockMinCount, kRockMaxCount, kRockDefaultCount, "rock slots in use"},
    {"speed", OptionKind::kInteger, kRockMinSpeed, kRockMaxSpeed, kRockDefaultSpeed,
     "depth a rock comes nearer each frame (it is born at 6000)"},
};
const OptionInfo kFeedbackOptions[] = {
    {"glow", OptionKind::kInteger, kGlowMinSlider, kGlowMaxSlider, kGlowDefaultSlider,
     "palette lightness in hundredths"},
    {"preset", OptionKind::kInteger, -1, kPresetCount - 1, -1,
     "preset row the run starts from instead of a random one (-1); the eighth frame draws a new one"},
    {"lines", OptionKind::kInteger, -1, 4, -1, "line mode the run starts with (-1: the preset's)"},
};

class RockRun : public EffectRun {
 public:
  RockRun(const Picture& picture, int count, int speed) : backup_(picture), state_(std::make_unique<RockState>()) {
    SetRockSettings(*state_, count, speed);
    StartRocks(field_, picture.width, picture.height);
  }

  void Frame(const FrameInput& input, Picture& image) override {
    RockFrame(*state_, field_, backup_.pixels.data(), image.pixels.data(), image.width, image.height,
              image.stride, *input.random);
  }

 private:
  Picture backup_;
  std::unique_ptr<RockState> state_;
  RockField field_;
};

class FeedbackRun : public EffectRun {
 public:
  FeedbackRun(const Picture& picture, std::unique_ptr<FeedbackState> state)
      : backup_(picture), state_(std::move(state)) {}

  void Frame(const FrameInput& input, Picture& image) override {
    FeedbackFrame(*state_, backup_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride,
                  *input.random);
  }

 private:
  Picture backup_;
  std::unique_ptr<FeedbackState> state_;
};

std::unique_ptr<EffectRun> StartRockRun(const EffectSetup& setup, std::string&) {
  return std::make_unique<RockRun>(setup.picture, setup.options.Integer("rocks"), setup.options.Integer("speed"));
}

std::unique_ptr<EffectRun> StartFeedbackRun(const EffectSetup& setup, std::string& error) {
  auto state = std::make_unique<FeedbackState>();
  SetFeedbackGlow(*state, setup.options.Integer("glow"));
  if (!StartFeedback(*state, setup.picture.width, setup.picture.height, setup.random)) {
    error = "the picture must be at least 50 x 50 and small enough for the warp fields";
    return nullptr;
  }
  if (const int preset = setup.options.Integer("preset"); preset >= 0) state->preset = kFeedbackPresets[preset];
  if (const int lines = setup.options.Integer("lines"); lines >= 0) state->preset.lineMode = lines;
  return std::make_unique<FeedbackRun>(setup.picture, std::move(state));
}

}  // namespace

const EffectRow kRockRow{"rock", "coloured rocks flying out of the picture towards the viewer",
                         EffectKind::kAnimated, kRockOptions, StartRockRun};
const EffectRow kFeedbackRow{"feedback", "glowing lines swirled through warp fields over the picture",
                             EffectKind::kAnimated, kFeedbackOptions, StartFeedbackRun};

}  // namespace quillo::render
