// Tex: the picture as a textured box tumbling on black. The run works on a
// 640 x 480 copy of the picture (a picture taller than wide is turned a
// quarter turn first); OK keeps the last frame, Cancel gives back the
// untouched 640 x 480 copy. The mode buttons switch between the whole box
// and its front face on the next frame; the slider's position only shows
// in its label, and a user's move of it while idle starts playing.
#include <cstring>

#include "plugins/animation/animation_run.h"
#include "plugins/qlo16/kernels/tex_box.h"

namespace quillo::qlo16 {

namespace {

constexpr int kSlider = 501, kSliderLabel = 701;
constexpr int kWholeBox = 801, kFrontOnly = 802;
constexpr int kSliderLow = 1, kSliderHigh = 500, kSliderStart = 10;

class TexEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Tex"; }
  animation::StartCapture CaptureOnStart() const override { return animation::StartCapture::kCancelButton; }
  bool ShowsPlayingHint() const override { return true; }
  // The host hears of the run's end only when it was cancelled.
  bool NotifiesWhenPlayingStops() const override { return false; }
  PictureShape WorkingShape(int width, int height) const override {
    return {kTexWidth, kTexHeight, width < height};
  }

  bool Setup() override {
    faces_ = TexFaces(width, height);
    return PrepareTexCanvas(canvas_, width, height, stride);
  }

  void InitControls(HWND) override {
    SetSlider(kSlider, kSliderLow, kSliderHigh, kSliderStart);
    SetLabel(kSliderLabel, "%d", kSliderStart);
    Check(kWholeBox, true);
    Check(kFrontOnly, false);
  }

  bool StartPlaying() override {
    t_ = 0;
    std::memset(livePixels, 0, size_t(stride) * size_t(height));
    return true;
  }

  void DrawFrame() override {
    TexFrame(canvas_, faces_, t_, frontOnly_, backupPixels, livePixels);
    t_ = (t_ + 1) % kTexFrameCycle;
    // A picture that came at 640 x 480 was not replaced, so the kit does
    // not lay the view out after the first frame: the box does.
    if (framesDrawn == 0 && !pictureReplaced && call.viewWindow)
      SendMessageA(call.viewWindow, VM_RELAYOUT, 0, 0);
  }

  void Command(int id, int, LPARAM lParam) override {
    if (id == kWholeBox || id == kFrontOnly) {
      frontOnly_ = !Checked(kWholeBox);
      return;
    }
    if (id != kSlider || playing) return;
    SetLabel(kSliderLabel, "%d", SliderPosition(kSlider));
    if (lParam == 0) Play();
  }

 private:
  TexCanvas canvas_;
  std::array<TexFacePlacement, kTexFaceCount> faces_;
  int t_ = 0;
  bool frontOnly_ = false;
};

}  // namespace

}  // namespace quillo::qlo16

QUILLO_ANIMATION_EXPORT(ProcessTex, quillo::qlo16::TexEffect)
