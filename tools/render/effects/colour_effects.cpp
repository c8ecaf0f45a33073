// The colour adjustments as still effects: each applies its kernel once
// with the settings given, so a folder of pictures can be adjusted from a
// script.
#include <memory>

#include "plugins/bxcomm1/kernels/balance.h"
#include "plugins/bxcomm1/kernels/brightness_contrast.h"
#include "plugins/bxcomm1/kernels/colour_pack.h"
#include "plugins/bxcomm1/kernels/gamma.h"
#include "plugins/bxcomm1/kernels/modulate.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

// Runs a kernel prepared once over the whole picture, from the picture as
// it came in.
template <class Kernel>
class StillRun : public EffectRun {
 public:
  template <class Settings>
  StillRun(const Picture& picture, const Settings& settings) : source_(picture) {
    kernel_.Prepare(settings);
  }

  void Frame(const FrameInput&, Picture& image) override {
    kernel_.Run(image.PassFrom(source_), 0, image.height);
  }

 private:
  Picture source_;
  Kernel kernel_;
};

const OptionInfo kBalanceOptions[] = {
    {"red", OptionKind::kInteger, -100, 100, 0, "cyan (-) to red (+)"},
    {"green", OptionKind::kInteger, -100, 100, 0, "magenta (-) to green (+)"},
    {"blue", OptionKind::kInteger, -100, 100, 0, "yellow (-) to blue (+)"},
    {"preserve-lightness", OptionKind::kSwitch, 0, 1, 0, "keep every pixel's lightness"},
};

std::unique_ptr<EffectRun> StartBalance(const EffectSetup& setup, std::string&) {
  const OptionValues& o = setup.options;
  BalanceSettings s;
  s.value[0] = o.Integer("blue");
  s.value[1] = o.Integer("green");
  s.value[2] = o.Integer("red");
  s.preserveLightness = o.Switch("preserve-lightness");
  return std::make_unique<StillRun<BalanceKernel>>(setup.picture, s);
}

const OptionInfo kBrightnessOptions[] = {
    {"brightness", OptionKind::kInteger, -255, 255, 0, "darker (-) or brighter (+)"},
    {"contrast", OptionKind::kInteger, -127, 127, 0, "less (-) or more (+) contrast"},
    {"red", OptionKind::kSwitch, 0, 1, 1, "change the red channel"},
    {"green", OptionKind::kSwitch, 0, 1, 1, "change the green channel"},
    {"blue", OptionKind::kSwitch, 0, 1, 1, "change the blue channel"},
};

std::unique_ptr<EffectRun> StartBrightness(const EffectSetup& setup, std::string&) {
  const OptionValues& o = setup.options;
  BrightnessContrastSettings s;
  s.brightness = o.Integer("brightness");
  s.contrast = o.Integer("contrast");
  s.red = o.Switch("red");
  s.green = o.Switch("green");
  s.blue = o.Switch("blue");
  return std::make_unique<StillRun<BrightnessContrastKernel>>(setup.picture, s);
}

const OptionInfo kModulateOptions[] = {
    {"hue", OptionKind::kInteger, -255, 255, 0, "turn of every hue"},
    {"saturation", OptionKind::kInteger, -255, 255, 0, "change of saturation"},
    {"lightness", OptionKind::kInteger, -255, 255, 0, "change of lightness"},
};

std::unique_ptr<EffectRun> StartModulate(const EffectSetup& setup, std::string&) {
  const OptionValues& o = setup.options;
  ModulateSettings s;
  s.hue = o.Integer("hue");
  s.saturation = o.Integer("saturation");
  s.lightness = o.Integer("lightness");
  return std::make_unique<StillRun<ModulateKernel>>(setup.picture, s);
}

const OptionInfo kGammaOptions[] = {
    {"master", OptionKind::kInteger, 1, 1000, 100, "all channels: 100 is exponent 1, 200 exponent 2"},
    {"per-channel", OptionKind::kSwitch, 0, 1, 0, "use the channel values instead of the master"},
    {"red", OptionKind::kInteger, 1, 200, 100, "red channel: 100 is exponent 1, 110 exponent 2"},
    {"green", OptionKind::kInteger, 1, 200, 100, "green channel"},
    {"blue", OptionKind::kInteger, 1, 200, 100, "blue channel"},
};

std::unique_ptr<EffectRun> StartGamma(const EffectSetup& setup, std::string&) {
  const OptionValues& o = setup.options;
  GammaSettings s;
  s.master = o.Integer("master");
  s.perChannel = o.Switch("per-channel");
  s.red = o.Integer("red");
  s.green = o.Integer("green");
  s.blue = o.Integer("blue");
  return std::make_unique<StillRun<GammaKernel>>(setup.picture, s);
}

const OptionInfo kColourPackOptions[] = {
    {"preset", OptionKind::kText, 0, 0, {}, "the filter's name as the list shows it (\"Gray\" when not given)"},
    {"p1", OptionKind::kInteger, 0, 255, {}, "slider 1 (the preset's own start value when not given)"},
    {"p2", OptionKind::kInteger, 0, 255, {}, "slider 2"},
    {"p3", OptionKind::kInteger, 0, 255, {}, "slider 3"},
    {"p4", OptionKind::kInteger, 0, 255, {}, "slider 4"},
    {"p5", OptionKind::kInteger, 0, 255, {}, "slider 5"},
    {"p6", OptionKind::kInteger, 0, 255, {}, "slider 6"},
};

class ColourPackRun : public EffectRun {
 public:
  ColourPackRun(const Picture& picture, const ColourPreset& preset, const PresetSliders& sliders)
      : source_(picture) {
    kernel_.Prepare(preset, sliders);
  }

  void Frame(const FrameInput&, Picture& image) override {
    kernel_.Run(image.PassFrom(source_), 0, image.height);
  }

 private:
  Picture source_;
  ColourPackKernel kernel_;
};

std::unique_ptr<EffectRun> StartColourPack(const EffectSetup& setup, std::string& error) {
  const OptionValues& o = setup.options;
  const std::string name = o.Text("preset", "Gray");
  const ColourPreset* preset = FindColourPreset(name);
  if (preset == nullptr) {
    error = "no colour filter is called \"" + name + "\"";
    return nullptr;
  }
  PresetSliders sliders(preset->defaults);
  for (int i = 1; i <= kPresetSliderCount; ++i) {
    const std::string option = "p" + std::to_string(i);
    sliders.Set(i, o.Integer(option, sliders.P(i)));
  }
  return std::make_unique<ColourPackRun>(setup.picture, *preset, sliders);
}

}  // namespace

const EffectRow kColourPackRow{"colour-pack", "one of the 112 named colour filters", EffectKind::kStill,
                               kColourPackOptions, StartColourPack};
const EffectRow kBalanceRow{"balance", "colour balance", EffectKind::kStill, kBalanceOptions, StartBalance};
const EffectRow kBrightnessRow{"brightness", "brightness and contrast", EffectKind::kStill, kBrightnessOptions,
                               StartBrightness};
const EffectRow kModulateRow{"modulate", "hue, saturation and lightness", EffectKind::kStill, kModulateOptions,
                             StartModulate};
const EffectRow kGammaRow{"gamma", "gamma correction", EffectKind::kStill, kGammaOptions, StartGamma};

}  // namespace quillo::render
