// The cursor over the frames: fixed, or keyed by "frame x y" lines (frames
// counted from 1, ascending) and moving in a straight line from key to key;
// before the first key it rests there, after the last it stays there.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "tools/render/effects/effect_registry.h"

namespace quillo::render {

class CursorScript {
 public:
  // A cursor resting at `fixed` (which also gives the screen size).
  explicit CursorScript(const CursorPoint& fixed = {}) : fixed_(fixed) {}

  // Reads keys from `text`: one "frame x y" a line, blank lines and lines
  // starting with '#' ignored, frame 1 .. 1000000 strictly ascending, x and
  // y -100000 .. 100000 (a cursor may lie off the screen). False with
  // `error` naming the line.
  bool ReadKeys(std::string_view text, std::string& error);

  // The cursor at frame `frame` (from 1), rounded to whole pixels.
  CursorPoint At(int frame) const;

 private:
  struct Key {
    int frame, x, y;
  };
  CursorPoint fixed_;
  std::vector<Key> keys_;
};

}  // namespace quillo::render
