// Gamma curve, for all channels together (master) or each on its own.
// The apply pass is short (a table per channel) and runs without progress.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/gamma.h"

namespace quillo {
namespace {

constexpr int kPerChannelRadio = 801;
constexpr int kMasterRadio = 802;
constexpr int kMasterSlider = 504;

class GammaEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "Gamma"; }
  bool SharesRectangle() const override { return true; }
  bool ApplyIsStoppable() const override { return false; }

  void InitControls(HWND dialog) override {
    SetSlider(dialog, kMasterSlider, 1, 1000, 100);
    SetLabelReal(dialog, kMasterSlider + 200, 1.0);
    for (int i = 0; i < 3; ++i) {
      SetSlider(dialog, 501 + i, 1, 200, 100);
      SetLabelReal(dialog, 701 + i, 1.0);
      CheckDlgButton(dialog, 601 + i, BST_CHECKED);
    }
    CheckRadioButton(dialog, kPerChannelRadio, kMasterRadio, kMasterRadio);
    EnableModeControls(dialog, false);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == kMasterSlider) {
      settings_.master = position;
      FormatReal(label, size, GammaMasterExponent(position));
    } else if (id >= 501 && id <= 503) {
      int* channel[3] = {&settings_.red, &settings_.green, &settings_.blue};
      *channel[id - 501] = position;
      FormatReal(label, size, GammaChannelExponent(position));
    }
  }

  void ButtonClicked(HWND dialog, int id) override {
    if (id == kPerChannelRadio || id == kMasterRadio)
      EnableModeControls(dialog, id == kPerChannelRadio);
  }

  void ReadOptions(HWND dialog) override {
    settings_.perChannel = Checked(dialog, kPerChannelRadio);
    settings_.redOn = Checked(dialog, 601);
    settings_.greenOn = Checked(dialog, 602);
    settings_.blueOn = Checked(dialog, 603);
  }

  void PreparePass(const PixelPass&) override { kernel_.Prepare(settings_); }

  void ProcessRows(const PixelPass& pass, int rowBegin, int rowEnd) override {
    kernel_.Run(pass, rowBegin, rowEnd);
  }

 private:
  // Master mode enables the master slider and its label; per-channel mode
  // the three channel sliders, their switches and labels.
  static void EnableModeControls(HWND dialog, bool perChannel) {
    EnableWindow(GetDlgItem(dialog, kMasterSlider), !perChannel);
    EnableWindow(GetDlgItem(dialog, kMasterSlider + 200), !perChannel);
    for (int i = 0; i < 3; ++i) {
      EnableWindow(GetDlgItem(dialog, 501 + i), perChannel);
      EnableWindow(GetDlgItem(dialog, 601 + i), perChannel);
      EnableWindow(GetDlgItem(dialog, 701 + i), perChannel);
    }
  }

  GammaSettings settings_;
  GammaKernel kernel_;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessGamma, quillo::GammaEffect)
