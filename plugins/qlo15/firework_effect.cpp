// FireWork: rockets that rise and burst over the picture. Any change of a
// slider starts the rockets anew. It stores no settings.
#include "plugins/qlo15/kernels/firework.h"
#include "plugins/qlo15/weather_session.h"

namespace quillo::qlo15 {

namespace {

constexpr int kRocketSlider = 501, kSparkSlider = 502, kHeightSlider = 503;

class FireworkEffect : public WeatherSession {
 public:
  const char* TemplateName() const override { return "FireWork"; }
  bool ResetsViewTool() const override { return true; }

  bool Setup() override {
    SetFirework(firework_, firework_.rockets, firework_.sparks, FireworkDefaultHeight(height));
    return true;
  }

  void InitControls(HWND) override {
    ShowSlider(kRocketSlider, kFireworkMinRockets, kFireworkMaxRockets, firework_.rockets);
    ShowSlider(kSparkSlider, kFireworkMinSparks, kFireworkMaxSparks, firework_.sparks);
    ShowSlider(kHeightSlider, kFireworkMinHeight, kFireworkMaxHeight, firework_.launchHeight);
  }

  bool StartPlaying() override {
    SeedForPlay();
    firework_.regenerate = true;
    return true;
  }

  void DrawFrame() override {
    FireworkFrame(firework_, backupPixels, livePixels, width, height, stride, animation::ModuleRandom());
  }

  void Command(int id, int, LPARAM) override {
    if (id < kRocketSlider || id > kHeightSlider) return;
    const int v = SliderPosition(id);
    SetFirework(firework_, id == kRocketSlider ? v : firework_.rockets, id == kSparkSlider ? v : firework_.sparks,
                id == kHeightSlider ? v : firework_.launchHeight);
    SetLabel(id + 200, "%d", v);
  }

 private:
  FireworkState firework_;
};

}  // namespace

}  // namespace quillo::qlo15

QUILLO_ANIMATION_EXPORT(ProcessFireWork, quillo::qlo15::FireworkEffect)
