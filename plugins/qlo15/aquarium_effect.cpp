// Aquarium: a pulse of rings spreading over the picture from a centre the
// user clicks in the view or, with the wandering centre, one that moves by
// itself. After every third wave the clean picture rests on screen for 1.5
// seconds, during which the dialog does not answer; a Stop pressed then
// takes effect right after.
#include "plugins/qlo15/kernels/aquarium.h"
#include "plugins/qlo15/weather_session.h"

#include <cstring>

namespace quillo::qlo15 {

namespace {

constexpr int kWavelengthSlider = 501, kAmplitudeSlider = 502, kSpeedSlider = 503, kWanderBox = 601;
constexpr int kFramePause = 30;   // ms between frames
constexpr int kRestPause = 1500;  // ms the clean picture stays

class AquariumEffect : public WeatherSession {
 public:
  const char* TemplateName() const override { return "Aquarium"; }
  bool ResetsViewTool() const override { return true; }
  // The frame after a rest waits the rest out, without taking messages.
  int FramePause() const override { return resting_ ? kRestPause : kFramePause; }

  bool Setup() override { return StartAquarium(aquarium_, width, height); }

  // The stored centre belongs to a picture of the stored size: it is
  // carried over to this one in proportion.
  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    double v[kAquariumFieldCount];
    if (!animation::ReadParamBlob(data, size, kAquariumBlobMagic, kAquariumBlobFields, kAquariumFieldCount, v))
      return;
    SetAquariumWave(aquarium_, v[0], int(v[1]), int(v[4]));
    aquarium_.wandering = v[5] != 0;
    SetAquariumCentre(aquarium_, MulDiv(int(v[2]), width, int(v[6])), MulDiv(int(v[3]), height, int(v[7])));
  }

  std::vector<uint8_t> SettingsBlock() const override {
    const double v[kAquariumFieldCount] = {
        aquarium_.wavelength,     double(aquarium_.amplitude), double(aquarium_.cx),    double(aquarium_.cy),
        double(aquarium_.speed),  aquarium_.wandering ? 1.0 : 0.0, double(width), double(height)};
    return animation::WriteParamBlob(kAquariumBlobMagic, kAquariumBlobFields, kAquariumFieldCount, v);
  }

  void InitControls(HWND) override {
    ShowControls();
    Check(kWanderBox, aquarium_.wandering);
  }

  bool StartPlaying() override {
    SeedForPlay();
    aquarium_.recompute = true;
    resting_ = false;
    return true;
  }

  void DrawFrame() override {
    RuntimeRandom& random = animation::ModuleRandom();
    if (resting_) {
      resting_ = false;
      AquariumWander(aquarium_, random);
    } else if (AquariumRestDue(aquarium_)) {
      // This frame is the clean picture; the next one waits before it.
      std::memcpy(livePixels, backupPixels, size_t(stride) * size_t(height));
      resting_ = true;
      return;
    }
    AquariumFrame(aquarium_, backupPixels, livePixels, stride);
  }

  bool Tick(int count) override {
    if (AquariumTick(aquarium_, count, animation::ModuleRandom()) && dialogWindow) ShowControls();
    return true;
  }

  void Command(int id, int, LPARAM) override {
    if (id == kWanderBox) {
      aquarium_.wandering = Checked(kWanderBox);
      aquarium_.recompute = true;
      return;
    }
    if (id < kWavelengthSlider || id > kSpeedSlider) return;
    const int v = SliderPosition(id);
    SetAquariumWave(aquarium_, id == kWavelengthSlider ? v : aquarium_.wavelength,
                    id == kAmplitudeSlider ? v : aquarium_.amplitude,
                    id == kSpeedSlider ? 2 * v - 80 : aquarium_.speed);
    SetLabel(id + 200, "%d", v);
  }

  // A click in the picture places the centre there and stops it wandering.
  void ViewMouse(int code, int x, int y) override {
    if (code != TOOL_LBUTTON_DOWN || x < 0 || x >= width || y < 0 || y >= height) return;
    SetAquariumCentre(aquarium_, x, height - y - 1);
    aquarium_.wandering = false;
    Check(kWanderBox, false);
  }

 private:
  // The speed slider shows v for the speed 2 v - 80.
  void ShowControls() {
    ShowSlider(kWavelengthSlider, kAquariumMinWavelength, kAquariumMaxWavelength, int(aquarium_.wavelength));
    ShowSlider(kAmplitudeSlider, kAquariumMinAmplitude, kAquariumMaxAmplitude, aquarium_.amplitude);
    ShowSlider(kSpeedSlider, kAquariumMinSpeedValue, kAquariumMaxSpeedValue, (aquarium_.speed + 80) / 2);
  }

  AquariumState aquarium_;
  bool resting_ = false;  // the clean picture is on screen and the rest is due
};

}  // namespace

}  // namespace quillo::qlo15

QUILLO_ANIMATION_EXPORT(ProcessAquarium, quillo::qlo15::AquariumEffect)
