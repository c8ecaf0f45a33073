#include "screen_fit.h"

#include "app/host/effect_record.h"
#include "imaging/basics/effect_area.h"

namespace quillo::package {

namespace {
constexpr int32_t kFitKeepSize = 0x8000;
constexpr int32_t kFitHalfHeight = 0x4000;
constexpr int32_t kFitHalfWidth = 0x2000;
}  // namespace

ScreenFit FitToScreen(int32_t optionFlags, int32_t width, int32_t height, const ScreenMetrics& screen) {
  ScreenFit fit;
  if ((optionFlags & kOptionFitMask) == 0 || (optionFlags & kFitKeepSize)) return fit;
  int32_t areaWidth = screen.fullScreenWidth;
  int32_t areaHeight = screen.fullScreenHeight - screen.captionHeight - screen.menuHeight;
  if (optionFlags & kFitHalfHeight) areaHeight >>= 1;
  if (optionFlags & kFitHalfWidth) areaWidth >>= 1;
  if (areaWidth < 1 || areaHeight < 1 || width < 1 || height < 1) return fit;
  if (width <= areaWidth && height <= areaHeight) return fit;
  int32_t newWidth = areaWidth;
  int32_t newHeight = MulDivRound(areaWidth, height, width);
  if (newHeight > areaHeight) {
    newWidth = MulDivRound(areaHeight, width, height);
    newHeight = areaHeight;
  }
  if (newWidth < 1) newWidth = 1;
  if (newHeight < 1) newHeight = 1;
  fit = {true, newWidth, newHeight};
  return fit;
}

}  // namespace quillo::package
