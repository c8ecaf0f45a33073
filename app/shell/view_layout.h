// Geometry of an image view: scroll bars and ranges (in image pixels),
// scrolling steps, the part of the client area the image covers, and the
// part of the image a paint draws. The image's top-left pixel sits at the
// client origin when both positions are 0; there is no centring.
#pragma once
#include <cstdint>

#include "zoom.h"

namespace quillo {

struct ViewInput {
  int imageWidth = 0;
  int imageHeight = 0;
  float zoom = 1.0f;
  int clientWidth = 0;       // of the document window
  int clientHeight = 0;
  int vScrollWidth = 0;      // width of a vertical scroll bar
  int hScrollHeight = 0;     // height of a horizontal scroll bar
  int hPos = 0;              // current positions, image pixels
  int vPos = 0;
};

struct ViewLayout {
  int scaledWidth = 0;       // floor(W * zoom)
  int scaledHeight = 0;
  bool hBar = false;
  bool vBar = false;
  int hMax = 0;              // scroll ranges 0..max, image pixels
  int vMax = 0;
  int hPos = 0;
  int vPos = 0;
};

// Which bars are needed and their ranges:
//   SW > CW + 1: horizontal; vertical too when HH + SH > CH + 1.
//   else SH <= CH + 1: none.
//   else vertical; horizontal too when VW + SW > CW + 1.
//   hMax = floor((SW - CW + VW if vertical) / zoom), vMax likewise;
//   positions clamped to 0..max, 0 for a bar that is not needed.
ViewLayout LayoutView(const ViewInput& in);

enum class ScrollAction { LineBack, LineForward, PageBack, PageForward, Thumb, Start, End };

// New position after one scroll action along one axis: a page is the client
// extent / zoom (at least 1), a line a page / 8 (at least 1); the result is
// clamped to 0..max. A zoom <= 0 counts as 1.
int ScrollTo(ScrollAction action, int position, int max, int clientExtent, float zoom,
             int thumbPosition);

// client = floor((image - pos) * zoom) and image = floor(client / zoom) + pos.
int ImageToClient(int image, int pos, float zoom);
int ClientToImage(int client, int pos, float zoom);

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

// The client rectangle the image covers: (0, 0, min(floor((W - hpos) *
// zoom), CW), min(floor((H - vpos) * zoom), CH)), never negative.
Rect ImageCoverage(int imageWidth, int imageHeight, int hPos, int vPos, float zoom, int clientWidth,
                   int clientHeight);

// The stretch of one paint at a zoom other than 1: the source rectangle of
// the image (srcX, srcY from the bottom as bottom-up DIB rows count) that
// lands on (0, 0, destWidth, destHeight) of the client area. The source is
// the visible part plus the partly visible pixel at the far edge.
struct PaintStretch {
  int srcX = 0;
  int srcYFromBottom = 0;
  int srcWidth = 0;
  int srcHeight = 0;
  int destWidth = 0;
  int destHeight = 0;
};
PaintStretch StretchForPaint(int imageWidth, int imageHeight, int hPos, int vPos, float zoom,
                             int clientWidth, int clientHeight);

// The magnifier: a 180 x 180 loupe from -89 to +90 around the client point,
// showing the image within 45 pixels of the point under it.
struct Loupe {
  Rect client;   // right and bottom exclusive
  Rect image;    // right and bottom exclusive, not clamped
};
Loupe LoupeAt(int clientX, int clientY, int hPos, int vPos, float zoom);

// Zoom-to-rectangle scrolling: positions that put the centre of the image
// rectangle in the middle of the client area at the new zoom (LayoutView
// clamps them afterwards).
void CentreOnRectangle(const Rect& image, float zoom, int clientWidth, int clientHeight, int& hPos,
                       int& vPos);

}  // namespace quillo
