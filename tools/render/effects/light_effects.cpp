// The effects of Qlo13: caustic bands of pool light, a shimmer as through
// moving water, coloured disco beams, the magic patterns and the colour
// gradient, each over the picture it started from.
#include <algorithm>
#include <memory>
#include <vector>

#include "plugins/animation/kernels/texture_map.h"
#include "plugins/qlo13/kernels/disco.h"
#include "plugins/qlo13/kernels/gradient_frame.h"
#include "plugins/qlo13/kernels/magic_map.h"
#include "plugins/qlo13/kernels/pool.h"
#include "plugins/qlo13/kernels/wavy.h"
#include "tools/render/effects/effect_rows.h"
#include "tools/render/effects/texture_drift.h"

namespace quillo::render {

namespace {

using namespace qlo13;

const OptionInfo kWavyOptions[] = {
    {"rows", OptionKind::kInteger, kWavyMinAmplitude, kWavyMaxAmplitude, kWavyDefaultAmplitude1,
     "strength of the wave along the rows (slider 1)"},
    {"columns", OptionKind::kInteger, kWavyMinAmplitude, kWavyMaxAmplitude, kWavyDefaultAmplitude2,
     "strength of the wave along the columns (slider 2)"},
};

const OptionInfo kDiscoOptions[] = {
    {"brightness", OptionKind::kInteger, 0, kDiscoMaxBrightness, kDiscoDefaultBrightness,
     "brightness of the beams (0: none)"},
    {"speed", OptionKind::kInteger, kDiscoMinSpeed, kDiscoMaxSpeed, kDiscoDefaultSpeed,
     "pixels the spot moves a frame"},
};

const OptionInfo kMagicOptions[] = {
    {"pattern", OptionKind::kInteger, 0, kMagicModes - 1, 2, "0 .. 10, the pattern (radio 801 .. 811)"},
    {"s1", OptionKind::kInteger, -1, 128, -1, "first slider (-1: the pattern's own setting)"},
    {"s2", OptionKind::kInteger, -1, 128, -1, "second slider (-1: the pattern's own setting)"},
    {"s3", OptionKind::kInteger, -1, 100, -1, "third slider (-1: the pattern's own setting)"},
    {"seamless", OptionKind::kSwitch, 0, 1, 1, "fold the picture so the texture tiles without seams"},
};

const OptionInfo kGradientOptions[] = {
    {"gradient", OptionKind::kInteger, 0, 255, 0, "which built-in gradient (0: the rainbow)"},
    {"speed", OptionKind::kInteger, 0, kGradientMaxSpeed, kGradientDefaultSpeed, "degrees the hue turns a frame"},
    {"strength", OptionKind::kInteger, 0, 100, kGradientDefaultStrength, "percent of gradient colour over the picture"},
    {"flow", OptionKind::kSwitch, 0, 1, 0, "slide the gradient along the brightness too"},
};

class PoolRun : public EffectRun {
 public:
  PoolRun(const Picture& picture, PoolState state) : backup_(picture), state_(std::move(state)) {}
  void Frame(const FrameInput&, Picture& image) override {
    PoolFrame(state_, backup_.pixels.data(), image.pixels.data(), image.stride);
  }

 private:
  Picture backup_;
  PoolState state_;
};

std::unique_ptr<EffectRun> StartPoolRun(const EffectSetup& setup, std::string& error) {
  PoolState state;
  if (!StartPool(state, setup.picture.width, setup.picture.height)) {
    error = "no memory for the pool's pattern";
    return nullptr;
  }
  return std::make_unique<PoolRun>(setup.picture, std::move(state));
}

class WavyRun : public EffectRun {
 public:
  WavyRun(const Picture& picture, WavyState state) : backup_(picture), state_(std::move(state)) {}
  void Frame(const FrameInput&, Picture& image) override {
    WavyFrame(state_, backup_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride);
  }

 private:
  Picture backup_;
  WavyState state_;
};

std::unique_ptr<EffectRun> StartWavyRun(const EffectSetup& setup, std::string& error) {
  WavyState state;
  state.amplitude1 = setup.options.Integer("rows");
  state.amplitude2 = setup.options.Integer("columns");
  if (!StartWavy(state, setup.picture.width, setup.picture.height)) {
    error = "no memory for the wave's shifts";
    return nullptr;
  }
  return std::make_unique<WavyRun>(setup.picture, std::move(state));
}

class DiscoRun : public EffectRun {
 public:
  DiscoRun(const Picture& picture, DiscoState state) : backup_(picture), state_(std::move(state)) {}
  void Frame(const FrameInput&, Picture& image) override {
    DiscoFrame(state_, backup_.pixels.data(), image.pixels.data(), image.stride);
  }

