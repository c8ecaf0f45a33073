// Edge detection on the live picture: it runs as soon as the dialog opens
// and again at the end of every change of the divisor.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/edge_filter.h"

namespace quillo {
namespace {

class EdgeEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "Edge"; }
  bool HasPreview() const override { return false; }
  bool SharesRectangle() const override { return true; }

  void InitControls(HWND dialog) override {
    SetSlider(dialog, 501, 1, 50, divisor_);
    SetLabelInt(dialog, 701, divisor_);
    CheckRadioButton(dialog, 801, 801, 801);
    PostMessageA(dialog, WM_COMMAND, IDC_EFFECT_APPLY, 0);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) FormatInt(label, size, divisor_ = position);
  }

  void ParameterChanged() override { RunApplyPass(); }

  void ProcessRows(const PixelPass& pass, int rowBegin, int rowEnd) override {
    RunEdge(pass, divisor_, rowBegin, rowEnd);
  }

 private:
  int divisor_ = 6;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessEdge, quillo::EdgeEffect)
