// Rain: drops rippling a water surface over the picture. A change of the
// drop count starts the drops' ages anew; a screen saver's ticks change the
// count every 20 seconds without that.
#include "plugins/qlo15/kernels/rain.h"
#include "plugins/qlo15/weather_session.h"

namespace quillo::qlo15 {

namespace {

constexpr int kDropSlider = 501;

class RainEffect : public WeatherSession {
 public:
  const char* TemplateName() const override { return "Rain"; }
  bool ResetsViewTool() const override { return true; }
  // Two rows or fewer leave no room for a ripple.
  bool SizeWorkable(int w, int h) const override { return w > 0 && h > 2; }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    double v[kRainFieldCount];
    if (animation::ReadParamBlob(data, size, kRainBlobMagic, kRainBlobFields, kRainFieldCount, v))
      SetRainDrops(rain_, int(v[0]), false);
  }

  std::vector<uint8_t> SettingsBlock() const override {
    const double v[kRainFieldCount] = {double(rain_.dropCount)};
    return animation::WriteParamBlob(kRainBlobMagic, kRainBlobFields, kRainFieldCount, v);
  }

  void InitControls(HWND) override { ShowSlider(kDropSlider, kRainMinDrops, kRainMaxDrops, rain_.dropCount); }

  bool StartPlaying() override {
    SeedForPlay();
    StartRain(rain_);
    return true;
  }

  void DrawFrame() override {
    RainFrame(rain_, backupPixels, livePixels, width, height, stride, animation::ModuleRandom());
  }

  bool Tick(int count) override {
    if (RainTick(rain_, count, animation::ModuleRandom()) && dialogWindow)
      ShowSlider(kDropSlider, kRainMinDrops, kRainMaxDrops, rain_.dropCount);
    return true;
  }

  void Command(int id, int, LPARAM) override {
    if (id != kDropSlider) return;
    SetRainDrops(rain_, SliderPosition(id), true);
    SetLabel(id + 200, "%d", rain_.dropCount);
  }

 private:
  RainState rain_;
};

}  // namespace

}  // namespace quillo::qlo15

QUILLO_ANIMATION_EXPORT(ProcessRain, quillo::qlo15::RainEffect)
