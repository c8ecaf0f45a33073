#include "mapped_texture_effect.h"

namespace quillo::qlo12 {

bool MappedTextureEffect::Setup() {
  if (!animation::TryResize(texture_, size_t(stride) * size_t(height))) return false;
  CopyBackupInto(texture_.data(), true);
  return true;
}

bool MappedTextureEffect::StartPlaying() {
  offsetX_ = offsetY_ = 0;
  speed_ = {};
  return BuildMapNow();
}

bool MappedTextureEffect::BuildMapNow() {
  if (!animation::TryResize(map_, size_t(width) * size_t(height)) || !BuildMap(map_.data())) {
    std::vector<animation::MapEntry>().swap(map_);
    return false;
  }
  return true;
}

void MappedTextureEffect::DrawFrame() {
  if (map_.empty()) return;
  offsetX_ = animation::ReduceInto(offsetX_ + speed_.x, width);
  offsetY_ = animation::ReduceInto(offsetY_ + speed_.y, height);
  animation::DrawMappedFrame(texture_.data(), livePixels, width, height, stride, map_.data(),
                             offsetX_, offsetY_, Rows());
  speed_ = CursorSpeed();
}

}  // namespace quillo::qlo12
