// Snow: flakes falling over the picture. Frames are drawn from the kit's
// backup into the caller's picture; the flake and gust counts change with
// their sliders on the next frame, or every 20 seconds of a screen saver.
#include "plugins/qlo15/kernels/snow.h"
#include "plugins/qlo15/weather_session.h"

namespace quillo::qlo15 {

namespace {

constexpr int kFlakeSlider = 501, kGustSlider = 502;

class SnowEffect : public WeatherSession {
 public:
  const char* TemplateName() const override { return "Snow"; }
  int FramePause() const override { return 30; }
  bool ShowsPlayingHint() const override { return true; }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    double v[kSnowFieldCount];
    if (animation::ReadParamBlob(data, size, kSnowBlobMagic, kSnowBlobFields, kSnowFieldCount, v))
      SetSnowCounts(snow_, int(v[0]), int(v[1]));
  }

  std::vector<uint8_t> SettingsBlock() const override {
    const double v[kSnowFieldCount] = {double(snow_.flakeCount), double(snow_.gustCount)};
    return animation::WriteParamBlob(kSnowBlobMagic, kSnowBlobFields, kSnowFieldCount, v);
  }

  void InitControls(HWND) override {
    ShowControls();
    // The view lays itself out again for the run.
    if (call.viewWindow) SendMessageA(call.viewWindow, VM_RELAYOUT, 1, 0);
  }

  bool StartPlaying() override {
    SeedForPlay();
    return true;
  }

  void DrawFrame() override {
    SnowFrame(snow_, backupPixels, livePixels, width, height, stride, animation::ModuleRandom());
  }

  bool Tick(int count) override {
    if (SnowTick(snow_, count, animation::ModuleRandom()) && dialogWindow) ShowControls();
    return true;
  }

  void Command(int id, int, LPARAM) override {
    if (id == kFlakeSlider)
      SetSnowCounts(snow_, SliderPosition(id), snow_.gustCount);
    else if (id == kGustSlider)
      SetSnowCounts(snow_, snow_.flakeCount, SliderPosition(id));
    else
      return;
    SetLabel(id + 200, "%d", SliderPosition(id));
  }

 private:
  void ShowControls() {
    ShowSlider(kFlakeSlider, kSnowMinFlakes, kSnowMaxFlakes, snow_.flakeCount);
    ShowSlider(kGustSlider, kSnowMinGusts, kSnowMaxGusts, snow_.gustCount);
  }

  SnowState snow_;
};

}  // namespace

}  // namespace quillo::qlo15

QUILLO_ANIMATION_EXPORT(ProcessSnow, quillo::qlo15::SnowEffect)
