// The view driven message by message: coordinate conversions, selection and
// zoom-rectangle drags, mouse forwarding to an effect's tool window, the
// status line, the mask display and what a paint puts on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "contracts/dib_services.h"
#include "document_record.h"
#include "document_test_support.h"
#include "win_test_support.h"

namespace quillo {
namespace {

using test::Pump;

// Pixel (x, y) of the test image: red = x, green = y, blue = 200.
HGLOBAL CoordinatePicture(int width, int height) {
  return test::MakeDib24(width, height, [](int x, int y, uint8_t bgr[3]) {
    bgr[0] = 200;
    bgr[1] = uint8_t(y);
    bgr[2] = uint8_t(x);
  });
}

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_app.bestFitFlag = 0;
    g_app.activeEffect = 0;
    g_app.viewMode = 0;
    test::EnsureFrame(799, 599);
    document_ = CreateDocumentWindow("view");
    ASSERT_NE(document_, nullptr);
    view_ = ViewOf(document_);
    Pump();
  }
  void TearDown() override {
    g_app.activeEffect = 0;
    g_app.viewMode = 0;
    test::CloseAllDocuments();
  }
  void Show(int width, int height) {
    ASSERT_TRUE(SetDocumentImage(document_, CoordinatePicture(width, height), nullptr));
    Pump();
  }
  void Mouse(UINT message, int x, int y) { SendMessageA(view_, message, 0, MAKELPARAM(x, y)); }
  void Drag(int x0, int y0, int x1, int y1) {
    Mouse(WM_LBUTTONDOWN, x0, y0);
    Mouse(WM_MOUSEMOVE, x1, y1);
    Mouse(WM_LBUTTONUP, x1, y1);
  }
  HWND document_ = nullptr;
  HWND view_ = nullptr;
};

TEST_F(ViewTest, ConversionsFollowZoomAndScrollPosition) {
  Show(2000, 1500);
  ZoomDocument(document_, +1);  // 2
  SendMessageA(view_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
  SendMessageA(view_, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4), 0);
  POINT client{5, 7};
  const auto* image = reinterpret_cast<const POINT*>(SendMessageA(view_, 2067, 0, LPARAM(&client)));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->x, 12);  // floor(5 / 2) + 10
  EXPECT_EQ(image->y, 7);   // floor(7 / 2) + 4
  RECT area{10, 4, 20, 9};
  const auto* onClient = reinterpret_cast<const RECT*>(SendMessageA(view_, 2069, 0, LPARAM(&area)));
  ASSERT_NE(onClient, nullptr);
  EXPECT_EQ(onClient->left, 0);
  EXPECT_EQ(onClient->top, 0);
  EXPECT_EQ(onClient->right, 20);
  EXPECT_EQ(onClient->bottom, 10);
  POINT left{9, 0};
  const auto* back = reinterpret_cast<const POINT*>(SendMessageA(view_, 2070, 0, LPARAM(&left)));
  EXPECT_EQ(back->x, -2);
  EXPECT_EQ(back->y, -8);
  EXPECT_EQ(SendMessageA(view_, 2071, 0, LPARAM(&area)), 1);
  EXPECT_EQ(SendMessageA(view_, 2069, 0, 0), 0);
}

TEST_F(ViewTest, SelectionDragsAndClearing) {
  Show(200, 100);
  Drag(10, 10, 50, 40);
  EXPECT_TRUE(HasSelection(document_));
  RECT s = DocumentSelection(document_);
  EXPECT_EQ(s.left, 10);
  EXPECT_EQ(s.top, 10);
  EXPECT_EQ(s.right, 50);
  EXPECT_EQ(s.bottom, 40);
  // A drag of zero width leaves no selection at all.
  Drag(30, 10, 30, 60);
  EXPECT_FALSE(HasSelection(document_));
  s = DocumentSelection(document_);
  EXPECT_EQ(s.left | s.top | s.right | s.bottom, 0);
  // Dragging backwards orders the corners; the right button clears.
  Drag(60, 50, 20, 5);
  s = DocumentSelection(document_);
  EXPECT_EQ(s.left, 20);
  EXPECT_EQ(s.bottom, 50);
  Mouse(WM_RBUTTONDOWN, 5, 5);
  EXPECT_FALSE(HasSelection(document_));
  Drag(10, 10, 50, 40);
  SendMessageA(view_, 2082, 0, 0);
  EXPECT_FALSE(HasSelection(document_));
  // A press outside the image starts nothing.
  Drag(300, 10, 10, 10);
  EXPECT_FALSE(HasSelection(document_));
}

