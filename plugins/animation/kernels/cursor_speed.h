// The texture drift an animation takes from the mouse: the further the
// cursor lies from the screen's centre, the faster the texture moves.
#pragma once

namespace quillo::animation {

struct Speed {
  int x = 0, y = 0;
  bool operator==(const Speed&) const = default;
};

// Screen size and cursor position (screen pixels) to the per-frame shift of
// a width x height texture: x = MulDiv(Sx/2 - cx, factor, Sx/2), y =
// MulDiv(cy - Sy/2, factor, Sy/2), each within -factor .. factor (20 for
// most effects). A negative shift has the texture size added, a backward
// step written as a forward one. When both end below 3 both become 2, so
// the texture never stands still. A screen under 2 pixels wide or high
// gives no shift on that axis (MulDiv's -1 for a zero divisor is not used).
// A cursor off the screen can give a shift beyond the texture size: frame
// kernels reduce their offsets into the texture whatever the shift.
Speed SpeedFromCursor(int screenWidth, int screenHeight, int cursorX, int cursorY, int width,
                      int height, int factor = 20);

}  // namespace quillo::animation
