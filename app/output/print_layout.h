// The page layout of printing: where the picture goes on the single page,
// the eight handles the user drags it by, which handle or area a pointer is
// over, the drag itself and the snap to the picture's proportions.
// Page units are printer device units; pane points are pane pixels. The
// window side maps between the two with the preview's messages and hands
// plain points and rectangles in here.
#pragma once
#include <array>
#include <cstdint>

namespace quillo {

struct LayoutPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const LayoutPoint&) const = default;
};

// Edges of a rectangle; right and bottom are exclusive, as for a Win32 RECT.
struct LayoutRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool operator==(const LayoutRect&) const = default;
};

// An anchor coordinate that has not been set.
inline constexpr int32_t kUnsetAnchor = static_cast<int32_t>(0xC000FFFFu);

// The pane popup's one command: fit the placement to the picture's
// proportions.
inline constexpr int kFitToPictureCommand = 122;
// Pen width the placement is invalidated with (it covers the handles).
inline constexpr int kPlacementPenWidth = 3;
// A handle is drawn as a 7 x 7 square centred on its point; the pointer is
// on it while both distances are below 4 pixels.
inline constexpr int kHandleSize = 7;
inline constexpr int kHandleReach = 4;

// Where the pointer is relative to the placement. The numbers are the
// handle order and are kept in the drag state.
enum class HitZone : int {
  kNone = 0,
  kTopLeft = 1,
  kLeft = 2,
  kBottomLeft = 3,
  kTop = 4,
  kBottom = 5,
  kTopRight = 6,
  kRight = 7,
  kBottomRight = 8,
  kInside = 9,
};

// The cursor a zone shows (IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,
// IDC_SIZENS, IDC_SIZEALL, IDC_ARROW on the window side).
enum class ZoneCursor { kSizeNWSE, kSizeNESW, kSizeWE, kSizeNS, kSizeAll, kArrow };
ZoneCursor CursorForZone(HitZone zone);

// The picture's first placement on a page: its size doubled while twice the
// width is below the page width and twice the height below the page height,
// then centred: left = (page width - s) / 2, top = (page height - t) / 2,
// truncated. A picture larger than the page keeps its size and overhangs
// both sides alike. A picture without area is centred as a point.
LayoutRect InitialPlacement(int32_t pictureWidth, int32_t pictureHeight, int32_t pageWidth,
                            int32_t pageHeight);

// The handles of r in zone order 1..8: the corners and the edge midpoints,
// a midpoint being (a + b) / 2 truncated.
std::array<LayoutPoint, 8> HandlePoints(const LayoutRect& r);

// The square a handle is drawn as, centred on its point.
LayoutRect HandleSquare(LayoutPoint handle);

// The zone under pane point p, given the handles and the placement already
// mapped to pane pixels: the first handle with |dx| < 4 and |dy| < 4, else
// kInside when p lies in the rectangle (right and bottom exclusive; the
// rectangle is normalised first), else kNone.
HitZone ZoneAt(const std::array<LayoutPoint, 8>& handles, const LayoutRect& placement,
               LayoutPoint p);

// The edges left <= right and top <= bottom.
LayoutRect NormalisedRect(const LayoutRect& r);

// A drag of the placement with the mouse, from button down to button up.
struct PlacementDrag {
  bool dragging = false;
  HitZone zone = HitZone::kNone;
  LayoutPoint anchor{kUnsetAnchor, kUnsetAnchor};  // page units
  LayoutRect atStart;                              // the placement at button down
};

// Button down at `pointer` (page units) over `zone`.
PlacementDrag BeginPlacementDrag(const LayoutRect& placement, HitZone zone, LayoutPoint pointer);

// The placement after the pointer moved to `pointer` (page units). Inside:
// the placement moves by the pointer's movement since the last move (the
// first from the button-down point) and the anchor follows the pointer; a
// move that would take an edge out of 32-bit range stops at the range.
// A handle: its edges go to the pointer, the others are those at drag start,
// and edges that cross are swapped. Without a drag nothing changes.
LayoutRect DragPlacement(PlacementDrag& drag, const LayoutRect& placement, LayoutPoint pointer);

// Button up: the drag ends, its anchors are cleared, and the placement comes
// back normalised.
LayoutRect EndPlacementDrag(PlacementDrag& drag, const LayoutRect& placement);

// The placement snapped to a pictureWidth x pictureHeight picture, top-left
// corner kept: with w and h the placement's width and height, when
// w / h >= W / H (compared exactly, w * H >= W * h) right = left +
// MulDiv(W, h, H), else bottom = top + MulDiv(H, w, W), rounded to nearest
// as MulDiv rounds. A placement of zero (or negative) width or height, or a
// picture without area, is left as it is.
LayoutRect FitToPicture(const LayoutRect& placement, int32_t pictureWidth, int32_t pictureHeight);

}  // namespace quillo
