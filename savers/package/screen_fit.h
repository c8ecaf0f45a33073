// How a saver fits a package's picture to the screen before it replays the
// effect, from the effect record's option flags.
#pragma once
#include <cstdint>

namespace quillo::package {

// The system metrics the area comes from.
struct ScreenMetrics {
  int32_t fullScreenWidth = 0;   // SM_CXFULLSCREEN
  int32_t fullScreenHeight = 0;  // SM_CYFULLSCREEN
  int32_t captionHeight = 0;     // SM_CYCAPTION
  int32_t menuHeight = 0;        // SM_CYMENUSIZE
};

struct ScreenFit {
  bool resample = false;  // false: leave the picture as it is
  int32_t width = 0;
  int32_t height = 0;
};

// Nothing happens when flags & 0xFFF000 is 0 or flags has 0x8000. Otherwise
// the area is fullScreenWidth x (fullScreenHeight - captionHeight -
// menuHeight), its height halved with 0x4000 and its width with 0x2000
// (arithmetic shift). A picture that fits the area is left alone; a wider
// or taller one is shrunk keeping its proportions: (area width,
// MulDiv(area width, h, w)), or when that is too tall (MulDiv(area height,
// w, h), area height). MulDiv rounds to nearest. An empty area or picture
// leaves it alone; a result below one pixel becomes one.
ScreenFit FitToScreen(int32_t optionFlags, int32_t width, int32_t height, const ScreenMetrics& screen);

}  // namespace quillo::package
