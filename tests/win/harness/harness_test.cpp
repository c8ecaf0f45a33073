// The Wine session the tests run in: a display where windows appear and a
// thread timer reaches a nested message loop.
#include <gtest/gtest.h>
#include "win_test_support.h"

using namespace quillo::test;

TEST(WineSession, WindowsAppearAndTimersReachNestedLoops) {
  RecordingHost host;
  ASSERT_NE(host.window(), nullptr);
  ShowWindow(host.window(), SW_SHOW);
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);

  int steps = 0;
  bool done = false;
  ScriptedUser user;
  user.Then([&] { return ++steps == 3; }).Then([&] {
    done = true;
    PostMessageA(host.window(), WM_USER + 7, 1, 2);
    return true;
  });
  MSG msg;
  DWORD start = GetTickCount();
  while (!done && GetTickCount() - start < 5000 && GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_TRUE(done);
  EXPECT_EQ(host.Count(WM_USER + 7), 1);
}
