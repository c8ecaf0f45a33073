#include "resize_session.h"

#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/plugin_contract.h"
#include "dialog_controls.h"
#include "zoom_presets.h"

namespace quillo {

namespace {

constexpr int kPresetBox = 1101;
constexpr int kLargestSide = 16383;

}  // namespace

void ResizeSession::InitControls(HWND dialog) {
  newWidth = width;
  newHeight = height;
  ShowSize(dialog);
  HWND box = GetDlgItem(dialog, kPresetBox);
  for (const ZoomPreset& p : ZoomPresets()) SendMessageA(box, CB_ADDSTRING, 0, LPARAM(p.label));
  CheckRadioButton(dialog, 461, 474, 461);
  // Nothing to accept until a picture of the new size was made.
  EnableWindow(GetDlgItem(dialog, IDC_EFFECT_OK), FALSE);
}

void ResizeSession::SliderChanged(int id, int position, char* label, size_t size) {
  if (id == 501) FormatInt(label, size, newWidth = position);
  if (id == 502) FormatInt(label, size, newHeight = position);
}

void ResizeSession::OtherCommand(HWND dialog, int id, int code, LPARAM) {
  if (id != kPresetBox || code != CBN_SELCHANGE) return;
  const LRESULT index = SendDlgItemMessageA(dialog, kPresetBox, CB_GETCURSEL, 0, 0);
  const auto presets = ZoomPresets();
  if (index < 0 || size_t(index) >= presets.size()) return;
  const ZoomPreset& p = presets[size_t(index)];
  if (!ZoomPresetSize(newWidth, newHeight, p.n, p.divide, &newWidth, &newHeight)) {
    MessageBeep(0);
    return;
  }
  ShowSize(dialog);
}

bool ResizeSession::RunPass(const PixelPass& pass, bool withProgress) {
  if (newWidth < 1 || newHeight < 1) return true;
  HGLOBAL picture = CreateDIB(newWidth, newHeight, 24);
  BYTE* mask = picture && originalMask ? AllocAlpha(picture) : nullptr;
  auto* dib = picture ? static_cast<char*>(GlobalLock(picture)) : nullptr;
  bool outOfMemory = !dib || (originalMask && !mask);
  bool finished = !outOfMemory;
  if (finished) {
    const ResizeTarget target{reinterpret_cast<uint8_t*>(FindDIBBits(dib)), newWidth, newHeight,
                              int64_t(Stride24(newWidth))};
    finished = ResizePicture(pass.source, target, withProgress, outOfMemory);
    if (finished && mask) {
      finished = ResizeMask(originalMask, {mask, newWidth, newHeight, newWidth});
      outOfMemory = !finished;
    }
  }
  if (dib) GlobalUnlock(picture);
  if (!finished) {
    // Stopped or out of memory: the picture keeps its size.
    if (mask) FreeAlpha(mask);
    if (picture) DestroyDIB(picture);
    if (outOfMemory) MessageBeep(0);
    return outOfMemory;  // a stop reports itself (and beeps); memory has beeped already
  }
  ReplacePicture(picture, mask);
  EnableWindow(GetDlgItem(dialogWindow, IDC_EFFECT_OK), TRUE);
  return true;
}

void ResizeSession::ShowSize(HWND dialog) {
  SetSlider(dialog, 501, SmallestSide(), kLargestSide, newWidth);
  SetSlider(dialog, 502, SmallestSide(), kLargestSide, newHeight);
  SetLabelInt(dialog, 701, newWidth);
  SetLabelInt(dialog, 702, newHeight);
}

}  // namespace quillo
