// Lake: the picture mirrored in rippling water, whole rows swinging up and
// down with a period the slider sets. Every row of a frame is a copy of a
// row of the kit's backup.
#include <algorithm>

#include "plugins/animation/animation_run.h"
#include "plugins/qlo14/kernels/lake.h"

namespace quillo::qlo14 {

namespace {

constexpr int kPeriodSlider = 501;

class LakeEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Lake"; }
  bool ResetsViewTool() const override { return true; }
  int FramePause() const override { return 30; }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    double v[kLakeFieldCount];
    if (animation::ReadParamBlob(data, size, kLakeBlobMagic, kLakeBlobFields, kLakeFieldCount, v))
      SetLakePeriod(lake_, int(v[0]));
  }

  std::vector<uint8_t> SettingsBlock() const override {
    const double v[kLakeFieldCount] = {double(lake_.period)};
    return animation::WriteParamBlob(kLakeBlobMagic, kLakeBlobFields, kLakeFieldCount, v);
  }

  void InitControls(HWND) override {
    SetSlider(kPeriodSlider, kLakeMinPeriod, kLakeMaxPeriod, lake_.period);
    SetLabel(kPeriodSlider + 200, "%d", lake_.period);
  }

  // Every play starts at frame 0 of the period.
  bool StartPlaying() override {
    lake_.frame = 0;
    return true;
  }

  void StopPlaying() override {
    if (call.viewWindow) SendMessageA(call.viewWindow, VM_REDRAW, 0, 0);
  }

  void DrawFrame() override { LakeFrame(lake_, backupPixels, livePixels, width, height, stride); }

  void Command(int id, int, LPARAM) override {
    if (id != kPeriodSlider) return;
    SetLakePeriod(lake_, SliderPosition(id));
    SetLabel(id + 200, "%d", lake_.period);
  }

 private:
  LakeState lake_;
};

}  // namespace

}  // namespace quillo::qlo14

QUILLO_ANIMATION_EXPORT(ProcessLake, quillo::qlo14::LakeEffect)
