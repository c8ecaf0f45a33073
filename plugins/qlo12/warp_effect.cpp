// The ring warp: the picture ripples in rings around its centre, with a
// motion that drifts through a 512-frame cycle.
#include <vector>

#include "plugins/animation/animation_run.h"
#include "plugins/qlo12/kernels/warp.h"

namespace quillo::qlo12 {

namespace {

class WarpEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Warp"; }
  animation::StartCapture CaptureOnStart() const override {
    return animation::StartCapture::kCancelButton;
  }
  bool SizeWorkable(int w, int h) const override { return WarpSizeWorkable(w, h); }

  void InitControls(HWND) override {
    Check(601, true);
    Check(801, true);
  }

  // The ring map is made anew at every start of playing.
  bool StartPlaying() override {
    if (!animation::TryResize(rings_, size_t(width) * size_t(height))) return false;
    BuildWarpRings(width, height, rings_.data());
    frame_ = 0;
    return true;
  }
  void StopPlaying() override { std::vector<int32_t>().swap(rings_); }

  void DrawFrame() override {
    WarpFrameShifts(frame_, shifts_);
    DrawWarpFrame(backupPixels, livePixels, width, height, stride, rings_.data(), shifts_);
    frame_ = (frame_ + 1) % kWarpCycle;
  }

 private:
  std::vector<int32_t> rings_;
  WarpShifts shifts_ = {};
  int frame_ = 0;
};

}  // namespace

}  // namespace quillo::qlo12

QUILLO_ANIMATION_EXPORT(ProcessWarp, quillo::qlo12::WarpEffect)
