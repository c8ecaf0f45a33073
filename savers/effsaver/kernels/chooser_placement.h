// Where the effect chooser opens: the studio's family browser remembers its
// place in "Meridian"/"Pos" and the chooser opens at the same place, by the
// same rule.
#pragma once
#include <optional>

#include "app/host/win/effect_browser_placement.h"

namespace quillo::effsaver {

// "left, top, width + 1, height + 1" with the numbers separated by commas,
// blanks or both; then the studio's rule (ParseBrowserPlacement): a size
// larger than the screen, or fewer than four numbers, keeps the template
// position (nullopt); a left or top beyond the screen is pulled back, one
// below -5 becomes 0.
std::optional<BrowserPlacement> ParseChooserPlacement(const char* text, int screenWidth,
                                                      int screenHeight);

}  // namespace quillo::effsaver
