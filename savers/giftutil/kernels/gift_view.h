// Geometry of the gift player's window, which is frame, view and effect
// target at once and carries the scroll bars itself: the zoom steps, the
// scroll bars for the picture at a zoom, and the mouse wheel. Scroll
// positions and maxima are image pixels; conversions between window and
// image coordinates are the document view's (app/shell/view_layout.h):
// window = (image - scroll) x zoom, a zoom of 0 counting as 1.
#pragma once
#include "app/shell/view_layout.h"

namespace quillo::giftutil {

// The next ladder step above / below `zoom` (1/12 ... 1 ... 12). At either
// end, or for a zoom that is not exactly a ladder step, the zoom stays.
float GiftZoomIn(float zoom);
float GiftZoomOut(float zoom);

struct GiftViewInput {
  int imageWidth = 0;
  int imageHeight = 0;
  float zoom = 1.0f;
  int clientWidth = 0;   // the client area as it is now, without the bars shown
  int clientHeight = 0;
  bool hBarShown = false;
  bool vBarShown = false;
  int vScrollWidth = 0;   // SM_CXVSCROLL
  int hScrollHeight = 0;  // SM_CYHSCROLL
  int hPos = 0;
  int vPos = 0;
};

// The bars the picture needs. The window's own bars take room from its
// client area, so the area is first taken back to its size without them;
// otherwise a bar once shown would keep itself needed.
ViewLayout LayoutGiftView(const GiftViewInput& in);

// One notch of the mouse wheel: horizontal while a mouse button, Shift or
// Ctrl is held (key-state bits 1, 2, 4, 8 of the message), else vertical;
// one line back for a positive turn, one forward for a negative one.
struct WheelStep {
  bool scroll = false;  // false for a zero turn
  bool horizontal = false;
  bool back = false;    // towards the top / left
};
WheelStep WheelStepOf(unsigned keyStates, int delta);

}  // namespace quillo::giftutil
