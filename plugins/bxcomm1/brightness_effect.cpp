// Brightness and contrast: no preview and no apply button; every finished
// slider change or channel switch recomputes the live picture from the
// backup at once, so the user watches the host's view change.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/brightness_contrast.h"

namespace quillo {
namespace {

class BrightnessEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "Brightness"; }
  bool HasPreview() const override { return false; }

  void InitControls(HWND dialog) override {
    SetSlider(dialog, 501, -255, 255, 0);
    SetSlider(dialog, 502, -127, 127, 0);
    SetLabelInt(dialog, 701, 0);
    SetLabelInt(dialog, 702, 0);
    for (int id = 601; id <= 603; ++id) CheckDlgButton(dialog, id, BST_CHECKED);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) settings_.brightness = position;
    if (id == 502) settings_.contrast = position;
    if (id == 501 || id == 502) FormatInt(label, size, position);
  }

  void ReadOptions(HWND dialog) override {
    settings_.red = Checked(dialog, 601);
    settings_.green = Checked(dialog, 602);
    settings_.blue = Checked(dialog, 603);
  }

  void ParameterChanged() override { RunLivePass(); }

  void PreparePass(const PixelPass&) override { kernel_.Prepare(settings_); }

  void ProcessRows(const PixelPass& pass, int rowBegin, int rowEnd) override {
    kernel_.Run(pass, rowBegin, rowEnd);
  }

  void AfterClose() override {
    if (viewWindow) InvalidateRect(viewWindow, nullptr, FALSE);
  }

 private:
  BrightnessContrastSettings settings_;
  BrightnessContrastKernel kernel_;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessBrightnessContrast, quillo::BrightnessEffect)
