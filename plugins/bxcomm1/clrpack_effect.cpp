// Colour filters: a list of 112 named presets sharing six sliders. Choosing
// a preset moves the sliders to its defaults, enables the ones it reads and
// shows their captions; the preview follows every change.
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/colour_pack.h"

namespace quillo {
namespace {

constexpr int kPresetList = 1301;
constexpr int kFirstSlider = 501;
constexpr int kFirstValue = 701;
constexpr int kFirstCaption = 1501;
constexpr int kRowStep = 64;  // progress and stop checks before every 64th row

class ClrPackEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "ClrPack"; }

  void InitControls(HWND dialog) override {
    HWND list = GetDlgItem(dialog, kPresetList);
    const auto presets = ColourPresets();
    for (const ColourPreset& preset : presets) {
      const auto index = SendMessageA(list, LB_ADDSTRING, 0, LPARAM(preset.name));
      if (index >= 0) SendMessageA(list, LB_SETITEMDATA, WPARAM(index), LPARAM(&preset));
    }
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    for (int i = 0; i < kPresetSliderCount; ++i) SetSlider(dialog, kFirstSlider + i, 0, 255, 0);
    Select(dialog, presets.front());
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    sliders_.Set(id - kFirstSlider + 1, position);
    FormatInt(label, size, sliders_.P(id - kFirstSlider + 1));
  }

  void OtherCommand(HWND dialog, int id, int code, LPARAM) override {
    if (id != kPresetList || code != LBN_SELCHANGE) return;
    HWND list = GetDlgItem(dialog, kPresetList);
    const auto index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index < 0) return;
    const auto* preset =
        reinterpret_cast<const ColourPreset*>(SendMessageA(list, LB_GETITEMDATA, WPARAM(index), 0));
    if (preset == nullptr || preset == reinterpret_cast<const ColourPreset*>(LB_ERR)) return;
    Select(dialog, *preset);
    ParameterChanged();
  }

  bool RunPass(const PixelPass& pass, bool withProgress) override {
    kernel_.Prepare(*preset_, sliders_);
    return RunStage(pass.rowBegin, pass.rowEnd, 0, 100, kRowStep, withProgress,
                    [&](int begin, int end) { kernel_.Run(pass, begin, end); });
  }

 private:
  void Select(HWND dialog, const ColourPreset& preset) {
    preset_ = &preset;
    sliders_ = PresetSliders(preset.defaults);
    for (int i = 0; i < kPresetSliderCount; ++i) {
      const bool used = i < preset.paramCount;
      HWND slider = GetDlgItem(dialog, kFirstSlider + i);
      if (slider) SendMessageA(slider, SL_SETPOS, WPARAM(sliders_.P(i + 1)), 1);
      SetLabelInt(dialog, kFirstValue + i, sliders_.P(i + 1));
      SetDlgItemTextA(dialog, kFirstCaption + i, preset.labels[size_t(i)]);
      for (int control : {kFirstSlider + i, kFirstValue + i, kFirstCaption + i})
        if (HWND item = GetDlgItem(dialog, control)) EnableWindow(item, used);
    }
  }

  const ColourPreset* preset_ = &ColourPresets().front();
  PresetSliders sliders_;
  ColourPackKernel kernel_;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessClrPack, quillo::ClrPackEffect)
