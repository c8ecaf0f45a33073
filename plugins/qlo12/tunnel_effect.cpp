// The tunnel, the sphere and the infinite plane (catalogue values 0, 1, 2):
// the picture as a texture on a surface seen from inside, flown through at
// the speed the cursor asks for.
#include <algorithm>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/mapped_texture_effect.h"
#include "plugins/framework/plugin_module.h"
#include "plugins/qlo12/kernels/tunnel_map.h"
#include "resources/qlo12/qlo12_ids.h"

namespace quillo::qlo12 {

namespace {

constexpr int kFirstModeRadio = 801;  // 801 tunnel, 802 sphere, 803 plane
constexpr int kModes = 3;
constexpr int kTicksPerScene = 30;

class TunnelEffect : public animation::MappedTextureEffect {
 public:
  const char* TemplateName() const override { return "Tunnel"; }
  animation::StartCapture CaptureOnStart() const override {
    return animation::StartCapture::kCancelButton;
  }
  bool ShowsPlayingHint() const override { return true; }

  bool Setup() override {
    mode_ = std::clamp(call.effectValue, 0, kModes - 1);
    return animation::MappedTextureEffect::Setup();
  }

  void InitControls(HWND dialog) override {
    Check(601, true);
    ShowMode();
  }

  void Command(int id, int code, LPARAM) override {
    if (id == 601) {
      RebuildTexture();
    } else if (id >= kFirstModeRadio && id < kFirstModeRadio + kModes) {
      const int mode = id - kFirstModeRadio;
      if (!Checked(id) || mode == mode_) return;
      SetMode(mode);
    }
  }

  bool Tick(int count) override {
    if (count % kTicksPerScene != 0) return true;
    SetMode((mode_ + 1) % kModes);
    Check(601, !Checked(601));
    RebuildTexture();
    return true;
  }

 protected:
  bool BuildMap(animation::MapEntry* map) override {
    BuildTunnelMap(width, height, mode_, map);
    return true;
  }
  animation::MapRows Rows() const override { return animation::MapRows::kUpward; }

 private:
  // The radio buttons and the title show the surface flown through.
  void ShowMode() {
    CheckRadioButton(dialogWindow, kFirstModeRadio, kFirstModeRadio + kModes - 1,
                     kFirstModeRadio + mode_);
    static constexpr UINT kTitles[kModes] = {IDS_TUNNEL, IDS_SPHERE, IDS_PLANE};
    char title[64] = {};
    if (LoadStringA(PluginResources(), kTitles[mode_], title, sizeof title) > 0)
      SetWindowTextA(dialogWindow, title);
  }

  // A new surface: the map is rebuilt at once while playing.
  void SetMode(int mode) {
    mode_ = mode;
    ShowMode();
    if (HasMap()) BuildMapNow();
  }

  int mode_ = 0;
};

}  // namespace

}  // namespace quillo::qlo12

QUILLO_ANIMATION_EXPORT(ProcessTunnel, quillo::qlo12::TunnelEffect)
