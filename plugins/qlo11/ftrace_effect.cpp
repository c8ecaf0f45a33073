// FTrace: the picture folded through a fractal map and scrolled under it at
// the speed the cursor asks for (half the tunnel's). A change of the window
// or the step count rebuilds the map before the next frame; the screen
// saver's every 30th tick swaps the texture between the plain picture and
// its seamless version.
#include <algorithm>
#include <cstring>
#include <vector>

#include "plugins/animation/animation_run.h"
#include "plugins/qlo11/kernels/ftrace.h"

namespace quillo::qlo11 {

namespace {

constexpr int kWidthSlider = 501, kHeightSlider = 502, kStepSlider = 503, kSeamlessBox = 601;
constexpr int kTicksPerScene = 30;
constexpr int kSpeedFactor = 10;

// Which texture the next 30th tick builds: shared by every run of the
// module, starting with the plain copy.
bool nextTickSeamless = false;

class FTraceEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "FTrace"; }
  bool ResetsViewTool() const override { return true; }
  bool SharesRectangle() const override { return true; }
  animation::StartCapture CaptureOnStart() const override { return animation::StartCapture::kCancelButton; }
  bool ShowsPlayingHint() const override { return true; }
  bool SizeWorkable(int w, int h) const override {
    return w > 0 && h > 0 && w <= kFTraceMaxSide && h <= kFTraceMaxSide;
  }

  // The map lives as long as the dialog: no memory for it refuses the run.
  bool Setup() override {
    // Counted in 64 bits: a 32-bit build must not wrap the map's size.
    if (uint64_t(width) * uint64_t(height) > map_.max_size()) return false;
    return animation::TryResize(texture_, size_t(stride) * size_t(height)) &&
           animation::TryResize(map_, size_t(width) * size_t(height));
  }

  void InitControls(HWND) override {
    ShowSlider(kWidthSlider, kFTraceMinSpan, kFTraceMaxSpan, xr_, "%.2f", xr_ * 0.1);
    ShowSlider(kHeightSlider, kFTraceMinSpan, kFTraceMaxSpan, yr_, "%.2f", yr_ * 0.1);
    ShowSlider(kStepSlider, kFTraceMinSteps, kFTraceMaxSteps, steps_, "%d", steps_);
    Check(kSeamlessBox, true);
    CopyBackupInto(texture_.data(), true);
    std::memset(livePixels, 0, size_t(stride) * size_t(height));
  }

  bool StartPlaying() override {
    offsetX_ = offsetY_ = 0;
    speed_ = {};
    BuildMap();
    return true;
  }

  void DrawFrame() override {
    if (rebuild_) {
      // The wait cursor and the held mouse while the map is made.
      HWND cancel = GetDlgItem(dialogWindow, IDC_EFFECT_CANCEL);
      SetCapture(cancel ? cancel : dialogWindow);
      HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
      BuildMap();
      SetCursor(previous);
      ReleaseCapture();
    }
    offsetX_ = animation::ReduceInto(offsetX_ + speed_.x, width);
    offsetY_ = animation::ReduceInto(offsetY_ + speed_.y, height);
    DrawTracedFrame(texture_.data(), livePixels, width, height, stride, map_.data(), offsetX_, offsetY_);
    speed_ = CursorSpeed(kSpeedFactor);
  }

  void Command(int id, int, LPARAM) override {
    if (id == kSeamlessBox) {
      CopyBackupInto(texture_.data(), Checked(kSeamlessBox));
      return;
    }
    if (id < kWidthSlider || id > kStepSlider) return;
    const int v = SliderPosition(id);
    if (id == kWidthSlider) {
      xr_ = std::clamp(v, kFTraceMinSpan, kFTraceMaxSpan);
      SetLabel(id + 200, "%.2f", xr_ * 0.1);
    } else if (id == kHeightSlider) {
      yr_ = std::clamp(v, kFTraceMinSpan, kFTraceMaxSpan);
      SetLabel(id + 200, "%.2f", yr_ * 0.1);
    } else {
      steps_ = std::clamp(v, kFTraceMinSteps, kFTraceMaxSteps);
      SetLabel(id + 200, "%d", steps_);
    }
    rebuild_ = true;
  }

  bool Tick(int count) override {
    if (count % kTicksPerScene != 0) return true;
    const bool seamless = nextTickSeamless;
    nextTickSeamless = !nextTickSeamless;
    Check(kSeamlessBox, seamless);
    CopyBackupInto(texture_.data(), seamless);
    return true;
  }

 private:
  void ShowSlider(int id, int low, int high, int value, const char* format, double shown) {
    SetSlider(id, low, high, value);
    SetLabel(id + 200, format, shown);
  }
  void BuildMap() {
    BuildFTraceMap(width, height, xr_ * 0.1, yr_ * 0.1, steps_, map_.data());
    rebuild_ = false;
  }

  std::vector<uint8_t> texture_;
  std::vector<animation::MapEntry> map_;
  int xr_ = kFTraceDefaultSpan, yr_ = kFTraceDefaultSpan, steps_ = kFTraceDefaultSteps;
  bool rebuild_ = false;
  int64_t offsetX_ = 0, offsetY_ = 0;
  animation::Speed speed_;
};

}  // namespace

}  // namespace quillo::qlo11

QUILLO_ANIMATION_EXPORT(ProcessFTrace, quillo::qlo11::FTraceEffect)
