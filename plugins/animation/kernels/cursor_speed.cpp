#include "cursor_speed.h"

#include "imaging/basics/effect_area.h"

namespace quillo::animation {

Speed SpeedFromCursor(int screenWidth, int screenHeight, int cursorX, int cursorY, int width,
                      int height, int factor) {
  const int halfX = screenWidth / 2, halfY = screenHeight / 2;
  Speed s;
  s.x = halfX > 0 ? MulDivRound(halfX - cursorX, factor, halfX) : 0;
  s.y = halfY > 0 ? MulDivRound(cursorY - halfY, factor, halfY) : 0;
  if (s.x < 0) s.x += width;
  if (s.y < 0) s.y += height;
  if (s.x < 3 && s.y < 3) s.x = s.y = 2;
  return s;
}

}  // namespace quillo::animation
