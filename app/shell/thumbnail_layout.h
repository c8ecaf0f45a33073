// Geometry of the thumbnail pane at the right edge of the frame and of the
// frame's own children around it.
#pragma once
#include "view_layout.h"

namespace quillo {

constexpr int kThumbnailPaneWidth = 70;
constexpr int kThumbnailHeaderHeight = 30;
constexpr int kButtonBarHeight = 54;

// Item height = pane width - 2 x border height; the picture box is 2 less.
int ThumbnailItemHeight(int borderHeight);
int ThumbnailBoxSize(int borderHeight);

// Where a width x height picture lands in a box x box cell, proportions kept
// (it is enlarged when smaller than the box): a taller picture gets height
// box and width MulDiv(width, box, height), centred across with offset
// (box - w + 1) / 2 + 1 and 1 down; otherwise width box and height
// MulDiv(height, box, width), centred down likewise and 1 across. A side
// that would round to 0 is 1 pixel. Empty for an empty picture or box.
Rect FitThumbnail(int width, int height, int box);

// The frame's children for a client area of width x height with a status
// line statusHeight high; `paneShown` when the pane exists, is visible and
// the setting is on.
struct FrameLayout {
  Rect mdiClient;
  Rect statusLine;
  Rect pane;     // empty when not shown
  Rect header;   // the spin button strip above the pane; empty when not shown
};
FrameLayout LayoutFrame(int width, int height, int statusHeight, bool paneShown);

// The spin button above the list: a press at x in a control `width` wide is
// the right half when x > width / 2. The left half selects the next item
// (past the last: no selection, -1, so the next step starts again at 0); the
// right half the previous one, only from an index above 0.
bool SpinRightHalf(int x, int width);
int SpinStep(int currentIndex, int itemCount, bool rightHalf);

}  // namespace quillo
