// Tool and panel buttons driven message by message, and the start-up logo.
#include <gtest/gtest.h>

#include "app/shell/app_state.h"
#include "app/shell/win/bitmap_button.h"
#include "app/shell/win/startup_logo.h"
#include "shell_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

// Picture i of the test strips: 0 white, 1 green, 2 yellow, 3 cyan, 4 blue, 5 magenta.
const std::vector<COLORREF> kColours = {RGB(255, 255, 255), RGB(0, 200, 0), RGB(255, 255, 0),
                                        RGB(0, 255, 255),   RGB(0, 0, 200), RGB(200, 0, 200)};
constexpr int kCommand = 0x7100;

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class Buttons : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    g_app.instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterBitmapButtonClasses(g_app.instance));
    ASSERT_TRUE(RegisterLogoClass(g_app.instance));
    LOGFONTA font{};
    lstrcpyA(font.lfFaceName, "Arial");
    font.lfHeight = 14;
    g_app.fontLarge = CreateFontIndirectA(&font);
    font.lfHeight = 12;
    g_app.fontSmall = CreateFontIndirectA(&font);
  }
  void SetUp() override { frame_ = std::make_unique<TestFrame>(); }
  void TearDown() override { frame_.reset(); }

  HWND Tool(const char* caption, int pictures = 4) {
    return CreateToolButtonWithBitmap(frame_->window(), 2, 2,
                                      MakeStrip(50, 50, std::vector<COLORREF>(kColours.begin(),
                                                                              kColours.begin() + pictures)),
                                      caption, kCommand);
  }
  int Commands() {
    PumpMessages();
    int n = 0;
    for (WPARAM w : frame_->commands()) n += LOWORD(w) == kCommand;
    return n;
  }
  std::unique_ptr<TestFrame> frame_;
};

TEST_F(Buttons, ToolButtonCommandsOnlyOnReleaseInside) {
  HWND button = Tool("Open");
  ASSERT_NE(button, nullptr);
  RECT r;
  GetClientRect(button, &r);
  EXPECT_EQ(r.right, 50);
  EXPECT_EQ(r.bottom, 50);

  // Press inside, release outside: nothing.
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  EXPECT_EQ(GetCapture(), button);
  SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, At(80, 10));
  SendMessageA(button, WM_LBUTTONUP, 0, At(80, 10));
  EXPECT_EQ(Commands(), 0);
  EXPECT_EQ(GetCapture(), nullptr);

  // Out and back in before releasing: exactly one command with its window.
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, At(-5, 10));
  SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, At(20, 20));
  SendMessageA(button, WM_LBUTTONUP, 0, At(20, 20));
  EXPECT_EQ(Commands(), 1);

  // A release without a press first sends nothing.
  SendMessageA(button, WM_LBUTTONUP, 0, At(20, 20));
  EXPECT_EQ(Commands(), 1);

  // Disabled: clicks are ignored.
  EnableWindow(button, FALSE);
  SendMessageA(button, WM_NCHITTEST, 0, 0);
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  SendMessageA(button, WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_EQ(Commands(), 1);
  EXPECT_NE(GetCapture(), button);
}

TEST_F(Buttons, ToolButtonPicturesFollowHoverPressAndDisable) {
  HWND button = Tool("");
  auto picture = [&] { return Snapshot(button).At(25, 5); };
  EXPECT_EQ(picture(), kColours[0]);  // idle
  SendMessageA(button, WM_MOUSEMOVE, 0, At(10, 10));
  EXPECT_EQ(picture(), kColours[1]);  // hovered
  EXPECT_EQ(GetCapture(), button);
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  EXPECT_EQ(picture(), kColours[2]);  // pressed inside
  SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, At(70, 10));
  EXPECT_EQ(picture(), kColours[0]);  // pressed, pointer outside
  SendMessageA(button, WM_LBUTTONUP, 0, At(70, 10));
  SendMessageA(button, WM_MOUSEMOVE, 0, At(10, 10));
  EXPECT_EQ(picture(), kColours[1]);
  SendMessageA(button, WM_MOUSEMOVE, 0, At(60, 60));  // leaving ends the hover
  EXPECT_EQ(picture(), kColours[0]);
  EXPECT_EQ(GetCapture(), nullptr);
  EnableWindow(button, FALSE);
  EXPECT_EQ(picture(), kColours[3]);
}

TEST_F(Buttons, CaptionColourAndLines) {
  HWND one = Tool("Open");
  // Black in the lower band only, none above it.
  Snapshot idle(one);
  EXPECT_GT(idle.Count(RGB(0, 0, 0), 35, 50), 0);
  EXPECT_EQ(idle.Count(RGB(0, 0, 0), 0, 34), 0);
  SendMessageA(one, WM_MOUSEMOVE, 0, At(10, 10));  // pointer inside: red
  Snapshot hot(one);
  EXPECT_GT(hot.Count(RGB(255, 0, 0), 35, 50), 0);
  EXPECT_EQ(hot.Count(RGB(0, 0, 0), 35, 50), 0);
  SendMessageA(one, WM_MOUSEMOVE, 0, At(90, 90));
  EnableWindow(one, FALSE);
  Snapshot grey(one);
  EXPECT_GT(grey.Count(RGB(127, 127, 127), 35, 50), 0);
  EXPECT_EQ(grey.Count(RGB(0, 0, 0)), 0);

  // Two lines: ink starts in the upper band (y 29..) and reaches the lower one;
  // only the upper line ("Il") is drawn when the lower text is empty.
  DestroyWindow(one);
  HWND two = Tool("Il\nIl");
  Snapshot both(two);
  EXPECT_GT(both.Count(RGB(0, 0, 0), 29, 35), 0);
  EXPECT_GT(both.Count(RGB(0, 0, 0), 41, 49), 0);
  EXPECT_EQ(both.Count(RGB(0, 0, 0), 0, 29), 0);
  SetWindowTextA(two, "Il\n");
  Snapshot upper(two);
  EXPECT_GT(upper.Count(RGB(0, 0, 0), 29, 41), 0);
  EXPECT_EQ(upper.Count(RGB(0, 0, 0), 42, 50), 0);
}

