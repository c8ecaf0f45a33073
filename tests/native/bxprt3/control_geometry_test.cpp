// Geometry of the print preview controls: strip cells, tab sizes and rows,
// popup placement.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "printpreview/control_geometry.h"

using namespace quillo::prt;

namespace {

// ---- strip cells -----------------------------------------------------------

struct CellCase {
  int64_t k;
  int perRow;
  StripRow row;
  bool valid;
  int x, y;
};

TEST(StripCell, ColumnIsKModPerRowAndBlockStartsAtThreeTimesKDivPerRow) {
  // A 10-per-row strip of 20 x 20 cells, two blocks of three rows: 200 x 120.
  const CellCase cases[] = {
      {0, 10, StripRow::kNormal, true, 0, 0},
      {0, 10, StripRow::kPressed, true, 0, 20},
      {0, 10, StripRow::kCheckedOrDisabled, true, 0, 40},
      {9, 10, StripRow::kNormal, true, 180, 0},
      {10, 10, StripRow::kNormal, true, 0, 60},  // second block
      {13, 10, StripRow::kPressed, true, 60, 80},
      {19, 10, StripRow::kCheckedOrDisabled, true, 180, 100},
      {20, 10, StripRow::kNormal, false, 0, 0},  // third block is past the strip
      {-1, 10, StripRow::kNormal, false, 0, 0},  // ID below the base
      {3, 0, StripRow::kNormal, false, 0, 0},    // no cells per row
      {3, -4, StripRow::kNormal, false, 0, 0},
      {INT64_MAX, 1, StripRow::kNormal, false, 0, 0},  // no overflow on huge IDs
      {INT64_MAX, INT_MAX, StripRow::kCheckedOrDisabled, false, 0, 0},
  };
  for (const CellCase& c : cases) {
    const StripCell cell = StripCellFor(c.k, c.perRow, 20, 20, c.row, 200, 120);
    EXPECT_EQ(cell.valid, c.valid) << "k=" << c.k << " perRow=" << c.perRow;
    if (c.valid && cell.valid) {
      EXPECT_EQ(cell.x, c.x) << "k=" << c.k;
      EXPECT_EQ(cell.y, c.y) << "k=" << c.k;
    }
  }
}

TEST(StripCell, CellMustLieWhollyInsideTheStrip) {
  // 19 pixels wide cannot hold a 20-pixel cell; bad cell sizes never count.
  EXPECT_FALSE(StripCellFor(0, 1, 20, 20, StripRow::kNormal, 19, 60).valid);
  EXPECT_FALSE(StripCellFor(0, 1, 20, 20, StripRow::kCheckedOrDisabled, 20, 59).valid);
  EXPECT_TRUE(StripCellFor(0, 1, 20, 20, StripRow::kCheckedOrDisabled, 20, 60).valid);
  EXPECT_FALSE(StripCellFor(0, 1, 0, 20, StripRow::kNormal, 20, 60).valid);
  EXPECT_FALSE(StripCellFor(0, 1, 20, -1, StripRow::kNormal, 20, 60).valid);
  // Cells per row larger than what the strip shows: column past its right edge.
  EXPECT_FALSE(StripCellFor(12, 20, 20, 20, StripRow::kNormal, 200, 60).valid);
}

TEST(StripCell, RowFollowsTheButtonState) {
  struct {
    bool enabled, checked, pressedInside;
    StripRow row;
  } cases[] = {
      {true, false, false, StripRow::kNormal},
      {true, false, true, StripRow::kPressed},
      {true, true, false, StripRow::kCheckedOrDisabled},
      {true, true, true, StripRow::kCheckedOrDisabled},
      {false, false, false, StripRow::kCheckedOrDisabled},
      {false, false, true, StripRow::kCheckedOrDisabled},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RowForState(c.enabled, c.checked, c.pressedInside), c.row)
        << c.enabled << c.checked << c.pressedInside;
}

// ---- tabs ------------------------------------------------------------------

TEST(Tabs, SizeIsWidestTextPlusTenByTallestPlusEight) {
  const TabSize extents[] = {{30, 13}, {52, 11}, {7, 16}};
  const TabSize size = TabSizeFor(extents, 3);
  EXPECT_EQ(size.width, 62);
  EXPECT_EQ(size.height, 24);
  const TabSize none = TabSizeFor(nullptr, 0);
  EXPECT_EQ(none.width, 10);
  EXPECT_EQ(none.height, 8);
}

TEST(Tabs, LayoutWrapsIntoRowsWhenTheWindowIsTooNarrow) {
  const TabSize size = {40, 20};
  struct {
    int clientWidth;
    int rows;
    std::vector<Box> boxes;
  } cases[] = {
      {200, 1, {{0, 0, 40, 20}, {40, 0, 80, 20}, {80, 0, 120, 20}, {120, 0, 160, 20}}},
      {160, 1, {{0, 0, 40, 20}, {40, 0, 80, 20}, {80, 0, 120, 20}, {120, 0, 160, 20}}},
      {159, 2, {{0, 0, 40, 20}, {40, 0, 80, 20}, {80, 0, 120, 20}, {0, 20, 40, 40}}},
      {85, 2, {{0, 0, 40, 20}, {40, 0, 80, 20}, {0, 20, 40, 40}, {40, 20, 80, 40}}},
      // Narrower than one tab: one tab per row, never an empty row.
      {10, 4, {{0, 0, 40, 20}, {0, 20, 40, 40}, {0, 40, 40, 60}, {0, 60, 40, 80}}},
  };
  for (const auto& c : cases) {
    std::vector<Box> out(4);
    EXPECT_EQ(LayoutTabs(4, size, c.clientWidth, out.data()), c.rows) << c.clientWidth;
    EXPECT_EQ(out, c.boxes) << c.clientWidth;
  }
  EXPECT_EQ(LayoutTabs(0, size, 100, nullptr), 0);
}

TEST(Tabs, LabelInsetHitTestAndWrapAround) {
  EXPECT_EQ(LabelBox({40, 0, 80, 20}), (Box{43, 3, 77, 17}));
  const Box boxes[] = {{0, 0, 40, 20}, {40, 0, 80, 20}, {0, 20, 40, 40}};
  EXPECT_EQ(TabAt(boxes, 3, 0, 0), 0);
  EXPECT_EQ(TabAt(boxes, 3, 39, 19), 0);
  EXPECT_EQ(TabAt(boxes, 3, 40, 19), 1);
  EXPECT_EQ(TabAt(boxes, 3, 5, 25), 2);
  EXPECT_EQ(TabAt(boxes, 3, 50, 25), -1);  // the empty end of the second row
  EXPECT_EQ(TabAt(boxes, 3, -1, 5), -1);

  EXPECT_EQ(WrapTab(0, -1, 3), 2);
  EXPECT_EQ(WrapTab(2, 1, 3), 0);
  EXPECT_EQ(WrapTab(1, 1, 3), 2);
  EXPECT_EQ(WrapTab(0, 1, 1), 0);
  EXPECT_EQ(WrapTab(-1, 1, 3), 0);  // nothing selected: Right picks the first
  EXPECT_EQ(WrapTab(0, 1, 0), -1);
}

// ---- popup -----------------------------------------------------------------

TEST(Popup, SizeAddsFramePaddingBothSidesAndTheShadow) {
  const TabSize size = PopupSizeFor(50, 13);
  EXPECT_EQ(size.width, 50 + 2 * (kPopupFrame + kPopupPadding) + kPopupShadow);
  EXPECT_EQ(size.height, 13 + 2 * (kPopupFrame + kPopupPadding) + kPopupShadow);
  EXPECT_EQ(PopupSizeFor(-5, -5).width, PopupSizeFor(0, 0).width);
}

TEST(Popup, PlacementIsKeptOnTheScreen) {
  const Box screen = {0, 0, 800, 600};
  struct {
    int x, y, w, h;
    Box expected;
  } cases[] = {
      {100, 100, 60, 20, {100, 100, 160, 120}},  // fits: unchanged
      {780, 100, 60, 20, {740, 100, 800, 120}},  // off the right: moved left
      {100, 590, 60, 20, {100, 580, 160, 600}},  // off the bottom: moved up
      {799, 599, 60, 20, {740, 580, 800, 600}},  // the corner
      {-30, -10, 60, 20, {0, 0, 60, 20}},        // off the left and top
      {500, 10, 900, 20, {0, 10, 900, 30}},      // wider than the screen: left edge shows
      {INT_MAX, INT_MAX, 60, 20, {740, 580, 800, 600}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlacePopup(c.x, c.y, c.w, c.h, screen), c.expected) << c.x << "," << c.y;
  // A monitor that does not start at the origin.
  EXPECT_EQ(PlacePopup(-2000, 50, 60, 20, Box{-1024, 0, 0, 768}), (Box{-1024, 50, -964, 70}));
}

}  // namespace
