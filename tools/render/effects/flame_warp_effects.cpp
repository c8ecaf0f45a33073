// Dawa's flame over the picture and the ring warp.
#include <memory>
#include <vector>

#include "plugins/qlo12/kernels/flame.h"
#include "plugins/qlo12/kernels/warp.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

using namespace qlo12;

// The dialog's sliders: hue and saturation turn the palette by value / 255,
// the heat slider feeds the sparks value x 3.
constexpr double kPaletteSliderScale = 255.0;
constexpr double kHeatSliderScale = 3.0;

const OptionInfo kDawaOptions[] = {
    {"hue", OptionKind::kInteger, -255, 255, 0, "turn of the fire palette's hue"},
    {"saturation", OptionKind::kInteger, -255, 255, 0, "change of the fire palette's saturation"},
    {"heat", OptionKind::kInteger, 0, 100, 50, "heat of the new sparks"},
};

class FlameRun : public EffectRun {
 public:
  FlameRun(const Picture& picture, std::vector<FireColour> palette, double heat)
      : backup_(picture), palette_(std::move(palette)), heat_(heat) {
    ResetFlame(state_, picture.width, picture.height);
  }

  void Frame(const FrameInput& input, Picture& image) override {
    StepFlame(state_, heat_, *input.random);
    DrawFlame(state_, palette_, backup_.pixels.data(), image.pixels.data(), image.stride);
  }

 private:
  Picture backup_;
  std::vector<FireColour> palette_;
  double heat_;
  FlameState state_;
};

std::unique_ptr<EffectRun> StartDawa(const EffectSetup& setup, std::string& error) {
  const Picture& p = setup.picture;
  if (!FlameSizeWorkable(p.width, p.height)) {
    error = "the picture is too small for the flame";
    return nullptr;
  }
  const OptionValues& o = setup.options;
  return std::make_unique<FlameRun>(
      p, FirePalette(o.Integer("hue") / kPaletteSliderScale, o.Integer("saturation") / kPaletteSliderScale),
      o.Integer("heat") * kHeatSliderScale);
}

class WarpRun : public EffectRun {
 public:
  explicit WarpRun(const Picture& picture)
      : backup_(picture), rings_(size_t(picture.width) * size_t(picture.height)) {
    BuildWarpRings(picture.width, picture.height, rings_.data());
  }

  void Frame(const FrameInput&, Picture& image) override {
    WarpFrameShifts(frame_, shifts_);
    DrawWarpFrame(backup_.pixels.data(), image.pixels.data(), image.width, image.height, image.stride,
                  rings_.data(), shifts_);
    frame_ = (frame_ + 1) % kWarpCycle;
  }

 private:
  Picture backup_;
  std::vector<int32_t> rings_;
  WarpShifts shifts_;
  int frame_ = 0;
};

std::unique_ptr<EffectRun> StartWarp(const EffectSetup& setup, std::string& error) {
  if (!WarpSizeWorkable(setup.picture.width, setup.picture.height)) {
    error = "the ring warp needs a picture of more than one pixel";
    return nullptr;
  }
  return std::make_unique<WarpRun>(setup.picture);
}

}  // namespace

const EffectRow kDawaRow{"dawa", "a flame burning over the picture", EffectKind::kAnimated, kDawaOptions,
                         StartDawa};
const EffectRow kWarpRow{"warp", "the picture ripples in rings around its centre", EffectKind::kAnimated, {},
                         StartWarp};

}  // namespace quillo::render
