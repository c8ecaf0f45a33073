// Colour gradient: the picture's brightness painted through a gradient
// whose hue turns every frame. The gradients are text in the resource
// module ("GRADIENTS"), read when the dialog opens; a missing or empty text
// leaves the built-in rainbow.
#include <algorithm>
#include <cstring>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"
#include "plugins/framework/plugin_module.h"
#include "plugins/qlo13/kernels/gradient_frame.h"
#include "plugins/qlo13/kernels/gradient_text.h"

namespace quillo::qlo13 {

namespace {

constexpr int kList = 1001;
constexpr int kSpeedSlider = 501, kSpeedLabel = 701;
constexpr int kStrengthSlider = 502, kStrengthLabel = 702;
constexpr int kFlowBox = 601;
constexpr int kTicksPerScene = 30;
constexpr uint32_t kBlockMagic = 0x6C3A9D21u;
constexpr size_t kBlockSize = 24;  // magic, size, gradient, speed, strength, flowing

std::vector<Gradient> ModuleGradients() {
  HINSTANCE module = PluginResources();
  HRSRC found = module ? FindResourceA(module, "GRADIENTS", RT_RCDATA) : nullptr;
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  std::vector<Gradient> list = text ? ReadGradients(text, SizeofResource(module, found)) : std::vector<Gradient>{};
  return list.empty() ? BuiltInGradients() : list;
}

int32_t ReadInt(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return int32_t(v);
}
void PutInt(std::vector<uint8_t>& out, int32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(uint8_t(uint32_t(v) >> (8 * k)));
}

class GradientEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Gradient"; }
  animation::OkWhilePlaying OkRule() const override { return animation::OkWhilePlaying::kStopsPlaying; }

  bool Setup() override {
    gradients_ = ModuleGradients();
    return animation::TryResize(brightness_, size_t(width) * size_t(height));
  }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    if (size < kBlockSize || uint32_t(ReadInt(data)) != kBlockMagic || ReadInt(data + 4) != int32_t(kBlockSize))
      return;
    chosen_ = std::clamp(ReadInt(data + 8), 0, int(gradients_.size()) - 1);
    run_.speed = std::clamp(ReadInt(data + 12), 0, kGradientMaxSpeed);
    run_.strength = std::clamp(ReadInt(data + 16), 0, 100);
    run_.flowing = ReadInt(data + 20) != 0;
  }

  std::vector<uint8_t> SettingsBlock() const override {
    std::vector<uint8_t> block;
    for (int32_t v : {int32_t(kBlockMagic), int32_t(kBlockSize), int32_t(chosen_), int32_t(run_.speed),
                      int32_t(run_.strength), int32_t(run_.flowing ? 1 : 0)})
      PutInt(block, v);
    return block;
  }

  void InitControls(HWND dialog) override {
    HWND list = GetDlgItem(dialog, kList);
    for (const Gradient& g : gradients_) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(g.name.c_str()));
    SendMessageA(list, LB_SETCURSEL, WPARAM(chosen_), 0);
    SetSlider(kSpeedSlider, 0, kGradientMaxSpeed, run_.speed);
    SetLabel(kSpeedLabel, "%d", run_.speed);
    SetSlider(kStrengthSlider, 0, 100, run_.strength);
    SetLabel(kStrengthLabel, "%d", run_.strength);
    Check(kFlowBox, run_.flowing);
    palette_ = PaletteOf(gradients_[size_t(chosen_)]);
  }

  // The brightness is taken once per play from the untouched picture.
  bool StartPlaying() override {
    BuildBrightness(backupPixels, width, height, stride, brightness_.data());
    run_.hue = 0;
    run_.flow = 0;
    return true;
  }

  void DrawFrame() override {
    GradientFrame(run_, palette_, brightness_.data(), backupPixels, livePixels, width, height, stride);
  }

  void Command(int id, int code, LPARAM) override {
    switch (id) {
      case kList:
        if (code == LBN_SELCHANGE) {
          const LRESULT index = SendDlgItemMessageA(dialogWindow, kList, LB_GETCURSEL, 0, 0);
          if (index >= 0 && size_t(index) < gradients_.size()) Choose(int(index));
        }
        break;
      case kSpeedSlider:
        run_.speed = std::clamp(SliderPosition(id), 0, kGradientMaxSpeed);
        SetLabel(kSpeedLabel, "%d", run_.speed);
        break;
      case kStrengthSlider:
        run_.strength = std::clamp(SliderPosition(id), 0, 100);
        SetLabel(kStrengthLabel, "%d", run_.strength);
        break;
      case kFlowBox: run_.flowing = Checked(id); break;
    }
  }

  // Every 30th tick another gradient, picked at random.
  bool Tick(int count) override {
    if (count % kTicksPerScene == 0 && gradients_.size() > 1) {
      Choose(animation::ModuleRandom().Next() % int(gradients_.size()));
      SendDlgItemMessageA(dialogWindow, kList, LB_SETCURSEL, WPARAM(chosen_), 0);
    }
    return true;
  }

 private:
  void Choose(int index) {
    chosen_ = index;
    palette_ = PaletteOf(gradients_[size_t(index)]);
  }

  std::vector<Gradient> gradients_;
  std::vector<uint8_t> brightness_;
  GradientPalette palette_{};
  GradientRun run_;
  int chosen_ = 0;
};

}  // namespace

}  // namespace quillo::qlo13

QUILLO_ANIMATION_EXPORT(ProcessGradient, quillo::qlo13::GradientEffect)
