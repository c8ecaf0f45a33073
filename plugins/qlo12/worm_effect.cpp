// The worm hole: the picture, scaled to 640 x 480, as the texture of a bent
// tube flown through at the speed the cursor asks for.
#include "plugins/animation/animation_run.h"
#include "plugins/animation/mapped_texture_effect.h"
#include "plugins/qlo12/kernels/worm_map.h"

namespace quillo::qlo12 {

namespace {

constexpr int kTicksPerScene = 30;

class WormEffect : public animation::MappedTextureEffect {
 public:
  const char* TemplateName() const override { return "Worm"; }

  // Every run animates a 640 x 480 picture; one taller than wide is turned
  // a quarter turn first.
  PictureShape WorkingShape(int w, int h) const override {
    return {kWormGridWidth, kWormGridHeight, w < h};
  }

  void InitControls(HWND dialog) override {
    Check(601, true);
    Check(801, true);
  }

  void Command(int id, int code, LPARAM) override {
    if (id == 601) RebuildTexture();
  }

  bool Tick(int count) override {
    if (count % kTicksPerScene == 0) CopyBackupIntoTexture();
    return true;
  }

 protected:
  bool BuildMap(animation::MapEntry* map) override {
    // The tube's grid is needed only while the map is made.
    std::vector<WormCell> grid;
    if (!animation::TryResize(grid, size_t(kWormGridWidth) * kWormGridHeight)) return false;
    BuildWormGrid(grid.data());
    BuildWormMap(grid.data(), width, height, map);
    return true;
  }
  animation::MapRows Rows() const override { return animation::MapRows::kDownward; }

 private:
  // The saver's change of scene makes the texture seamless again.
  void CopyBackupIntoTexture() {
    Check(601, true);
    RebuildTexture();
  }
};

}  // namespace

}  // namespace quillo::qlo12

QUILLO_ANIMATION_EXPORT(ProcessWorm, quillo::qlo12::WormEffect)
