// Cloud: fractal clouds drifting over the picture, or over a blue sky. A
// change of base noise or roughness grows the cloud maps anew; the sky
// check box shows on the next frame.
#include "plugins/qlo15/kernels/cloud.h"
#include "plugins/qlo15/weather_session.h"

namespace quillo::qlo15 {

namespace {

constexpr int kBaseSlider = 501, kRoughnessSlider = 502, kSkyBox = 601;

class CloudEffect : public WeatherSession {
 public:
  const char* TemplateName() const override { return "Cloud"; }
  bool ResetsViewTool() const override { return true; }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    double v[kCloudFieldCount];
    if (!animation::ReadParamBlob(data, size, kCloudBlobMagic, kCloudBlobFields, kCloudFieldCount, v)) return;
    SetCloudShape(cloud_, int(v[0]), int(v[1]));
    cloud_.sky = v[2] != 0;
  }

  std::vector<uint8_t> SettingsBlock() const override {
    const double v[kCloudFieldCount] = {double(cloud_.base), double(cloud_.roughness), cloud_.sky ? 1.0 : 0.0};
    return animation::WriteParamBlob(kCloudBlobMagic, kCloudBlobFields, kCloudFieldCount, v);
  }

  void InitControls(HWND) override {
    ShowSlider(kBaseSlider, kCloudMinBase, kCloudMaxBase, cloud_.base);
    ShowSlider(kRoughnessSlider, kCloudMinRoughness, kCloudMaxRoughness, cloud_.roughness);
    Check(kSkyBox, cloud_.sky);
  }

  bool StartPlaying() override {
    SeedForPlay();
    cloud_.regenerate = true;
    return true;
  }

  void DrawFrame() override {
    CloudFrame(cloud_, backupPixels, livePixels, width, height, stride, animation::ModuleRandom());
  }

  void Command(int id, int, LPARAM) override {
    if (id == kSkyBox) {
      cloud_.sky = Checked(kSkyBox);
      return;
    }
    if (id == kBaseSlider)
      SetCloudShape(cloud_, SliderPosition(id), cloud_.roughness);
    else if (id == kRoughnessSlider)
      SetCloudShape(cloud_, cloud_.base, SliderPosition(id));
    else
      return;
    SetLabel(id + 200, "%d", SliderPosition(id));
  }

 private:
  CloudState cloud_;
};

}  // namespace

}  // namespace quillo::qlo15

QUILLO_ANIMATION_EXPORT(ProcessCloud, quillo::qlo15::CloudEffect)
