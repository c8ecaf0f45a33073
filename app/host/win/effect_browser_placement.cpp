#include "effect_browser_placement.h"

#include <cstdint>

#include "app/shell/settings_values.h"

namespace quillo {

std::optional<BrowserPlacement> ParseBrowserPlacement(const char* text, int screenWidth,
                                                      int screenHeight) {
  if (!text) return std::nullopt;
  int numbers[4];
  const char* cursor = text;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (*cursor != ',') return std::nullopt;
      ++cursor;
    }
    bool valid = false;
    numbers[i] = ParseInt(cursor, valid);
    if (!valid) return std::nullopt;
  }
  const int storedWidth = numbers[2], storedHeight = numbers[3];
  if (storedWidth <= 1 || storedHeight <= 1) return std::nullopt;
  if (storedWidth > screenWidth || storedHeight > screenHeight) return std::nullopt;
  BrowserPlacement placement{numbers[0], numbers[1], storedWidth - 1, storedHeight - 1};
  if (placement.left > screenWidth - 10) placement.left = screenWidth - 20;
  if (placement.top > screenHeight - 10) placement.top = screenHeight - 20;
  if (placement.left < -5) placement.left = 0;
  if (placement.top < -5) placement.top = 0;
  return placement;
}

std::string FormatBrowserPlacement(const BrowserPlacement& placement) {
  // 64-bit sums: a window as wide as INT_MAX still gives a readable number.
  return std::to_string(placement.left) + "," + std::to_string(placement.top) + "," +
         std::to_string(int64_t(placement.width) + 1) + "," +
         std::to_string(int64_t(placement.height) + 1);
}

}  // namespace quillo
