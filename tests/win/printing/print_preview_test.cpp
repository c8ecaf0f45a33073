// The studio's print command, run in-process on the session's test printer:
// the preview opens over the hidden frame with a two-colour picture placed
// on the page, the mouse sizes and moves the placement, the right-button
// menu fits it, both pane modes paint it, and Print This Page prints it
// where it is shown (the page goes on to check_preview_page.sh). A picture
// of the preview with its rulers goes to the bin folder as print-preview.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/output/print_layout.h"
#include "app/output/win/print_page.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/open_image.h"
#include "contracts/dib_services.h"
#include "contracts/print_preview.h"
#include "message_box_watcher.h"
#include "screenshot.h"
#include "studio_fixture.h"
#include "printer_profile.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

// Left half one colour, right half another: a picture shown or printed the
// wrong way round is told apart.
constexpr int kWidth = PICTURE_WIDTH, kHeight = PICTURE_HEIGHT;
constexpr int kLeft[] = {LEFT_COLOUR}, kRight[] = {RIGHT_COLOUR};
const COLORREF kLeftColour = RGB(kLeft[0], kLeft[1], kLeft[2]);
const COLORREF kRightColour = RGB(kRight[0], kRight[1], kRight[2]);

bool WaitFor(const std::function<bool()>& done, DWORD ms = 10000) {
  for (const DWORD start = GetTickCount(); !done(); PumpMessages(1))
    if (GetTickCount() - start > ms) return false;
  return true;
}

void Command(HWND window, int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
POINT Map(HWND pane, UINT message, POINT p) {
  const auto* out = reinterpret_cast<const POINT*>(SendMessageA(pane, message, 0, LPARAM(&p)));
  return out ? *out : POINT{INT_MIN, INT_MIN};
}
POINT ToPane(HWND pane, int x, int y) { return Map(pane, PVM_PAGETOPANE, {x, y}); }
POINT ToPage(HWND pane, POINT p) { return Map(pane, PVM_PANETOPAGE, p); }
bool InDetail(HWND pane, POINT p) { return SendMessageA(pane, PVM_INDETAIL, 0, LPARAM(&p)) != 0; }

void Mouse(HWND pane, UINT message, POINT p) { SendMessageA(pane, message, 0, MAKELPARAM(p.x, p.y)); }
void Drag(HWND pane, POINT from, POINT to) {
  Mouse(pane, WM_LBUTTONDOWN, from);
  Mouse(pane, WM_MOUSEMOVE, to);
  Mouse(pane, WM_LBUTTONUP, to);
}

LayoutRect Placement() { return CurrentPlacement().value_or(LayoutRect{INT_MIN, INT_MIN, INT_MIN, INT_MIN}); }

RECT ScreenClient(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}
// The pointer is confined to `r`; with r null, not at all.
bool ClipIs(const RECT* r) {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT all = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT clip = {};
  GetClipCursor(&clip);
  return EqualRect(&clip, r ? r : &all) != FALSE;
}

// The pane shows each colour (within 12 levels) within 2 pixels of its
// point (an overlay line may cross the point itself).
bool Shows(HWND pane, const std::vector<std::pair<POINT, COLORREF>>& expected) {
  const RECT area = ScreenClient(pane);
  HGLOBAL shot = CaptureScreenArea(area);
  if (!shot) return false;
  auto found = [&](POINT p, COLORREF c) {
    for (int y = std::max(0, int(p.y) - 2); y <= std::min(p.y + 2, area.bottom - area.top - 1); ++y)
      for (int x = std::max(0, int(p.x) - 2); x <= std::min(p.x + 2, area.right - area.left - 1); ++x) {
        uint8_t bgr[3];
        DibPixel(shot, x, y, bgr);
        if (abs(bgr[2] - GetRValue(c)) <= 12 && abs(bgr[1] - GetGValue(c)) <= 12 && abs(bgr[0] - GetBValue(c)) <= 12)
          return true;
      }
    return false;
  };
  bool all = true;
  for (const auto& [point, colour] : expected) all = all && found(point, colour);
  DestroyDIB(shot);
  return all;
}

BOOL CALLBACK CountPreview(HWND window, LPARAM count) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == BXPRT3_PREVIEW_CLASS) ++*reinterpret_cast<int*>(count);
  return TRUE;
}
int PreviewCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountPreview, LPARAM(&count));
  return count;
}

