#include "print_layout.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace quillo {
namespace {

int32_t Half(int64_t a, int64_t b) { return int32_t((a + b) / 2); }

// a * b / c rounded to nearest, for non-negative a, b and positive c whose
// product stays inside 64 bits (the spans of a 32-bit rectangle do).
int64_t MulDivNonNegative(int64_t a, int64_t b, int64_t c) { return (a * b + c / 2) / c; }

// The edges each handle moves, by zone (1..8; 0 is unused).
struct HandleEdges {
  bool left, top, right, bottom;
};
constexpr HandleEdges kHandleEdges[9] = {
    // left   top    right  bottom
    {false, false, false, false},  // 0: no handle
    {true, true, false, false},    // 1: top-left corner
    {true, false, false, false},   // 2: left edge
    {true, false, false, true},    // 3: bottom-left corner
    {false, true, false, false},   // 4: top edge
    {false, false, false, true},   // 5: bottom edge
    {false, true, true, false},    // 6: top-right corner
    {false, false, true, false},   // 7: right edge
    {false, false, true, true},    // 8: bottom-right corner
};

}  // namespace

ZoneCursor CursorForZone(HitZone zone) {
  switch (zone) {
    case HitZone::kTopLeft:
    case HitZone::kBottomRight:
      return ZoneCursor::kSizeNWSE;
    case HitZone::kBottomLeft:
    case HitZone::kTopRight:
      return ZoneCursor::kSizeNESW;
    case HitZone::kLeft:
    case HitZone::kRight:
      return ZoneCursor::kSizeWE;
    case HitZone::kTop:
    case HitZone::kBottom:
      return ZoneCursor::kSizeNS;
    case HitZone::kInside:
      return ZoneCursor::kSizeAll;
    case HitZone::kNone:
      break;
  }
  return ZoneCursor::kArrow;
}

LayoutRect InitialPlacement(int32_t pictureWidth, int32_t pictureHeight, int32_t pageWidth,
                            int32_t pageHeight) {
  int64_t s = std::max(pictureWidth, 0), t = std::max(pictureHeight, 0);
  // A picture without area would double for ever; it stays as it is.
  if (s > 0 && t > 0)
    while (2 * s < pageWidth && 2 * t < pageHeight) {
      s *= 2;
      t *= 2;
    }
  const int64_t left = (pageWidth - s) / 2, top = (pageHeight - t) / 2;
  return {int32_t(left), int32_t(top), int32_t(left + s), int32_t(top + t)};
}

std::array<LayoutPoint, 8> HandlePoints(const LayoutRect& r) {
  const int32_t midX = Half(r.left, r.right), midY = Half(r.top, r.bottom);
  return {{{r.left, r.top},
           {r.left, midY},
           {r.left, r.bottom},
           {midX, r.top},
           {midX, r.bottom},
           {r.right, r.top},
           {r.right, midY},
           {r.right, r.bottom}}};
}

LayoutRect HandleSquare(LayoutPoint handle) {
  constexpr int64_t before = kHandleSize / 2, after = kHandleSize - before;
  auto clamp = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  return {clamp(handle.x - before), clamp(handle.y - before), clamp(handle.x + after),
          clamp(handle.y + after)};
}

HitZone ZoneAt(const std::array<LayoutPoint, 8>& handles, const LayoutRect& placement,
               LayoutPoint p) {
  for (size_t i = 0; i < handles.size(); ++i) {
    const int64_t dx = int64_t(p.x) - handles[i].x, dy = int64_t(p.y) - handles[i].y;
    if (std::llabs(dx) < kHandleReach && std::llabs(dy) < kHandleReach) return HitZone(i + 1);
  }
  const LayoutRect r = NormalisedRect(placement);
  if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return HitZone::kInside;
  return HitZone::kNone;
}

LayoutRect NormalisedRect(const LayoutRect& r) {
  LayoutRect n = r;
  if (n.left > n.right) std::swap(n.left, n.right);
  if (n.top > n.bottom) std::swap(n.top, n.bottom);
  return n;
}

PlacementDrag BeginPlacementDrag(const LayoutRect& placement, HitZone zone, LayoutPoint pointer) {
  PlacementDrag drag;
  drag.dragging = true;
  drag.zone = zone;
  drag.anchor = pointer;
  drag.atStart = placement;
  return drag;
}

LayoutRect DragPlacement(PlacementDrag& drag, const LayoutRect& placement, LayoutPoint pointer) {
  if (!drag.dragging) return placement;
  if (drag.zone == HitZone::kInside) {
    // The movement is limited so that no edge leaves the 32-bit range.
    const LayoutRect n = NormalisedRect(placement);
    const int64_t dx =
        std::clamp<int64_t>(int64_t(pointer.x) - drag.anchor.x, int64_t(INT32_MIN) - n.left,
                            int64_t(INT32_MAX) - n.right);
    const int64_t dy =
        std::clamp<int64_t>(int64_t(pointer.y) - drag.anchor.y, int64_t(INT32_MIN) - n.top,
                            int64_t(INT32_MAX) - n.bottom);
    drag.anchor = pointer;
    return {int32_t(placement.left + dx), int32_t(placement.top + dy),
            int32_t(placement.right + dx), int32_t(placement.bottom + dy)};
  }
  const int zone = int(drag.zone);
  if (zone < 1 || zone > 8) return placement;
  const HandleEdges& moves = kHandleEdges[zone];
  LayoutRect r = drag.atStart;
  if (moves.left) r.left = pointer.x;
  if (moves.top) r.top = pointer.y;
  if (moves.right) r.right = pointer.x;
  if (moves.bottom) r.bottom = pointer.y;
  return NormalisedRect(r);
}

LayoutRect EndPlacementDrag(PlacementDrag& drag, const LayoutRect& placement) {
  drag = PlacementDrag{};
  return NormalisedRect(placement);
}

LayoutRect FitToPicture(const LayoutRect& placement, int32_t pictureWidth, int32_t pictureHeight) {
  const int64_t w = int64_t(placement.right) - placement.left;
  const int64_t h = int64_t(placement.bottom) - placement.top;
  if (w <= 0 || h <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return placement;
  LayoutRect r = placement;
  // The new span is at most the old one, so the edge stays in range.
  if (w * pictureHeight >= int64_t(pictureWidth) * h)
    r.right = int32_t(r.left + MulDivNonNegative(pictureWidth, h, pictureHeight));
  else
    r.bottom = int32_t(r.top + MulDivNonNegative(pictureHeight, w, pictureWidth));
  return r;
}

}  // namespace quillo
