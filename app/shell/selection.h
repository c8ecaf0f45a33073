// The rectangular selection of an image view, in image pixels (y from the
// top, right and bottom exclusive; all zero = no selection). Whatever is
// stored, every use goes through ClampSelection, so an image that shrank
// under a selection (crop, undo to a smaller step) never yields a rectangle
// outside it.
#pragma once
#include "view_layout.h"

namespace quillo {

// The selection put in order (left <= right, top <= bottom) and cut to
// 0..width x 0..height. The result may be empty.
Rect ClampSelection(const Rect& selection, int width, int height);

// A selection that is non-empty in both directions after clamping.
bool SelectionUsable(const Rect& selection, int width, int height);

// The area an operation works on: the clamped selection when usable,
// otherwise the whole image.
Rect SelectionOrWholeImage(const Rect& selection, int width, int height);

// The rectangle a drag from `anchor` to `point` (image pixels) selects, cut
// to the image; zero width or height gives no selection (all zero).
Rect SelectionFromDrag(int anchorX, int anchorY, int pointX, int pointY, int width, int height);

}  // namespace quillo
