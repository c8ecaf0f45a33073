#include <gtest/gtest.h>

#include "savers/giftutil/kernels/gift_view.h"

namespace quillo::giftutil {
namespace {

TEST(GiftZoom, StepsAlongTheLadderAndStopsAtItsEnds) {
  EXPECT_FLOAT_EQ(GiftZoomOut(1.0f), 0.5f);
  EXPECT_FLOAT_EQ(GiftZoomOut(0.5f), 1.0f / 3.0f);
  float zoom = 6.0f;
  for (float expected : {8.0f, 10.0f, 12.0f, 12.0f}) {
    zoom = GiftZoomIn(zoom);
    EXPECT_FLOAT_EQ(zoom, expected);
  }
  EXPECT_FLOAT_EQ(GiftZoomOut(1.0f / 12.0f), 1.0f / 12.0f);
  // A zoom between steps, or beyond the ends, is left as it is.
  EXPECT_FLOAT_EQ(GiftZoomIn(1.5f), 1.5f);
  EXPECT_FLOAT_EQ(GiftZoomOut(1.5f), 1.5f);
  EXPECT_FLOAT_EQ(GiftZoomIn(20.0f), 20.0f);
  EXPECT_FLOAT_EQ(GiftZoomOut(0.01f), 0.01f);
}

GiftViewInput Input(int w, int h, float zoom, int cw, int ch) {
  GiftViewInput in;
  in.imageWidth = w;
  in.imageHeight = h;
  in.zoom = zoom;
  in.clientWidth = cw;
  in.clientHeight = ch;
  in.vScrollWidth = 16;
  in.hScrollHeight = 16;
  return in;
}

TEST(GiftScrollBars, PictureThatFitsNeedsNoBars) {
  // One pixel of slack each way still fits.
  const ViewLayout out = LayoutGiftView(Input(401, 301, 1.0f, 400, 300));
  EXPECT_FALSE(out.hBar || out.vBar);
  EXPECT_EQ(out.hMax, 0);
  EXPECT_EQ(out.vMax, 0);
}

TEST(GiftScrollBars, MaximaAreImagePixelsAtTheZoom) {
  GiftViewInput in = Input(400, 300, 2.0f, 500, 500);
  in.hPos = 1000;  // beyond the new maximum: clamped
  const ViewLayout out = LayoutGiftView(in);
  ASSERT_TRUE(out.hBar && out.vBar);
  EXPECT_EQ(out.hMax, (800 + 16 - 500) / 2);
  EXPECT_EQ(out.vMax, (600 + 16 - 500) / 2);
  EXPECT_EQ(out.hPos, out.hMax);
  // Zooming out again removes both bars and both positions.
  in.zoom = 1.0f;
  in.hPos = out.hPos;
  const ViewLayout back = LayoutGiftView(in);
  EXPECT_FALSE(back.hBar || back.vBar);
  EXPECT_EQ(back.hPos, 0);
}

TEST(GiftScrollBars, ABarForOneAxisCanMakeTheOtherNeedOne) {
  // Wider than the area; the horizontal bar leaves 490 rows for 495.
  EXPECT_TRUE(LayoutGiftView(Input(600, 495, 1.0f, 500, 506)).vBar);
  EXPECT_FALSE(LayoutGiftView(Input(600, 480, 1.0f, 500, 506)).vBar);
}

TEST(GiftScrollBars, ShownBarsGiveTheirRoomBackBeforeTheLayout) {
  // The client area left beside shown bars is too small for the picture,
  // the window without them is not: the bars go.
  GiftViewInput in = Input(500, 400, 1.0f, 490, 390);
  in.hBarShown = in.vBarShown = true;
  const ViewLayout out = LayoutGiftView(in);
  EXPECT_FALSE(out.hBar || out.vBar);
}

TEST(GiftCoordinates, WindowIsImageMinusScrollTimesZoom) {
  EXPECT_EQ(ImageToClient(30, 10, 2.0f), 40);
  EXPECT_EQ(ClientToImage(40, 10, 2.0f), 30);
  EXPECT_EQ(ImageToClient(30, 10, 0.5f), 10);
  EXPECT_EQ(ClientToImage(10, 10, 0.5f), 30);
  // A zoom of 0 counts as 1.
  EXPECT_EQ(ImageToClient(30, 10, 0.0f), 20);
  EXPECT_EQ(ClientToImage(20, 10, 0.0f), 30);
  GiftViewInput in = Input(400, 300, 0.0f, 200, 200);
  EXPECT_EQ(LayoutGiftView(in).hMax, 400 + 16 - 200);
}

TEST(GiftWheel, ButtonsShiftOrCtrlTurnItSideways) {
  EXPECT_FALSE(WheelStepOf(0, 0).scroll);
  const WheelStep plain = WheelStepOf(0, 120);
  EXPECT_TRUE(plain.scroll && !plain.horizontal && plain.back);
  for (unsigned keys : {1u, 2u, 4u, 8u}) EXPECT_TRUE(WheelStepOf(keys, -120).horizontal) << keys;
  EXPECT_FALSE(WheelStepOf(0x10, -120).horizontal);  // the middle button does not count
  EXPECT_FALSE(WheelStepOf(0, -120).back);
}

}  // namespace
}  // namespace quillo::giftutil
