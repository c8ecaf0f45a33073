// Snow, Rain, Cloud and FireWork: flakes, rain ripples, drifting clouds and
// rockets over the picture, each frame drawn from the unchanged picture
// with the run's generator.
#include <memory>

#include "plugins/qlo15/kernels/cloud.h"
#include "plugins/qlo15/kernels/firework.h"
#include "plugins/qlo15/kernels/rain.h"
#include "plugins/qlo15/kernels/snow.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

using namespace qlo15;

const OptionInfo kSnowOptions[] = {
    {"flakes", OptionKind::kInteger, kSnowMinFlakes, kSnowMaxFlakes, kSnowDefaultFlakes, "flakes at most"},
    {"gusts", OptionKind::kInteger, kSnowMinGusts, kSnowMaxGusts, kSnowDefaultGusts,
     "gust count (stored, never blows)"},
};
const OptionInfo kRainOptions[] = {
    {"drops", OptionKind::kInteger, kRainMinDrops, kRainMaxDrops, kRainDefaultDrops, "drops at most"},
};
const OptionInfo kCloudOptions[] = {
    {"base", OptionKind::kInteger, kCloudMinBase, kCloudMaxBase, kCloudDefaultBase, "noise at every scale"},
    {"roughness", OptionKind::kInteger, kCloudMinRoughness, kCloudMaxRoughness, kCloudDefaultRoughness,
     "noise growing with the scale"},
    {"sky", OptionKind::kSwitch, 0, 1, 0, "clouds on a blue sky instead of the picture"},
};
const OptionInfo kFireworkOptions[] = {
    {"rockets", OptionKind::kInteger, kFireworkMinRockets, kFireworkMaxRockets, kFireworkDefaultRockets, "rockets"},
    {"sparks", OptionKind::kInteger, kFireworkMinSparks, kFireworkMaxSparks, kFireworkDefaultSparks,
     "sparks per rocket"},
    {"height", OptionKind::kInteger, kFireworkMinHeight, kFireworkMaxHeight, std::nullopt,
     "launch height (255 - it) / 256 of the picture from the top; by default from the picture's height"},
};

// A run over a kernel's state (held on the heap: the tables are large) and
// a copy of the unchanged picture.
template <class State, void (*Step)(State&, const uint8_t*, uint8_t*, int, int, int64_t, RuntimeRandom&)>
class WeatherRun : public EffectRun {
 public:
  WeatherRun(const Picture& picture, std::unique_ptr<State> state) : backup_(picture), state_(std::move(state)) {}

  void Frame(const FrameInput& input, Picture& image) override {
    Step(*state_, backup_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride,
         *input.random);
  }

 private:
  Picture backup_;
  std::unique_ptr<State> state_;
};

std::unique_ptr<EffectRun> StartSnowRun(const EffectSetup& setup, std::string&) {
  auto state = std::make_unique<SnowState>();
  SetSnowCounts(*state, setup.options.Integer("flakes"), setup.options.Integer("gusts"));
  return std::make_unique<WeatherRun<SnowState, SnowFrame>>(setup.picture, std::move(state));
}

std::unique_ptr<EffectRun> StartRainRun(const EffectSetup& setup, std::string& error) {
  if (setup.picture.height <= 2) {
    error = "the picture is too low for ripples";
    return nullptr;
  }
  auto state = std::make_unique<RainState>();
  SetRainDrops(*state, setup.options.Integer("drops"), false);
  StartRain(*state);
  return std::make_unique<WeatherRun<RainState, RainFrame>>(setup.picture, std::move(state));
}

std::unique_ptr<EffectRun> StartCloudRun(const EffectSetup& setup, std::string&) {
  auto state = std::make_unique<CloudState>();
  SetCloudShape(*state, setup.options.Integer("base"), setup.options.Integer("roughness"));
  state->sky = setup.options.Switch("sky");
  return std::make_unique<WeatherRun<CloudState, CloudFrame>>(setup.picture, std::move(state));
}

std::unique_ptr<EffectRun> StartFireworkRun(const EffectSetup& setup, std::string&) {
  auto state = std::make_unique<FireworkState>();
  SetFirework(*state, setup.options.Integer("rockets"), setup.options.Integer("sparks"),
              setup.options.Integer("height", FireworkDefaultHeight(setup.picture.height)));
  return std::make_unique<WeatherRun<FireworkState, FireworkFrame>>(setup.picture, std::move(state));
}

}  // namespace

const EffectRow kSnowRow{"snow", "white flakes falling and swaying over the picture", EffectKind::kAnimated,
                         kSnowOptions, StartSnowRun};
const EffectRow kRainRow{"rain", "rain drops rippling a water surface over the picture", EffectKind::kAnimated,
                         kRainOptions, StartRainRun};
const EffectRow kCloudRow{"cloud", "fractal clouds drifting over the picture or a blue sky", EffectKind::kAnimated,
                          kCloudOptions, StartCloudRun};
const EffectRow kFireworkRow{"firework", "rockets rising and bursting into coloured sparks", EffectKind::kAnimated,
                             kFireworkOptions, StartFireworkRun};

}  // namespace quillo::render
