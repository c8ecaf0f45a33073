#include "selection.h"

#include <algorithm>

namespace quillo {

Rect ClampSelection(const Rect& s, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  Rect r;
  r.left = std::clamp(std::min(s.left, s.right), 0, width);
  r.right = std::clamp(std::max(s.left, s.right), 0, width);
  r.top = std::clamp(std::min(s.top, s.bottom), 0, height);
  r.bottom = std::clamp(std::max(s.top, s.bottom), 0, height);
  return r;
}

bool SelectionUsable(const Rect& selection, int width, int height) {
  const Rect r = ClampSelection(selection, width, height);
  return r.right > r.left && r.bottom > r.top;
}

Rect SelectionOrWholeImage(const Rect& selection, int width, int height) {
  if (SelectionUsable(selection, width, height)) return ClampSelection(selection, width, height);
  return {0, 0, std::max(width, 0), std::max(height, 0)};
}

Rect SelectionFromDrag(int anchorX, int anchorY, int pointX, int pointY, int width, int height) {
  const Rect r = ClampSelection({anchorX, anchorY, pointX, pointY}, width, height);
  if (r.right == r.left || r.bottom == r.top) return {};
  return r;
}

}  // namespace quillo
