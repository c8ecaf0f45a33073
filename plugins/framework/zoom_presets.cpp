#include "zoom_presets.h"

#include <cstdint>

namespace quillo {

namespace {

constexpr ZoomPreset kPresets[] = {
    {"By 1/2", 2, true},  {"By 1/3", 3, true},  {"By 1/4", 4, true},   {"By 1/5", 5, true},
    {"By 1/8", 8, true},  {"By 1/10", 10, true}, {"By 1/16", 16, true}, {"By 1", 1, false},
    {"By 2", 2, false},   {"By 3", 3, false},   {"By 4", 4, false},    {"By 5", 5, false},
    {"By 8", 8, false},   {"By 10", 10, false}, {"By 16", 16, false}};

}  // namespace

std::span<const ZoomPreset> ZoomPresets() { return kPresets; }

bool ZoomPresetSize(int width, int height, int n, bool divide, int* newWidth, int* newHeight) {
  if (n <= 0) return false;
  const int64_t w = divide ? width / n : int64_t(width) * n;
  const int64_t h = divide ? height / n : int64_t(height) * n;
  if (w < 2 || h < 2 || w > 16382 || h > 16382) return false;
  *newWidth = int(w);
  *newHeight = int(h);
  return true;
}

}  // namespace quillo
