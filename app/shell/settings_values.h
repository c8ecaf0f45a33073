// Values of the settings file as the frame reads and writes them: the frame
// position "WinPos", the pane and best-fit flags, the animation interval.
// Text in, checked numbers out; anything implausible falls back to the
// default the key defines.
#pragma once
#include <optional>
#include <string>

namespace quillo {

struct FramePlacement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool maximized = false;
};

// "left top width height[ 1]". Accepted only when all four numbers are
// present, width and height are positive, left <= screenWidth - 10,
// top <= screenHeight - 10, width <= screenWidth + 100, height <=
// screenHeight + 100, and at least 10 pixels of the frame reach into the
// screen from the left and top (left + width >= 10, top + height >= 10).
// A fifth number equal to 1 means maximized. nullopt = system default
// position, not maximized.
std::optional<FramePlacement> ParseWinPos(const char* text, int screenWidth, int screenHeight);

// "%d %d %d %d" followed by " 1" when maximized.
std::string FormatWinPos(const FramePlacement& placement);

// "Thumbnail" / "Bestfit": a number, non-zero = on; a negative number reads
// as 0, and so does non-numeric text; a missing key (null) gives
// `fallback`.
bool ParseFlagSetting(const char* text, bool fallback);

// "Meridian"/"Timer" in milliseconds: at most the first 10 characters are
// read; empty or non-numeric counts as 0; below 100 or above 30000 becomes
// 1000. A missing key is read as its default "3000".
constexpr int kDefaultAnimationInterval = 3000;
int ParseAnimationInterval(const char* text);

// atoi without undefined behaviour: leading blanks, optional sign, digits;
// saturates at the 32-bit limits; `valid` tells whether any digit was read.
int ParseInt(const char*& cursor, bool& valid);

}  // namespace quillo
