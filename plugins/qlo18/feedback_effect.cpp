// Magic: the feedback visual. Curves and lines glow through a palette over
// the picture and swirl away through the warp fields; the glow slider sets
// the palette's lightness from the next frame on. Pictures below 50 x 50
// are refused; a picture too large for the warp fields beeps at Play and
// stays as it is.
#include "plugins/qlo18/kernels/feedback.h"
#include "plugins/qlo18/play_session.h"

namespace quillo::qlo18 {

namespace {

constexpr int kGlowSlider = 501;

class FeedbackEffect : public PlaySession {
 public:
  const char* TemplateName() const override { return "Magic"; }
  bool ResetsViewTool() const override { return true; }
  bool SharesRectangle() const override { return true; }
  bool SizeWorkable(int w, int h) const override { return w >= kFeedbackMinSide && h >= kFeedbackMinSide; }

  void InitControls(HWND) override {
    ShowSlider(kGlowSlider, kGlowMinSlider, kGlowMaxSlider, feedback_.glow, "%.2f", feedback_.glow * 0.01);
  }

  bool StartPlaying() override { return StartFeedback(feedback_, width, height, SeedForPlay()); }

  void DrawFrame() override {
    FeedbackFrame(feedback_, backupPixels, livePixels, width, height, stride, animation::ModuleRandom());
  }

  void Command(int id, int, LPARAM) override {
    if (id != kGlowSlider) return;
    SetFeedbackGlow(feedback_, SliderPosition(id));
    SetLabel(id + 200, "%.2f", feedback_.glow * 0.01);
  }

  void AfterClose() override { StopFeedback(feedback_); }

 private:
  FeedbackState feedback_;
};

}  // namespace

}  // namespace quillo::qlo18

QUILLO_ANIMATION_EXPORT(ProcessMagic, quillo::qlo18::FeedbackEffect)
