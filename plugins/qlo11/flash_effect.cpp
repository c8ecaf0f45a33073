// Flash: a fountain of coloured sparks over the picture, the generator
// seeded with the time at every play. Its check box and radio button are
// set at the start and do nothing else.
#include <ctime>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"
#include "plugins/qlo11/kernels/flash.h"

namespace quillo::qlo11 {

namespace {

class FlashEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Flash"; }
  bool ResetsViewTool() const override { return true; }
  animation::StartCapture CaptureOnStart() const override { return animation::StartCapture::kCancelButton; }
  bool ShowsPlayingHint() const override { return true; }

  bool Setup() override {
    flash_ = new (std::nothrow) FlashState();
    return flash_ != nullptr;
  }
  ~FlashEffect() override { delete flash_; }

  void InitControls(HWND) override {
    Check(601, true);
    Check(801, true);
  }

  bool StartPlaying() override {
    animation::ModuleRandom().Seed(uint32_t(std::time(nullptr)));
    return true;
  }

  void DrawFrame() override {
    FlashFrame(*flash_, backupPixels, livePixels, width, height, stride, animation::ModuleRandom());
  }

 private:
  FlashState* flash_ = nullptr;  // 5000 sparks: on the heap
};

}  // namespace

}  // namespace quillo::qlo11

QUILLO_ANIMATION_EXPORT(ProcessFlash, quillo::qlo11::FlashEffect)
