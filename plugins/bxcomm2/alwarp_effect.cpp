// The drag warp: the user presses the left button on the picture in the
// view, drags, and lets go; what lay under the press is pulled to where the
// button came up, the picture around it stretching along. One drag can be
// undone (button 325), and the picture as it was when the dialog opened
// can be brought back (button 313).
#include <cstring>
#include <new>
#include <vector>

#include "contracts/plugin_contract.h"
#include "effect_run.h"
#include "kernels/drag_warp.h"
#include "mask_copy.h"

namespace quillo::bxcomm2 {
namespace {

constexpr int kRestoreButton = 313, kUndoButton = 325;

class DragWarpEffect : public EffectSession {
 public:
  const char* TemplateName() const override { return "ALWarp"; }
  bool HasPreview() const override { return false; }

  void Setup() override {
    try {
      undo_.resize(size_t(stride) * size_t(height));
      ready_ = startMask_.Take(maskAddress, width, height);
      if (ready_) undoMask_ = startMask_.bytes();
    } catch (const std::bad_alloc&) {
      ready_ = false;
    }
  }

  void InitControls(HWND dialog) override {
    if (!ready_) {
      MessageBeep(0);
      PostMessageA(dialog, WM_COMMAND, IDC_EFFECT_CANCEL, 0);
      return;
    }
    EnableWindow(GetDlgItem(dialog, kUndoButton), FALSE);
    EnableWindow(GetDlgItem(dialog, kRestoreButton), FALSE);
  }

  void ParameterChanged() override {}

  void ViewMouse(int code, int x, int y) override {
    if (!ready_) return;
    const bool inside = x >= 0 && y >= 0 && x < width && y < height;
    const DragPoint point{x, height - y - 1};  // memory rows run bottom-up
    if (code == TOOL_LBUTTON_DOWN && inside) {
      dragging_ = true;
      start_ = end_ = point;
      if (viewWindow) {
        SetCapture(viewWindow);
        ConfineCursorToPicture();
      }
    } else if (code == TOOL_MOUSE_MOVE && dragging_ && inside) {
      end_ = point;
    } else if (code == TOOL_LBUTTON_UP && dragging_) {
      dragging_ = false;
      if (inside) end_ = point;
      Warp();
      ClipCursor(nullptr);
      ReleaseCapture();
      Repaint();
    }
  }

  void OtherCommand(HWND dialog, int id, int code, LPARAM) override {
    if (code != BN_CLICKED || !ready_) return;
    if (id == kUndoButton) {
      std::memcpy(liveBits, undo_.data(), undo_.size());
      if (!undoMask_.empty()) std::memcpy(*maskAddress, undoMask_.data(), undoMask_.size());
      EnableWindow(GetDlgItem(dialog, kUndoButton), FALSE);
    } else if (id == kRestoreButton) {
      std::memcpy(liveBits, backupBits, undo_.size());
      startMask_.PutBack(maskAddress);
    } else {
      return;
    }
    Repaint();
  }

  // Cancelled: the picture came back from the backup; the mask comes back
  // from its copy.
  void AfterClose() override {
    if (!accepted) startMask_.PutBack(maskAddress);
  }

 private:
  void Warp() {
    if (DragWarpSide(start_, end_) == 0) return;
    std::memcpy(undo_.data(), liveBits, undo_.size());
    BYTE* mask = maskAddress ? *maskAddress : nullptr;
    if (mask && !undoMask_.empty()) std::memcpy(undoMask_.data(), mask, undoMask_.size());
    const bool withMask = mask && !undoMask_.empty();
    DragWarp({undo_.data(), liveBits, width, height, stride, withMask ? undoMask_.data() : nullptr,
              withMask ? mask : nullptr},
             start_, end_);
    EnableWindow(GetDlgItem(dialogWindow, kUndoButton), TRUE);
    EnableWindow(GetDlgItem(dialogWindow, kRestoreButton), TRUE);
  }

  // Keeps the cursor over the picture while the button is down.
  void ConfineCursorToPicture() {
    RECT picture = {0, 0, width, height};
    auto* onScreen = reinterpret_cast<RECT*>(SendMessageA(viewWindow, VM_MAP_RECT, 0, LPARAM(&picture)));
    if (!onScreen) return;
    RECT confine = *onScreen;
    MapWindowPoints(viewWindow, nullptr, reinterpret_cast<POINT*>(&confine), 2);
    ClipCursor(&confine);
  }

  void Repaint() {
    if (!viewWindow) return;
    SendMessageA(viewWindow, VM_REDRAW, 0, 0);
    InvalidateRect(viewWindow, nullptr, FALSE);
  }

  std::vector<uint8_t> undo_, undoMask_;
  MaskCopy startMask_;
  bool ready_ = false, dragging_ = false;
  DragPoint start_, end_;
};

}  // namespace
}  // namespace quillo::bxcomm2

QUILLO_EFFECT_EXPORT(ProcessALWarp, quillo::bxcomm2::DragWarpEffect)
