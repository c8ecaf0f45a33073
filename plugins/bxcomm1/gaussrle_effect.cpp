// Gaussian blur along columns and rows of the area, each direction switched
// by its own check box.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/gauss_blur.h"

namespace quillo {
namespace {

class GaussrleEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "GaussRLE"; }
  bool SharesRectangle() const override { return true; }

  void InitControls(HWND dialog) override {
    SetSlider(dialog, 501, 1, 1000, 60);
    SetLabelText(dialog, 701, "%.1f", radius_);
    CheckDlgButton(dialog, 601, BST_CHECKED);
    CheckDlgButton(dialog, 602, BST_CHECKED);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) std::snprintf(label, size, "%.1f", radius_ = position * 0.1);
  }

  void ReadOptions(HWND dialog) override {
    alongRows_ = Checked(dialog, 601);
    alongColumns_ = Checked(dialog, 602);
  }

  // The whole picture copied first; columns 0 .. 50 %, rows 50 .. 100 %.
  bool RunPass(const PixelPass& pass, bool withProgress) override {
    CopyPassSource(pass);
    const GaussCurve curve(radius_);
    if (alongColumns_ && !RunStage(pass.colBegin, pass.colEnd, 0, 50, 16, withProgress, [&](int a, int b) {
          BlurAreaColumns(pass, curve, a, b);
        }))
      return false;
    return !alongRows_ || RunStage(pass.rowBegin, pass.rowEnd, 50, 100, 16, withProgress,
                                   [&](int a, int b) { BlurAreaRows(pass, curve, a, b); });
  }

 private:
  double radius_ = 6.0;
  bool alongRows_ = true, alongColumns_ = true;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessGaussrle, quillo::GaussrleEffect)
