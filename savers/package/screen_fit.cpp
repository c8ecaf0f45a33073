#include "screen_fit.h"

#include "app/host/effect_fit.h"
#include "app/host/effect_record.h"

namespace quillo::package {

namespace {
constexpr int32_t kFitKeepSize = 0x8000;
}  // namespace

ScreenFit FitToScreen(int32_t optionFlags, int32_t width, int32_t height, const ScreenMetrics& screen) {
  ScreenFit fit;
  if ((optionFlags & kOptionFitMask) == 0 || (optionFlags & kFitKeepSize)) return fit;
  int32_t newWidth = 0, newHeight = 0;
  if (!ShrinkIntoArea(optionFlags, screen.fullScreenWidth,
                      screen.fullScreenHeight - screen.captionHeight - screen.menuHeight, width, height,
                      &newWidth, &newHeight))
    return fit;
  fit = {true, newWidth, newHeight};
  return fit;
}

}  // namespace quillo::package
