// Arithmetic of the print preview window, kept apart from the window code:
// page size and resolution, the reduced page of the zoom pane, the zoom
// steps of the three view modes, the pane layout, the page-to-pane mappings,
// the magnifying glass, the detail rectangle, invalidation, scrolling, the
// page label and the ruler ticks. Portable: plain integers in, plain
// integers out. Page units are printer device units; pane units are pixels.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "control_geometry.h"

namespace quillo::prt {

struct Point {
  int32_t x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int32_t width = 0, height = 0;
  bool operator==(const Size&) const = default;
};

inline constexpr int kToolBarHeight = 26;   // initial tool bar height, pixels
inline constexpr int kMagnifierSize = 120;  // side of the magnifying glass, pixels
inline constexpr int kResolutionWithoutPrinter = 300;
inline constexpr int kInitialDetailZoom = 2;
inline constexpr int kMaxMagnifierLevel = 6;    // levels run 1..6
inline constexpr int kZoomPaneLimit = 16383;    // largest zoom pane extent, pixels
inline constexpr int kDetailPaneLimit = 16384;  // detail zoom x pane size stops here
inline constexpr int kRulerTickLength = 5;      // pixels
inline constexpr int kRulerLabelInset = 7;      // pixels

// ---- Page size ---------------------------------------------------------------

// Without a printer the page is the full screen's width * 5 / 2 by its
// height * 5 (computed in 64 bits, kept inside 0..INT32_MAX) at 300 x 300.
Size PageSizeWithoutPrinter(int32_t screenWidth, int32_t screenHeight);
inline Size ResolutionWithoutPrinter() {
  return {kResolutionWithoutPrinter, kResolutionWithoutPrinter};
}

// A printer's page: its physical size when the driver reports one (both
// positive), else its printable area.
Size PrinterPageSize(Size physical, Size printable);

// The page the zoom pane scales: page / d for the smallest power of two d
// with pane width * 2d >= page width or pane height * 2d >= page height.
// Pane sizes count as at least 1, so the search ends for any input (d stays
// at most 2^30).
struct ReducedPage {
  int32_t divisor = 1;
  Size size;
};
ReducedPage ReducePage(Size page, Size pane);

// ---- Zoom --------------------------------------------------------------------

enum class ViewMode : int { kOnePage = 0, kTwoPanes = 1, kMagnifier = 2 };

struct ZoomState {
  int32_t zoom = 0;  // zoom pane factor; 0 shows the page pane instead
  int32_t detailZoom = kInitialDetailZoom;
  int32_t magnifierLevel = 1;
  bool operator==(const ZoomState&) const = default;
};

// What the zoom limits depend on: the reduced page (one-page mode) and the
// detail pane's client size (two-pane mode). Sizes below 1 count as 1.
struct ZoomLimits {
  Size reducedPage;
  Size detailPane;
};

struct ZoomButtons {
  bool zoomIn = false, zoomOut = false;
  bool operator==(const ZoomButtons&) const = default;
};

// One page: Zoom In is off once zoom x the reduced width or height exceeds
// 16383, Zoom Out while the page pane shows (zoom 0). Two panes: Zoom In is
// off once detail zoom x the pane width or height reaches 16384, Zoom Out at
// detail zoom 1. Magnifier: both always on.
ZoomButtons ZoomButtonsFor(ViewMode mode, const ZoomState& state, const ZoomLimits& limits);

// One page: 0 -> 1, then doubling; out halves, 1 -> 0. Two panes: the detail
// zoom doubles or halves. Magnifier: level + 1 wrapping 6 -> 1, - 1 wrapping
// 1 -> 6. A step whose button is off changes nothing.
ZoomState ZoomIn(ViewMode mode, const ZoomState& state, const ZoomLimits& limits);
ZoomState ZoomOut(ViewMode mode, const ZoomState& state, const ZoomLimits& limits);

// ---- Layout ------------------------------------------------------------------

// The largest box of the page's proportions inside area, centred in it
// (the other side MulDiv-rounded). A page without area fills the area.
Box FitPage(const Box& area, Size page);

struct PreviewLayout {
  Box toolBar;     // across the top, tool bar height
  Box area;        // below it, inset by the border: the zoom pane's place
  Box pagePane;    // 25001
  Box detailPane;  // 25002 (two-pane mode only, else empty)
};
// The page fitted into the client area below the tool bar, inset by
// `border` on every side; in two-pane mode the area is split into two
// halves `border` apart, each fitting the page, so both panes get the same
// size.
PreviewLayout LayoutPreview(Size client, int toolBarHeight, int border, ViewMode mode, Size page);

// ---- Mapping -----------------------------------------------------------------

// The mapping a pane's DC gets (MM_ANISOTROPIC): pane = viewportOrigin +
// (page - windowOrigin) * viewportExtent / windowExtent, rounded to
// nearest; extents are kept positive.
struct PageMapping {
  Point windowOrigin;
  Size windowExtent{1, 1};
  Point viewportOrigin;
  Size viewportExtent{1, 1};
};
Point PageToPane(const PageMapping& m, Point page);
Point PaneToPage(const PageMapping& m, Point pane);

// Page pane: the whole page onto its client area.
PageMapping PagePaneMapping(Size page, Size client);
// Detail pane: page / detail zoom from the focus origin (page-pane pixels,
// turned into page units through the page pane) onto its client area.
PageMapping DetailPaneMapping(Size page, Size pagePaneClient, Point focusOrigin, int32_t detailZoom,
                              Size detailClient);
// Zoom pane: the reduced page times the zoom, scrolled by the position.
PageMapping ZoomPaneMapping(Size page, Size reducedPage, int32_t zoom, Point scrollPosition);
// Magnifier: the page window of the glass onto the glass bitmap.
PageMapping MagnifierMapping(const Box& pageWindow, int32_t magnifierSize = kMagnifierSize);

// ---- Magnifying glass and detail rectangle -----------------------------------

// A size x size square centred on the cursor, moved to lie inside a pane of
// the given client size (left/top edge first when it does not fit).
Box CentredSquareInside(Point centre, int32_t size, Size bounds);

// The glass on the page pane (pane pixels).
inline Box MagnifierSquare(Point cursor, Size paneClient, int32_t size = kMagnifierSize) {
  return CentredSquareInside(cursor, size, paneClient);
}
// The page the glass shows: a square of size / level page units centred on
// the cursor's page point and kept inside the page (level clamped to 1..6).
Box MagnifierPageWindow(Point cursorOnPage, Size page, int32_t level,
                        int32_t size = kMagnifierSize);

// The detail rectangle on the page pane: client / detail zoom (at least 1)
// at the focus origin.
Box DetailRect(Point focusOrigin, Size pageClient, int32_t detailZoom);
// The focus origin while dragged: moved by the pointer's travel since the
// press and kept so the rectangle stays inside the pane.
Point DragFocusOrigin(Point originAtPress, Point press, Point pointer, Size pageClient,
                      int32_t detailZoom);

// ---- Invalidation ------------------------------------------------------------

// The page-unit half of an invalidation: the rectangle normalised and
// clamped to the page.
Box InvalidationOnPage(const Box& pageRect, Size page);
// The pixel half: the mapped rectangle (normalised) grown by 2w + 1 on the
// top-left and 2w + 2 on the bottom-right for pen width w (w below 0 counts
// as 0); kept inside 32 bits.
Box GrowForPen(const Box& paneRect, int32_t penWidth);
// Both halves with a pane's mapping in between.
Box InvalidationOnPane(const Box& pageRect, Size page, const PageMapping& pane, int32_t penWidth);

// ---- Scrolling the zoom pane --------------------------------------------------

enum class ScrollStep { kLineBack, kLineForward, kPageBack, kPageForward, kHome, kEnd, kThumb };

// Scroll range along one axis: the zoomed reduced page less the client
// extent, at least 0.
int32_t ZoomScrollRange(int32_t reducedExtent, int32_t zoom, int32_t clientExtent);
// New position: a line is a tenth of the client extent (at least 1), a page
// the client extent; the result is clamped to 0..range.
int32_t ScrollPosition(ScrollStep step, int32_t position, int32_t range, int32_t clientExtent,
                       int32_t thumb = 0);
// Whether a move can scroll the window contents rather than repaint: it is
// smaller than the client extent and no rulers are shown.
bool ScrollsByCopy(int32_t from, int32_t to, int32_t clientExtent, bool rulersShown);

// ---- Labels and rulers -------------------------------------------------------

// "%d of %d", or empty for a single page.
std::string PageLabel(int32_t page, int32_t pageCount);

// One ruler tick: whole inch `inch` at pane coordinate `pixel`.
struct RulerTick {
  int32_t inch = 0;
  int32_t pixel = 0;
  bool operator==(const RulerTick&) const = default;
};
// Ticks of the whole inches 0..pageExtent / unitsPerInch along one axis
// whose mapped coordinate lies in 0..clientExtent, for the horizontal
// (across the top) or the vertical ruler.
std::vector<RulerTick> RulerTicks(const PageMapping& m, bool horizontal, int32_t pageExtent,
                                  int32_t unitsPerInch, int32_t clientExtent);

}  // namespace quillo::prt
