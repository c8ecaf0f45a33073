// How a picture is fitted to the screen before an effect runs, from the
// effect's option flags: nothing, a zoom reset only, or a shrink into the
// screen area left beside the studio's bars.
#pragma once
#include <cstdint>

namespace quillo {

enum class EffectFitAction {
  kNone,             // leave image and zoom alone
  kResetZoom,        // show the image at actual size and lay the view out again
  kResample,         // shrink the image to width x height, then reset the zoom
};

struct EffectFit {
  EffectFitAction action = EffectFitAction::kNone;
  int32_t width = 0;
  int32_t height = 0;
};

// `kind` and `optionFlags` come from the effect record; the screen size is
// that of the primary screen. The area is the screen less 135 x 140 pixels,
// halved in height with 0x4000 and in width with 0x2000; an image wider or
// taller than the area is shrunk to it keeping its aspect ratio (MulDiv
// arithmetic, rounded to nearest). Option 0x8000 only resets the zoom; warp
// effects without fitting bits reset the zoom too. A screen too small for
// any area leaves the image alone; a result below 1 pixel becomes 1.
// The shared part of both fits: the area halved in height with 0x4000 and
// in width with 0x2000, and an image wider or taller than it shrunk into it
// keeping its aspect ratio (MulDiv arithmetic, rounded to nearest; at least
// 1 pixel each way). False when the image fits as it is or the area or the
// image is empty.
bool ShrinkIntoArea(int32_t optionFlags, int32_t areaWidth, int32_t areaHeight, int32_t imageWidth,
                    int32_t imageHeight, int32_t* width, int32_t* height);

EffectFit FitForEffect(int32_t kind, int32_t optionFlags, int32_t imageWidth, int32_t imageHeight,
                       int32_t screenWidth, int32_t screenHeight);

}  // namespace quillo
