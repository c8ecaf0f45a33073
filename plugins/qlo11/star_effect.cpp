// Star: a star field rushing toward the viewer over the picture, drawn with
// the four sprites of the resource module in 16 colours each. OK or Cancel
// while the field runs only stops it; pressed again they close the dialog.
// Restart stops the field and plays it again from new stars.
#include <array>
#include <ctime>
#include <vector>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"
#include "plugins/framework/plugin_module.h"
#include "plugins/qlo11/kernels/star.h"

namespace quillo::qlo11 {

namespace {

constexpr int kCountSlider = 501, kRestartButton = 801;

// The stored sprite `name`, `size` pixels square; false when it is missing
// or not the packed picture it should be.
bool LoadSprite(const char* name, int size, std::vector<uint8_t>& pixels) {
  HINSTANCE module = PluginResources();
  HRSRC found = module ? FindResourceA(module, name, "HDIB") : nullptr;
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  return data && ReadPackedSprite(data, SizeofResource(module, found), size, pixels);
}

class StarEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Star"; }
  bool ResetsViewTool() const override { return true; }
  animation::OkWhilePlaying OkRule() const override { return animation::OkWhilePlaying::kStopsPlaying; }
  int FramePause() const override { return 30; }

  // Every run reads the sprites afresh; a missing one refuses the run.
  bool Setup() override {
    std::array<std::vector<uint8_t>, kStarSpriteKinds> stored;
    for (int kind = 0; kind < kStarSpriteKinds; ++kind)
      if (!LoadSprite(kStarSpriteNames[kind], kStarSpriteSizes[kind], stored[size_t(kind)])) return false;
    return PrepareStarSprites(stored, sprites_);
  }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    double v[kStarFieldCount];
    if (animation::ReadParamBlob(data, size, kStarBlobMagic, kStarBlobFields, kStarFieldCount, v))
      SetStarCount(field_, int(v[0]));
  }

  std::vector<uint8_t> SettingsBlock() const override {
    const double v[kStarFieldCount] = {double(field_.count)};
    return animation::WriteParamBlob(kStarBlobMagic, kStarBlobFields, kStarFieldCount, v);
  }

  void InitControls(HWND) override {
    SetSlider(kCountSlider, kStarMinCount, kStarMaxCount, field_.count);
    SetLabel(kCountSlider + 200, "%d", field_.count);
  }

  bool StartPlaying() override {
    RuntimeRandom& random = animation::ModuleRandom();
    random.Seed(uint32_t(std::time(nullptr)));
    StartStars(field_, width, height, random);
    return true;
  }

  void DrawFrame() override {
    StarFrame(field_, sprites_, backupPixels, livePixels, width, height, stride, animation::ModuleRandom());
  }

  void StopPlaying() override {
    if (call.viewWindow) SendMessageA(call.viewWindow, VM_REDRAW, 0, 0);
    if (restart_ && dialogWindow) PostMessageA(dialogWindow, WM_COMMAND, IDC_EFFECT_APPLY, 0);
    restart_ = false;
  }

  void Command(int id, int, LPARAM lParam) override {
    if (id == kRestartButton) {
      if (playing) {
        restart_ = true;
        stopRequested = 1;
      } else {
        PostMessageA(dialogWindow, WM_COMMAND, IDC_EFFECT_APPLY, 0);
      }
      return;
    }
    // Only the user's changes (lParam 0) set the count.
    if (id != kCountSlider || lParam != 0) return;
    SetStarCount(field_, SliderPosition(id));
    SetLabel(id + 200, "%d", field_.count);
  }

 private:
  StarSprites sprites_;
  StarState field_;
  bool restart_ = false;
};

}  // namespace

}  // namespace quillo::qlo11

QUILLO_ANIMATION_EXPORT(ProcessStar, quillo::qlo11::StarEffect)
