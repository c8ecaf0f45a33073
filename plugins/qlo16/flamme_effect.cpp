// Flamme: rising flames over the picture. The heat fields last for the
// whole dialog, so a new play goes on from the flames of the last one. It
// has no controls of its own and stores no settings.
#include "plugins/qlo16/fire_session.h"
#include "plugins/qlo16/kernels/flamme.h"

namespace quillo::qlo16 {

namespace {

class FlammeEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Flamme"; }

  bool Setup() override {
    palette_ = FlammePalette();
    return ResetFlamme(flamme_, width, height);
  }

  void InitControls(HWND) override {
    // The view lays itself out again for the run.
    if (call.viewWindow) SendMessageA(call.viewWindow, VM_RELAYOUT, 0, 0);
  }

  bool StartPlaying() override {
    SeedForPlay();
    return true;
  }

  void DrawFrame() override {
    StepFlamme(flamme_, animation::ModuleRandom());
    DrawFlamme(flamme_, palette_, backupPixels, livePixels, stride);
  }

 private:
  FlammeState flamme_;
  FirePalette256 palette_;
};

}  // namespace

}  // namespace quillo::qlo16

QUILLO_ANIMATION_EXPORT(ProcessFlamme, quillo::qlo16::FlammeEffect)