TEST_F(ViewTest, SelectionIsClampedWhenTheImageShrinks) {
  Show(200, 100);
  Drag(150, 50, 190, 90);
  ASSERT_TRUE(PushDocumentImage(document_, CoordinatePicture(160, 60), nullptr));
  RECT s = DocumentSelection(document_);
  EXPECT_EQ(s.right, 160);
  EXPECT_EQ(s.bottom, 60);
  ASSERT_TRUE(PushDocumentImage(document_, CoordinatePicture(100, 40), nullptr));
  EXPECT_FALSE(HasSelection(document_));
}

TEST_F(ViewTest, StatusLineShowsPixelAndDragExtent) {
  Show(200, 100);
  Mouse(WM_MOUSEMOVE, 7, 3);
  EXPECT_EQ(test::LastStatusText(), "Pos : (7,3)  RGB : (7,3,200)");
  Mouse(WM_LBUTTONDOWN, 10, 20);
  Mouse(WM_MOUSEMOVE, 40, 30);
  EXPECT_EQ(test::LastStatusText(), "Dim : (10,20)-(40,30)");
  Mouse(WM_LBUTTONUP, 40, 30);
  Mouse(WM_MOUSEMOVE, 500, 30);  // right of the image
  EXPECT_EQ(test::LastStatusText(), "Pos : (500,30)");
}

TEST_F(ViewTest, ZoomToRectangleFitsAndCentresTheDraggedArea) {
  Show(400, 300);
  g_app.viewMode = 2;
  Drag(100, 100, 150, 130);  // 50 x 30 image pixels
  RECT client;
  GetClientRect(document_, &client);
  float zoom = 0;
  SendMessageA(view_, 2058, 0, LPARAM(&zoom));
  EXPECT_FLOAT_EQ(zoom, 12.0f);  // 600 x 360 fits in the window
  EXPECT_FALSE(HasSelection(document_));
  // The rectangle's centre (125, 115) sits in the middle of the window.
  POINT middle{client.right / 2, client.bottom / 2};
  const auto* at = reinterpret_cast<const POINT*>(SendMessageA(view_, 2067, 0, LPARAM(&middle)));
  EXPECT_NEAR(at->x, 125, 1);
  EXPECT_NEAR(at->y, 115, 1);
}

TEST_F(ViewTest, MouseIsForwardedToTheToolWindowWhileAnEffectRuns) {
  Show(400, 300);
  test::RecordingHost tool;
  ZoomDocument(document_, +1);  // 2: client (20, 10) is image (10, 5)
  // Without the active flag nothing is posted.
  SendMessageA(view_, 2057, 5120, LPARAM(tool.window()));
  Mouse(WM_MOUSEMOVE, 20, 10);
  Pump();
  EXPECT_EQ(tool.Count(5120), 0);

  SendMessageA(view_, 2065, 0, 1);
  SendMessageA(view_, 2057, 5120, LPARAM(tool.window()));
  Mouse(WM_LBUTTONDOWN, 20, 10);
  Mouse(WM_MOUSEMOVE, 40, 30);
  Mouse(WM_LBUTTONUP, 40, 30);
  Mouse(WM_RBUTTONDOWN, 8, 6);
  Mouse(WM_RBUTTONUP, 8, 6);
  Pump();
  // Every event, the right-button release included, carries image pixels.
  const WPARAM codes[] = {22222, 22224, 22220, 22223, 22221};
  const LPARAM points[] = {MAKELPARAM(10, 5), MAKELPARAM(20, 15), MAKELPARAM(20, 15),
                           MAKELPARAM(4, 3), MAKELPARAM(4, 3)};
  ASSERT_EQ(tool.Count(5120), 5);
  int i = 0;
  for (const auto& entry : tool.messages()) {
    if (entry.message != 5120) continue;
    EXPECT_EQ(entry.wParam, codes[i]) << i;
    EXPECT_EQ(entry.lParam, points[i]) << i;
    ++i;
  }
  // The selection is left alone while the mouse belongs to the effect.
  EXPECT_FALSE(HasSelection(document_));

  // Ending the effect drops the tool window.
  tool.Clear();
  SendMessageA(view_, 2065, 0, 0);
  Mouse(WM_MOUSEMOVE, 20, 10);
  Pump();
  EXPECT_EQ(tool.Count(5120), 0);
  EXPECT_EQ(RecordOf(view_)->toolWindow, nullptr);
  EXPECT_EQ(RecordOf(view_)->dragIndex, -1);
}

