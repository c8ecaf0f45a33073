// The studio's frame run in-process, driven with messages: menus, tool
// buttons, the effect-time refusals, zoom limits and the thumbnail pane.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/open_image.h"
#include "app/shell/win/studio.h"
#include "app/shell/win/thumbnail_pane.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "screenshot.h"
#include "studio_fixture.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

constexpr char kSettings[] = "bexadbms.ini";

class StudioFrame : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (int i = 1; i <= 5; ++i)
      WritePrivateProfileStringA("FunHist", ("i" + std::to_string(i)).c_str(), "", kSettings);
    WritePrivateProfileStringA("Meridian", "Thumbnail", "1", kSettings);
    WritePrivateProfileStringA("Meridian", "Bestfit", "0", kSettings);
    started_ = StartInProcessStudio(&accelerators_);
  }
  static void TearDownTestSuite() { StopInProcessStudio(); }
  void TearDown() override {
    g_app.activeEffect = 0;
    while (HWND document = ActiveDocument()) SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
    RefreshThumbnails();
    Pump();
  }
  static void Pump() { PumpMessages(5); }
  static HWND OpenTestPicture(int width, int height, const char* title) {
    return OpenImageHandle(MakeTestPicture(width, height), title);
  }
  static int Width(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r.right - r.left;
  }
  static inline int started_ = 0;
  static inline HACCEL accelerators_ = nullptr;
};

}  // namespace

TEST_F(StudioFrame, StartsWithMenuButtonsAndStatusLine) {
  ASSERT_EQ(started_, -1);
  ASSERT_NE(g_app.frame, nullptr);
  ASSERT_NE(g_app.mdiClient, nullptr);
  EXPECT_NE(g_app.statusLine, nullptr);
  EXPECT_NE(accelerators_, nullptr);
  HMENU menu = GetMenu(g_app.frame);
  ASSERT_NE(menu, nullptr);
  // All five recent-file keys are empty: no items and no separator; the
  // capture command is the menu's only item with the separator's number.
  for (UINT id = CMD_RECENT_FIRST; id < CMD_AVI_CAPTURE; ++id)
    EXPECT_EQ(GetMenuState(menu, id, MF_BYCOMMAND), UINT(-1)) << std::hex << id;
  EXPECT_EQ(GetMenuState(menu, CMD_AVI_CAPTURE, MF_BYCOMMAND) & MF_SEPARATOR, 0u);
  EXPECT_NE(GetMenuState(menu, CMD_EXIT, MF_BYCOMMAND), UINT(-1));
  // A wide screen gets every tool button, Next included.
  int buttons = 0;
  for (HWND child = GetWindow(g_app.frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    buttons += lstrcmpiA(name, "Bexa BMP BTN Class") == 0;
  }
  EXPECT_EQ(buttons, GetSystemMetrics(SM_CXSCREEN) > 800 ? 14 : 13);
}

TEST_F(StudioFrame, ClosingIsRefusedWhileAnEffectIsActive) {
  HWND document = OpenTestPicture(40, 30, "effect target");
  ASSERT_NE(document, nullptr);
  SendMessageA(g_app.frame, FM_EFFECT_ACTIVE, 0, 1);
  SendMessageA(g_app.frame, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(g_app.frame));
  EXPECT_TRUE(IsWindow(document));
  // Commands outside the effect-time list only beep: open does nothing here.
  SendMessageA(g_app.frame, WM_COMMAND, CMD_CLOSE_IMAGE, 0);
  EXPECT_TRUE(IsWindow(document));
  SendMessageA(g_app.frame, FM_EFFECT_ACTIVE, 0, 0);
  EXPECT_EQ(g_app.activeEffect, 0);
}

TEST_F(StudioFrame, ZoomStopsAtTheEndsOfTheLadder) {
  HWND document = OpenTestPicture(64, 48, "zoom");
  ASSERT_NE(document, nullptr);
  for (int i = 0; i < 20; ++i) SendMessageA(g_app.frame, WM_COMMAND, CMD_ZOOM_IN, 0);
  EXPECT_FLOAT_EQ(DocumentZoom(document), 12.0f);
  SendMessageA(g_app.frame, WM_COMMAND, CMD_ZOOM_IN, 0);
  EXPECT_FLOAT_EQ(DocumentZoom(document), 12.0f);
  for (int i = 0; i < 40; ++i) SendMessageA(g_app.frame, WM_COMMAND, CMD_ZOOM_OUT, 0);
  EXPECT_NEAR(DocumentZoom(document), 1.0f / 12, 1e-6);
  SendMessageA(g_app.frame, WM_COMMAND, CMD_ACTUAL_SIZE, 0);
  EXPECT_FLOAT_EQ(DocumentZoom(document), 1.0f);
}

TEST_F(StudioFrame, APictureThatFitsShowsNoScrollBars) {
  HWND document = OpenTestPicture(120, 80, "fits");
  ASSERT_NE(document, nullptr);
  Pump();
  EXPECT_TRUE(IsZoomed(document));
  SCROLLINFO info = {sizeof info, SIF_RANGE};
  GetScrollInfo(ViewOf(document), SB_HORZ, &info);
  EXPECT_EQ(info.nMax, 0);
  GetScrollInfo(ViewOf(document), SB_VERT, &info);
  EXPECT_EQ(info.nMax, 0);
  const LONG style = GetWindowLongA(ViewOf(document), GWL_STYLE);
  EXPECT_FALSE(style & (WS_HSCROLL | WS_VSCROLL)) << std::hex << style;
}

TEST_F(StudioFrame, ThumbnailPaneComesWithTheFirstPictureAndGoesWithTheLast) {
  ASSERT_TRUE(g_app.thumbnailFlag);
  RECT frameClient;
  GetClientRect(g_app.frame, &frameClient);
  const int fullWidth = frameClient.right;
  EXPECT_EQ(Width(g_app.mdiClient), fullWidth);
  HWND first = OpenTestPicture(50, 40, "first");
  HWND second = OpenTestPicture(30, 60, "second");
  ASSERT_TRUE(first && second);
  Pump();
  EXPECT_EQ(Width(g_app.mdiClient), fullWidth - 70);
  SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(first), 0);
  SendMessageA(g_app.frame, WM_COMMAND, CMD_CLOSE_IMAGE, 0);  // closes the second
  Pump();
  EXPECT_EQ(ActiveDocument(), nullptr);
  EXPECT_EQ(Width(g_app.mdiClient), fullWidth);
}

