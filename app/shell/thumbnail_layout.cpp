#include "thumbnail_layout.h"

#include <algorithm>

#include "imaging/basics/effect_area.h"

namespace quillo {

int ThumbnailItemHeight(int borderHeight) { return kThumbnailPaneWidth - 2 * borderHeight; }

int ThumbnailBoxSize(int borderHeight) { return ThumbnailItemHeight(borderHeight) - 2; }

Rect FitThumbnail(int width, int height, int box) {
  if (width <= 0 || height <= 0 || box <= 0) return {};
  if (height > width) {
    const int w = std::max(1, MulDivRound(width, box, height));
    const int x = (box - w + 1) / 2 + 1;
    return {x, 1, x + w, 1 + box};
  }
  const int h = std::max(1, MulDivRound(height, box, width));
  const int y = (box - h + 1) / 2 + 1;
  return {1, y, 1 + box, y + h};
}

FrameLayout LayoutFrame(int width, int height, int statusHeight, bool paneShown) {
  FrameLayout f;
  const int pane = paneShown ? kThumbnailPaneWidth : 0;
  f.mdiClient = {0, kButtonBarHeight, std::max(0, width - pane),
                 std::max(kButtonBarHeight, height - statusHeight)};
  f.statusLine = {0, height - statusHeight, width, height};
  if (paneShown) {
    const int left = width - pane;
    f.header = {left, kButtonBarHeight, width, kButtonBarHeight + kThumbnailHeaderHeight};
    f.pane = {left, kButtonBarHeight + kThumbnailHeaderHeight, width,
              std::max(kButtonBarHeight + kThumbnailHeaderHeight, height - statusHeight)};
  }
  return f;
}

bool SpinRightHalf(int x, int width) { return x > width / 2; }

int SpinStep(int currentIndex, int itemCount, bool rightHalf) {
  if (rightHalf) return currentIndex > 0 ? currentIndex - 1 : currentIndex;
  const int next = currentIndex + 1;
  return next >= itemCount ? -1 : next;
}

}  // namespace quillo
