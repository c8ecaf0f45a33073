// Light: green, blue and red spotlights wandering over the picture, on
// three paths or, without separate paths, together as one white light.
// Any change of a control builds the spot and the paths anew.
#include "plugins/qlo15/kernels/light.h"
#include "plugins/qlo15/weather_session.h"

namespace quillo::qlo15 {

namespace {

constexpr int kSizeSlider = 501, kIntensitySlider = 502, kPathsBox = 601;

class LightEffect : public WeatherSession {
 public:
  const char* TemplateName() const override { return "Light"; }
  bool ResetsViewTool() const override { return true; }

  // The block holds the intensity twice; the first is the one used.
  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    double v[kLightFieldCount];
    if (animation::ReadParamBlob(data, size, kLightBlobMagic, kLightBlobFields, kLightFieldCount, v))
      SetLight(light_, int(v[1]), int(v[2]), int(v[3]), v[0] != 0);
  }

  std::vector<uint8_t> SettingsBlock() const override {
    const double v[kLightFieldCount] = {light_.separatePaths ? 1.0 : 0.0, double(light_.spotWidth),
                                        double(light_.spotHeight), double(light_.intensity),
                                        double(light_.intensity)};
    return animation::WriteParamBlob(kLightBlobMagic, kLightBlobFields, kLightFieldCount, v);
  }

  void InitControls(HWND) override {
    ShowSlider(kSizeSlider, kLightMinSize, kLightMaxSize, light_.spotWidth);
    ShowSlider(kIntensitySlider, kLightMinIntensity, kLightMaxIntensity, light_.intensity);
    Check(kPathsBox, light_.separatePaths);
  }

  bool StartPlaying() override {
    SeedForPlay();
    light_.recompute = true;
    light_.step = 0;
    return true;
  }

  void DrawFrame() override { LightFrame(light_, backupPixels, livePixels, width, height, stride); }

  void Command(int id, int, LPARAM) override {
    if (id == kPathsBox) {
      SetLight(light_, light_.spotWidth, light_.spotHeight, light_.intensity, Checked(kPathsBox));
      return;
    }
    if (id != kSizeSlider && id != kIntensitySlider) return;
    const int v = SliderPosition(id);
    if (id == kSizeSlider)
      SetLight(light_, v, v, light_.intensity, light_.separatePaths);
    else
      SetLight(light_, light_.spotWidth, light_.spotHeight, v, light_.separatePaths);
    SetLabel(id + 200, "%d", v);
  }

 private:
  LightState light_;
};

}  // namespace

}  // namespace quillo::qlo15

QUILLO_ANIMATION_EXPORT(ProcessLight, quillo::qlo15::LightEffect)
