// Flamme, Flares and Tex: rising flames and glowing rays over the picture,
// and the picture as a tumbling textured box (on a 640 x 480 copy, turned a
// quarter turn first when taller than wide).
#include <memory>

#include "plugins/qlo16/kernels/flamme.h"
#include "plugins/qlo16/kernels/flares.h"
#include "plugins/qlo16/kernels/tex_box.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

using namespace qlo16;

constexpr double kShiftScale = 255.0;

const OptionInfo kFlaresOptions[] = {
    {"emitters", OptionKind::kInteger, kFlaresMinEmitters, kFlaresMaxEmitters, kFlaresDefaultEmitters,
     "points the rays are thrown from"},
    {"hue", OptionKind::kInteger, kFlaresMinShift, kFlaresMaxShift, 0, "turn of the rays' hue"},
    {"saturation", OptionKind::kInteger, kFlaresMinShift, kFlaresMaxShift, 0, "change of the rays' saturation"},
    {"lightness", OptionKind::kInteger, kFlaresMinShift, kFlaresMaxShift, 0, "change of the rays' lightness"},
};
const OptionInfo kTexOptions[] = {
    {"front", OptionKind::kSwitch, 0, 1, 0, "the front face alone, never culled"},
};

class FlammeRun : public EffectRun {
 public:
  explicit FlammeRun(const Picture& picture) : backup_(picture), palette_(FlammePalette()) {}
  bool Ready() { return ResetFlamme(state_, backup_.width, backup_.height); }

  void Frame(const FrameInput& input, Picture& image) override {
    StepFlamme(state_, *input.random);
    DrawFlamme(state_, palette_, backup_.pixels.data(), image.pixels.data(), image.stride);
  }

 private:
  Picture backup_;
  FirePalette256 palette_;
  FlammeState state_;
};

std::unique_ptr<EffectRun> StartFlamme(const EffectSetup& setup, std::string& error) {
  auto run = std::make_unique<FlammeRun>(setup.picture);
  if (!run->Ready()) {
    error = "no memory for the flame's heat fields";
    return nullptr;
  }
  return run;
}

class FlaresRun : public EffectRun {
 public:
  FlaresRun(const Picture& picture, const OptionValues& o)
      : backup_(picture),
        palette_(FlaresPalette(o.Integer("hue") / kShiftScale, o.Integer("saturation") / kShiftScale,
                               o.Integer("lightness") / kShiftScale)),
        emitters_(o.Integer("emitters")) {}
  bool Ready() {
    if (!ResetFlares(state_, backup_.width, backup_.height)) return false;
    SetFlaresEmitters(state_, emitters_);
    return true;
  }

  void Frame(const FrameInput& input, Picture& image) override {
    FlaresFrame(state_, palette_, backup_.pixels.data(), image.pixels.data(), image.stride, *input.random);
  }

 private:
  Picture backup_;
  FirePalette256 palette_;
  int emitters_;
  FlaresState state_;
};

std::unique_ptr<EffectRun> StartFlares(const EffectSetup& setup, std::string& error) {
  auto run = std::make_unique<FlaresRun>(setup.picture, setup.options);
  if (!run->Ready()) {
    error = "no memory for the flares' heat field";
    return nullptr;
  }
  return run;
}

class TexRun : public EffectRun {
 public:
  TexRun(const Picture& picture, bool front)
      : backup_(picture), faces_(TexFaces(picture.width, picture.height)), front_(front) {}
  bool Ready() { return PrepareTexCanvas(canvas_, backup_.width, backup_.height, backup_.stride); }

  void Frame(const FrameInput&, Picture& image) override {
    TexFrame(canvas_, faces_, t_, front_, backup_.pixels.data(), image.pixels.data());
    t_ = (t_ + 1) % kTexFrameCycle;
  }

 private:
  Picture backup_;
  TexCanvas canvas_;
  std::array<TexFacePlacement, kTexFaceCount> faces_;
  bool front_;
  int t_ = 0;
};

std::unique_ptr<EffectRun> StartTex(const EffectSetup& setup, std::string& error) {
  Picture& p = setup.picture;
  if (p.width < p.height && !QuarterTurnPicture(p, p)) {
    error = "the picture cannot be turned";
    return nullptr;
  }
  if (!ResamplePicture(p, kTexWidth, kTexHeight, p)) {
    error = "the picture cannot be scaled to 640 x 480";
    return nullptr;
  }
  auto run = std::make_unique<TexRun>(p, setup.options.Switch("front"));
  if (!run->Ready()) {
    error = "no memory for the box's row tables";
    return nullptr;
  }
  return run;
}

}  // namespace

const EffectRow kFlammeRow{"flamme", "classic flames rising from the bottom of the picture", EffectKind::kAnimated,
                           {}, StartFlamme};
const EffectRow kFlaresRow{"flares", "bursts of glowing rays from points wandering over the picture",
                           EffectKind::kAnimated, kFlaresOptions, StartFlares};
const EffectRow kTexRow{"tex", "the picture as a textured box tumbling on black (at 640 x 480)",
                        EffectKind::kAnimated, kTexOptions, StartTex};

}  // namespace quillo::render
