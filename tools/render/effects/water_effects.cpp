// Water and Blob, the two ripple tanks: a height field disturbed by drops,
// propagated as a damped wave and refracting the picture through its slopes.
#include <algorithm>
#include <memory>

#include "plugins/qlo12/kernels/water_frame.h"
#include "tools/render/effects/effect_rows.h"

namespace quillo::render {

namespace {

using namespace qlo12;

const OptionInfo kWaterOptions[] = {
    {"damping", OptionKind::kInteger, 1, 100, kWaterDefaultDamping, "damping shift: 1 dies at once, 100 hardly damps"},
    {"strength", OptionKind::kInteger, -3010, 3010, kWaterDefaultStrength, "drop strength"},
    {"radius", OptionKind::kInteger, 1, 255, kWaterDefaultRadius, "drop radius"},
    {"light", OptionKind::kInteger, 0, 8, kWaterDefaultLight, "lighting of the slopes (0 none)"},
    {"surfer", OptionKind::kSwitch, 0, 1, 1, "a wandering surfer ploughs the water"},
    {"rain", OptionKind::kSwitch, 0, 1, 1, "one rain drop a frame"},
    {"random-drops", OptionKind::kSwitch, 0, 1, 0, "now and then a drop at a random point"},
    {"swirl", OptionKind::kSwitch, 0, 1, 0, "a drop circling the middle"},
    {"flat-drops", OptionKind::kSwitch, 0, 1, 1, "discs and pixel stamps instead of smooth bumps"},
};

const OptionInfo kBlobOptions[] = {
    {"damping", OptionKind::kInteger, 1, 100, kBlobDefaultDamping, "damping shift"},
    {"strength", OptionKind::kInteger, 100, 12800, kBlobDefaultStrength, "largest blob height"},
    {"radius", OptionKind::kInteger, 10, 256, kBlobDefaultRadius, "largest blob radius"},
    {"light", OptionKind::kInteger, 0, 8, kBlobDefaultLight, "lighting of the slopes (0 none)"},
    {"attempts", OptionKind::kInteger, 1, kBlobMaxAttempts, kBlobDefaultAttempts, "blob chances a frame"},
};

// Both tanks work on a picture whose width is a multiple of 4: another
// width is scaled up to the next one.
bool WidenToMultipleOfFour(Picture& picture, std::string& error) {
  if (picture.width % 4 == 0) return true;
  if (!ResamplePicture(picture, picture.width - picture.width % 4 + 4, picture.height, picture)) {
    error = "the picture cannot be widened to a multiple of 4 pixels";
    return false;
  }
  return true;
}

bool CheckTankSize(const Picture& picture, std::string& error) {
  if (WaterSizeWorkable(picture.width, picture.height)) return true;
  error = "the ripple tanks need a picture of at least 3 x 3 pixels";
  return false;
}

class WaterRun : public EffectRun {
 public:
  WaterRun(const Picture& picture, WaterState state) : backup_(picture), state_(std::move(state)) {}

  void Frame(const FrameInput& input, Picture& image) override {
    if (input.drop.button != MouseButton::kNone) {
      state_.pendingDrop = input.drop.button == MouseButton::kLeft ? kLeftButtonDrop : kRightButtonDrop;
      state_.mouseX = std::clamp(input.drop.x, 0, image.width - 1);
      state_.mouseY = image.height - 1 - std::clamp(input.drop.y, 0, image.height - 1);
    }
    WaterFrame(state_, backup_.pixels.data(), image.pixels.data(), image.stride, *input.random);
  }

 private:
  Picture backup_;
  WaterState state_;
};

std::unique_ptr<EffectRun> StartWaterRun(const EffectSetup& setup, std::string& error) {
  Picture& picture = setup.picture;
  if (!WidenToMultipleOfFour(picture, error) || !CheckTankSize(picture, error)) return nullptr;
  WaterState state;
  if (!StartWater(state, picture.width, picture.height, setup.random)) {
    error = "no memory for the height fields";
    return nullptr;
  }
  const OptionValues& o = setup.options;
  state.dampingShift = o.Integer("damping");
  state.strength = o.Integer("strength");
  state.radius = o.Integer("radius");
  state.light = o.Integer("light");
  state.flags = (o.Switch("surfer") ? kWaterSurferFlag : 0) | (o.Switch("rain") ? kWaterRainFlag : 0) |
                (o.Switch("random-drops") ? kWaterRandomDropsFlag : 0) | (o.Switch("swirl") ? kWaterSwirlFlag : 0) |
                (o.Switch("flat-drops") ? kWaterFlatDropsFlag : 0);
  return std::make_unique<WaterRun>(picture, std::move(state));
}

class BlobRun : public EffectRun {
 public:
  BlobRun(const Picture& picture, BlobState state) : backup_(picture), state_(std::move(state)) {}

  void Frame(const FrameInput& input, Picture& image) override {
    BlobFrame(state_, backup_.pixels.data(), image.pixels.data(), image.stride, *input.random);
  }

 private:
  Picture backup_;
  BlobState state_;
};

std::unique_ptr<EffectRun> StartBlobRun(const EffectSetup& setup, std::string& error) {
  Picture& picture = setup.picture;
  if (!WidenToMultipleOfFour(picture, error) || !CheckTankSize(picture, error)) return nullptr;
  BlobState state;
  if (!StartBlob(state, picture.width, picture.height)) {
    error = "no memory for the height fields";
    return nullptr;
  }
  const OptionValues& o = setup.options;
  state.dampingShift = o.Integer("damping");
  state.strength = o.Integer("strength");
  state.radius = o.Integer("radius");
  state.light = o.Integer("light");
  state.attempts = o.Integer("attempts");
  return std::make_unique<BlobRun>(picture, std::move(state));
}

}  // namespace

const EffectRow kWaterRow{"water", "a ripple tank: rain, a surfer and mouse drops refract the picture",
                          EffectKind::kAnimated, kWaterOptions, StartWaterRun};
const EffectRow kBlobRow{"blob", "a ripple tank fed by randomly falling blobs", EffectKind::kAnimated,
                         kBlobOptions, StartBlobRun};

}  // namespace quillo::render
