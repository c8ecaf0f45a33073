// Flames over the picture: sparks thrown along wandering paths heat a field
// that is smoothed every frame and coloured through a fire palette the user
// turns in hue and saturation.
#include <algorithm>
#include <vector>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"
#include "plugins/qlo12/kernels/flame.h"

namespace quillo::qlo12 {

namespace {

constexpr int kHueSlider = 501, kSaturationSlider = 502, kHeatSlider = 503;

// The sparks' paths follow one clock for as long as the module is loaded.
double g_flameTime = 0;

class DawaEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Dawa"; }
  bool SizeWorkable(int w, int h) const override { return FlameSizeWorkable(w, h); }

  // The heat field and the sparks last for the whole dialog, across plays.
  bool Setup() override {
    try {
      ResetFlame(flame_, width, height);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }

  void InitControls(HWND) override {
    SetSlider(kHueSlider, -255, 255, hue_);
    SetSlider(kSaturationSlider, -255, 255, saturation_);
    SetSlider(kHeatSlider, 0, 100, heat_);
    SetLabel(kHueSlider + 200, "%d", hue_);
    SetLabel(kSaturationSlider + 200, "%d", saturation_);
    SetLabel(kHeatSlider + 200, "%d", heat_);
  }

  bool StartPlaying() override {
    RebuildPalette();
    return true;
  }

  void DrawFrame() override {
    flame_.time = g_flameTime;
    StepFlame(flame_, heat_ * 3.0, animation::ModuleRandom());
    g_flameTime = flame_.time;
    DrawFlame(flame_, palette_, backupPixels, livePixels, stride);
  }

  void Command(int id, int, LPARAM lParam) override {
    int* value = id == kHueSlider ? &hue_ : id == kSaturationSlider ? &saturation_
                 : id == kHeatSlider ? &heat_ : nullptr;
    if (!value) return;
    const int low = id == kHeatSlider ? 0 : -255, high = id == kHeatSlider ? 100 : 255;
    *value = std::clamp(SliderPosition(id), low, high);
    SetLabel(id + 200, "%d", *value);
    if (lParam == 0) RebuildPalette();
  }

 private:
  void RebuildPalette() { palette_ = FirePalette(hue_ / 255.0, saturation_ / 255.0); }

  FlameState flame_;
  std::vector<FireColour> palette_;
  int hue_ = 0, saturation_ = 0, heat_ = 50;
};

}  // namespace

}  // namespace quillo::qlo12

QUILLO_ANIMATION_EXPORT(ProcessDawa, quillo::qlo12::DawaEffect)
