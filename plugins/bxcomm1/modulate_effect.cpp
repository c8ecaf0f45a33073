// Hue, saturation and lightness shifts.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/modulate.h"

namespace quillo {
namespace {

class ModulateEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "Modulate"; }
  bool SharesRectangle() const override { return true; }

  void InitControls(HWND dialog) override {
    for (int i = 0; i < 3; ++i) {
      SetSlider(dialog, 501 + i, -255, 255, 0);
      SetLabelInt(dialog, 701 + i, 0);
    }
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) settings_.hue = position;
    if (id == 502) settings_.saturation = position;
    if (id == 503) settings_.lightness = position;
    if (id >= 501 && id <= 503) FormatInt(label, size, position);
  }

  void PreparePass(const PixelPass&) override { kernel_.Prepare(settings_); }

  void ProcessRows(const PixelPass& pass, int rowBegin, int rowEnd) override {
    kernel_.Run(pass, rowBegin, rowEnd);
  }

 private:
  ModulateSettings settings_;
  ModulateKernel kernel_;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessModulate, quillo::ModulateEffect)
