#include "view_layout.h"

#include <algorithm>
#include <cstdint>

namespace quillo {

static int Clamp32(int64_t v) {
  return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

ViewLayout LayoutView(const ViewInput& in) {
  const ZoomRatio z = RatioOfZoom(in.zoom);
  ViewLayout out;
  const int64_t sw = ScaleToClient(std::max(in.imageWidth, 0), z);
  const int64_t sh = ScaleToClient(std::max(in.imageHeight, 0), z);
  const int64_t cw = in.clientWidth, ch = in.clientHeight;
  out.scaledWidth = Clamp32(sw);
  out.scaledHeight = Clamp32(sh);
  if (sw > cw + 1) {
    out.hBar = true;
    out.vBar = in.hScrollHeight + sh > ch + 1;
  } else if (sh <= ch + 1) {
    return out;  // everything visible: no bars, ranges and positions 0
  } else {
    out.vBar = true;
    out.hBar = in.vScrollWidth + sw > cw + 1;
  }
  if (out.hBar)
    out.hMax = Clamp32(std::max<int64_t>(0, ScaleToImage(sw - cw + (out.vBar ? in.vScrollWidth : 0), z)));
  if (out.vBar)
    out.vMax = Clamp32(std::max<int64_t>(0, ScaleToImage(sh - ch + (out.hBar ? in.hScrollHeight : 0), z)));
  out.hPos = out.hBar ? std::clamp(in.hPos, 0, out.hMax) : 0;
  out.vPos = out.vBar ? std::clamp(in.vPos, 0, out.vMax) : 0;
  return out;
}

int ScrollTo(ScrollAction action, int position, int max, int clientExtent, float zoom,
             int thumbPosition) {
  const ZoomRatio z = RatioOfZoom(zoom > 0.0f ? zoom : 1.0f);
  const int64_t page = std::max<int64_t>(1, ScaleToImage(clientExtent, z));
  const int64_t line = std::max<int64_t>(1, page / 8);
  int64_t next = position;
  switch (action) {
    case ScrollAction::LineBack: next -= line; break;
    case ScrollAction::LineForward: next += line; break;
    case ScrollAction::PageBack: next -= page; break;
    case ScrollAction::PageForward: next += page; break;
    case ScrollAction::Thumb: next = thumbPosition; break;
    case ScrollAction::Start: next = 0; break;
    case ScrollAction::End: next = max; break;
  }
  return int(std::clamp<int64_t>(next, 0, std::max(max, 0)));
}

int ImageToClient(int image, int pos, float zoom) {
  return Clamp32(ScaleToClient(int64_t(image) - pos, RatioOfZoom(zoom)));
}

int ClientToImage(int client, int pos, float zoom) {
  return Clamp32(ScaleToImage(client, RatioOfZoom(zoom)) + pos);
}

Rect ImageCoverage(int imageWidth, int imageHeight, int hPos, int vPos, float zoom, int clientWidth,
                   int clientHeight) {
  const ZoomRatio z = RatioOfZoom(zoom);
  Rect r;
  r.right = Clamp32(std::clamp<int64_t>(ScaleToClient(int64_t(imageWidth) - hPos, z), 0,
                                        std::max(clientWidth, 0)));
  r.bottom = Clamp32(std::clamp<int64_t>(ScaleToClient(int64_t(imageHeight) - vPos, z), 0,
                                         std::max(clientHeight, 0)));
  return r;
}

PaintStretch StretchForPaint(int imageWidth, int imageHeight, int hPos, int vPos, float zoom,
                             int clientWidth, int clientHeight) {
  const ZoomRatio z = RatioOfZoom(zoom);
  PaintStretch s;
  hPos = std::clamp(hPos, 0, std::max(imageWidth, 0));
  vPos = std::clamp(vPos, 0, std::max(imageHeight, 0));
  // Image pixels that touch the client area: ceil(client / zoom), plus the
  // one cut by the edge.
  const int64_t wantW = ScaleToImage(std::max(clientWidth, 0), z) + 1;
  const int64_t wantH = ScaleToImage(std::max(clientHeight, 0), z) + 1;
  s.srcX = hPos;
  s.srcWidth = int(std::min<int64_t>(wantW, int64_t(imageWidth) - hPos));
  s.srcHeight = int(std::min<int64_t>(wantH, int64_t(imageHeight) - vPos));
  s.srcYFromBottom = imageHeight - vPos - s.srcHeight;
  // The destination is the exact scaled size of the source, so every source
  // pixel keeps the zoom's size; the device clips what lies past the edge.
  s.destWidth = Clamp32(ScaleToClient(s.srcWidth, z));
  s.destHeight = Clamp32(ScaleToClient(s.srcHeight, z));
  return s;
}

Loupe LoupeAt(int clientX, int clientY, int hPos, int vPos, float zoom) {
  Loupe l;
  l.client = {clientX - 89, clientY - 89, clientX + 91, clientY + 91};
  const int ix = ClientToImage(clientX, hPos, zoom);
  const int iy = ClientToImage(clientY, vPos, zoom);
  l.image = {ix - 45, iy - 45, ix + 45, iy + 45};
  return l;
}

void CentreOnRectangle(const Rect& image, float zoom, int clientWidth, int clientHeight, int& hPos,
                       int& vPos) {
  const ZoomRatio z = RatioOfZoom(zoom);
  const int64_t cx = (int64_t(image.left) + image.right) / 2;
  const int64_t cy = (int64_t(image.top) + image.bottom) / 2;
  hPos = Clamp32(std::max<int64_t>(0, cx - ScaleToImage(clientWidth, z) / 2));
  vPos = Clamp32(std::max<int64_t>(0, cy - ScaleToImage(clientHeight, z) / 2));
}

}  // namespace quillo
