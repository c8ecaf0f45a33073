// Falling blobs: the ripple tank fed only by blobs dropped at random.
#include <algorithm>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"
#include "plugins/qlo12/kernels/water_frame.h"
#include "widened_picture.h"

namespace quillo::qlo12 {

namespace {

constexpr int kDampingSlider = 501, kStrengthSlider = 502, kRadiusSlider = 503;
constexpr int kLightSlider = 504, kAttemptsSlider = 505;

class BlobEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Blob"; }
  bool SizeWorkable(int w, int h) const override {
    return w > 0 && WaterSizeWorkable(WidenedToFour(w), h);
  }
  PictureShape WorkingShape(int w, int h) const override { return {WidenedToFour(w), h, false}; }

  // The record starts with light 2 while its slider shows 1: the first
  // change of that slider takes the slider's value.
  void InitControls(HWND) override {
    SetSlider(kDampingSlider, 1, 100, 4);
    SetSlider(kStrengthSlider, 1, 128, 60);
    SetSlider(kRadiusSlider, 10, 256, 80);
    SetSlider(kLightSlider, 1, 8, 1);
    SetSlider(kAttemptsSlider, 1, 60, kBlobDefaultAttempts);
    for (int id = kDampingSlider; id <= kAttemptsSlider; ++id) SetLabel(id + 200, "%d", SliderPosition(id));
  }

  // The height fields start flat at every play.
  bool StartPlaying() override { return StartBlob(blob_, width, height); }

  void DrawFrame() override {
    BlobFrame(blob_, backupPixels, livePixels, stride, animation::ModuleRandom());
  }

  void Command(int id, int, LPARAM) override {
    const int position = SliderPosition(id);
    switch (id) {
      case kDampingSlider: blob_.dampingShift = std::clamp(position, 1, 100); break;
      case kStrengthSlider: blob_.strength = (position == 0 ? 1 : position) * 100; break;
      case kRadiusSlider: blob_.radius = std::clamp(position, 10, 256); break;
      case kLightSlider: blob_.light = std::clamp(position, 1, 8); break;
      case kAttemptsSlider: blob_.attempts = std::clamp(position, 1, kBlobMaxAttempts); break;
      default: return;
    }
    SetLabel(id + 200, "%d", position);
  }

 private:
  BlobState blob_;
};

}  // namespace

}  // namespace quillo::qlo12

QUILLO_ANIMATION_EXPORT(ProcessBlob, quillo::qlo12::BlobEffect)
