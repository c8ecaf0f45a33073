// The screen-saver library driven through a small saver program started in
// each of its modes, as the system starts savers.
#include <gtest/gtest.h>

#include <windowsx.h>

#include "saver_process.h"
#include "test_saver_protocol.h"

namespace {

LRESULT Ask(HWND saver, SaverQuestion question) {
  return SendMessageA(saver, RegisterWindowMessageA(kSaverQueryMessage), question, 0);
}

void SendMouseMove(HWND saver, int x, int y) { SendMessageA(saver, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

// A plain top-level window of the test for the saver to be owned by or drawn in.
class TestWindow {
 public:
  TestWindow() {
    window_ = CreateWindowExA(0, "STATIC", "saver host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~TestWindow() { Destroy(); }
  HWND window() const { return window_; }
  void Destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
};

// Where the full-screen saver was first told the mouse is: the system
// reports it as the window appears; should it not within a second, the test
// reports it.
POINT FirstMousePosition(HWND saver) {
  LRESULT at = -1;
  if (PumpUntil([&] { return (at = Ask(saver, kAskFirstMouse)) != -1; }, 1000))
    return {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  SendMouseMove(saver, 300, 300);
  return {300, 300};
}

}  // namespace

TEST(FullScreenSaver, IsOneTopMostPopupOverTheVirtualScreenThatAKeyEnds) {
  SaverProcess saver("/s");
  HWND window = saver.WaitWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(saver.Windows().size(), 1u);
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_POPUP | WS_CHILD | WS_CAPTION), WS_POPUP);
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
  EXPECT_EQ(r.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  EXPECT_FALSE(Ask(window, kAskIsPreview));
  EXPECT_TRUE(Ask(window, kAskIsMainWindow));

  PostMessageA(window, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(saver.WaitExit(), 0);
}

TEST(FullScreenSaver, EveryButtonKeyAndLossOfActivationEndsIt) {
  const struct {
    UINT message;
    WPARAM wParam;
  } enders[] = {{WM_SYSKEYDOWN, VK_MENU}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_RBUTTONDOWN, MK_RBUTTON},
                {WM_MBUTTONDOWN, MK_MBUTTON}, {WM_ACTIVATE, WA_INACTIVE}, {WM_ACTIVATEAPP, FALSE}};
  for (const auto& ender : enders) {
    SCOPED_TRACE(ender.message);
    SaverProcess saver("/s");
    HWND window = saver.WaitWindow();
    ASSERT_NE(window, nullptr);
    SendMessageA(window, ender.message, ender.wParam, MAKELPARAM(300, 300));
    EXPECT_EQ(saver.WaitExit(), 0);
  }
}

TEST(FullScreenSaver, OnlyAMouseMoveBeyondTheToleranceOfTheFirstEndsIt) {
  SaverProcess saver("/s");
  HWND window = saver.WaitWindow();
  ASSERT_NE(window, nullptr);
  const POINT first = FirstMousePosition(window);
  SendMouseMove(window, first.x + 4, first.y - 4);  // within four pixels in each axis
  SendMouseMove(window, first.x - 4, first.y + 4);
  // The system asking to close or to start a saver is refused while it runs.
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
  EXPECT_TRUE(IsWindow(window));

  SendMouseMove(window, first.x, first.y + 5);
  EXPECT_EQ(saver.WaitExit(), 0);
}

TEST(FullScreenSaver, ARealKeyPressEndsIt) {
  SaverProcess saver("/s");
  HWND window = saver.WaitWindow();
  ASSERT_NE(window, nullptr);
  // Real keys go to the active window, which the saver becomes shortly after it shows.
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window; }));
  INPUT key[2] = {};
  key[0].type = key[1].type = INPUT_KEYBOARD;
  key[0].ki.wVk = key[1].ki.wVk = VK_SHIFT;
  key[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, key, sizeof(INPUT));
  EXPECT_EQ(saver.WaitExit(), 0);
}

TEST(SaverSettings, OpenOwnedByTheWindowTheCommandLineNames) {
  TestWindow owner;
  for (const std::string prefix : {"/c:", "-C ", "c"}) {
    SCOPED_TRACE(prefix);
    SaverProcess saver(prefix + Decimal(owner.window()));
    HWND dialog = saver.WaitWindow();
    ASSERT_NE(dialog, nullptr);
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, TEST_SAVER_SETTINGS_CAPTION);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.window());
    PostMessageA(dialog, WM_COMMAND, prefix == "c" ? IDCANCEL : IDOK, 0);
    EXPECT_EQ(saver.WaitExit(), 0);
  }
}

TEST(SaverSettings, WithoutAWindowNumberAreOwnedByTheForegroundWindow) {
  TestWindow foreground;
  SetForegroundWindow(foreground.window());
  ASSERT_EQ(GetForegroundWindow(), foreground.window());
  for (const char* arguments : {"/c", "-C"}) {
    SCOPED_TRACE(arguments);
    SaverProcess saver(arguments);
    HWND dialog = saver.WaitWindow();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), foreground.window());
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(saver.WaitExit(), 0);
  }
}

TEST(SaverSettings, WithoutArgumentsOrForAnUnknownLetterHaveNoOwner) {
  for (const char* arguments : {"", "/x 12"}) {
    SCOPED_TRACE(arguments);
    SaverProcess saver(arguments);
    HWND dialog = saver.WaitWindow();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(saver.WaitExit(), 0);
  }
}

TEST(SaverPreview, FillsTheParentIgnoresInputAndEndsWithTheParent) {
  for (const char* separator : {" ", ":"}) {
    SCOPED_TRACE(separator);
    TestWindow parent;
    SaverProcess saver(std::string("/p") + separator + Decimal(parent.window()));
    HWND child = saver.WaitWindow(parent.window());
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(GetWindowLongA(child, GWL_STYLE) & WS_CHILD);
    RECT client, area;
    GetClientRect(parent.window(), &client);
    GetClientRect(child, &area);
    EXPECT_TRUE(EqualRect(&client, &area));
    EXPECT_TRUE(Ask(child, kAskIsPreview));
    EXPECT_TRUE(Ask(child, kAskIsMainWindow));

    SendMessageA(child, WM_KEYDOWN, 'A', 1);
    SendMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMouseMove(child, 1, 1);
    SendMouseMove(child, 90, 90);
    SendMessageA(child, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(IsWindow(child));

    parent.Destroy();
    EXPECT_EQ(saver.WaitExit(), 0);
  }
}

TEST(SaverWithoutWindow, PasswordChangeAndAPreviewWithoutParentEndAtOnce) {
  SaverProcess password("/a");
  EXPECT_EQ(password.WaitExit(), 0);
  SaverProcess orphan("/p 0");
  EXPECT_EQ(orphan.WaitExit(), 1);
}