class PrintPreview : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { started_ = StartStudioOnce(); }
  void SetUp() override {
    ASSERT_EQ(started_, -1);
    ASSERT_EQ(PrintPreviewFrame(), nullptr);
    ASSERT_TRUE(IsWindowVisible(g_app.frame));
    ASSERT_NE(OpenImageHandle(MakeDib24(kWidth, kHeight,
                                        [](int x, int, uint8_t bgr[3]) {
                                          const int* c = x < kWidth / 2 ? kLeft : kRight;
                                          bgr[0] = uint8_t(c[2]), bgr[1] = uint8_t(c[1]), bgr[2] = uint8_t(c[0]);
                                        }),
                             "print source"),
              nullptr);
    PumpMessages();
  }
  void TearDown() override {
    if (HWND preview = PrintPreviewFrame()) DestroyWindow(preview);
    ClipCursor(nullptr);
    if (!IsWindowVisible(g_app.frame)) ShowWindow(g_app.frame, SW_SHOW);
    CloseAllDocuments();
  }

  void Open() {
    Command(g_app.frame, CMD_PRINT_PREVIEW);
    preview_ = FindWindowA(BXPRT3_PREVIEW_CLASS, "Printer Preview Utilities");
    ASSERT_NE(preview_, nullptr);
    ASSERT_EQ(preview_, PrintPreviewFrame());
    page_ = HWND(SendMessageA(preview_, PVM_GETPAGEPANE, 0, 0));
    ASSERT_TRUE(page_ && CurrentPlacement());
    ExpectPictureOn(page_);
  }
  // Both halves of the picture in the placement, the right way round.
  void ExpectPictureOn(HWND pane) {
    const LayoutRect r = Placement();
    const int y = (r.top + r.bottom) / 2, quarter = (r.right - r.left) / 4;
    const POINT left = ToPane(pane, r.left + quarter, y), right = ToPane(pane, r.right - quarter, y);
    EXPECT_TRUE(WaitFor([&] { return Shows(pane, {{left, kLeftColour}, {right, kRightColour}}); }))
        << "at " << left.x << "," << left.y << " and " << right.x << "," << right.y;
  }
  POINT Handle(int zone) {
    const LayoutPoint h = HandlePoints(Placement())[zone - 1];
    return ToPane(page_, h.x, h.y);
  }
  POINT Centre() {
    const LayoutRect r = Placement();
    return ToPane(page_, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  static inline int started_ = 0;
  HWND preview_ = nullptr, page_ = nullptr;
};

TEST_F(PrintPreview, OpensOverTheHiddenFrameWithThePictureCentred) {
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(GetWindow(preview_, GW_OWNER), g_app.frame);
  EXPECT_FALSE(IsWindowVisible(g_app.frame));
  POINT page = {};
  SendMessageA(preview_, PVM_GETPAGESIZE, 0, LPARAM(&page));
  EXPECT_EQ(page.x, PAGE_WIDTH);
  EXPECT_EQ(page.y, PAGE_HEIGHT);
  EXPECT_EQ(Placement(), InitialPlacement(kWidth, kHeight, page.x, page.y));
  const LayoutRect r = Placement();
  EXPECT_TRUE(Shows(page_, {{ToPane(page_, r.left / 2, r.top / 2), RGB(255, 255, 255)}}));

  // A second command brings this preview forward and opens no other.
  Command(g_app.frame, CMD_PRINT_PREVIEW);
  EXPECT_EQ(PrintPreviewFrame(), preview_);
  EXPECT_EQ(PreviewCount(), 1);

  Command(preview_, PV_CMD_METER);
  EXPECT_TRUE(SendMessageA(preview_, PVM_GETRULERS, 0, 0));
  RedrawWindow(preview_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages(10);
  ExpectPictureOn(page_);
  EXPECT_TRUE(SaveWindowShot(preview_, (ProgramDir() + "\\print-preview.png").c_str()));
}

TEST_F(PrintPreview, MouseSizesAndMovesThePlacement) {
  ASSERT_NO_FATAL_FAILURE(Open());
  // The top-left corner across the bottom-right one: edges swap, normalised.
  LayoutRect before = Placement();
  const POINT past = ToPane(page_, before.right + 300, before.bottom + 200), pastOnPage = ToPage(page_, past);
  const RECT pane = ScreenClient(page_);
  Mouse(page_, WM_LBUTTONDOWN, Handle(1));
  EXPECT_EQ(GetCapture(), page_);
  EXPECT_TRUE(ClipIs(&pane));
  Mouse(page_, WM_MOUSEMOVE, past);
  Mouse(page_, WM_LBUTTONUP, past);
  EXPECT_EQ(Placement(), (LayoutRect{before.right, before.bottom, pastOnPage.x, pastOnPage.y}));
  EXPECT_NE(GetCapture(), page_);
  EXPECT_TRUE(ClipIs(nullptr));

  // Inside: moved by the pointer's travel, size kept.
  before = Placement();
  const POINT from = Centre(), to = {from.x - 40, from.y + 25};
  const int dx = ToPage(page_, to).x - ToPage(page_, from).x, dy = ToPage(page_, to).y - ToPage(page_, from).y;
  Drag(page_, from, to);
  EXPECT_EQ(Placement(), (LayoutRect{before.left + dx, before.top + dy, before.right + dx, before.bottom + dy}));
  ExpectPictureOn(page_);

  // A drag broken off ends as a button up would and frees the pointer.
  for (const bool cancel : {false, true}) {
    SCOPED_TRACE(cancel ? "WM_CANCELMODE" : "capture taken");
    before = Placement();
    Mouse(page_, WM_LBUTTONDOWN, Handle(7));
    Mouse(page_, WM_MOUSEMOVE, ToPane(page_, before.left - 200, before.top));
    if (cancel) SendMessageA(page_, WM_CANCELMODE, 0, 0);
    else SetCapture(preview_), ReleaseCapture();
    const LayoutRect ended = Placement();
    EXPECT_EQ(ended.right, before.left);  // the right edge crossed the left one
    EXPECT_NE(GetCapture(), page_);
    EXPECT_TRUE(ClipIs(nullptr));
    Mouse(page_, WM_MOUSEMOVE, Centre());
    Mouse(page_, WM_LBUTTONUP, Centre());
    EXPECT_EQ(Placement(), ended);
  }
}

TEST_F(PrintPreview, FitSnapsToThePictureBothWays) {
  ASSERT_NO_FATAL_FAILURE(Open());
  POINT corner = Handle(8);
  Drag(page_, corner, {corner.x + 60, corner.y});
  const LayoutRect wide = Placement();

  // The menu beside the pointer, its one item chosen by keyboard.
  const POINT at = Centre();
  POINT screen = at;
  ClientToScreen(page_, &screen);
  struct {
    int items = -1;
    UINT id = 0;
    char text[128] = {};
    RECT place = {};
  } seen;
  ScriptedUser user;
  HWND menuWindow = nullptr;
  user.Then([&] { return (menuWindow = FindWindowA("#32768", nullptr)) && IsWindowVisible(menuWindow); })
      .Then([&] {
        GetWindowRect(menuWindow, &seen.place);
        HMENU menu = HMENU(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
        seen.items = GetMenuItemCount(menu);
        seen.id = GetMenuItemID(menu, 0);
        GetMenuStringA(menu, 0, seen.text, sizeof seen.text, MF_BYPOSITION);
        PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
        return true;
      })
      .WaitTicks(50)
      .Then([&] { return FindWindowA("#32768", nullptr) ? EndMenu() : TRUE; });  // never left hanging
  Mouse(page_, WM_RBUTTONDOWN, at);
  ASSERT_TRUE(WaitFor([&] { return user.finished() || Placement() != wide; }));
  EXPECT_EQ(seen.items, 1);
  EXPECT_EQ(seen.id, UINT(kFitToPictureCommand));
  EXPECT_STREQ(seen.text, LoadResString(IDS_FIT_TO_PICTURE));
  EXPECT_EQ(seen.place.left, screen.x + 5);
  EXPECT_EQ(seen.place.top, screen.y);
  EXPECT_EQ(Placement(), FitToPicture(wide, kWidth, kHeight));
  EXPECT_LT(Placement().right, wide.right);  // wider than the picture: the width gives

  // Taller than the picture: the height gives.
  corner = Handle(5);
  Drag(page_, corner, {corner.x, corner.y + 60});
  const LayoutRect tall = Placement();
  Command(page_, kFitToPictureCommand);
  EXPECT_EQ(Placement(), FitToPicture(tall, kWidth, kHeight));
  EXPECT_LT(Placement().bottom, tall.bottom);
  ExpectPictureOn(page_);
}

TEST_F(PrintPreview, TwoPanesShowThePictureOnBoth) {
  ASSERT_NO_FATAL_FAILURE(Open());
  Command(preview_, PV_CMD_TWO_PAGES);
  ASSERT_EQ(SendMessageA(preview_, PVM_GETVIEWMODE, 0, 0), 1);
  HWND detail = HWND(SendMessageA(preview_, PVM_GETDETAILPANE, 0, 0));
  ASSERT_TRUE(detail && WaitFor([&] { return IsWindowVisible(detail) != FALSE; }));

  // The placement's middle (where the colours meet) moved to the middle of
  // what the detail pane shows, from a point outside the focus rectangle.
  RECT client;
  GetClientRect(detail, &client);
  const POINT from = ToPage(detail, {0, 0}), to = ToPage(detail, {client.right, client.bottom});
  const LayoutRect r = Placement();
  std::optional<POINT> grip;
  for (int i = 0; i < 49 && !grip; ++i) {  // 7 x 7 points inside the placement
    const POINT p =
        ToPane(page_, r.left + (r.right - r.left) * (1 + i % 7) / 8, r.top + (r.bottom - r.top) * (1 + i / 7) / 8);
    if (!InDetail(page_, p)) grip = p;
  }
  ASSERT_TRUE(grip);
  const POINT centre = Centre(), goal = ToPane(page_, (from.x + to.x) / 2, (from.y + to.y) / 2);
  Drag(page_, *grip, {grip->x + goal.x - centre.x, grip->y + goal.y - centre.y});
  const LayoutRect moved = Placement();
  ExpectPictureOn(page_);
  const int reach = std::min(int(to.x - from.x), moved.right - moved.left) / 4;
  const int x = (moved.left + moved.right) / 2, y = (moved.top + moved.bottom) / 2;
  EXPECT_TRUE(WaitFor([&] {
    return Shows(detail, {{ToPane(detail, x - reach, y), kLeftColour}, {ToPane(detail, x + reach, y), kRightColour}});
  }));

  // In the focus rectangle a press is the library's: the placement stays.
  ASSERT_TRUE(InDetail(page_, Centre()));
  Drag(page_, Centre(), {Centre().x + 10, Centre().y + 10});
  EXPECT_EQ(Placement(), moved);
  EXPECT_TRUE(ClipIs(nullptr));
}

TEST_F(PrintPreview, MagnifyingGlassShowsThePictureMagnified) {
  ASSERT_NO_FATAL_FAILURE(Open());
  Command(preview_, PV_CMD_MAGNIFIER);
  ASSERT_EQ(SendMessageA(preview_, PVM_GETVIEWMODE, 0, 0), 2);
  ExpectPictureOn(page_);
  const LayoutRect r = Placement();
  const int k = std::max(1, int(ToPage(page_, {100, 0}).x - ToPage(page_, {0, 0}).x) / 100);  // page units a pixel
  // The glass just inside an edge: 40 pixels further out the page would be
  // white unmagnified, the picture magnified.
  for (const auto& [pageX, outward, colour] : {std::tuple{r.left + 20 * k, -40, kLeftColour},
                                               std::tuple{r.right - 20 * k, 40, kRightColour}}) {
    const POINT cursor = ToPane(page_, pageX, (r.top + r.bottom) / 2);
    POINT screen = cursor;
    ClientToScreen(page_, &screen);
    SetCursorPos(screen.x, screen.y);
    Mouse(page_, WM_MOUSEMOVE, cursor);
    EXPECT_TRUE(WaitFor([&] { return Shows(page_, {{{cursor.x + outward, cursor.y}, colour}}); }));
  }
  EXPECT_EQ(Placement(), r);
}

TEST_F(PrintPreview, PrintThisPagePrintsThePlacementAsShown) {
  ASSERT_NO_FATAL_FAILURE(Open());
  const POINT centre = Centre();
  Drag(page_, centre, {centre.x + 30, centre.y - 50});  // off the middle: not the first placement
  const LayoutRect r = Placement();
  const std::string pages = PRINTED_PAGES;
  CreateDirectoryA(pages.c_str(), nullptr);
  DeleteFileA((pages + "/preview_page.ps").c_str());
  const auto before = JobFiles();
  PostMessageA(preview_, WM_COMMAND, PV_CMD_PRINT_PAGE, 0);
  std::string job;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (const auto& name : JobFiles())
          if (std::find(before.begin(), before.end(), name) == before.end()) job = JobFolder() + "/" + name;
        return !job.empty() && ReadAll(job).find("\n%%EOF") != std::string::npos;
      },
      30000));
  EXPECT_EQ(JobFiles().size(), before.size() + 1);
  EXPECT_NE(ReadAll(job).find("\n%%Pages: 1\n"), std::string::npos);
  EXPECT_EQ(Placement(), r);
  ASSERT_TRUE(CopyFileA(job.c_str(), (pages + "/preview_page.ps").c_str(), FALSE));
  std::ofstream(pages + "/preview_page.rect") << r.left << " " << r.top << " " << r.right << " " << r.bottom;
}