 private:
  Picture backup_;
  DiscoState state_;
};

std::unique_ptr<EffectRun> StartDiscoRun(const EffectSetup& setup, std::string& error) {
  DiscoState state;
  state.brightness = setup.options.Integer("brightness");
  state.speed = setup.options.Integer("speed");
  if (!StartDisco(state, setup.picture.width, setup.picture.height)) {
    error = "no memory for the angle and distance tables";
    return nullptr;
  }
  return std::make_unique<DiscoRun>(setup.picture, std::move(state));
}

std::unique_ptr<EffectRun> StartMagicRun(const EffectSetup& setup, std::string& error) {
  const Picture& p = setup.picture;
  if (p.width > 32767 || p.height > 32767) {
    error = "the picture is too large for a pattern map";
    return nullptr;
  }
  MagicSettings s;
  s.mode = setup.options.Integer("pattern");
  const MagicModeRow& row = kMagicModeTable[s.mode];
  int* values[3] = {&s.s1, &s.s2, &s.s3};
  const char* names[3] = {"s1", "s2", "s3"};
  for (int k = 0; k < 3; ++k) {
    const int v = setup.options.Integer(names[k]);
    *values[k] = v < 0 ? row.defaults[k] : std::clamp(v, row.low[k], row.high[k]);
  }
  std::vector<animation::MapEntry> map(size_t(p.width) * size_t(p.height));
  BuildMagicMap(s, p.width, p.height, map.data());
  // The patterns never stand still, even with the cursor in the middle.
  return std::make_unique<MappedScroll>(p, setup.options.Switch("seamless"), std::move(map),
                                        animation::MapRows::kUpward, true);
}

class GradientRunner : public EffectRun {
 public:
  GradientRunner(const Picture& picture, const Gradient& gradient, GradientRun run)
      : backup_(picture), palette_(PaletteOf(gradient)), run_(run),
        brightness_(size_t(picture.width) * size_t(picture.height)) {
    BuildBrightness(picture.pixels.data(), picture.width, picture.height, picture.stride, brightness_.data());
  }
  void Frame(const FrameInput&, Picture& image) override {
    GradientFrame(run_, palette_, brightness_.data(), backup_.pixels.data(), image.pixels.data(), image.width,
                  image.height, image.stride);
  }

 private:
  Picture backup_;
  GradientPalette palette_;
  GradientRun run_;
  std::vector<uint8_t> brightness_;
};

std::unique_ptr<EffectRun> StartGradientRun(const EffectSetup& setup, std::string&) {
  static const std::vector<Gradient> kChoices = BuiltInGradients();
  const int index = std::min<int>(setup.options.Integer("gradient"), int(kChoices.size()) - 1);
  GradientRun run;
  run.speed = setup.options.Integer("speed");
  run.strength = setup.options.Integer("strength");
  run.flowing = setup.options.Switch("flow");
  return std::make_unique<GradientRunner>(setup.picture, kChoices[size_t(index)], run);
}

}  // namespace

const EffectRow kMagicRow{"magic", "the picture folded into one of eleven patterns, drifting",
                          EffectKind::kAnimated, kMagicOptions, StartMagicRun};
const EffectRow kGradientRow{"gradient", "the picture's brightness painted through a gradient whose hue turns",
                             EffectKind::kAnimated, kGradientOptions, StartGradientRun};
const EffectRow kPoolRow{"pool", "sunlight on the floor of a pool plays over the picture",
                         EffectKind::kAnimated, {}, StartPoolRun};
const EffectRow kWavyRow{"wavy", "the picture shimmers as seen through moving water", EffectKind::kAnimated,
                         kWavyOptions, StartWavyRun};
const EffectRow kDiscoRow{"disco", "coloured beams from a wandering spot sweep over the picture",
                          EffectKind::kAnimated, kDiscoOptions, StartDiscoRun};

}  // namespace quillo::render
