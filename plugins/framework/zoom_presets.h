// The size presets of the resizing dialogs: "By 1/2" .. "By 1/16" divide
// both sides (integer division), "By 1" .. "By 16" multiply them.
#pragma once
#include <span>

namespace quillo {

struct ZoomPreset {
  const char* label;
  int n;
  bool divide;
};

// The presets in the order the combo box lists them.
std::span<const ZoomPreset> ZoomPresets();

// Both sides multiplied (or divided) by n. False when a side would leave
// 2 .. 16382, so a preset never makes a picture one pixel wide or too large
// for the sliders.
bool ZoomPresetSize(int width, int height, int n, bool divide, int* newWidth, int* newHeight);

}  // namespace quillo
