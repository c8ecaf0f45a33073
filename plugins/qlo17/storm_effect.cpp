// Storm: a cloud of glowing sprites turning in front of the picture,
// steered by the mouse's place on the screen, one frame every 50 ms. The
// sprites are read from the plug-in module before the dialog opens and
// again at every play; a missing one refuses the run (or the play). The
// sprite count's slider asks for a new cloud.
#include <ctime>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"
#include "plugins/qlo17/kernels/storm.h"

namespace quillo::qlo17 {

namespace {

constexpr int kCountSlider = 501;

// The plug-in module itself, which carries the sprites.
HMODULE OwnModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&OwnModule), &module);
  return module;
}

bool LoadSprites(StormSprites& sprites) {
  HMODULE module = OwnModule();
  if (!module) return false;
  for (int k = 0; k < kStormSpriteKinds; ++k) {
    HRSRC found = FindResourceA(module, kStormSpriteNames[k], "HDIB");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    if (!data || !ReadStormSprite(data, SizeofResource(module, found), sprites[size_t(k)])) return false;
  }
  return true;
}

class StormEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Storm"; }
  bool ResetsViewTool() const override { return true; }
  bool SharesRectangle() const override { return true; }
  int FramePause() const override { return 50; }

  // The sprites and the glow buffer; either missing refuses the run.
  bool Setup() override { return LoadSprites(sprites_) && AllocateStormGlow(storm_, width, height); }

  void InitControls(HWND) override {
    SetSlider(kCountSlider, kStormMinCount, kStormMaxCount, storm_.count);
    SetLabel(kCountSlider + 200, "%d", storm_.count);
  }

  bool StartPlaying() override {
    if (!LoadSprites(sprites_)) return false;
    RuntimeRandom& random = animation::ModuleRandom();
    random.Seed(uint32_t(std::time(nullptr)));
    StartStorm(storm_, livePixels, stride, random);
    return true;
  }

  void DrawFrame() override {
    POINT at = {0, 0};
    GetCursorPos(&at);
    const StormCursor cursor{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), int(at.x), int(at.y)};
    StormFrame(storm_, sprites_, backupPixels, livePixels, stride, cursor, animation::ModuleRandom());
  }

  // Only the user's changes (lParam 0) set the count.
  void Command(int id, int, LPARAM lParam) override {
    if (id != kCountSlider || lParam != 0) return;
    SetStormCount(storm_, SliderPosition(id));
    SetLabel(id + 200, "%d", storm_.count);
  }

 private:
  StormSprites sprites_;
  StormState storm_;
};

}  // namespace

}  // namespace quillo::qlo17

QUILLO_ANIMATION_EXPORT(ProcessStorm, quillo::qlo17::StormEffect)
