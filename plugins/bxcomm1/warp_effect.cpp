// The warp brush: the user pushes the picture around with the mouse in the
// view (grow, shrink, move, restore, twirl either way); each stroke is drawn
// into the live picture from the untouched backup, and the mask follows.
#include "contracts/plugin_contract.h"
#include "dialog_controls.h"
#include "effect_run.h"
#include "kernels/warp_brush.h"
#include "mask_copy.h"

namespace quillo {
namespace {

class WarpEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "Warp"; }
  const char* ViewCursorName() const override { return "Hand"; }
  bool HasPreview() const override { return false; }

  void Setup() override {
    // The mask as it came: the source of the warped mask, and what Cancel
    // puts back.
    ready_ = brush_.Start(width, height) && maskCopy_.Take(maskAddress, width, height);
  }

  void InitControls(HWND dialog) override {
    if (!ready_) {
      // No memory for the map: the run ends without changes.
      MessageBeep(0);
      PostMessageA(dialog, WM_COMMAND, IDC_EFFECT_CANCEL, 0);
      return;
    }
    SetSlider(dialog, 501, 1, 100, radius_);
    SetSlider(dialog, 502, 1, 100, 50);
    SetLabelInt(dialog, 701, radius_);
    SetLabelReal(dialog, 702, strength_);
    CheckRadioButton(dialog, 801, 806, 801);
  }

  void SliderChanged(int id, int position, char* label, size_t size) override {
    if (id == 501) FormatInt(label, size, radius_ = position);
    if (id == 502) FormatReal(label, size, strength_ = position * 0.01);
  }

  void ParameterChanged() override {}

  void ViewMouse(int code, int x, int y) override {
    if (!ready_) return;
    if (code == TOOL_LBUTTON_DOWN && x <= width && y <= height) {
      if (viewWindow) SetCapture(viewWindow);
      dragging_ = true;
      lastX_ = x, lastY_ = y;
    } else if (code == TOOL_MOUSE_MOVE && dragging_) {
      if (x < -radius_ || y < -radius_ || x > width + radius_ || y > height + radius_) return;
      WarpPicture picture{backupBits, liveBits, width, height, stride, maskCopy_.data(),
                          maskCopy_.empty() ? nullptr : *maskAddress};
      brush_.Stroke(Mode(), radius_, strength_, lastX_, lastY_, x, y, picture);
      lastX_ = x, lastY_ = y;
      if (!viewWindow) return;
      SendMessageA(viewWindow, VM_REDRAW, 0, 0);
      RECT square = {x - radius_, y - radius_, x + radius_, y + radius_};
      if (auto* onScreen = reinterpret_cast<RECT*>(SendMessageA(viewWindow, VM_MAP_RECT, 0, LPARAM(&square))))
        InvalidateRect(viewWindow, onScreen, FALSE);
    } else if (code == TOOL_LBUTTON_UP && dragging_) {
      dragging_ = false;
      ReleaseCapture();
    }
  }

  // Cancelled: the picture came back from the backup; the mask comes back
  // from its copy.
  void AfterClose() override {
    if (!accepted) maskCopy_.PutBack(maskAddress);
  }

 private:
  WarpMode Mode() const {
    for (int id = 801; id <= 806; ++id)
      if (Checked(dialogWindow, id)) return WarpMode(id);
    return WarpMode::kGrow;
  }

  WarpBrush brush_;
  MaskCopy maskCopy_;
  bool ready_ = false, dragging_ = false;
  int radius_ = 40, lastX_ = 0, lastY_ = 0;
  double strength_ = 0.5;
};

}  // namespace
}  // namespace quillo

QUILLO_EFFECT_EXPORT(ProcessWarp, quillo::WarpEffect)
