// The magic patterns: the picture folded into one of eleven patterns and
// scrolled under it at the speed the cursor asks for. Each pattern keeps
// its own slider settings for as long as the plug-in is loaded.
#include <algorithm>
#include <cstring>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/mapped_texture_effect.h"
#include "plugins/animation/module_random.h"
#include "plugins/qlo13/kernels/magic_map.h"

namespace quillo::qlo13 {

namespace {

constexpr int kFirstSlider = 501, kFirstLabel = 701, kFirstCaption = 1501;
constexpr int kFirstModeRadio = 801;
constexpr int kSeamlessBox = 601;
constexpr int kOpeningMode = 2;
constexpr int kTicksPerScene = 30;
constexpr uint32_t kBlockMagic = 0x0A411755u;
constexpr size_t kBlockSize = 28;  // magic, size, S1, S2, S3, mode, seamless

// The patterns' settings: the table's first values, overwritten by what the
// user chooses, for the plug-in's lifetime.
int g_modeSettings[kMagicModes][3];
bool g_modeSettingsReady = false;

void PrepareModeSettings() {
  if (g_modeSettingsReady) return;
  for (int m = 0; m < kMagicModes; ++m)
    for (int k = 0; k < 3; ++k) g_modeSettings[m][k] = kMagicModeTable[m].defaults[k];
  g_modeSettingsReady = true;
}

int32_t ReadInt(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return int32_t(v);
}
void PutInt(std::vector<uint8_t>& out, int32_t v) {
  const uint32_t u = uint32_t(v);
  for (int k = 0; k < 4; ++k) out.push_back(uint8_t(u >> (8 * k)));
}

class MagicEffect : public animation::MappedTextureEffect {
 public:
  const char* TemplateName() const override { return "Magic"; }
  bool RemembersPosition() const override { return false; }
  // A map entry holds 16-bit coordinates.
  bool SizeWorkable(int w, int h) const override { return w > 0 && h > 0 && w <= 32767 && h <= 32767; }

  bool Setup() override {
    PrepareModeSettings();
    LoadMode(kOpeningMode);
    return animation::MappedTextureEffect::Setup();
  }

  // A block with the right magic and size and a known pattern supplies the
  // pattern, its settings (kept for that pattern too) and the texture kind.
  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    if (size < kBlockSize || uint32_t(ReadInt(data)) != kBlockMagic || ReadInt(data + 4) != int32_t(kBlockSize))
      return;
    const int mode = ReadInt(data + 20);
    if (mode < 0 || mode >= kMagicModes) return;
    const MagicModeRow& row = kMagicModeTable[mode];
    for (int k = 0; k < 3; ++k)
      g_modeSettings[mode][k] = std::clamp(ReadInt(data + 8 + 4 * k), row.low[k], row.high[k]);
    LoadMode(mode);
    seamless_ = ReadInt(data + 24) != 0;
  }

  std::vector<uint8_t> SettingsBlock() const override {
    std::vector<uint8_t> block;
    PutInt(block, int32_t(kBlockMagic));
    PutInt(block, int32_t(kBlockSize));
    PutInt(block, settings_.s1);
    PutInt(block, settings_.s2);
    PutInt(block, settings_.s3);
    PutInt(block, settings_.mode);
    PutInt(block, seamless_ ? 1 : 0);
    return block;
  }

  void InitControls(HWND) override {
    Check(kSeamlessBox, seamless_);
    RebuildTexture();
    ShowMode();
  }

  void Command(int id, int, LPARAM) override {
    if (id == kSeamlessBox) {
      seamless_ = Checked(id);
      RebuildTexture();
    } else if (id >= kFirstModeRadio && id < kFirstModeRadio + kMagicModes) {
      if (!Checked(id) || id - kFirstModeRadio == settings_.mode) return;
      LoadMode(id - kFirstModeRadio);
      ShowMode();
      rebuild_ = true;
    } else if (id >= kFirstSlider && id < kFirstSlider + 3) {
      const int k = id - kFirstSlider;
      const MagicModeRow& row = kMagicModeTable[settings_.mode];
      const int value = std::clamp(SliderPosition(id), row.low[k], row.high[k]);
      g_modeSettings[settings_.mode][k] = value;
      (k == 0 ? settings_.s1 : k == 1 ? settings_.s2 : settings_.s3) = value;
      SetLabel(kFirstLabel + k, "%d", value);
      rebuild_ = true;
    }
  }

  // Every 30th tick: another pattern at random and the other texture.
  bool Tick(int count) override {
    if (count % kTicksPerScene != 0) return true;
    LoadMode(animation::ModuleRandom().Next() % kMagicModes);
    ShowMode();
    rebuild_ = true;
    seamless_ = !seamless_;
    Check(kSeamlessBox, seamless_);
    RebuildTexture();
    return true;
  }

  void DrawFrame() override {
    if (rebuild_ && HasMap()) BuildMapNow();
    rebuild_ = false;
    animation::MappedTextureEffect::DrawFrame();
  }

 protected:
  bool BuildMap(animation::MapEntry* map) override {
    BuildMagicMap(settings_, width, height, map);
    return true;
  }
  animation::MapRows Rows() const override { return animation::MapRows::kUpward; }
  // A still cursor would leave the pattern standing: it always drifts.
  animation::Speed NextSpeed() const override {
    animation::Speed s = CursorSpeed();
    if (s.x == 0 && s.y == 0) s.x = 1;
    return s;
  }

 private:
  void LoadMode(int mode) {
    settings_ = {mode, g_modeSettings[mode][0], g_modeSettings[mode][1], g_modeSettings[mode][2]};
  }

  // The pattern's radio, its slider ranges and values, and only its sliders
  // enabled.
  void ShowMode() {
    if (!dialogWindow) return;
    CheckRadioButton(dialogWindow, kFirstModeRadio, kFirstModeRadio + kMagicModes - 1,
                     kFirstModeRadio + settings_.mode);
    const MagicModeRow& row = kMagicModeTable[settings_.mode];
    const int values[3] = {settings_.s1, settings_.s2, settings_.s3};
    for (int k = 0; k < 3; ++k) {
      SetSlider(kFirstSlider + k, row.low[k], row.high[k], values[k]);
      SetLabel(kFirstLabel + k, "%d", values[k]);
      const BOOL inUse = k < row.slidersInUse;
      for (int id : {kFirstSlider + k, kFirstLabel + k, kFirstCaption + k})
        if (HWND item = GetDlgItem(dialogWindow, id)) EnableWindow(item, inUse);
    }
  }

  MagicSettings settings_;
  bool seamless_ = true;
  bool rebuild_ = false;
};

}  // namespace

}  // namespace quillo::qlo13

QUILLO_ANIMATION_EXPORT(ProcessMagic, quillo::qlo13::MagicEffect)
