// Colour balance: three sliders push blue, green and red through the three
// tonal stages; the tonal-range buttons only show the same three values again.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/balance.h"

namespace quillo {
namespace {

class BalanceEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "Balance"; }
  bool BeepsOnStop() const override { return true; }

  void InitControls(HWND dialog) override {
    for (int i = 0; i < 3; ++i) {
      SetSlider(dialog, 501 + i, -100, 100, 0);
      SetLabelInt(dialog, 701 + i, 0);
    }
    CheckRadioButton(dialog, 801, 803, 801);
    CheckDlgButton(dialog, 601, BST_UNCHECKED);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id < 501 || id > 503) return;
    values_[id - 501] = position;
    FormatInt(label, size, position);
  }

  void ButtonClicked(HWND dialog, int id) override {
    if (id < 801 || id > 803) return;
    settings_.tonalRange = id - 801;
    for (int i = 0; i < 3; ++i) SendDlgItemMessageA(dialog, 501 + i, SL_SETPOS, values_[i], 1);
  }

  void ReadOptions(HWND dialog) override { settings_.preserveLightness = Checked(dialog, 601); }

  void PreparePass(const PixelPass&) override {
    for (int i = 0; i < 3; ++i) settings_.value[i] = values_[i];
    kernel_.Prepare(settings_);
  }

  void ProcessRows(const PixelPass& pass, int rowBegin, int rowEnd) override {
    kernel_.Run(pass, rowBegin, rowEnd);
  }

 private:
  int values_[3] = {0, 0, 0};
  BalanceSettings settings_;
  BalanceKernel kernel_;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessBalance, quillo::BalanceEffect)
