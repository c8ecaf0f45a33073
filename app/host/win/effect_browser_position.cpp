// Reads and writes the browser's remembered place in the settings file.
#include <windows.h>

#include "effect_browser_placement.h"
#include "effect_browser_state.h"

namespace quillo {

namespace {

constexpr char kSettingsFile[] = "bexadbms.ini";

const char* PositionKey(const BrowserState& state) {
  return state.kind == BrowserKind::kFamilies ? "Pos" : "FavorPos";
}

}  // namespace

void ApplyBrowserPosition(const BrowserState& state) {
  char text[64] = {};
  GetPrivateProfileStringA("Meridian", PositionKey(state), "", text, sizeof text, kSettingsFile);
  const auto placement = ParseBrowserPlacement(text, GetSystemMetrics(SM_CXSCREEN),
                                               GetSystemMetrics(SM_CYSCREEN));
  if (!placement) return;
  SetWindowPos(state.dialog, nullptr, placement->left, placement->top, placement->width,
               placement->height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WriteBrowserPosition(const BrowserState& state) {
  RECT r;
  if (IsIconic(state.dialog)) {
    // A minimised window's rectangle is off screen; keep its restored place.
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(state.dialog, &wp)) return;
    r = wp.rcNormalPosition;
  } else if (!GetWindowRect(state.dialog, &r)) {
    return;
  }
  const BrowserPlacement placement{r.left, r.top, r.right - r.left, r.bottom - r.top};
  WritePrivateProfileStringA("Meridian", PositionKey(state),
                             FormatBrowserPlacement(placement).c_str(), kSettingsFile);
}

}  // namespace quillo
