// Flares: rays thrown from wandering emitters over the picture. The
// emitter slider takes effect on the next frame; the hue, saturation and
// lightness sliders turn the palette when the user moves them. Playing
// starts on a black picture, which the first frame covers.
#include <algorithm>
#include <cstring>

#include "plugins/qlo16/fire_session.h"
#include "plugins/qlo16/kernels/flares.h"

namespace quillo::qlo16 {

namespace {

constexpr int kEmitterSlider = 501, kEmitterLabel = 701;
constexpr int kHueSlider = 1604, kSaturationSlider = 1605, kLightnessSlider = 1606;
constexpr int kShiftLabelOffset = 3;  // 1607 ... 1609
constexpr double kShiftScale = 255.0;

class FlaresEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Flares"; }

  bool Setup() override {
    RebuildPalette();
    return ResetFlares(flares_, width, height);
  }

  void InitControls(HWND) override {
    SetSlider(kEmitterSlider, kFlaresMinEmitters, kFlaresMaxEmitters, flares_.emitters);
    SetLabel(kEmitterLabel, "%d", flares_.emitters);
    for (int id = kHueSlider; id <= kLightnessSlider; ++id) {
      SetSlider(id, kFlaresMinShift, kFlaresMaxShift, *Shift(id));
      SetLabel(id + kShiftLabelOffset, "%d", *Shift(id));
    }
  }

  bool StartPlaying() override {
    SeedForPlay();
    std::memset(livePixels, 0, size_t(stride) * size_t(height));
    return true;
  }

  void DrawFrame() override {
    FlaresFrame(flares_, palette_, backupPixels, livePixels, stride, animation::ModuleRandom());
  }

  void Command(int id, int, LPARAM lParam) override {
    if (id == kEmitterSlider) {
      SetFlaresEmitters(flares_, SliderPosition(id));
      SetLabel(kEmitterLabel, "%d", flares_.emitters);
      return;
    }
    int* shift = Shift(id);
    if (!shift) return;
    *shift = std::clamp(SliderPosition(id), kFlaresMinShift, kFlaresMaxShift);
    SetLabel(id + kShiftLabelOffset, "%d", *shift);
    if (lParam == 0) RebuildPalette();
  }

 private:
  int* Shift(int id) {
    return id == kHueSlider ? &hue_ : id == kSaturationSlider ? &saturation_ : id == kLightnessSlider ? &lightness_
                                                                                                       : nullptr;
  }
  void RebuildPalette() {
    palette_ = FlaresPalette(hue_ / kShiftScale, saturation_ / kShiftScale, lightness_ / kShiftScale);
  }

  FlaresState flares_;
  FirePalette256 palette_;
  int hue_ = 0, saturation_ = 0, lightness_ = 0;
};

}  // namespace

}  // namespace quillo::qlo16

QUILLO_ANIMATION_EXPORT(ProcessFlares, quillo::qlo16::FlaresEffect)