TEST_F(PrintPreview, WithoutAPrinterOrAPictureNothingOpens) {
  {
    MessageBoxWatcher boxes;
    {
      DeviceEntryChange removed(nullptr);
      Command(g_app.frame, CMD_PRINT_PREVIEW);
    }
    PumpMessages();
    EXPECT_TRUE(boxes.boxes().empty()) << boxes.Describe();
  }
  EXPECT_EQ(PreviewCount(), 0);
  CloseAllDocuments();
  Command(g_app.frame, CMD_PRINT_PREVIEW);
  EXPECT_EQ(PreviewCount(), 0);
  EXPECT_EQ(PrintPreviewFrame(), nullptr);
  EXPECT_TRUE(IsWindowVisible(g_app.frame));
}

TEST_F(PrintPreview, ClosingShowsTheFrameAndClearsTheLayout) {
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    ASSERT_NO_FATAL_FAILURE(Open());
    if (way == 0) Command(preview_, PV_CMD_EXIT);
    if (way == 1) SendMessageA(preview_, WM_CLOSE, 0, 0);
    if (way == 2) DestroyWindow(preview_);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(preview_) && IsWindowVisible(g_app.frame); }));
    EXPECT_EQ(PrintPreviewFrame(), nullptr);
    EXPECT_FALSE(CurrentPlacement());
  }
}

}  // namespace
