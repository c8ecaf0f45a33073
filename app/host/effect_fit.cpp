#include "effect_fit.h"

#include "effect_record.h"
#include "imaging/basics/effect_area.h"

namespace quillo {

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
  int32_t areaWidth = screenWidth - 135;
  int32_t areaHeight = screenHeight - 140;
  if (optionFlags & 0x4000) areaHeight >>= 1;
  if (optionFlags & 0x2000) areaWidth >>= 1;
  if (areaWidth < 1 || areaHeight < 1 || imageWidth < 1 || imageHeight < 1) return fit;
  if (imageWidth <= areaWidth && imageHeight <= areaHeight) return fit;
  int32_t width = areaWidth;
  int32_t height = MulDivRound(areaWidth, imageHeight, imageWidth);
  if (height > areaHeight) {
    width = MulDivRound(areaHeight, imageWidth, imageHeight);
    height = areaHeight;
  }
  // A sliver of a picture still gets at least one pixel each way: the
  // resampler refuses smaller targets.
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  fit.action = EffectFitAction::kResample;
  fit.width = width;
  fit.height = height;
  return fit;
}

}  // namespace quillo
