// Star: twinkling stars scattered over the picture, drawn from the kit's
// backup into the caller's picture every 30 ms. The star count changes
// with its slider on the next frame; OK waits until playing stopped.
#include <ctime>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"
#include "plugins/qlo17/kernels/twinkle.h"

namespace quillo::qlo17 {

namespace {

constexpr int kCountSlider = 501;

class StarEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Star"; }
  bool ResetsViewTool() const override { return true; }
  bool SharesRectangle() const override { return true; }
  int FramePause() const override { return 30; }

  void InitControls(HWND) override {
    SetSlider(kCountSlider, kTwinkleMinCount, kTwinkleMaxCount, stars_.count);
    SetLabel(kCountSlider + 200, "%d", stars_.count);
  }

  // Each play makes the 1000 records anew from the generator seeded with
  // the time in seconds.
  bool StartPlaying() override {
    RuntimeRandom& random = animation::ModuleRandom();
    random.Seed(uint32_t(std::time(nullptr)));
    StartTwinkle(stars_, random);
    return true;
  }

  void DrawFrame() override {
    TwinkleFrame(stars_, backupPixels, livePixels, width, height, stride, animation::ModuleRandom());
  }

  // The view redraws the frame playing stopped at.
  void StopPlaying() override {
    if (call.viewWindow) SendMessageA(call.viewWindow, VM_REDRAW, 0, 0);
  }

  // Only the user's changes (lParam 0) set the count.
  void Command(int id, int, LPARAM lParam) override {
    if (id != kCountSlider || lParam != 0) return;
    SetTwinkleCount(stars_, SliderPosition(id));
    SetLabel(id + 200, "%d", stars_.count);
  }

 private:
  TwinkleState stars_;
};

}  // namespace

}  // namespace quillo::qlo17

QUILLO_ANIMATION_EXPORT(ProcessStar, quillo::qlo17::StarEffect)
