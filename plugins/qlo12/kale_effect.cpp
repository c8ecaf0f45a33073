// The kaleidoscope: mirror segments around a centre the user clicks, the
// picture sliding under them at the speed the cursor asks for.
#include <algorithm>
#include <vector>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/kernels/texture_map.h"
#include "plugins/animation/module_random.h"
#include "plugins/qlo12/kernels/kale_blob.h"
#include "plugins/qlo12/kernels/kale_map.h"

namespace quillo::qlo12 {

namespace {

constexpr int kSegmentSlider = 503, kSegmentLabel = 703;
constexpr int kMirrorBox = 601;
constexpr int kTicksPerScene = 30;

class KaleEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Kale"; }
  const char* ViewCursorName() const override { return "Hit"; }
  bool SizeWorkable(int w, int h) const override { return KaleSizeWorkable(w, h); }

  // The map lives from the dialog's opening to its end.
  bool Setup() override {
    params_ = DefaultKaleParameters(width, height);
    return animation::TryResize(map_, size_t(width) * size_t(height)) && Rebuild();
  }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    if (ReadKaleBlob(data, size, width, height, params_)) Rebuild();
  }

  std::vector<uint8_t> SettingsBlock() const override {
    return WriteKaleBlob(params_, width, height);
  }

  void InitControls(HWND) override {
    SetSlider(kSegmentSlider, kKaleMinSegments, kKaleMaxSegments, params_.segments);
    SetLabel(kSegmentLabel, "%d", params_.segments);
    Check(kMirrorBox, params_.mirror != 0);
  }

  bool StartPlaying() override {
    offsetX_ = offsetY_ = 0;
    speed_ = {};
    return true;
  }

  void DrawFrame() override {
    offsetX_ = animation::ReduceInto(offsetX_ + speed_.x, width);
    offsetY_ = animation::ReduceInto(offsetY_ + speed_.y, height);
    DrawKaleFrame(backupPixels, livePixels, width, height, stride, map_.data(), offsetX_, offsetY_);
    speed_ = CursorSpeed(kKaleSpeedFactor);
  }

  void Command(int id, int, LPARAM lParam) override {
    if (id == kSegmentSlider) {
      params_.segments = std::clamp(SliderPosition(id), kKaleMinSegments, kKaleMaxSegments);
      SetLabel(kSegmentLabel, "%d", params_.segments);
      if (lParam == 0) Rebuild();
    } else if (id == kMirrorBox) {
      params_.mirror = Checked(id) ? 1 : 0;
      Rebuild();
    }
  }

  // A click on the picture moves the centre there.
  void ViewMouse(int code, int x, int y) override {
    if (code != TOOL_LBUTTON_DOWN) return;
    params_.centreX = std::clamp(x, 0, width - 1);
    params_.centreY = std::clamp(height - y - 1, 0, height - 1);
    Rebuild();
  }

  bool Tick(int count) override {
    if (count % kTicksPerScene != 0) return true;
    ShuffleKale(params_, animation::ModuleRandom());
    Check(kMirrorBox, params_.mirror != 0);
    SetSlider(kSegmentSlider, kKaleMinSegments, kKaleMaxSegments, params_.segments);
    SetLabel(kSegmentLabel, "%d", params_.segments);
    Rebuild();
    return true;
  }

 private:
  bool Rebuild() { return BuildKaleMap(width, height, params_, map_.data()); }

  KaleParameters params_;
  std::vector<KaleEntry> map_;
  int64_t offsetX_ = 0, offsetY_ = 0;
  animation::Speed speed_;
};

}  // namespace

}  // namespace quillo::qlo12

QUILLO_ANIMATION_EXPORT(ProcessKale, quillo::qlo12::KaleEffect)
