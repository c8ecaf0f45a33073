// Rock: coloured rocks flying out of the picture towards the viewer. Frames
// are drawn from the kit's backup into the caller's picture; the count and
// speed sliders act on the next frame. The field's drift and turn belong to
// the module and go on where the last run left them.
#include "plugins/qlo18/kernels/rock.h"
#include "plugins/qlo18/play_session.h"

namespace quillo::qlo18 {

namespace {

constexpr int kCountSlider = 501, kSpeedSlider = 502;

RockField& ModuleRockField() {
  static RockField field;
  return field;
}

class RockEffect : public PlaySession {
 public:
  const char* TemplateName() const override { return "Rock"; }
  int FramePause() const override { return 30; }
  // The host hears of the end only when the dialog is cancelled.
  bool NotifiesWhenPlayingStops() const override { return false; }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    double v[kRockFieldCount];
    if (animation::ReadParamBlob(data, size, kRockBlobMagic, kRockBlobFields, kRockFieldCount, v))
      SetRockSettings(rocks_, int(v[0]), int(v[1]));
  }

  std::vector<uint8_t> SettingsBlock() const override {
    const double v[kRockFieldCount] = {double(rocks_.count), double(rocks_.speed)};
    return animation::WriteParamBlob(kRockBlobMagic, kRockBlobFields, kRockFieldCount, v);
  }

  void InitControls(HWND) override {
    ShowSlider(kCountSlider, kRockMinCount, kRockMaxCount, rocks_.count);
    ShowSlider(kSpeedSlider, kRockMinSpeed, kRockMaxSpeed, rocks_.speed);
  }

  bool StartPlaying() override {
    SeedForPlay();
    RockTable();
    StartRocks(ModuleRockField(), width, height);
    return true;
  }

  void DrawFrame() override {
    RockFrame(rocks_, ModuleRockField(), backupPixels, livePixels, width, height, stride,
              animation::ModuleRandom());
  }

  void Command(int id, int, LPARAM) override {
    if (id == kCountSlider)
      SetRockSettings(rocks_, SliderPosition(id), rocks_.speed);
    else if (id == kSpeedSlider)
      SetRockSettings(rocks_, rocks_.count, SliderPosition(id));
    else
      return;
    SetLabel(id + 200, "%d", SliderPosition(id));
  }

 private:
  RockState rocks_;
};

}  // namespace

}  // namespace quillo::qlo18

QUILLO_ANIMATION_EXPORT(ProcessRock, quillo::qlo18::RockEffect)