TEST_F(ViewTest, TheSecondPressOfADoubleClickIsAPressToo) {
  Show(400, 300);
  test::RecordingHost tool;
  SendMessageA(view_, 2065, 0, 1);
  SendMessageA(view_, 2057, 5120, LPARAM(tool.window()));
  Mouse(WM_LBUTTONDOWN, 10, 10);
  Mouse(WM_LBUTTONUP, 10, 10);
  Mouse(WM_LBUTTONDBLCLK, 10, 10);
  Mouse(WM_LBUTTONUP, 10, 10);
  Mouse(WM_RBUTTONDBLCLK, 12, 14);
  Mouse(WM_RBUTTONUP, 12, 14);
  Pump();
  std::vector<WPARAM> codes;
  for (const auto& entry : tool.messages())
    if (entry.message == 5120) codes.push_back(entry.wParam);
  const std::vector<WPARAM> expected = {22222, 22220, 22222, 22220, 22223, 22221};
  EXPECT_EQ(codes, expected);
  SendMessageA(view_, 2065, 0, 0);

  // Without an effect a double click starts a selection like a press.
  Mouse(WM_LBUTTONDBLCLK, 20, 20);
  Mouse(WM_MOUSEMOVE, 60, 50);
  Mouse(WM_LBUTTONUP, 60, 50);
  const RECT s = DocumentSelection(document_);
  EXPECT_EQ(s.left, 20);
  EXPECT_EQ(s.bottom, 50);
}

TEST_F(ViewTest, AnEffectThatResizesThePictureIsShownAtItsNewSize) {
  Show(300, 200);
  // An effect replaces the slot's image with a smaller one of its own and
  // tells the view: 2054, then 2099.
  UndoSlot* slot = CurrentSlot(document_);
  HGLOBAL old = HGLOBAL(slot->image);
  slot->image = uintptr_t(test::MakeDib24(40, 30, [](int x, int y, uint8_t bgr[3]) {
    bgr[0] = 10, bgr[1] = 20, bgr[2] = 30;
  }));
  DestroyDIB(old);
  SendMessageA(view_, 2054, 0, 0);
  EXPECT_EQ(slot->width, 40);
  EXPECT_EQ(slot->height, 30);
  UpdateWindow(view_);
  HDC dc = GetDC(view_);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(30, 20, 10));
  ReleaseDC(view_, dc);
  // 2099 alone follows a new size too.
  HGLOBAL smaller = HGLOBAL(slot->image);
  slot->image = uintptr_t(CoordinatePicture(1200, 900));
  DestroyDIB(smaller);
  EXPECT_EQ(SendMessageA(view_, 2099, 0, 0), 1);
  EXPECT_EQ(slot->width, 1200);
  EXPECT_GT(RecordOf(view_)->vMax, 0) << "the bigger picture needs scroll bars";
  UpdateWindow(view_);
  dc = GetDC(view_);
  EXPECT_EQ(GetPixel(dc, 100, 50), RGB(100, 50, 200));
  ReleaseDC(view_, dc);
}

