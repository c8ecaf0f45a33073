// The remembered screen position of effect dialogs ("x,y" under "Plugin" /
// "DlgWinPos" of the settings file).
#pragma once
#include <optional>
#include <string>

namespace quillo {

struct DialogPosition {
  int x = 0;
  int y = 0;
};

// Splits the text at blanks and commas and takes x and y as atoi does. The
// position is returned only when both are present and it lies inside the
// screen: 0 <= x < screenWidth - 5 and 0 <= y < screenHeight - 5.
std::optional<DialogPosition> ParseDialogPosition(const char* text, int screenWidth,
                                                  int screenHeight);

std::string FormatDialogPosition(int x, int y);

}  // namespace quillo
