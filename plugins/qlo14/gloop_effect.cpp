// Gloop: the picture turned to jelly. Moving the mouse over the view pokes
// it there; left alone for a few seconds it pokes itself at a wandering
// point. Frames are drawn from the kit's backup into the caller's picture.
#include <algorithm>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"
#include "plugins/qlo14/kernels/gloop.h"

namespace quillo::qlo14 {

namespace {

constexpr int kCellSlider = 501;
constexpr UINT_PTR kIdleTimer = 12345;
constexpr UINT kIdleTimerPeriod = 1000;  // ms: one idle second a tick

class GloopEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Gloop"; }
  const char* ViewCursorName() const override { return "Hand"; }
  bool ResetsViewTool() const override { return true; }
  int FramePause() const override { return 30; }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    double v[kGloopFieldCount];
    if (animation::ReadParamBlob(data, size, kGloopBlobMagic, kGloopBlobFields, kGloopFieldCount, v))
      cell_ = int(v[0]);
  }

  std::vector<uint8_t> SettingsBlock() const override {
    const double v[kGloopFieldCount] = {double(cell_)};
    return animation::WriteParamBlob(kGloopBlobMagic, kGloopBlobFields, kGloopFieldCount, v);
  }

  void InitControls(HWND) override {
    SetSlider(kCellSlider, kGloopMinCell, kGloopMaxCell, cell_);
    SetLabel(kCellSlider + 200, "%d", cell_);
  }

  // The grid is laid anew, and the idle count starts again, at every play.
  bool StartPlaying() override {
    if (!StartGloop(gloop_, width, height, cell_)) return false;
    SetTimer(dialogWindow, kIdleTimer, kIdleTimerPeriod, nullptr);
    return true;
  }

  void StopPlaying() override {
    if (dialogWindow) KillTimer(dialogWindow, kIdleTimer);
    gloop_ = GloopState();
    // The view shows the frame playing stopped at.
    if (call.viewWindow) SendMessageA(call.viewWindow, VM_REDRAW, 0, 0);
  }

  void DrawFrame() override {
    GloopFrame(gloop_, backupPixels, livePixels, stride, animation::ModuleRandom());
  }

  void Command(int id, int, LPARAM) override {
    if (id != kCellSlider) return;
    cell_ = std::clamp(SliderPosition(id), kGloopMinCell, kGloopMaxCell);
    if (playing) SetGloopCell(gloop_, cell_);
    SetLabel(id + 200, "%d", cell_);
  }

  void ViewMouse(int code, int x, int y) override {
    if (code == TOOL_MOUSE_MOVE && playing) GloopMouse(gloop_, x, y);
  }

  bool Message(UINT message, WPARAM wParam, LPARAM, INT_PTR* result) override {
    if (message != WM_TIMER || wParam != kIdleTimer) return false;
    if (playing) GloopSecond(gloop_);
    *result = 0;
    return true;
  }

 private:
  int cell_ = kGloopDefaultCell;
  GloopState gloop_;
};

}  // namespace

}  // namespace quillo::qlo14

QUILLO_ANIMATION_EXPORT(ProcessGloop, quillo::qlo14::GloopEffect)