TEST_F(ViewTest, SharedRectangleIsDraggedAndWrittenBackBeforeRelease) {
  Show(400, 300);
  test::RecordingHost tool;
  INT32 shared[4] = {0, 0, 40, 30};
  SendMessageA(view_, 2065, 0, 1);
  SendMessageA(view_, 2057, 5120, LPARAM(tool.window()));
  SendMessageA(view_, 2064, 0, LPARAM(shared));
  Mouse(WM_LBUTTONDOWN, 10, 10);
  Mouse(WM_MOUSEMOVE, 30, 50);
  EXPECT_EQ(shared[0], 0);  // written back only on release
  Mouse(WM_LBUTTONUP, 30, 50);
  EXPECT_EQ(shared[0], 20);
  EXPECT_EQ(shared[1], 40);
  EXPECT_EQ(shared[2], 60);
  EXPECT_EQ(shared[3], 70);
  // Dragged past the edge it stays inside the image.
  Mouse(WM_LBUTTONDOWN, 25, 45);
  Mouse(WM_MOUSEMOVE, 1000, 1000);
  Mouse(WM_LBUTTONUP, 1000, 1000);
  EXPECT_EQ(shared[2], 400);
  EXPECT_EQ(shared[3], 300);
  Pump();
  EXPECT_EQ(tool.Count(5120), 6);
  SendMessageA(view_, 2065, 0, 0);
}

TEST_F(ViewTest, EffectMessagesStoreAndResetTheirState) {
  Show(50, 50);
  HCURSOR cursor = LoadCursorA(nullptr, IDC_CROSS);
  EXPECT_EQ(SendMessageA(view_, 2066, WPARAM(cursor), 0), 1);
  EXPECT_EQ(g_app.effectCursor, cursor);
  SendMessageA(view_, 2125, 0, 77);
  SendMessageA(view_, 2127, 0, 88);
  EXPECT_EQ(SendMessageA(view_, 2126, 0, 0), 77);
  EXPECT_EQ(SendMessageA(view_, 2128, 0, 0), 88);
  g_app.effectDialog = view_;
  SendMessageA(view_, 2065, 0, 0);
  EXPECT_EQ(g_app.effectCursor, nullptr);
  EXPECT_EQ(g_app.effectDialog, nullptr);
}

TEST_F(ViewTest, MaskDisplayBlendsWithCheckerboardAndCanBeHidden) {
  HGLOBAL image = CoordinatePicture(32, 32);
  LPBYTE mask = AllocAlpha(image);  // all 0: only the board shows
  ASSERT_NE(mask, nullptr);
  ASSERT_TRUE(SetDocumentImage(document_, image, mask));
  EXPECT_EQ(SendMessageA(document_, 2097, 0, 0), LRESULT(mask));
  EXPECT_EQ(*reinterpret_cast<uintptr_t*>(SendMessageA(view_, 2098, 0, 0)), uintptr_t(mask));
  const UndoSlot* slot = CurrentSlot(document_);
  ASSERT_NE(slot->displayCopy, 0u);
  uint8_t bgr[3];
  test::DibPixel(HGLOBAL(slot->displayCopy), 0, 0, bgr);
  EXPECT_EQ(bgr[0], 85);
  test::DibPixel(HGLOBAL(slot->displayCopy), 8, 0, bgr);
  EXPECT_EQ(bgr[0], 170);
  Mouse(WM_MOUSEMOVE, 8, 0);
  EXPECT_EQ(test::LastStatusText(), "Pos : (8,0)  RGB : (170,170,170)");
  SendMessageA(view_, 2105, 0, 0);  // hide
  EXPECT_EQ(MaskDisplayMode(document_), 1);
  EXPECT_EQ(CurrentSlot(document_)->displayCopy, 0u);
  SendMessageA(view_, 2105, 1, 0);  // show
  EXPECT_EQ(MaskDisplayMode(document_), 0);
  EXPECT_NE(CurrentSlot(document_)->displayCopy, 0u);
}

