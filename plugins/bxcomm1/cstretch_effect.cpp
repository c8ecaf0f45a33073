// Contrast stretch on the live picture: it runs as soon as the dialog opens,
// whenever another method is chosen and on the apply button.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/contrast_stretch.h"

namespace quillo {
namespace {

class CStretchEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "CStretch"; }
  bool HasPreview() const override { return false; }
  bool ApplyIsStoppable() const override { return false; }
  bool SharesRectangle() const override { return true; }

  void InitControls(HWND dialog) override {
    CheckRadioButton(dialog, 801, 803, 801);
    PostMessageA(dialog, WM_COMMAND, IDC_EFFECT_APPLY, 0);
  }

  void ButtonClicked(HWND dialog, int id) override {
    if (id >= 801 && id <= 803 && Checked(dialog, id)) method_ = StretchMethod(id);
  }

  void ParameterChanged() override { RunApplyPass(); }

  // Measuring 0 .. 50 %, writing 50 .. 100 %; no stop.
  bool RunPass(const PixelPass& pass, bool) override {
    ContrastStretch stretch(method_);
    Checkpoint(0);
    stretch.Measure(pass);
    Checkpoint(50);
    stretch.Write(pass);
    Checkpoint(100);
    return true;
  }

 private:
  StretchMethod method_ = StretchMethod::kSaturationValue;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessCStretch, quillo::CStretchEffect)
