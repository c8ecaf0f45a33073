// Quake: the picture breaks into 64 blocks that shake and fall, leaving
// streaks. Every 256 frames the run rests for 4.9 seconds (the clean
// picture from half-way) and the blocks start again from the grid; the
// dialog keeps answering during the rest, and a Stop then ends the run and
// lets the blocks go. The strength slider is shown only.
#include "plugins/qlo15/kernels/quake.h"
#include "plugins/qlo15/weather_session.h"

namespace quillo::qlo15 {

namespace {

constexpr int kStrengthSlider = 501;
constexpr int kFramePause = 10;     // ms between frames
constexpr int kRestStepPause = 100;  // ms of each rest step

class QuakeEffect : public WeatherSession {
 public:
  const char* TemplateName() const override { return "Quake"; }
  bool ResetsViewTool() const override { return true; }
  // A rest step is a frame of the loop: the loop's pause, then messages.
  int FramePause() const override { return quake_.resting ? kRestStepPause : kFramePause; }

  void InitControls(HWND) override { ShowSlider(kStrengthSlider, kQuakeMinStrength, kQuakeMaxStrength, strength_); }

  // The blocks' pictures are taken from the clean picture at the first
  // play and kept until a run ends in a rest.
  bool StartPlaying() override {
    SeedForPlay();
    StartQuake(quake_, width, height);
    return CaptureQuakeBlocks(quake_, backupPixels, stride);
  }

  void StopPlaying() override {
    if (quake_.resting) {
      ReleaseQuakeBlocks(quake_);
      quake_.resting = false;
    }
    WeatherSession::StopPlaying();
  }

  void DrawFrame() override {
    if (quake_.resting)
      QuakeRestStep(quake_, backupPixels, livePixels, stride);
    else
      QuakeFrame(quake_, livePixels, stride, animation::ModuleRandom());
  }

  bool Tick(int) override { return true; }

  void Command(int id, int, LPARAM) override {
    if (id != kStrengthSlider) return;
    strength_ = SliderPosition(id);
    SetLabel(id + 200, "%d", strength_);
  }

 private:
  QuakeState quake_;
  int strength_ = kQuakeDefaultStrength;
};

}  // namespace

}  // namespace quillo::qlo15

QUILLO_ANIMATION_EXPORT(ProcessQuake, quillo::qlo15::QuakeEffect)
