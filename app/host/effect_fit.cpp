#include "effect_fit.h"

#include "effect_record.h"
#include "imaging/basics/effect_area.h"

namespace quillo {

bool ShrinkIntoArea(int32_t optionFlags, int32_t areaWidth, int32_t areaHeight, int32_t imageWidth,
                    int32_t imageHeight, int32_t* width, int32_t* height) {
  if (optionFlags & 0x4000) areaHeight >>= 1;
  if (optionFlags & 0x2000) areaWidth >>= 1;
  if (areaWidth < 1 || areaHeight < 1 || imageWidth < 1 || imageHeight < 1) return false;
  if (imageWidth <= areaWidth && imageHeight <= areaHeight) return false;
  int32_t w = areaWidth;
  int32_t h = MulDivRound(areaWidth, imageHeight, imageWidth);
  if (h > areaHeight) {
    w = MulDivRound(areaHeight, imageWidth, imageHeight);
    h = areaHeight;
  }
  // A sliver of a picture still gets at least one pixel each way: the
  // resampler refuses smaller targets.
  *width = w < 1 ? 1 : w;
  *height = h < 1 ? 1 : h;
  return true;
}

EffectFit FitForEffect(int32_t kind, int32_t optionFlags, int32_t imageWidth, int32_t imageHeight,
                       int32_t screenWidth, int32_t screenHeight) {
  EffectFit fit;
  if ((optionFlags & kOptionFitMask) == 0) {
    if (kind == kWarpKind) fit.action = EffectFitAction::kResetZoom;
    return fit;
  }
  if (optionFlags & 0x8000) {
    fit.action = EffectFitAction::kResetZoom;
    return fit;
  }
  int32_t width = 0, height = 0;
  if (!ShrinkIntoArea(optionFlags, screenWidth - 135, screenHeight - 140, imageWidth, imageHeight, &width, &height))
    return fit;
  fit.action = EffectFitAction::kResample;
  fit.width = width;
  fit.height = height;
  return fit;
}

}  // namespace quillo
