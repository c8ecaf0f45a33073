// Despeckle: hulling on each channel of the live picture when the apply
// button is pressed; a stop is heard between channels.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/hulling.h"

namespace quillo {
namespace {

class DespeckleEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "NoParam"; }
  bool HasPreview() const override { return false; }

  void InitControls(HWND dialog) override {
    SetSlider(dialog, 501, 1, 10, 3);
    SetLabelInt(dialog, 701, 3);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) FormatInt(label, size, position);
  }

  // Nothing happens until the apply button is pressed.
  void ParameterChanged() override {}

  bool RunPass(const PixelPass& pass, bool withProgress) override {
    DespeckleGrids grids;
    if (!grids.Load(pass)) {
      MessageBeep(0);
      return false;
    }
    static constexpr int kProgress[4] = {2, 40, 70, 99};
    for (int channel = 0; channel < 3; ++channel) {
      if (withProgress && !Checkpoint(kProgress[channel])) return false;
      grids.Run(channel);
    }
    if (withProgress) Checkpoint(kProgress[3]);
    grids.Store(pass);
    return true;
  }
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessDespeckle2, quillo::DespeckleEffect)
