// Zoom: the picture resized to the width and height of the two sliders (or
// a preset's multiple of the current size) by bilinear sampling. Each apply
// makes a new picture, which the caller sees at once; OK keeps the last
// one, Cancel brings back the picture passed in.
#include <iterator>

#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/bilinear_zoom.h"

namespace quillo {
namespace {

constexpr int kPresetBox = 1101;
struct Preset {
  const char* label;
  int n;
  bool divide;
};
constexpr Preset kPresets[] = {
    {"By 1/2", 2, true},  {"By 1/3", 3, true},  {"By 1/4", 4, true},   {"By 1/5", 5, true},
    {"By 1/8", 8, true},  {"By 1/10", 10, true}, {"By 1/16", 16, true}, {"By 1", 1, false},
    {"By 2", 2, false},   {"By 3", 3, false},   {"By 4", 4, false},    {"By 5", 5, false},
    {"By 8", 8, false},   {"By 10", 10, false}, {"By 16", 16, false}};

class ZoomEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "Zoom"; }
  bool HasPreview() const override { return false; }
  bool BeepsOnStop() const override { return true; }
  bool SharesRectangle() const override { return true; }
  bool ChangesSize() const override { return true; }
  bool ResetsViewTool() const override { return true; }

  void InitControls(HWND dialog) override {
    newWidth_ = width;
    newHeight_ = height;
    ShowSize(dialog);
    HWND box = GetDlgItem(dialog, kPresetBox);
    for (const Preset& p : kPresets) SendMessageA(box, CB_ADDSTRING, 0, LPARAM(p.label));
    CheckRadioButton(dialog, 461, 461, 461);
    // Nothing to accept until a picture of the new size was made.
    EnableWindow(GetDlgItem(dialog, IDC_EFFECT_OK), FALSE);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) FormatInt(label, size, newWidth_ = position);
    if (id == 502) FormatInt(label, size, newHeight_ = position);
  }

  void ParameterChanged() override {}

  void OtherCommand(HWND dialog, int id, int code, LPARAM) override {
    if (id != kPresetBox || code != CBN_SELCHANGE) return;
    const LRESULT index = SendDlgItemMessageA(dialog, kPresetBox, CB_GETCURSEL, 0, 0);
    if (index < 0 || index >= LRESULT(std::size(kPresets))) return;
    const Preset& p = kPresets[index];
    if (!ZoomPresetSize(newWidth_, newHeight_, p.n, p.divide, &newWidth_, &newHeight_)) {
      MessageBeep(0);
      return;
    }
    ShowSize(dialog);
  }

  bool RunPass(const PixelPass& pass, bool withProgress) override {
    HGLOBAL picture = CreateDIB(newWidth_, newHeight_, 24);
    BYTE* mask = picture && originalMask ? AllocAlpha(picture) : nullptr;
    auto* dib = picture ? static_cast<char*>(GlobalLock(picture)) : nullptr;
    if (!dib || (originalMask && !mask)) {
      // Out of memory: the picture keeps its size.
      if (dib) GlobalUnlock(picture);
      if (mask) FreeAlpha(mask);
      if (picture) DestroyDIB(picture);
      MessageBeep(0);
      return true;
    }
    const ByteImage source{pass.source, width, height, stride, 3};
    const ByteTarget target{reinterpret_cast<uint8_t*>(FindDIBBits(dib)), newWidth_, newHeight_,
                            int64_t(Stride24(newWidth_))};
    for (int row = 0; row < newHeight_; row += 16) {
      if (withProgress && !Checkpoint(int(int64_t(row) * 100 / newHeight_))) {
        GlobalUnlock(picture);
        if (mask) FreeAlpha(mask);
        DestroyDIB(picture);
        return false;
      }
      BilinearZoomRows(source, target, row, row + 16);
    }
    GlobalUnlock(picture);
    if (mask)
      BilinearZoomRows({originalMask, width, height, width, 1}, {mask, newWidth_, newHeight_, newWidth_},
                       0, newHeight_);
    ReplacePicture(picture, mask);
    EnableWindow(GetDlgItem(dialogWindow, IDC_EFFECT_OK), TRUE);
    return true;
  }

 private:
  void ShowSize(HWND dialog) {
    SetSlider(dialog, 501, 2, 16383, newWidth_);
    SetSlider(dialog, 502, 2, 16383, newHeight_);
    SetLabelInt(dialog, 701, newWidth_);
    SetLabelInt(dialog, 702, newHeight_);
  }

  int newWidth_ = 0, newHeight_ = 0;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessZoom, quillo::ZoomEffect)
