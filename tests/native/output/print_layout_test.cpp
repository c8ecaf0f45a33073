// The page layout of printing: first placement, handles and hit test, the
// drag, and the snap to the picture's proportions.
#include "app/output/print_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

namespace quillo {
void PrintTo(const LayoutRect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
void PrintTo(const LayoutPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
}  // namespace quillo

using namespace quillo;

namespace {

TEST(InitialPlacement, DoublesWhileTwiceBothSidesFitThenCentres) {
  // 100 x 50 -> 200 x 100 -> ... -> 1600 x 800 (3200 no longer below 2400).
  EXPECT_EQ(InitialPlacement(100, 50, 2400, 3300), (LayoutRect{400, 1250, 2000, 2050}));
  // Doubling stops as soon as one side would not fit: 2 * 1200 is not below 2400.
  EXPECT_EQ(InitialPlacement(1200, 10, 2400, 3300), (LayoutRect{600, 1645, 1800, 1655}));
  EXPECT_EQ(InitialPlacement(1199, 10, 2400, 3300), (LayoutRect{1, 1640, 2399, 1660}));
}

TEST(InitialPlacement, LargerPictureOverhangsBothSidesAlike) {
  EXPECT_EQ(InitialPlacement(3000, 4000, 2400, 3300), (LayoutRect{-300, -350, 2700, 3650}));
  // An odd overhang is halved towards zero.
  EXPECT_EQ(InitialPlacement(2501, 100, 2400, 3300).left, -50);
}

TEST(InitialPlacement, PictureWithoutAreaOrHugeSizesStillEnd) {
  EXPECT_EQ(InitialPlacement(0, 50, 2400, 3300), (LayoutRect{1200, 1625, 1200, 1675}));
  EXPECT_EQ(InitialPlacement(-5, -5, 2400, 3300), (LayoutRect{1200, 1650, 1200, 1650}));
  // 2^30 doubled would pass the page: (2^31 - 1 - 2^30) / 2 = 536870911.
  EXPECT_EQ(InitialPlacement(1, 1, INT32_MAX, INT32_MAX),
            (LayoutRect{536870911, 536870911, 1610612735, 1610612735}));
  const LayoutRect big = InitialPlacement(INT32_MAX, INT32_MAX, 1, 1);
  EXPECT_EQ(big.right - int64_t(big.left), INT32_MAX);
}

TEST(ZoneAt, HandlesInZoneOrderWithTruncatedMidpoints) {
  const auto h = HandlePoints({10, 20, 31, 41});
  const LayoutPoint want[8] = {{10, 20}, {10, 30}, {10, 41}, {20, 20},
                               {20, 41}, {31, 20}, {31, 30}, {31, 41}};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(h[i], want[i]) << "zone " << i + 1;
  // Midpoints of extreme edges do not overflow.
  const auto e = HandlePoints({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
  EXPECT_EQ(e[1], (LayoutPoint{INT32_MIN, 0}));
  EXPECT_EQ(e[3], (LayoutPoint{0, INT32_MIN}));
  EXPECT_EQ(HandleSquare({5, 5}), (LayoutRect{2, 2, 9, 9}));
}

TEST(ZoneAt, HandlesComeBeforeInsideAndReachIsBelowFour) {
  const LayoutRect r{100, 100, 200, 160};
  const auto h = HandlePoints(r);
  EXPECT_EQ(ZoneAt(h, r, {100, 100}), HitZone::kTopLeft);
  EXPECT_EQ(ZoneAt(h, r, {103, 97}), HitZone::kTopLeft);  // |d| = 3 hits
  EXPECT_EQ(ZoneAt(h, r, {104, 104}), HitZone::kInside);  // |d| = 4 misses
  EXPECT_EQ(ZoneAt(h, r, {96, 100}), HitZone::kNone);
  EXPECT_EQ(ZoneAt(h, r, {102, 130}), HitZone::kLeft);  // inside, but a handle first
  EXPECT_EQ(ZoneAt(h, r, {150, 158}), HitZone::kBottom);
  EXPECT_EQ(ZoneAt(h, r, {199, 162}), HitZone::kBottomRight);  // outside, on the handle
  EXPECT_EQ(ZoneAt(h, r, {150, 130}), HitZone::kInside);
  EXPECT_EQ(ZoneAt(h, r, {150, 164}), HitZone::kNone);
  // A tiny rectangle: every handle is within reach; the first one wins.
  const LayoutRect tiny{50, 50, 52, 52};
  EXPECT_EQ(ZoneAt(HandlePoints(tiny), tiny, {51, 51}), HitZone::kTopLeft);
  // Pointer and handles far apart in 32 bits do not overflow the distance.
  const LayoutRect wide{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  EXPECT_EQ(ZoneAt(HandlePoints(wide), wide, {INT32_MAX - 1, 0}), HitZone::kRight);
  EXPECT_EQ(ZoneAt(HandlePoints(wide), wide, {INT32_MAX - 4, 0}), HitZone::kInside);
}

TEST(ZoneAt, CursorPerZone) {
  // Zones 0..9: arrow, then the handles in order, then the move cursor.
  const ZoneCursor want[10] = {ZoneCursor::kArrow,    ZoneCursor::kSizeNWSE, ZoneCursor::kSizeWE,
                               ZoneCursor::kSizeNESW, ZoneCursor::kSizeNS,   ZoneCursor::kSizeNS,
                               ZoneCursor::kSizeNESW, ZoneCursor::kSizeWE,   ZoneCursor::kSizeNWSE,
                               ZoneCursor::kSizeAll};
  for (int zone = 0; zone < 10; ++zone) EXPECT_EQ(CursorForZone(HitZone(zone)), want[zone]) << zone;
}

TEST(PlacementDrag, InsideMovesByEachStepSinceTheLast) {
  LayoutRect r{100, 100, 200, 200};
  PlacementDrag d = BeginPlacementDrag(r, HitZone::kInside, {150, 150});
  r = DragPlacement(d, r, {160, 145});
  EXPECT_EQ(r, (LayoutRect{110, 95, 210, 195}));
  r = DragPlacement(d, r, {170, 145});
  EXPECT_EQ(r, (LayoutRect{120, 95, 220, 195}));
  r = EndPlacementDrag(d, r);
  EXPECT_FALSE(d.dragging);
  EXPECT_EQ(d.anchor, (LayoutPoint{kUnsetAnchor, kUnsetAnchor}));
  EXPECT_EQ(uint32_t(kUnsetAnchor), 0xC000FFFFu);
  // After the drag moves change nothing.
  EXPECT_EQ(DragPlacement(d, r, {0, 0}), r);
}

TEST(PlacementDrag, InsideMoveStopsAtTheCoordinateRange) {
  LayoutRect r{INT32_MAX - 100, 0, INT32_MAX - 10, 50};
  PlacementDrag d = BeginPlacementDrag(r, HitZone::kInside, {0, 0});
  r = DragPlacement(d, r, {INT32_MAX, INT32_MIN});
  EXPECT_EQ(r, (LayoutRect{INT32_MAX - 90, INT32_MIN, INT32_MAX, INT32_MIN + 50}));
}

TEST(PlacementDrag, HandleTakesOtherEdgesFromDragStartAndSwapsCrossingOnes) {
  const LayoutRect start{100, 100, 200, 200};
  PlacementDrag d = BeginPlacementDrag(start, HitZone::kTopLeft, {100, 100});
  LayoutRect r = DragPlacement(d, start, {120, 90});
  EXPECT_EQ(r, (LayoutRect{120, 90, 200, 200}));
  // Across the opposite corner: the edges swap rather than invert.
  r = DragPlacement(d, r, {260, 230});
  EXPECT_EQ(r, (LayoutRect{200, 200, 260, 230}));
  // Back again: the other edges still come from the drag start.
  r = DragPlacement(d, r, {150, 150});
  EXPECT_EQ(r, (LayoutRect{150, 150, 200, 200}));
  r = DragPlacement(d, r, {300, 50});
  r = EndPlacementDrag(d, r);
  EXPECT_EQ(r, (LayoutRect{200, 50, 300, 200}));
  EXPECT_LE(r.left, r.right);
  EXPECT_LE(r.top, r.bottom);

  struct {
    HitZone zone;
    LayoutRect want;
  } edges[] = {
      {HitZone::kLeft, {50, 100, 200, 200}},    {HitZone::kBottomLeft, {50, 100, 200, 250}},
      {HitZone::kTop, {100, 200, 200, 250}},  // 250 crosses the bottom: swapped
      {HitZone::kBottom, {100, 100, 200, 250}}, {HitZone::kTopRight, {50, 200, 100, 250}},
      {HitZone::kRight, {50, 100, 100, 200}},   {HitZone::kBottomRight, {50, 100, 100, 250}},
  };
  for (const auto& e : edges) {
    PlacementDrag de = BeginPlacementDrag(start, e.zone, {0, 0});
    EXPECT_EQ(DragPlacement(de, start, {50, 250}), e.want) << "zone " << int(e.zone);
  }
}

TEST(PlacementDrag, ReleaseNormalisesAnUnorderedPlacement) {
  PlacementDrag d = BeginPlacementDrag({0, 0, 1, 1}, HitZone::kInside, {0, 0});
  EXPECT_EQ(EndPlacementDrag(d, {300, 400, 100, 200}), (LayoutRect{100, 200, 300, 400}));
}

TEST(FitToPicture, WideNarrowsTallLowersTheBottom) {
  // Picture 100 x 50 (2:1); a 400 x 100 placement is wider: right = 10 + 200.
  EXPECT_EQ(FitToPicture({10, 20, 410, 120}, 100, 50), (LayoutRect{10, 20, 210, 120}));
  // A 100 x 400 placement is taller: bottom = 20 + 50.
  EXPECT_EQ(FitToPicture({10, 20, 110, 420}, 100, 50), (LayoutRect{10, 20, 110, 70}));
  // Exactly proportional: the right edge is recomputed to the same place.
  EXPECT_EQ(FitToPicture({0, 0, 200, 100}, 100, 50), (LayoutRect{0, 0, 200, 100}));
  // Rounded to nearest: 3 * 100 / 7 = 42.86 -> 43; 7 * 10 / 3 = 23.3 -> 23.
  EXPECT_EQ(FitToPicture({0, 0, 100, 100}, 3, 7), (LayoutRect{0, 0, 43, 100}));
  EXPECT_EQ(FitToPicture({0, 0, 10, 100}, 3, 7), (LayoutRect{0, 0, 10, 23}));
  // Barely narrower than the picture: the bottom moves, 1000000 * 999999 /
  // 1000001 = 999998.000002.
  EXPECT_EQ(FitToPicture({0, 0, 999999, 1000000}, 1000001, 1000000),
            (LayoutRect{0, 0, 999999, 999998}));
}

TEST(FitToPicture, EmptyPlacementOrPictureUnchangedAndExtremesInRange) {
  const LayoutRect flat{10, 20, 10, 300}, line{10, 20, 300, 20}, inverted{50, 50, 10, 90};
  EXPECT_EQ(FitToPicture(flat, 100, 50), flat);
  EXPECT_EQ(FitToPicture(line, 100, 50), line);
  EXPECT_EQ(FitToPicture(inverted, 100, 50), inverted);
  EXPECT_EQ(FitToPicture({0, 0, 100, 100}, 0, 50), (LayoutRect{0, 0, 100, 100}));
  EXPECT_EQ(FitToPicture({0, 0, 100, 100}, 50, -1), (LayoutRect{0, 0, 100, 100}));
  // Spans wider than 32 bits: the new edge stays inside the old rectangle.
  const LayoutRect all{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  EXPECT_EQ(FitToPicture(all, 1, 1), all);
  // 4294967295 / 2147483647 = 2.0000000009.
  EXPECT_EQ(FitToPicture(all, INT32_MAX, 1),
            (LayoutRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN + 2}));
  EXPECT_EQ(FitToPicture(all, 1, INT32_MAX),
            (LayoutRect{INT32_MIN, INT32_MIN, INT32_MIN + 2, INT32_MAX}));
  // 4294967295 / 2 = 2147483647.5 rounds up, to 2^31 below the top.
  EXPECT_EQ(FitToPicture(all, 2, 1).bottom, 0);
}

}  // namespace
