// What the map-driven effects share (tunnel, worm hole, magic patterns): a
// working texture (the picture, plain or made seamless) scrolled under a
// per-pixel map at the speed the cursor asks for, the seamless check box 601
// and the map that lives while playing.
#pragma once
#include <cstdint>
#include <vector>

#include "plugins/animation/animation_session.h"
#include "plugins/animation/kernels/texture_map.h"

namespace quillo::animation {

class MappedTextureEffect : public AnimationSession {
 public:
  bool ResetsViewTool() const override { return true; }
  bool SharesRectangle() const override { return true; }
  bool Setup() override;
  void DrawFrame() override;
  void StopPlaying() override { std::vector<MapEntry>().swap(map_); }

 protected:
  // Fills the map for the current settings; false when memory runs out.
  virtual bool BuildMap(MapEntry* map) = 0;
  virtual MapRows Rows() const = 0;
  // The texture's drift for the next frame, read after each frame.
  virtual Speed NextSpeed() const { return CursorSpeed(); }
  // Playing starts with the texture in place and no drift, so the first
  // frame is the texture looked up through the map.
  bool StartPlaying() override;
  // The map again for new settings while playing; the drift goes on.
  bool BuildMapNow();
  // The texture again from the backup, as check box 601 says.
  void RebuildTexture() { CopyBackupInto(texture_.data(), Checked(601)); }
  bool HasMap() const { return !map_.empty(); }

 private:
  std::vector<uint8_t> texture_;
  std::vector<MapEntry> map_;
  int64_t offsetX_ = 0, offsetY_ = 0;
  Speed speed_;
};

}  // namespace quillo::animation
