// Aquarium, Quake and Light: a pulse of rings from a centre (a left press
// places it), blocks breaking off and falling, and three coloured
// spotlights. Runs step as the plug-in's frame loops do, rests included
// (a rest is one frame of the clean picture for Aquarium, 49 frames for
// Quake).
#include <cstring>
#include <memory>

#include "plugins/qlo15/kernels/aquarium.h"
#include "plugins/qlo15/kernels/light.h"
#include "plugins/qlo15/kernels/quake.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

using namespace qlo15;

const OptionInfo kAquariumOptions[] = {
    {"wavelength", OptionKind::kInteger, kAquariumMinWavelength, kAquariumMaxWavelength, kAquariumDefaultWavelength,
     "ring spacing in pixels"},
    {"amplitude", OptionKind::kInteger, kAquariumMinAmplitude, kAquariumMaxAmplitude, kAquariumDefaultAmplitude,
     "strength of the pulse"},
    {"speed", OptionKind::kInteger, kAquariumMinSpeedValue, kAquariumMaxSpeedValue, (kAquariumDefaultSpeed + 80) / 2,
     "slider value v: the phase moves 2 v - 80 a frame (40 stands still)"},
    {"wander", OptionKind::kSwitch, 0, 1, 1, "the centre moves by itself after every rest"},
};
const OptionInfo kQuakeOptions[] = {
    {"strength", OptionKind::kInteger, kQuakeMinStrength, kQuakeMaxStrength, kQuakeDefaultStrength,
     "shown by the dialog only; changes nothing"},
};
const OptionInfo kLightOptions[] = {
    {"spot", OptionKind::kInteger, kLightMinSize, kLightMaxSize, kLightDefaultSize, "spot width and height"},
    {"intensity", OptionKind::kInteger, kLightMinIntensity, kLightMaxIntensity, kLightDefaultIntensity,
     "spot brightness"},
    {"paths", OptionKind::kSwitch, 0, 1, 1, "three lights on separate paths (else one white light)"},
};

class AquariumRun : public EffectRun {
 public:
  AquariumRun(const Picture& picture, std::unique_ptr<AquariumState> state)
      : backup_(picture), state_(std::move(state)) {}

  void Frame(const FrameInput& input, Picture& image) override {
    const MouseDrop& drop = input.drop;
    if (drop.button == MouseButton::kLeft && drop.x >= 0 && drop.x < image.width && drop.y >= 0 &&
        drop.y < image.height) {
      SetAquariumCentre(*state_, drop.x, image.height - drop.y - 1);
      state_->wandering = false;
    }
    if (resting_) {
      resting_ = false;
      AquariumWander(*state_, *input.random);
    } else if (AquariumRestDue(*state_)) {
      std::memcpy(image.pixels.data(), backup_.pixels.data(), backup_.pixels.size());
      resting_ = true;
      return;
    }
    AquariumFrame(*state_, backup_.pixels.data(), image.pixels.data(), image.stride);
  }

 private:
  Picture backup_;
  std::unique_ptr<AquariumState> state_;
  bool resting_ = false;
};

class QuakeRun : public EffectRun {
 public:
  QuakeRun(const Picture& picture, std::unique_ptr<QuakeState> state) : backup_(picture), state_(std::move(state)) {}

  void Frame(const FrameInput& input, Picture& image) override {
    if (state_->resting)
      QuakeRestStep(*state_, backup_.pixels.data(), image.pixels.data(), image.stride);
    else
      QuakeFrame(*state_, image.pixels.data(), image.stride, *input.random);
  }

 private:
  Picture backup_;
  std::unique_ptr<QuakeState> state_;
};

class LightRun : public EffectRun {
 public:
  LightRun(const Picture& picture, std::unique_ptr<LightState> state) : backup_(picture), state_(std::move(state)) {}

  void Frame(const FrameInput&, Picture& image) override {
    LightFrame(*state_, backup_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride);
  }

 private:
  Picture backup_;
  std::unique_ptr<LightState> state_;
};

std::unique_ptr<EffectRun> StartAquariumRun(const EffectSetup& setup, std::string& error) {
  auto state = std::make_unique<AquariumState>();
  if (!StartAquarium(*state, setup.picture.width, setup.picture.height)) {
    error = "no memory for the distance map";
    return nullptr;
  }
  SetAquariumWave(*state, setup.options.Integer("wavelength"), setup.options.Integer("amplitude"),
                  2 * setup.options.Integer("speed") - 80);
  state->wandering = setup.options.Switch("wander");
  return std::make_unique<AquariumRun>(setup.picture, std::move(state));
}

std::unique_ptr<EffectRun> StartQuakeRun(const EffectSetup& setup, std::string& error) {
  auto state = std::make_unique<QuakeState>();
  StartQuake(*state, setup.picture.width, setup.picture.height);
  if (!CaptureQuakeBlocks(*state, setup.picture.pixels.data(), setup.picture.stride)) {
    error = "no memory for the blocks";
    return nullptr;
  }
  return std::make_unique<QuakeRun>(setup.picture, std::move(state));
}

std::unique_ptr<EffectRun> StartLightRun(const EffectSetup& setup, std::string&) {
  auto state = std::make_unique<LightState>();
  const int size = setup.options.Integer("spot");
  SetLight(*state, size, size, setup.options.Integer("intensity"), setup.options.Switch("paths"));
  return std::make_unique<LightRun>(setup.picture, std::move(state));
}

}  // namespace

const EffectRow kAquariumRow{"aquarium", "a pulse of rings spreading from a centre; a left press places it",
                             EffectKind::kAnimated, kAquariumOptions, StartAquariumRun};
const EffectRow kQuakeRow{"quake", "the picture breaking into 64 blocks that shake and fall", EffectKind::kAnimated,
                          kQuakeOptions, StartQuakeRun};
const EffectRow kLightRow{"light", "green, blue and red spotlights wandering over the picture",
                          EffectKind::kAnimated, kLightOptions, StartLightRun};

}  // namespace quillo::render
