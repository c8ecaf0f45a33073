// The thumbnail pane against stub documents in a real MDI frame: items per
// document, the pane's coming and going, fitted pictures, the spin button.
#include <gtest/gtest.h>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/thumbnail_layout.h"
#include "app/shell/win/thumbnail_pane.h"
#include "shell_test_support.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

HGLOBAL Solid(int width, int height, uint8_t b, uint8_t g, uint8_t r) {
  return MakeDib24(width, height, [=](int, int, uint8_t bgr[3]) {
    bgr[0] = b;
    bgr[1] = g;
    bgr[2] = r;
  });
}

class ThumbnailPane : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RegisterThumbnailClasses(GetModuleHandleA(nullptr))); }
  void SetUp() override {
    g_app.thumbnailFlag = 1;
    frame_ = std::make_unique<TestFrame>();
  }
  void TearDown() override { frame_.reset(); }
  static int Count() { return int(SendMessageA(ThumbnailList(), LB_GETCOUNT, 0, 0)); }
  static int Selection() { return int(SendMessageA(ThumbnailList(), LB_GETCURSEL, 0, 0)); }
  static int Width(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return r.right - r.left;
  }
  std::unique_ptr<TestFrame> frame_;
};

TEST_F(ThumbnailPane, FollowsTheDocumentWindows) {
  CreateThumbnailPane(frame_->window());
  ASSERT_NE(ThumbnailList(), nullptr);
  EXPECT_FALSE(ThumbnailPaneVisible());  // no picture open yet
  const int fullWidth = Width(g_app.mdiClient);

  HWND first = OpenStubDocument(Solid(50, 40, 0, 0, 255));
  RefreshThumbnails();
  EXPECT_TRUE(ThumbnailPaneVisible());
  EXPECT_EQ(Width(g_app.mdiClient), fullWidth - kThumbnailPaneWidth);
  HWND second = OpenStubDocument(Solid(30, 60, 0, 255, 0));
  RefreshThumbnails();
  RefreshThumbnails();  // a second refresh adds nothing
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(FindThumbnail(RecordOf(first)), 0);
  EXPECT_EQ(FindThumbnail(RecordOf(second)), 1);
  EXPECT_EQ(Selection(), 1);  // the newest window is active

  // The spin button sits in the header strip straight above the list.
  RECT list, spin;
  GetWindowRect(ThumbnailList(), &list);
  GetWindowRect(GetDlgItem(frame_->window(), kSpinButtonId), &spin);
  EXPECT_EQ(spin.bottom, list.top);
  EXPECT_EQ(spin.bottom - spin.top, kThumbnailHeaderHeight);
  EXPECT_EQ(spin.left, list.left);

  // A click in the list activates that document.
  SendMessageA(ThumbnailList(), LB_SETCURSEL, 0, 0);
  SendMessageA(frame_->window(), WM_COMMAND, MAKEWPARAM(kThumbnailListId, LBN_SELCHANGE),
               LPARAM(ThumbnailList()));
  EXPECT_EQ(ActiveDocument(), first);

  SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(first), 0);
  RefreshThumbnails();
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(FindThumbnail(RecordOf(second)), 0);
  ForgetThumbnail(second);  // as its WM_DESTROY would
  EXPECT_EQ(Count(), 0);
  EXPECT_FALSE(ThumbnailPaneVisible());
  EXPECT_EQ(Width(g_app.mdiClient), fullWidth);

  // Switched off, the pane is gone and every operation does nothing.
  ShowThumbnailPane(false);
  EXPECT_EQ(ThumbnailList(), nullptr);
  RefreshThumbnails();
  EXPECT_EQ(FindThumbnail(RecordOf(second)), -1);
}

