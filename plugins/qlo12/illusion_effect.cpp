// The illusion: the picture blended with a copy of itself displaced sector
// by sector around the centre, more strongly toward the edges, the copy
// drifting at the speed the cursor asks for.
#include <algorithm>
#include <vector>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/kernels/texture_map.h"
#include "plugins/qlo12/kernels/illusion.h"
#include "plugins/qlo12/kernels/kale_blob.h"

namespace quillo::qlo12 {

namespace {

constexpr int kSectorSlider = 501, kSectorLabel = 701;

class IllusionEffect : public animation::AnimationSession {
 public:
  const char* TemplateName() const override { return "Illusion"; }
  bool SizeWorkable(int w, int h) const override { return IllusionSizeWorkable(w, h); }

  void ApplyStoredBlock(const uint8_t* data, std::size_t size) override {
    ReadIllusionBlob(data, size, width, height, settings_);
  }

  std::vector<uint8_t> SettingsBlock() const override {
    return WriteIllusionBlob(settings_, width, height);
  }

  void InitControls(HWND) override {
    SetSlider(kSectorSlider, kIllusionMinSectors, kIllusionMaxSectors, settings_.sectors);
    SetLabel(kSectorLabel, "%d", settings_.sectors);
  }

  // The map exists only while playing.
  bool StartPlaying() override {
    offsetX_ = offsetY_ = 0;
    return animation::TryResize(map_, size_t(width) * size_t(height)) &&
           BuildIllusionMap(width, height, settings_.sectors, map_.data());
  }
  void StopPlaying() override { std::vector<IllusionEntry>().swap(map_); }

  void DrawFrame() override {
    offsetX_ = animation::ReduceInto(offsetX_ + settings_.speedX, width);
    offsetY_ = animation::ReduceInto(offsetY_ + settings_.speedY, height);
    DrawIllusionFrame(backupPixels, livePixels, width, height, stride, map_.data(), offsetX_,
                      offsetY_);
    const animation::Speed speed = CursorSpeed(kIllusionSpeedFactor);
    settings_.speedX = speed.x;
    settings_.speedY = speed.y;
  }

  void Command(int id, int, LPARAM lParam) override {
    if (id != kSectorSlider) return;
    settings_.sectors = std::clamp(SliderPosition(id), kIllusionMinSectors, kIllusionMaxSectors);
    SetLabel(kSectorLabel, "%d", settings_.sectors);
    if (lParam != 0) return;
    settings_.speedX = settings_.speedY = 0;
    if (!map_.empty()) BuildIllusionMap(width, height, settings_.sectors, map_.data());
  }

 private:
  IllusionSettings settings_;
  std::vector<IllusionEntry> map_;
  int64_t offsetX_ = 0, offsetY_ = 0;
};

}  // namespace

}  // namespace quillo::qlo12

QUILLO_ANIMATION_EXPORT(ProcessIllusion, quillo::qlo12::IllusionEffect)
