// Shear: the picture slanted horizontally by the angle of slider 502 and
// vertically by that of slider 503 (-179 .. 179 degrees each) on a canvas of
// the background colour, cut to the slanted picture's box.
#include "canvas_effect.h"
#include "dialog_controls.h"
#include "effect_run.h"

namespace quillo::bxcomm2 {
namespace {

class ShearEffect : public CanvasEffect {
 public:
  const char* TemplateName() const override { return "Shear"; }

  void InitControls(HWND dialog) override {
    CanvasEffect::InitControls(dialog);
    for (int id : {502, 503}) {
      SetSlider(dialog, id, -179, 179, 45);
      SetLabelInt(dialog, id + 200, 45);
    }
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 502) FormatInt(label, size, horizontal_ = position);
    if (id == 503) FormatInt(label, size, vertical_ = position);
  }

 protected:
  std::optional<Picture> Transform(const Picture& in, Background background, const Progress& progress) override {
    return ShearPicture(in, horizontal_, vertical_, background, progress);
  }

 private:
  int horizontal_ = 45, vertical_ = 45;
};

}  // namespace
}  // namespace quillo::bxcomm2

QUILLO_EFFECT_EXPORT(ProcessShear, quillo::bxcomm2::ShearEffect)
