// Arithmetic of the print preview window: page size, reduced page, zoom
// steps, layout, mappings, magnifier, detail rectangle, invalidation,
// scrolling, page label and rulers.
#include "printpreview/preview_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <iterator>
#include <ostream>

namespace quillo::prt {
void PrintTo(const Box& b, std::ostream* os) {
  *os << "{" << b.left << ", " << b.top << ", " << b.right << ", " << b.bottom << "}";
}
void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
void PrintTo(const Size& s, std::ostream* os) { *os << s.width << " x " << s.height; }
}  // namespace quillo::prt

using namespace quillo::prt;

namespace {

const Size kPage{2400, 3300};

// ---- page size -------------------------------------------------------------

TEST(PageSize, WithoutPrinterFromTheScreenAndKeptInRange) {
  EXPECT_EQ(PageSizeWithoutPrinter(1024, 768), (Size{2560, 3840}));
  EXPECT_EQ(PageSizeWithoutPrinter(1023, 1), (Size{2557, 5}));  // 5115 / 2 truncated
  EXPECT_EQ(PageSizeWithoutPrinter(INT32_MAX, INT32_MAX), (Size{INT32_MAX, INT32_MAX}));
  EXPECT_EQ(PageSizeWithoutPrinter(-4, INT32_MIN), (Size{0, 0}));
  EXPECT_EQ(ResolutionWithoutPrinter(), (Size{300, 300}));
  EXPECT_EQ(PrinterPageSize({2550, 3300}, {2400, 3200}), (Size{2550, 3300}));
  EXPECT_EQ(PrinterPageSize({0, 0}, {2400, 3200}), (Size{2400, 3200}));
}

TEST(ReducePage, SmallestPowerOfTwoWhereEitherSideReachesHalfThePage) {
  // 500 * 2 and 500 * 4 are below 2400, 700 * 4 below 3300; 500 * 8 is not.
  ReducedPage r = ReducePage(kPage, {500, 700});
  EXPECT_EQ(r.divisor, 4);
  EXPECT_EQ(r.size, (Size{600, 825}));
  // Height alone decides: 2000 * 2 >= 3300.
  EXPECT_EQ(ReducePage(kPage, {10, 2000}).divisor, 1);
  EXPECT_EQ(ReducePage({300, 300}, {500, 500}).size, (Size{300, 300}));
}

TEST(ReducePage, EmptyPanesAndExtremePagesEnd) {
  EXPECT_EQ(ReducePage(kPage, {0, 0}).divisor, 2048);  // counted as 1 x 1
  EXPECT_EQ(ReducePage(kPage, {-7, INT32_MIN}).divisor, 2048);
  const ReducedPage huge = ReducePage({INT32_MAX, INT32_MAX}, {0, 0});
  EXPECT_EQ(huge.divisor, 1 << 30);
  EXPECT_EQ(huge.size, (Size{1, 1}));
  EXPECT_EQ(ReducePage({-5, 0}, {1, 1}).size, (Size{-5, 0}));
}

// ---- zoom ------------------------------------------------------------------

TEST(Zoom, OnePageStartsAtOneDoublesAndStopsPast16383) {
  const ZoomLimits limits{{600, 825}, {400, 550}};
  ZoomState s;
  const int32_t up[] = {1, 2, 4, 8, 16, 32, 32};  // 32 * 825 > 16383: In is off
  for (int32_t want : up) {
    s = ZoomIn(ViewMode::kOnePage, s, limits);
    EXPECT_EQ(s.zoom, want);
  }
  EXPECT_EQ(ZoomButtonsFor(ViewMode::kOnePage, s, limits), (ZoomButtons{false, true}));
  const int32_t down[] = {16, 8, 4, 2, 1, 0, 0};
  for (int32_t want : down) {
    s = ZoomOut(ViewMode::kOnePage, s, limits);
    EXPECT_EQ(s.zoom, want);
  }
  EXPECT_EQ(ZoomButtonsFor(ViewMode::kOnePage, s, limits), (ZoomButtons{true, false}));
  // Exactly 16383 is not past the limit; an empty reduced page counts as 1.
  EXPECT_TRUE(ZoomButtonsFor(ViewMode::kOnePage, {1, 2, 1}, {{16383, 10}, {}}).zoomIn);
  EXPECT_FALSE(ZoomButtonsFor(ViewMode::kOnePage, {1, 2, 1}, {{10, 16384}, {}}).zoomIn);
  EXPECT_EQ(ZoomIn(ViewMode::kOnePage, {16384, 2, 1}, {{0, 0}, {}}).zoom, 16384);
}

TEST(Zoom, DetailZoomStopsWhenItReaches16384AndAtOne) {
  const ZoomLimits limits{{600, 825}, {400, 550}};
  ZoomState s;                               // detail zoom 2
  for (int32_t want : {4, 8, 16, 32, 32}) {  // 32 * 550 >= 16384
    s = ZoomIn(ViewMode::kTwoPanes, s, limits);
    EXPECT_EQ(s.detailZoom, want);
  }
  EXPECT_EQ(s.zoom, 0);  // the zoom pane's factor is left alone
  for (int i = 0; i < 6; ++i) s = ZoomOut(ViewMode::kTwoPanes, s, limits);  // 16 .. 1, then stays
  EXPECT_EQ(s.detailZoom, 1);
  EXPECT_EQ(ZoomButtonsFor(ViewMode::kTwoPanes, s, limits), (ZoomButtons{true, false}));
  EXPECT_FALSE(ZoomButtonsFor(ViewMode::kTwoPanes, {0, 2, 1}, {{}, {8192, 1}}).zoomIn);
  EXPECT_TRUE(ZoomButtonsFor(ViewMode::kTwoPanes, {0, 2, 1}, {{}, {8191, 1}}).zoomIn);
}

TEST(Zoom, MagnifierLevelWrapsBothWays) {
  const ZoomLimits limits{};
  ZoomState s;
  for (int32_t want : {2, 3, 4, 5, 6, 1}) {
    s = ZoomIn(ViewMode::kMagnifier, s, limits);
    EXPECT_EQ(s.magnifierLevel, want);
  }
  s = ZoomOut(ViewMode::kMagnifier, s, limits);
  EXPECT_EQ(s.magnifierLevel, 6);
  EXPECT_EQ(ZoomButtonsFor(ViewMode::kMagnifier, s, limits), (ZoomButtons{true, true}));
  // A level out of range is wrapped into 1..6 first: (2^31 - 1) mod 6 = 1.
  EXPECT_EQ(ZoomIn(ViewMode::kMagnifier, {0, 2, INT32_MAX}, limits).magnifierLevel, 2);
}

// ---- layout ----------------------------------------------------------------

TEST(Layout, PageFittedKeepingItsProportionsAndCentred) {
  // Wider area: full height 574, width 574 * 2400 / 3300 = 417.45 -> 417.
  EXPECT_EQ(FitPage({0, 26, 800, 600}, kPage), (Box{191, 26, 608, 600}));
  // Taller area: full width, height 100 * 3300 / 2400 = 137.5 -> 138.
  EXPECT_EQ(FitPage({0, 0, 100, 1000}, kPage), (Box{0, 431, 100, 569}));
  EXPECT_EQ(FitPage({5, 5, 50, 60}, {0, 100}), (Box{5, 5, 50, 60}));
  EXPECT_EQ(FitPage({5, 5, 1, 1}, kPage).width(), 0);  // inverted area is empty
}

TEST(Layout, OnePaneOrTwoHalvesBelowTheToolBar) {
  const PreviewLayout one = LayoutPreview({800, 600}, 26, 4, ViewMode::kOnePage, kPage);
  EXPECT_EQ(one.toolBar, (Box{0, 0, 800, 26}));
  EXPECT_EQ(one.area, (Box{4, 30, 796, 596}));
  EXPECT_EQ(one.pagePane, (Box{194, 30, 606, 596}));
  EXPECT_EQ(one.detailPane, (Box{}));

  const PreviewLayout two = LayoutPreview({800, 600}, 26, 4, ViewMode::kTwoPanes, kPage);
  EXPECT_EQ(two.pagePane, (Box{4, 42, 398, 584}));
  EXPECT_EQ(two.detailPane, (Box{402, 42, 796, 584}));

  // A client smaller than the tool bar and borders gives empty panes.
  const PreviewLayout tiny = LayoutPreview({10, 20}, 26, 4, ViewMode::kTwoPanes, kPage);
  EXPECT_EQ(tiny.toolBar, (Box{0, 0, 10, 20}));
  for (const Box& b : {tiny.area, tiny.pagePane, tiny.detailPane}) {
    EXPECT_GE(b.width(), 0);
    EXPECT_GE(b.height(), 0);
  }
}

// ---- mappings --------------------------------------------------------------

TEST(Mapping, PaneMappingsAgreeWithEachOther) {
  const PageMapping page = PagePaneMapping(kPage, {412, 566});
  EXPECT_EQ(PageToPane(page, {1200, 1650}), (Point{206, 283}));
  EXPECT_EQ(PageToPane(page, {300, 0}), (Point{52, 0}));  // 51.5 rounds up
  EXPECT_EQ(PaneToPage(page, {206, 283}), (Point{1200, 1650}));
  for (Point p : {Point{0, 0}, Point{17, 3299}, Point{2399, 1}, Point{-40, 5000}}) {
    const Point back = PaneToPage(page, PageToPane(page, p));
    EXPECT_LE(std::abs(back.x - p.x), 3) << p.x;  // within half a pixel: 2400 / 412 / 2
    EXPECT_LE(std::abs(back.y - p.y), 3) << p.y;
  }

  // The detail rectangle at (103, 0) on the page pane, doubled, is what the
  // detail pane shows edge to edge.
  const PageMapping detail = DetailPaneMapping(kPage, {412, 566}, {103, 0}, 2, {412, 566});
  EXPECT_EQ(detail.windowOrigin, (Point{600, 0}));
  EXPECT_EQ(PageToPane(detail, {600, 0}), (Point{0, 0}));
  EXPECT_EQ(PageToPane(detail, {1800, 1650}), (Point{412, 566}));

  // 600 x 825 times 4 is one page unit per pixel, shifted by the scroll.
  const PageMapping zoom = ZoomPaneMapping(kPage, {600, 825}, 4, {100, 50});
  EXPECT_EQ(PageToPane(zoom, {1000, 1000}), (Point{900, 950}));
  EXPECT_EQ(PaneToPage(zoom, {0, 0}), (Point{100, 50}));

  const PageMapping glass = MagnifierMapping({1185, 1635, 1215, 1665});
  EXPECT_EQ(PageToPane(glass, {1200, 1650}), (Point{60, 60}));
  EXPECT_EQ(PageToPane(glass, {1215, 1665}), (Point{120, 120}));
}

TEST(Mapping, ExtremeValuesStayInRange) {
  const PageMapping same = PagePaneMapping({INT32_MAX, INT32_MAX}, {INT32_MAX, INT32_MAX});
  EXPECT_EQ(PageToPane(same, {INT32_MIN, INT32_MAX}), (Point{INT32_MIN, INT32_MAX}));
  const PageMapping up = PagePaneMapping({1, 1}, {INT32_MAX, INT32_MAX});
  EXPECT_EQ(PageToPane(up, {INT32_MAX, INT32_MIN}), (Point{INT32_MAX, INT32_MIN}));
  const PageMapping zoom = ZoomPaneMapping({0, 0}, {INT32_MAX, -3}, INT32_MAX, {INT32_MIN, 0});
  EXPECT_EQ(zoom.viewportOrigin.x, INT32_MAX);
  EXPECT_EQ(zoom.viewportExtent, (Size{INT32_MAX, 1}));
  EXPECT_EQ(PageToPane(zoom, {INT32_MAX, INT32_MIN}).x, INT32_MAX);
}

// ---- magnifier and detail rectangle ----------------------------------------

TEST(Magnifier, SquareCentredOnTheCursorAndKeptInside) {
  const Size pane{412, 566};
  EXPECT_EQ(MagnifierSquare({200, 300}, pane), (Box{140, 240, 260, 360}));
  EXPECT_EQ(MagnifierSquare({5, 560}, pane), (Box{0, 446, 120, 566}));
  EXPECT_EQ(MagnifierSquare({INT32_MAX, INT32_MIN}, pane), (Box{292, 0, 412, 120}));
  // A pane smaller than the glass: the glass starts at its top-left.
  EXPECT_EQ(MagnifierSquare({50, 25}, {100, 50}), (Box{0, 0, 120, 120}));
}

TEST(Magnifier, PageWindowShrinksWithTheLevelAndStaysOnThePage) {
  EXPECT_EQ(MagnifierPageWindow({1200, 1650}, kPage, 1), (Box{1140, 1590, 1260, 1710}));
  EXPECT_EQ(MagnifierPageWindow({1200, 1650}, kPage, 4), (Box{1185, 1635, 1215, 1665}));
  EXPECT_EQ(MagnifierPageWindow({1200, 1650}, kPage, 5), (Box{1188, 1638, 1212, 1662}));
  EXPECT_EQ(MagnifierPageWindow({2390, 10}, kPage, 1), (Box{2280, 0, 2400, 120}));
  EXPECT_EQ(MagnifierPageWindow({0, 0}, kPage, 0).width(), 120);  // level below 1
  EXPECT_EQ(MagnifierPageWindow({0, 0}, kPage, 99).width(), 20);  // level above 6
}

TEST(DetailRect, ClientOverZoomAtTheOriginAndDraggedInsideThePane) {
  const Size pane{412, 566};
  EXPECT_EQ(DetailRect({103, 0}, pane, 2), (Box{103, 0, 309, 283}));
  EXPECT_EQ(DetailRect({0, 0}, pane, 0), (Box{0, 0, 412, 566}));
  EXPECT_EQ(DetailRect({0, 0}, {3, 3}, 16), (Box{0, 0, 1, 1}));  // never empty
  // Dragged right past the pane and above it: stopped at the edges.
  EXPECT_EQ(DragFocusOrigin({103, 0}, {150, 100}, {400, 50}, pane, 2), (Point{206, 0}));
  EXPECT_EQ(DragFocusOrigin({103, 0}, {150, 100}, {100, 200}, pane, 2), (Point{53, 100}));
  EXPECT_EQ(DragFocusOrigin({0, 0}, {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}, pane, 2),
            (Point{206, 0}));
}

// ---- invalidation ----------------------------------------------------------

TEST(Invalidation, NormalisedClampedThenGrownForThePen) {
  EXPECT_EQ(InvalidationOnPage({500, 600, 100, -50}, kPage), (Box{100, 0, 500, 600}));
  EXPECT_EQ(InvalidationOnPage({-10, -10, 3000, 4000}, kPage), (Box{0, 0, 2400, 3300}));
  EXPECT_EQ(GrowForPen({10, 20, 30, 40}, 3), (Box{3, 13, 38, 48}));
  EXPECT_EQ(GrowForPen({30, 40, 10, 20}, 0), (Box{9, 19, 32, 42}));
  EXPECT_EQ(GrowForPen({INT32_MIN, 0, INT32_MAX, 0}, INT32_MAX),
            (Box{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}));
  const PageMapping page = PagePaneMapping(kPage, {412, 566});
  EXPECT_EQ(InvalidationOnPane({1200, 1650, 9000, 9000}, kPage, page, 3),
            (Box{199, 276, 420, 574}));
}

// ---- scrolling -------------------------------------------------------------

TEST(Scroll, LinesPagesEndsAndClamping) {
  const int32_t range = ZoomScrollRange(825, 4, 500);
  EXPECT_EQ(range, 2800);
  EXPECT_EQ(ZoomScrollRange(825, 0, 500), 0);
  EXPECT_EQ(ZoomScrollRange(INT32_MAX, INT32_MAX, INT32_MIN), INT32_MAX);
  struct {
    ScrollStep step;
    int32_t from, want;
  } cases[] = {
      {ScrollStep::kLineBack, 0, 0},
      {ScrollStep::kLineForward, 0, 50},
      {ScrollStep::kLineForward, 2790, 2800},
      {ScrollStep::kPageForward, 100, 600},
      {ScrollStep::kPageBack, 300, 0},
      {ScrollStep::kHome, 1234, 0},
      {ScrollStep::kEnd, 5, 2800},
      {ScrollStep::kThumb, 5, 2800},  // thumb 5000
  };
  for (const auto& c : cases)
    EXPECT_EQ(ScrollPosition(c.step, c.from, range, 500, 5000), c.want) << int(c.step);
  EXPECT_EQ(ScrollPosition(ScrollStep::kLineForward, 0, 100, 5), 1);  // a line is at least 1
  EXPECT_EQ(ScrollPosition(ScrollStep::kEnd, 0, -3, 5), 0);
  EXPECT_EQ(ScrollPosition(ScrollStep::kPageForward, INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
  EXPECT_EQ(ScrollPosition(ScrollStep::kPageBack, INT32_MIN, INT32_MAX, INT32_MAX), 0);

  EXPECT_TRUE(ScrollsByCopy(0, 50, 500, false));
  EXPECT_TRUE(ScrollsByCopy(100, 0, 500, false));
  EXPECT_FALSE(ScrollsByCopy(0, 500, 500, false));
  EXPECT_FALSE(ScrollsByCopy(0, 50, 500, true));
  EXPECT_FALSE(ScrollsByCopy(INT32_MIN, INT32_MAX, INT32_MAX, false));
}

// ---- label and rulers ------------------------------------------------------

TEST(PageLabel, EmptyForOnePage) {
  EXPECT_EQ(PageLabel(2, 5), "2 of 5");
  EXPECT_EQ(PageLabel(1, 1), "");
  EXPECT_EQ(PageLabel(1, 0), "");
  EXPECT_EQ(PageLabel(INT32_MIN, INT32_MAX), "-2147483648 of 2147483647");
}

TEST(Rulers, WholeInchesMappedOntoThePane) {
  const PageMapping page = PagePaneMapping(kPage, {412, 566});
  const std::vector<RulerTick> across = RulerTicks(page, true, kPage.width, 300, 412);
  const int32_t x[] = {0, 52, 103, 155, 206, 258, 309, 361, 412};  // i * 51.5 rounded
  ASSERT_EQ(across.size(), std::size(x));
  for (size_t i = 0; i < across.size(); ++i) EXPECT_EQ(across[i], (RulerTick{int32_t(i), x[i]}));
  const std::vector<RulerTick> down = RulerTicks(page, false, kPage.height, 300, 566);
  ASSERT_EQ(down.size(), 12u);  // 0..11 inches
  EXPECT_EQ(down[10], (RulerTick{10, 515}));
  EXPECT_EQ(down[11], (RulerTick{11, 566}));

  // Scrolled zoom pane at one unit per pixel: only inches 1 and 2 are shown.
  const PageMapping zoom = ZoomPaneMapping(kPage, {600, 825}, 4, {100, 0});
  const std::vector<RulerTick> shown = RulerTicks(zoom, true, kPage.width, 300, 500);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], (RulerTick{1, 200}));
  EXPECT_EQ(shown[1], (RulerTick{2, 500}));
}

TEST(Rulers, DenseOrInvalidInchesStayBounded) {
  EXPECT_TRUE(RulerTicks(PagePaneMapping(kPage, {412, 566}), true, 2400, 0, 412).empty());
  // Two billion one-unit inches on 100 pixels: about one tick per pixel.
  const PageMapping dense = PagePaneMapping({INT32_MAX, 1}, {100, 100});
  const std::vector<RulerTick> ticks = RulerTicks(dense, true, INT32_MAX, 1, 100);
  EXPECT_GT(ticks.size(), 50u);
  EXPECT_LE(ticks.size(), 102u);
  for (size_t i = 1; i < ticks.size(); ++i) EXPECT_GT(ticks[i].pixel, ticks[i - 1].pixel);
}

}  // namespace
