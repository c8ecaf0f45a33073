// Pool light: sunlight playing on the floor of a pool darkens the picture
// in moving caustic bands. No settings: the check box only shows that the
// light is on.
#include "plugins/animation/animation_run.h"
#include "plugins/qlo13/kernels/pool.h"

namespace quillo::qlo13 {

namespace {

class PoolEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Pool"; }

  // The kit hides item 323 when the dialog opens; Pool shows no hint while
  // playing, so it stays hidden.
  void InitControls(HWND) override { Check(601, true); }

  // The still part of the pattern is made anew at every start of playing.
  bool StartPlaying() override { return StartPool(pool_, width, height); }
  void StopPlaying() override { pool_ = PoolState(); }

  void DrawFrame() override { PoolFrame(pool_, backupPixels, livePixels, stride); }

 private:
  PoolState pool_;
};

}  // namespace

}  // namespace quillo::qlo13

QUILLO_ANIMATION_EXPORT(ProcessPool, quillo::qlo13::PoolEffect)
