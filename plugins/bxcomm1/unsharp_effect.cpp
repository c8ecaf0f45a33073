// Unsharp mask: radius, amount and threshold; the area is blurred along
// rows, then columns, and each channel pushed away from its blur.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/unsharp.h"

namespace quillo {
namespace {

class UnsharpEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "Unsharp"; }
  bool BeepsOnStop() const override { return true; }

  void InitControls(HWND dialog) override {
    SetSlider(dialog, 501, 1, 500, 50);
    SetSlider(dialog, 502, 0, 1000, 5);
    SetSlider(dialog, 503, 0, 100, 0);
    SetLabelText(dialog, 701, "%.1f", radius_);
    SetLabelText(dialog, 702, "%.1f", amount_);
    SetLabelInt(dialog, 703, threshold_);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) std::snprintf(label, size, "%.1f", radius_ = position * 0.1);
    if (id == 502) std::snprintf(label, size, "%.1f", amount_ = position * 0.1);
    if (id == 503) FormatInt(label, size, threshold_ = position);
  }

  // Rows 0 .. 30 %, columns 30 .. 60 %, the sharpening 60 .. 100 %, with a
  // stop check before every row or column numbered a multiple of 16.
  bool RunPass(const PixelPass& pass, bool withProgress) override {
    const UnsharpKernel kernel(radius_);
    return RunStage(pass.rowBegin, pass.rowEnd, 0, 30, 16, withProgress,
                    [&](int a, int b) { kernel.BlurRows(pass, a, b); }) &&
           RunStage(pass.colBegin, pass.colEnd, 30, 60, 16, withProgress,
                    [&](int a, int b) { kernel.BlurColumns(pass, a, b); }) &&
           RunStage(pass.rowBegin, pass.rowEnd, 60, 100, 16, withProgress, [&](int a, int b) {
             UnsharpKernel::Combine(pass, amount_, threshold_, a, b);
           });
  }

 private:
  double radius_ = 5.0, amount_ = 0.5;
  int threshold_ = 0;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessUnsharp, quillo::UnsharpEffect)
