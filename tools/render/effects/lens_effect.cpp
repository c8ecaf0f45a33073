// The moving lens: a round lens bouncing across the picture.
#include <algorithm>
#include <memory>
#include <vector>

#include "plugins/qlo12/kernels/lens.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

using namespace qlo12;

const OptionInfo kDistortOptions[] = {
    {"radius", OptionKind::kInteger, 10, 249, std::nullopt,
     "lens radius, kept inside 10 .. min(256, shorter side / 3) - 7 (default from the picture)"},
    {"step", OptionKind::kInteger, 1, 7, 1, "pixels the lens moves a frame"},
    {"invert", OptionKind::kSwitch, 0, 1, 1, "pinch instead of bulge"},
    {"twirl", OptionKind::kSwitch, 0, 1, 1, "twirl what lies under the lens"},
    {"sine-scale", OptionKind::kSwitch, 0, 1, 1, "scale the twirl by a sine"},
    {"ball", OptionKind::kSwitch, 0, 1, 1, "show the picture inverted in the lens's circle"},
};

class LensRun : public EffectRun {
 public:
  LensRun(const Picture& picture, const LensOptions& options, RuntimeRandom& random)
      : backup_(picture), options_(options), map_(BuildLensMap(options)),
        motion_(PlaceLens(options, picture.width, picture.height, random)) {}

  void Frame(const FrameInput&, Picture& image) override {
    StepLens(options_, map_, motion_, backup_.pixels.data(), image.pixels.data(), image.width, image.height,
             image.stride);
  }

 private:
  Picture backup_;
  LensOptions options_;
  std::vector<LensCell> map_;
  LensMotion motion_;
};

std::unique_ptr<EffectRun> StartDistort(const EffectSetup& setup, std::string& error) {
  const Picture& p = setup.picture;
  if (!LensSizeWorkable(p.width, p.height)) {
    error = "the moving lens needs a picture of at least 60 x 60 pixels";
    return nullptr;
  }
  const OptionValues& o = setup.options;
  const LensRadiusRange radii = LensRadii(p.width, p.height);
  LensOptions lens;
  lens.radius = std::clamp(o.Integer("radius", radii.start), radii.low, radii.high);
  lens.step = o.Integer("step");
  lens.invert = o.Switch("invert");
  lens.twirl = o.Switch("twirl");
  lens.sineScale = o.Switch("sine-scale");
  lens.ball = o.Switch("ball");
  return std::make_unique<LensRun>(p, lens, setup.random);
}

}  // namespace

const EffectRow kDistortRow{"distort", "a lens bouncing across the picture", EffectKind::kAnimated,
                            kDistortOptions, StartDistort};

}  // namespace quillo::render