TEST_F(Buttons, MissingOrShortStripStillMakesAUsableButton) {
  HWND missing = CreateToolButton(frame_->window(), 60, 2, "NoSuchBitmap", "Open", kCommand);
  ASSERT_NE(missing, nullptr);
  RECT r;
  GetClientRect(missing, &r);
  EXPECT_EQ(r.right, 50);
  EXPECT_EQ(r.bottom, 50);
  SendMessageA(missing, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  SendMessageA(missing, WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(Commands(), 1);
  // A strip shorter than four rows is dropped, not read past its end.
  HWND tiny = CreateToolButtonWithBitmap(frame_->window(), 120, 2, MakeStrip(40, 1, {RGB(9, 9, 9)}), "", kCommand);
  ASSERT_NE(tiny, nullptr);
  Snapshot s(tiny);
  EXPECT_EQ(s.width(), 50);
  EXPECT_EQ(s.Count(RGB(9, 9, 9)), 0);
}

TEST_F(Buttons, PanelButtonPicturesAnimationAndCommandToFrame) {
  HWND panel = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 100, 200, 80, frame_->window(),
                               nullptr, g_app.instance, nullptr);
  HWND pack = CreatePanelButtonWithBitmap(panel, 0, 0, MakeStrip(40, 20, kColours), 0x28F0, true);
  ASSERT_NE(pack, nullptr);
  RECT r;
  GetClientRect(pack, &r);
  EXPECT_EQ(r.bottom, 20);  // six pictures
  auto picture = [&] { return Snapshot(pack).At(5, 5); };
  EXPECT_EQ(picture(), kColours[0]);
  const int expected[] = {3, 4, 5, 0};  // frames 1, 2, 3, 0
  for (int index : expected) {
    SendMessageA(pack, WM_TIMER, kPanelAnimationTimer, 0);
    EXPECT_EQ(picture(), kColours[size_t(index)]);
  }
  SendMessageA(pack, WM_MOUSEMOVE, 0, At(5, 5));
  EXPECT_EQ(picture(), kColours[2]);  // hovered
  SendMessageA(pack, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(picture(), kColours[1]);  // pressed inside
  SendMessageA(pack, WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(Commands() + 0, 0);       // not the tool command...
  bool sawPack = false;
  for (WPARAM w : frame_->commands()) sawPack = sawPack || LOWORD(w) == 0x28F0;
  EXPECT_TRUE(sawPack);               // ...but its own, posted to the frame, not the panel

  HWND saver = CreatePanelButtonWithBitmap(panel, 50, 0, MakeStrip(40, 20, {kColours.begin(), kColours.begin() + 4}), 0x28F1, false);
  SendMessageA(saver, WM_TIMER, kPanelAnimationTimer, 0);
  EXPECT_EQ(Snapshot(saver).At(5, 5), kColours[0]);  // not animated
  EnableWindow(saver, FALSE);
  EXPECT_EQ(Snapshot(saver).At(5, 5), kColours[3]);
  DestroyWindow(panel);
}

TEST_F(Buttons, LogoDisablesTheFrameUntilClicked) {
  HWND frame = frame_->window();
  EXPECT_EQ(ShowStartupLogo(frame), nullptr);  // the test program has no "Logo"
  EXPECT_TRUE(IsWindowEnabled(frame));

  HWND logo = ShowLogoBitmap(frame, MakeStrip(120, 80, {RGB(10, 20, 30)}));
  ASSERT_NE(logo, nullptr);
  EXPECT_FALSE(IsWindowEnabled(frame));
  RECT r;
  GetWindowRect(logo, &r);
  EXPECT_EQ(r.right - r.left, 120);
  EXPECT_EQ(r.bottom - r.top, 80);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 120) / 2);
  EXPECT_TRUE(GetWindowLongA(logo, GWL_EXSTYLE) & WS_EX_TOPMOST);
  char name[32];
  GetClassNameA(logo, name, sizeof name);
  EXPECT_STREQ(name, "BEXALogo");
  SendMessageA(logo, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
  EXPECT_FALSE(IsWindow(logo));
  EXPECT_TRUE(IsWindowEnabled(frame));

  // The five-second timer closes it the same way.
  logo = ShowLogoBitmap(frame, MakeStrip(30, 30, {RGB(1, 1, 1)}));
  ASSERT_NE(logo, nullptr);
  SendMessageA(logo, WM_TIMER, kLogoTimer, 0);
  EXPECT_FALSE(IsWindow(logo));
  EXPECT_TRUE(IsWindowEnabled(frame));
}

}  // namespace
