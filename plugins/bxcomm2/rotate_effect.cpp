// Rotate: the picture turned by the slider's angle (-360 .. 360 degrees,
// counter-clockwise) on a canvas of the background colour, cut to the
// turned picture's box.
#include "canvas_effect.h"
#include "dialog_controls.h"
#include "effect_run.h"

namespace quillo::bxcomm2 {
namespace {

class RotateEffect : public CanvasEffect {
 public:
  const char* TemplateName() const override { return "Rotate"; }

  void InitControls(HWND dialog) override {
    CanvasEffect::InitControls(dialog);
    SetSlider(dialog, 501, -360, 360, angle_);
    SetLabelInt(dialog, 701, angle_);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) FormatInt(label, size, angle_ = position);
  }

 protected:
  std::optional<Picture> Transform(const Picture& in, Background background, const Progress& progress) override {
    return RotatePicture(in, angle_, background, progress);
  }

 private:
  int angle_ = 45;
};

}  // namespace
}  // namespace quillo::bxcomm2

QUILLO_EFFECT_EXPORT(ProcessRotate, quillo::bxcomm2::RotateEffect)
