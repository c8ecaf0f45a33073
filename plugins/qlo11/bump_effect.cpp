// Bump: a light wandering over the picture, lighting it as a relief. A
// mouse move over the view takes the light there; two seconds after the
// last move it wanders again. The host hears the notify message only when
// the dialog is cancelled.
#include "plugins/animation/animation_run.h"
#include "plugins/qlo11/kernels/bump.h"

namespace quillo::qlo11 {

namespace {

constexpr int kIdlePause = 100;  // ms between checks while the light waits for the mouse

class BumpEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Bump"; }
  bool ResetsViewTool() const override { return true; }
  bool NotifiesWhenPlayingStops() const override { return false; }
  int FramePause() const override { return waiting_ ? kIdlePause : 10; }

  bool StartPlaying() override {
    StartBump(bump_, width, height, GetTickCount());
    waiting_ = false;
    return true;
  }

  void DrawFrame() override {
    waiting_ = !BumpFrame(bump_, backupPixels, livePixels, width, height, stride, GetTickCount());
  }

  void ViewMouse(int code, int x, int y) override {
    if (code == TOOL_MOUSE_MOVE) BumpMouse(bump_, width, height, x, y, GetTickCount());
  }

 private:
  BumpState bump_;
  bool waiting_ = false;
};

}  // namespace

}  // namespace quillo::qlo11

QUILLO_ANIMATION_EXPORT(ProcessBump, quillo::qlo11::BumpEffect)