// With QUILLO_SHOWCASE set to a PNG path, photographs the studio with two
// sample pictures tiled, the thumbnail pane and a selection (for the docs).
TEST_F(StudioFrame, Showcase) {
  char target[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("QUILLO_SHOWCASE", target, sizeof target)) GTEST_SKIP();
  ShowWindow(g_app.frame, SW_SHOWNORMAL);
  MoveWindow(g_app.frame, 0, 0, 1100, 760, TRUE);
  const std::string samples = ProgramDir() + "\\Samples\\";
  ASSERT_NE(OpenImageFile(g_app.frame, (samples + "coffee.png").c_str()), nullptr);
  HWND cat = OpenImageFile(g_app.frame, (samples + "chelsea.png").c_str());
  ASSERT_NE(cat, nullptr);
  SendMessageA(g_app.frame, WM_COMMAND, CMD_TILE_VERTICAL, 0);
  Pump();
  HWND view = ViewOf(cat);
  SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 60));
  SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 200));
  SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
  RedrawWindow(g_app.frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  Sleep(300);
  Pump();
  EXPECT_TRUE(SaveWindowShot(g_app.frame, target));
}

namespace {

// The items of the popup holding Exit: (identifier, is a separator) in order.
std::vector<std::pair<UINT, bool>> FileMenuItems() {
  HMENU menu = GetMenu(g_app.frame);
  HMENU file = nullptr;
  for (int i = 0; menu && i < GetMenuItemCount(menu) && !file; ++i)
    if (HMENU sub = GetSubMenu(menu, i); sub && GetMenuState(sub, CMD_EXIT, MF_BYCOMMAND) != UINT(-1)) file = sub;
  std::vector<std::pair<UINT, bool>> items;
  for (int i = 0; file && i < GetMenuItemCount(file); ++i)
    items.emplace_back(GetMenuItemID(file, i), (GetMenuState(file, UINT(i), MF_BYPOSITION) & MF_SEPARATOR) != 0);
  return items;
}

}  // namespace

// Opened files go into the menu before Exit, closed by a separator that
// shares its number with the capture command: refreshing the list replaces
// the separator and never takes the capture item with it.
TEST_F(StudioFrame, TheRecentFilesListKeepsTheCaptureCommand) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  std::vector<std::string> paths;
  for (const char* name : {"recent one.bmp", "recent two.bmp"}) {
    paths.push_back(std::string(folder) + name);
    HGLOBAL picture = MakeTestPicture(8, 6);
    ASSERT_TRUE(SaveDIB(picture, paths.back().c_str()));
    DestroyDIB(picture);
  }
  for (size_t opened = 1; opened <= paths.size(); ++opened) {
    ASSERT_NE(OpenImageFile(g_app.frame, paths[opened - 1].c_str()), nullptr);
    Pump();
    const auto items = FileMenuItems();
    ASSERT_GE(items.size(), opened + 2);
    EXPECT_EQ(items.back().first, UINT(CMD_EXIT));
    EXPECT_EQ(items[items.size() - 2], std::make_pair(UINT(CMD_AVI_CAPTURE), true)) << "the closing separator";
    for (size_t k = 0; k < opened; ++k)  // newest first, right before the separator
      EXPECT_EQ(items[items.size() - 2 - opened + k].first, UINT(CMD_RECENT_FIRST + k));
    int captureItems = 0, separators = 0;
    for (const auto& item : items) {
      captureItems += item == std::make_pair(UINT(CMD_AVI_CAPTURE), false);
      separators += item == std::make_pair(UINT(CMD_AVI_CAPTURE), true);
    }
    EXPECT_EQ(captureItems, 1);
    EXPECT_EQ(separators, 1);
  }
  for (int i = 1; i <= 5; ++i)
    WritePrivateProfileStringA("FunHist", ("i" + std::to_string(i)).c_str(), "", kSettings);
  for (const std::string& path : paths) DeleteFileA(path.c_str());
}
