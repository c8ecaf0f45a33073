#include "gift_view.h"

namespace quillo::giftutil {

namespace {

int LadderIndex(float zoom) {
  for (int i = 0; i < kZoomLadderSize; ++i)
    if (zoom == ZoomValue(kZoomLadder[i])) return i;
  return -1;
}

}  // namespace

float GiftZoomIn(float zoom) {
  const int i = LadderIndex(zoom);
  return i < 0 || i + 1 >= kZoomLadderSize ? zoom : ZoomValue(kZoomLadder[i + 1]);
}

float GiftZoomOut(float zoom) {
  const int i = LadderIndex(zoom);
  return i <= 0 ? zoom : ZoomValue(kZoomLadder[i - 1]);
}

ViewLayout LayoutGiftView(const GiftViewInput& in) {
  ViewInput view;
  view.imageWidth = in.imageWidth;
  view.imageHeight = in.imageHeight;
  view.zoom = in.zoom > 0.0f ? in.zoom : 1.0f;
  view.clientWidth = in.clientWidth + (in.vBarShown ? in.vScrollWidth : 0);
  view.clientHeight = in.clientHeight + (in.hBarShown ? in.hScrollHeight : 0);
  view.vScrollWidth = in.vScrollWidth;
  view.hScrollHeight = in.hScrollHeight;
  view.hPos = in.hPos < 0 ? 0 : in.hPos;
  view.vPos = in.vPos < 0 ? 0 : in.vPos;
  return LayoutView(view);
}

WheelStep WheelStepOf(unsigned keyStates, int delta) {
  WheelStep step;
  if (delta == 0) return step;
  step.scroll = true;
  step.horizontal = (keyStates & 0xF) != 0;
  step.back = delta > 0;
  return step;
}

}  // namespace quillo::giftutil
