// Bleed: colours pulled toward grey or pushed away from it, per channel.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/bleed.h"

namespace quillo {
namespace {

class BleedEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "Bleed"; }

  void InitControls(HWND dialog) override {
    SetSlider(dialog, 501, -1090, 100, 50);
    SetLabelReal(dialog, 701, settings_.factor);
    for (int id = 601; id <= 603; ++id) CheckDlgButton(dialog, id, BST_CHECKED);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) FormatReal(label, size, settings_.factor = BleedFactor(position));
  }

  void ReadOptions(HWND dialog) override {
    settings_.red = Checked(dialog, 601);
    settings_.green = Checked(dialog, 602);
    settings_.blue = Checked(dialog, 603);
  }

  void ProcessRows(const PixelPass& pass, int rowBegin, int rowEnd) override {
    RunBleed(pass, settings_, rowBegin, rowEnd);
  }

 private:
  BleedSettings settings_{BleedFactor(50), true, true, true};
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessBleed, quillo::BleedEffect)
