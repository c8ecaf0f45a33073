#include "mapped_texture_effect.h"

namespace quillo::animation {

bool MappedTextureEffect::Setup() {
  if (!TryResize(texture_, size_t(stride) * size_t(height))) return false;
  CopyBackupInto(texture_.data(), true);
  return true;
}

bool MappedTextureEffect::StartPlaying() {
  offsetX_ = offsetY_ = 0;
  speed_ = {};
  return BuildMapNow();
}

bool MappedTextureEffect::BuildMapNow() {
  if (!TryResize(map_, size_t(width) * size_t(height)) || !BuildMap(map_.data())) {
    std::vector<MapEntry>().swap(map_);
    return false;
  }
  return true;
}

void MappedTextureEffect::DrawFrame() {
  if (map_.empty()) return;
  offsetX_ = ReduceInto(offsetX_ + speed_.x, width);
  offsetY_ = ReduceInto(offsetY_ + speed_.y, height);
  DrawMappedFrame(texture_.data(), livePixels, width, height, stride, map_.data(),
                             offsetX_, offsetY_, Rows());
  speed_ = NextSpeed();
}

}  // namespace quillo::animation