TEST_F(ThumbnailPane, ItemsShowTheFittedPicture) {
  HWND wide = OpenStubDocument(Solid(200, 20, 0, 0, 255));
  HWND tall = OpenStubDocument(Solid(10, 90, 0, 0, 255));
  // Mask shown (mode 0) with a display copy: the copy is drawn, not the image.
  HWND masked = OpenStubDocument(Solid(40, 40, 0, 0, 255), Solid(40, 40, 255, 0, 0), 0);
  CreateThumbnailPane(frame_->window());
  ASSERT_EQ(Count(), 3);

  MEASUREITEMSTRUCT measure{ODT_LISTBOX, UINT(kThumbnailListId), 0, 0, 0, 0};
  ASSERT_TRUE(OnThumbnailMeasureItem(frame_->window(), &measure));
  const int border = GetSystemMetrics(SM_CYBORDER);
  EXPECT_EQ(int(measure.itemHeight), ThumbnailItemHeight(border));
  const int item = ThumbnailItemHeight(border);
  const int box = ThumbnailBoxSize(border);

  struct Case { HWND document; int width, height; COLORREF ink; };
  const Case cases[] = {{wide, 200, 20, RGB(255, 0, 0)}, {tall, 10, 90, RGB(255, 0, 0)},
                        {masked, 40, 40, RGB(0, 0, 255)}};
  for (const Case& c : cases) {
    const int index = FindThumbnail(RecordOf(c.document));
    Snapshot shot(item + 10, item + 10, RGB(1, 2, 3), [&](HDC dc) {
      DRAWITEMSTRUCT draw{ODT_LISTBOX, UINT(kThumbnailListId), UINT(index), ODA_DRAWENTIRE, 0,
                          ThumbnailList(), dc, {5, 5, 5 + item, 5 + item},
                          ULONG_PTR(SendMessageA(ThumbnailList(), LB_GETITEMDATA, WPARAM(index), 0))};
      ASSERT_TRUE(OnThumbnailDrawItem(frame_->window(), &draw));
    });
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (shot.At(x, y) == c.ink) {
          left = std::min(left, x); top = std::min(top, y);
          right = std::max(right, x + 1); bottom = std::max(bottom, y + 1);
        }
    const Rect fit = FitThumbnail(c.width, c.height, box);
    EXPECT_EQ(left, 5 + fit.left) << c.width << "x" << c.height;
    EXPECT_EQ(top, 5 + fit.top) << c.width << "x" << c.height;
    EXPECT_EQ(right, 5 + fit.right) << c.width << "x" << c.height;
    EXPECT_EQ(bottom, 5 + fit.bottom) << c.width << "x" << c.height;
  }

  // An item whose window is gone draws no picture (its record is never read).
  Snapshot stale(item, item, RGB(1, 2, 3), [&](HDC dc) {
    DRAWITEMSTRUCT draw{ODT_LISTBOX, UINT(kThumbnailListId), 0, ODA_DRAWENTIRE, 0, ThumbnailList(), dc,
                        {0, 0, item, item}, ULONG_PTR(0x12345678)};
    OnThumbnailDrawItem(frame_->window(), &draw);
  });
  EXPECT_EQ(stale.Count(RGB(255, 0, 0)) + stale.Count(RGB(0, 0, 255)), 0);
  // Other controls' items are left to the frame.
  MEASUREITEMSTRUCT other{ODT_LISTBOX, 77, 0, 0, 0, 0};
  EXPECT_FALSE(OnThumbnailMeasureItem(frame_->window(), &other));
}

TEST_F(ThumbnailPane, SpinHalvesStepThroughTheList) {
  for (int i = 0; i < 3; ++i) OpenStubDocument(Solid(8, 8, 0, 0, 0));
  CreateThumbnailPane(frame_->window());
  HWND spin = GetDlgItem(frame_->window(), kSpinButtonId);
  ASSERT_TRUE(spin && Count() == 3);
  RECT r;
  GetClientRect(spin, &r);
  const LPARAM left = MAKELPARAM(5, 5), right = MAKELPARAM(r.right - 5, 5);
  SendMessageA(ThumbnailList(), LB_SETCURSEL, 0, 0);

  // Left half: forward at the press and at every tick; past the end no
  // selection, then the first item again.
  SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, left);
  EXPECT_EQ(GetCapture(), spin);
  EXPECT_EQ(Selection(), 1);
  const int forward[] = {2, -1, 0};
  for (int expected : forward) {
    SendMessageA(spin, WM_TIMER, kSpinTimer, 0);
    EXPECT_EQ(Selection(), expected);
  }
  SendMessageA(spin, WM_LBUTTONUP, 0, left);
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageA(spin, WM_TIMER, kSpinTimer, 0);  // a stray tick after release: nothing
  EXPECT_EQ(Selection(), 0);

  // Right half: back, stopping at the first item.
  SendMessageA(ThumbnailList(), LB_SETCURSEL, 2, 0);
  SendMessageA(spin, WM_LBUTTONDBLCLK, MK_LBUTTON, right);
  EXPECT_EQ(Selection(), 1);
  SendMessageA(spin, WM_TIMER, kSpinTimer, 0);
  SendMessageA(spin, WM_TIMER, kSpinTimer, 0);
  EXPECT_EQ(Selection(), 0);
  SendMessageA(spin, WM_LBUTTONUP, 0, right);
  // Releasing activates the document the steps reached.
  EXPECT_EQ(RecordOf(ActiveDocument()),
            reinterpret_cast<DocumentRecord*>(SendMessageA(ThumbnailList(), LB_GETITEMDATA, 0, 0)));
}

}  // namespace
