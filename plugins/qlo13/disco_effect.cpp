// Disco lights: coloured beams from a wandering spot sweep over the
// picture, with their brightness and the spot's speed on two sliders.
#include <algorithm>

#include "plugins/animation/animation_run.h"
#include "plugins/qlo13/kernels/disco.h"

namespace quillo::qlo13 {

namespace {

constexpr int kBrightnessSlider = 501, kSpeedSlider = 502;

class DiscoEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Disco"; }
  animation::OkWhilePlaying OkRule() const override { return animation::OkWhilePlaying::kStopsPlaying; }
  animation::StartCapture CaptureOnStart() const override {
    return animation::StartCapture::kCancelButton;
  }

  void InitControls(HWND) override {
    SetSlider(kBrightnessSlider, 0, kDiscoMaxBrightness, disco_.brightness);
    SetSlider(kSpeedSlider, kDiscoMinSpeed, kDiscoMaxSpeed, disco_.speed);
    SetLabel(kBrightnessSlider + 200, "%d", disco_.brightness);
    SetLabel(kSpeedSlider + 200, "%d", disco_.speed);
  }

  // The angle and distance tables are made anew at every start of playing,
  // the spot back in the middle.
  bool StartPlaying() override { return StartDisco(disco_, width, height); }
  void StopPlaying() override {
    DiscoState kept;
    kept.brightness = disco_.brightness;
    kept.speed = disco_.speed;
    disco_ = std::move(kept);
  }

  void DrawFrame() override { DiscoFrame(disco_, backupPixels, livePixels, stride); }

  // Every notification of a slider takes its position, while playing too.
  void Command(int id, int, LPARAM) override {
    if (id == kBrightnessSlider)
      disco_.brightness = std::clamp(SliderPosition(id), 0, kDiscoMaxBrightness);
    else if (id == kSpeedSlider)
      disco_.speed = std::clamp(SliderPosition(id), kDiscoMinSpeed, kDiscoMaxSpeed);
    else
      return;
    SetLabel(id + 200, "%d", SliderPosition(id));
  }

 private:
  DiscoState disco_;
};

}  // namespace

}  // namespace quillo::qlo13

QUILLO_ANIMATION_EXPORT(ProcessDisco, quillo::qlo13::DiscoEffect)
