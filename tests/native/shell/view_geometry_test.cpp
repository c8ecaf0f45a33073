#include <gtest/gtest.h>

#include "selection.h"
#include "view_layout.h"
#include "zoom.h"

namespace quillo {
namespace {

TEST(Zoom, LadderStepsStopAtTheLimits) {
  EXPECT_EQ(ZoomIn(12.0f), 12.0f);
  EXPECT_EQ(ZoomOut(1.0f / 12), 1.0f / 12);
  EXPECT_EQ(ZoomIn(1.0f), 2.0f);
  EXPECT_EQ(ZoomOut(1.0f), 0.5f);
  EXPECT_EQ(ZoomIn(1.0f / 3), 0.5f);
  EXPECT_EQ(ZoomOut(6.0f), 5.0f);
  // Walking the whole ladder up visits every value once, in order.
  float z = 1.0f / 12;
  for (int i = 1; i < kZoomLadderSize; ++i) {
    z = ZoomIn(z);
    EXPECT_FLOAT_EQ(z, ZoomValue(kZoomLadder[i]));
  }
  for (int i = kZoomLadderSize - 2; i >= 0; --i) z = ZoomOut(z);
  EXPECT_FLOAT_EQ(z, 1.0f / 12);
}

TEST(Zoom, BestFitPicksTheFirstListValueThatFits) {
  struct Case {
    int w, h, cw, ch;
    bool minimized;
    float expected;
  } cases[] = {
      {2000, 1000, 800, 600, false, 1.0f / 3},  // 1/2 gives 1000 > 800
      {800, 600, 800, 600, false, 1.0f},
      {801, 600, 800, 600, false, 0.5f},
      {2000, 1000, 800, 600, true, 1.0f},
      {100000, 10, 800, 600, false, 1.0f / 12},  // nothing fits
      {6, 6, 2, 2, false, 1.0f / 3},             // floor(6 / 3) = 2, exact
  };
  for (const Case& c : cases)
    EXPECT_FLOAT_EQ(BestFitZoom(c.w, c.h, c.cw, c.ch, c.minimized), c.expected)
        << c.w << "x" << c.h << " in " << c.cw << "x" << c.ch;
  EXPECT_FLOAT_EQ(ZoomForRectangle(50, 40, 600, 400), 10.0f);
  EXPECT_FLOAT_EQ(ZoomForRectangle(10, 10, 600, 400), 12.0f);
}

TEST(ViewLayout, ScrollRangesAtSmallAndLargeZoom) {
  struct Case {
    const char* name;
    ViewInput in;
    bool hBar, vBar;
    int hMax, vMax, hPos, vPos;
  } cases[] = {
      // Fits within one pixel of slack: no bars, positions reset.
      {"fits", {400, 300, 1.0f, 399, 299, 16, 16, 50, 50}, false, false, 0, 0, 0, 0},
      // 2000 x 1000 at 1/3 = 666 x 333 in 600 x 400: horizontal only.
      // hMax = floor((666 - 600) * 3) = 198.
      {"third", {2000, 1000, 1.0f / 3, 600, 400, 16, 16, 500, 0}, true, false, 198, 0, 198, 0},
      // 300 x 200 at 2 = 600 x 400 in 500 x 300: both; hMax = floor((600 - 500 + 16) / 2).
      {"double", {300, 200, 2.0f, 500, 300, 16, 16, 20, 99}, true, true, 58, 58, 20, 58},
      // Tall: vertical bar pushes the width over: 300 wide at 1 in 310 (+16 > 311).
      {"tall", {300, 1000, 1.0f, 310, 400, 16, 16, 0, 0}, true, true, 6, 616, 0, 0},
      // Negative positions are clamped to 0.
      {"negative", {1000, 1000, 1.0f, 100, 100, 10, 10, -5, -5}, true, true, 910, 910, 0, 0},
  };
  for (const Case& c : cases) {
    const ViewLayout l = LayoutView(c.in);
    EXPECT_EQ(l.hBar, c.hBar) << c.name;
    EXPECT_EQ(l.vBar, c.vBar) << c.name;
    EXPECT_EQ(l.hMax, c.hMax) << c.name;
    EXPECT_EQ(l.vMax, c.vMax) << c.name;
    EXPECT_EQ(l.hPos, c.hPos) << c.name;
    EXPECT_EQ(l.vPos, c.vPos) << c.name;
  }
}

TEST(ViewLayout, ScrollStepsInImagePixels) {
  // At 1/2 a 400-pixel client shows 800 image pixels: page 800, line 100.
  EXPECT_EQ(ScrollTo(ScrollAction::PageForward, 0, 5000, 400, 0.5f, 0), 800);
  EXPECT_EQ(ScrollTo(ScrollAction::LineForward, 0, 5000, 400, 0.5f, 0), 100);
  // At 12 a 40-pixel client is 3 image pixels: line still at least 1.
  EXPECT_EQ(ScrollTo(ScrollAction::LineForward, 7, 5000, 40, 12.0f, 0), 8);
  EXPECT_EQ(ScrollTo(ScrollAction::PageBack, 2, 5000, 400, 1.0f, 0), 0);
  EXPECT_EQ(ScrollTo(ScrollAction::End, 0, 77, 400, 1.0f, 0), 77);
  EXPECT_EQ(ScrollTo(ScrollAction::Thumb, 0, 77, 400, 1.0f, 500), 77);
  EXPECT_EQ(ScrollTo(ScrollAction::PageForward, 0, 5000, 400, 0.0f, 0), 400) << "zoom 0 counts as 1";
}

TEST(ViewLayout, CoordinateConversionsRoundTrip) {
  // A ladder fraction is exact: client 1 at 1/3 is image 3, not 2.
  EXPECT_EQ(ClientToImage(1, 0, 1.0f / 3), 3);
  EXPECT_EQ(ClientToImage(-1, 0, 2.0f), -1) << "floor, not truncation";
  EXPECT_EQ(ImageToClient(7, 10, 0.5f), -2);
  for (float z : {1.0f, 2.0f, 3.0f, 12.0f})
    for (int x = -30; x < 300; x += 7)
      EXPECT_EQ(ClientToImage(ImageToClient(x, 13, z), 13, z), x) << z;
  for (float z : {1.0f / 12, 1.0f / 5, 1.0f / 3, 1.0f})
    for (int x = -30; x < 300; x += 7)
      EXPECT_EQ(ImageToClient(ClientToImage(x, 13, z), 13, z), x) << z;
}

TEST(ViewLayout, PaintCoverageAndStretchSource) {
  EXPECT_EQ(ImageCoverage(100, 50, 10, 0, 2.0f, 500, 500), (Rect{0, 0, 180, 100}));
  EXPECT_EQ(ImageCoverage(100, 50, 0, 0, 2.0f, 150, 60), (Rect{0, 0, 150, 60}));
  EXPECT_EQ(ImageCoverage(100, 50, 200, 0, 1.0f, 150, 60), (Rect{0, 0, 0, 50}));
  // 100 x 80 image at 2, scrolled to (10, 20), 50 x 30 client: 26 x 16
  // source pixels from the top row 20, i.e. bottom-up row 80 - 20 - 16 = 44.
  const PaintStretch s = StretchForPaint(100, 80, 10, 20, 2.0f, 50, 30);
  EXPECT_EQ(s.srcX, 10);
  EXPECT_EQ(s.srcWidth, 26);
  EXPECT_EQ(s.srcHeight, 16);
  EXPECT_EQ(s.srcYFromBottom, 44);
  EXPECT_EQ(s.destWidth, 52);
  EXPECT_EQ(s.destHeight, 32);
  const PaintStretch edge = StretchForPaint(100, 80, 90, 70, 0.5f, 500, 500);
  EXPECT_EQ(edge.srcWidth, 10);
  EXPECT_EQ(edge.srcHeight, 10);
  EXPECT_EQ(edge.srcYFromBottom, 0);
  const Loupe l = LoupeAt(100, 100, 0, 0, 1.0f);
  EXPECT_EQ(l.client, (Rect{11, 11, 191, 191}));
  EXPECT_EQ(l.image, (Rect{55, 55, 145, 145}));
}

TEST(Selection, AlwaysClampedToTheCurrentImage) {
  struct Case {
    Rect stored;
    int w, h;
    Rect clamped;
    bool usable;
  } cases[] = {
      {{10, 10, 50, 40}, 100, 100, {10, 10, 50, 40}, true},
      {{10, 10, 500, 400}, 100, 80, {10, 10, 100, 80}, true},  // image shrank
      {{50, 40, 10, 10}, 100, 100, {10, 10, 50, 40}, true},    // dragged up-left
      {{-20, -5, 30, 20}, 100, 100, {0, 0, 30, 20}, true},
      {{120, 10, 150, 40}, 100, 100, {100, 10, 100, 40}, false},  // wholly outside
      {{0, 0, 0, 0}, 100, 100, {0, 0, 0, 0}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClampSelection(c.stored, c.w, c.h), c.clamped);
    EXPECT_EQ(SelectionUsable(c.stored, c.w, c.h), c.usable);
    const Rect whole{0, 0, c.w, c.h};
    EXPECT_EQ(SelectionOrWholeImage(c.stored, c.w, c.h), c.usable ? c.clamped : whole);
  }
  EXPECT_EQ(SelectionFromDrag(30, 10, 30, 90, 100, 100), Rect{}) << "zero width";
  EXPECT_EQ(SelectionFromDrag(30, 10, 5, 200, 100, 100), (Rect{5, 10, 30, 100}));
}

}  // namespace
}  // namespace quillo