TEST_F(ViewTest, PaintPutsTheImageAtTheClientOrigin) {
  Show(1000, 800);
  UpdateWindow(g_app.frame);
  RedrawWindow(view_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(view_);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 200));
  EXPECT_EQ(GetPixel(dc, 17, 9), RGB(17, 9, 200));
  ReleaseDC(view_, dc);
  // Scrolled, the client origin shows the image at the scroll position.
  SendMessageA(view_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
  SendMessageA(view_, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 0);
  RedrawWindow(view_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  dc = GetDC(view_);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(5, 3, 200));
  // At zoom 2 every image pixel covers 2 x 2 client pixels.
  ZoomDocument(document_, +1);
  SendMessageA(view_, WM_HSCROLL, SB_TOP, 0);
  SendMessageA(view_, WM_VSCROLL, SB_TOP, 0);
  RedrawWindow(view_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(GetPixel(dc, 21, 11), RGB(10, 5, 200));
  ReleaseDC(view_, dc);
}

TEST_F(ViewTest, MagnifierShowsDoubledLoupeWhileTheButtonIsHeld) {
  Show(1000, 800);
  g_app.viewMode = 1;
  Mouse(WM_LBUTTONDOWN, 100, 100);
  UpdateWindow(view_);
  HDC dc = GetDC(view_);
  // The loupe spans client 11..190 and shows image 55..144 twice as large.
  EXPECT_EQ(GetPixel(dc, 30, 100), RGB(64, 99, 200));
  EXPECT_EQ(GetPixel(dc, 5, 100), RGB(5, 100, 200));  // outside the loupe
  Mouse(WM_LBUTTONUP, 100, 100);
  UpdateWindow(view_);
  EXPECT_EQ(GetPixel(dc, 30, 100), RGB(30, 100, 200));
  ReleaseDC(view_, dc);
  EXPECT_FALSE(HasSelection(document_));
}

// A stand-in for the GIF loader's structure: a list of frames it owns.
struct FakeAnimation {
  std::vector<HGLOBAL> frames;
  int releases = 0;
};

TEST_F(ViewTest, AnimationAdvancesAtTheIntervalAndKeepsItsFrames) {
  static FakeAnimation animation;
  animation = {};
  for (int i = 0; i < 3; ++i) animation.frames.push_back(CoordinatePicture(20 + i, 10));
  static const AnimationAccess access = {
      [](void* a) { return int(static_cast<FakeAnimation*>(a)->frames.size()); },
      [](void* a, int i) { return static_cast<FakeAnimation*>(a)->frames[size_t(i)]; },
      [](void* a) { ++static_cast<FakeAnimation*>(a)->releases; }};
  g_app.animationInterval = 200;
  ASSERT_TRUE(SetDocumentAnimation(document_, &animation, &access));
  EXPECT_EQ(CurrentImage(document_), animation.frames[0]);
  EXPECT_NE(RecordOf(view_)->animationTimer, 0);
  SendMessageA(view_, WM_TIMER, 100, 0);
  EXPECT_EQ(CurrentImage(document_), animation.frames[0]);
  SendMessageA(view_, WM_TIMER, 100, 0);
  EXPECT_EQ(CurrentImage(document_), animation.frames[1]);
  EXPECT_EQ(CurrentSlot(document_)->width, 21);
  for (int i = 0; i < 4; ++i) SendMessageA(view_, WM_TIMER, 100, 0);
  EXPECT_EQ(CurrentImage(document_), animation.frames[0]);  // wrapped
  test::FreedDibs().clear();
  SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document_), 0);
  EXPECT_EQ(animation.releases, 1);
  for (HGLOBAL frame : animation.frames) {
    EXPECT_EQ(std::count(test::FreedDibs().begin(), test::FreedDibs().end(), frame), 0);
    GlobalFree(frame);
  }
  g_app.animationInterval = 3000;
}

}  // namespace
}  // namespace quillo
