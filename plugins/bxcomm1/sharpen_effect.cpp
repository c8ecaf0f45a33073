// Sharpen: a vertical three-row kernel whose strength sets the centre weight.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/sharpen.h"

namespace quillo {
namespace {

class SharpenEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "Sharpen"; }
  bool SharesRectangle() const override { return true; }

  void InitControls(HWND dialog) override {
    SetSlider(dialog, 501, 1, 100, strength_);
    SetLabelInt(dialog, 701, strength_);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) FormatInt(label, size, strength_ = position);
  }

  void ProcessRows(const PixelPass& pass, int rowBegin, int rowEnd) override {
    RunSharpen(pass, strength_, rowBegin, rowEnd);
  }

 private:
  int strength_ = 50;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessSharpen, quillo::SharpenEffect)
