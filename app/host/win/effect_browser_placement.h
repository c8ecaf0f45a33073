// The remembered place of a browser window: "Meridian"/"Pos" (family
// browser) and "Meridian"/"FavorPos" (full list) hold "left,top,width+1,
// height+1" of the window. Portable: text in, checked numbers out.
#pragma once
#include <optional>
#include <string>

namespace quillo {

struct BrowserPlacement {
  int left = 0;
  int top = 0;
  int width = 0;   // window width in pixels
  int height = 0;  // window height in pixels
};

// Reads "%d,%d,%d,%d". Accepted when all four numbers are there, the stored
// width and height are positive and do not exceed the screen's; then a left
// above screenWidth - 10 becomes screenWidth - 20, a top above
// screenHeight - 10 becomes screenHeight - 20, and a left or top below -5
// becomes 0. The stored size is one more than the window's, so a window
// keeps its size from one opening to the next. nullopt: keep the template
// position.
std::optional<BrowserPlacement> ParseBrowserPlacement(const char* text, int screenWidth,
                                                      int screenHeight);

// "left,top,width+1,height+1".
std::string FormatBrowserPlacement(const BrowserPlacement& placement);

}  // namespace quillo
