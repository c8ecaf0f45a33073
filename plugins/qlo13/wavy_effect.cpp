// Wavy shimmer: the picture seen through moving water, with the strength
// of the row and the column wave on two sliders.
#include <algorithm>

#include "plugins/animation/animation_run.h"
#include "plugins/qlo13/kernels/wavy.h"

namespace quillo::qlo13 {

namespace {

constexpr int kRowSlider = 501, kColumnSlider = 502;

class WavyEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Wavy"; }
  animation::OkWhilePlaying OkRule() const override { return animation::OkWhilePlaying::kStopsPlaying; }

  void InitControls(HWND) override {
    SetSlider(kRowSlider, kWavyMinAmplitude, kWavyMaxAmplitude, wavy_.amplitude1);
    SetSlider(kColumnSlider, kWavyMinAmplitude, kWavyMaxAmplitude, wavy_.amplitude2);
    SetLabel(kRowSlider + 200, "%d", wavy_.amplitude1);
    SetLabel(kColumnSlider + 200, "%d", wavy_.amplitude2);
  }

  bool StartPlaying() override { return StartWavy(wavy_, width, height); }

  void DrawFrame() override { WavyFrame(wavy_, backupPixels, livePixels, width, height, stride); }

  // Every notification of a slider takes its position, while playing too.
  void Command(int id, int, LPARAM) override {
    if (id != kRowSlider && id != kColumnSlider) return;
    const int position = std::clamp(SliderPosition(id), kWavyMinAmplitude, kWavyMaxAmplitude);
    (id == kRowSlider ? wavy_.amplitude1 : wavy_.amplitude2) = position;
    SetLabel(id + 200, "%d", position);
  }

 private:
  WavyState wavy_;
};

}  // namespace

}  // namespace quillo::qlo13

QUILLO_ANIMATION_EXPORT(ProcessWavy, quillo::qlo13::WavyEffect)
