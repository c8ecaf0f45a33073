// The moving lens: a round lens bouncing over the picture like a ball on a
// table, bulging, pinching, twirling or showing the picture inverted in a
// circle; only the box around the lens is redrawn each frame.
#include <algorithm>
#include <ctime>
#include <vector>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"
#include "plugins/qlo12/kernels/lens.h"

namespace quillo::qlo12 {

namespace {

constexpr int kRadiusSlider = 501, kStepSlider = 502;
constexpr int kInvertBox = 601, kTwirlBox = 602, kSineBox = 603, kBallBox = 604;
constexpr int kTicksPerScene = 30;

class DistortEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Distort"; }
  animation::OkWhilePlaying OkRule() const override {
    return animation::OkWhilePlaying::kAcceptsAndCloses;
  }
  bool SizeWorkable(int w, int h) const override { return LensSizeWorkable(w, h); }

  void InitControls(HWND) override {
    animation::ModuleRandom().Seed(uint32_t(std::time(nullptr)));
    const LensRadiusRange radii = LensRadii(width, height);
    options_.radius = radii.start;
    SetSlider(kRadiusSlider, radii.low, radii.high, options_.radius);
    SetSlider(kStepSlider, 1, 7, options_.step);
    SetLabel(kRadiusSlider + 200, "%d", options_.radius);
    SetLabel(kStepSlider + 200, "%d", options_.step);
    for (int id = 601; id <= 606; ++id) Check(id, true);
    Check(801, true);
  }

  bool StartPlaying() override {
    rebuild_ = true;
    return true;
  }

  void DrawFrame() override {
    if (rebuild_) {
      rebuild_ = false;
      map_ = BuildLensMap(options_);
      motion_ = PlaceLens(options_, width, height, animation::ModuleRandom());
      std::copy(backupPixels, backupPixels + size_t(stride) * size_t(height), livePixels);
    }
    StepLens(options_, map_, motion_, backupPixels, livePixels, width, height, stride);
  }

  void Command(int id, int, LPARAM lParam) override {
    if (id == kRadiusSlider || id == kStepSlider) {
      const LensRadiusRange radii = LensRadii(width, height);
      int& value = id == kRadiusSlider ? options_.radius : options_.step;
      value = id == kRadiusSlider ? std::clamp(SliderPosition(id), radii.low, radii.high)
                                  : std::clamp(SliderPosition(id), 1, 7);
      SetLabel(id + 200, "%d", value);
      if (lParam == 0) rebuild_ = true;
    } else if (id >= 601 && id <= 606) {
      options_.invert = Checked(kInvertBox);
      options_.twirl = Checked(kTwirlBox);
      options_.sineScale = Checked(kSineBox);
      options_.ball = Checked(kBallBox);
      rebuild_ = true;
    }
  }

  // The saver's change of scene: the lens kinds drawn anew.
  bool Tick(int count) override {
    if (count % kTicksPerScene != 0) return true;
    RuntimeRandom& random = animation::ModuleRandom();
    options_.invert = random.Below(3) == 0;
    options_.twirl = random.Below(3) == 0;
    options_.sineScale = random.Below(3) == 0;
    options_.sineScale = random.Below(3) == 0;
    options_.ball = random.Below(3) == 0;
    random.Next();
    Check(kInvertBox, options_.invert);
    Check(kTwirlBox, options_.twirl);
    Check(kSineBox, options_.sineScale);
    Check(kBallBox, options_.ball);
    Check(605, true);
    rebuild_ = true;
    return true;
  }

 private:
  LensOptions options_;
  std::vector<LensCell> map_;
  LensMotion motion_;
  bool rebuild_ = true;
};

}  // namespace

}  // namespace quillo::qlo12

QUILLO_ANIMATION_EXPORT(ProcessDistort, quillo::qlo12::DistortEffect)
