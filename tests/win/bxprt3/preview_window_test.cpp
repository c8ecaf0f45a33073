// The print preview window of BXPRT3.DLL, driven by an owner as the studio
// drives it: a paint hook drawing known rectangles in page units, an owner
// procedure on the panes, the view modes, zoom and scrolling, the detail
// rectangle dragged with the mouse, the magnifying glass, invalidation in
// page units, and printing on the session's real printer.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "contracts/print_preview.h"
#include "message_box_watcher.h"
#include "printer_profile.h"
#include "screenshot.h"

namespace {

constexpr COLORREF kRed = RGB(220, 30, 30);
constexpr COLORREF kBlue = RGB(30, 40, 210);

// What the owner paints, in page units of the current page size.
POINT g_page = {};
std::vector<int> g_hookCodes;
int g_stripeWidth = 40;  // a thin blue stripe right of the red block

void Fill(HDC dc, int l, int t, int r, int b, COLORREF c) {
  HBRUSH brush = CreateSolidBrush(c);
  RECT rect = {l, t, r, b};
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// The red block fills the left half of the top half; the stripe follows it.
RECT RedBlock() { return {0, 0, g_page.x / 2, g_page.y / 2}; }

void CALLBACK PaintHook(HDC dc, int code) {
  g_hookCodes.push_back(code);
  if (code < 1) return;
  const RECT red = RedBlock();
  Fill(dc, red.left, red.top, red.right, red.bottom, kRed);
  Fill(dc, red.right, red.top, red.right + g_stripeWidth, red.bottom, kBlue);
}

// The owner's pane procedure: records what reaches it, passes all on.
WNDPROC g_previousPaneProc = nullptr;
std::vector<UINT> g_ownerMessages;
std::vector<int> g_printedPages;
bool g_frameAliveAtClosing = false;

HWND g_printAlsoFrom = nullptr;  // a second preview asked to print while a page prints

LRESULT CALLBACK OwnerPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == PVN_PRINTPAGE && g_printAlsoFrom) {
    HWND other = g_printAlsoFrom;
    g_printAlsoFrom = nullptr;
    SendMessageA(other, WM_COMMAND, PV_CMD_PRINT_ALL, 0);
  }
  if (message == PVN_CLOSING) {
    g_ownerMessages.push_back(message);
    g_frameAliveAtClosing = IsWindow(HWND(wParam)) && IsWindowVisible(HWND(wParam));
  }
  if (message == PVN_PRINTPAGE) g_printedPages.push_back(int(wParam));
  if (message == PVN_PRINTERCHANGED) g_ownerMessages.push_back(message);
  return CallWindowProcA(g_previousPaneProc, pane, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Lets every window paint, then reads what the screen shows.
COLORREF ScreenColour(HWND window, int x, int y) {
  RedrawWindow(GetAncestor(window, GA_ROOT), nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  POINT p = {x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) < 40 && std::abs(GetGValue(a) - GetGValue(b)) < 40 &&
         std::abs(GetBValue(a) - GetBValue(b)) < 40;
}

POINT PageToPane(HWND pane, POINT page) {
  return *reinterpret_cast<POINT*>(SendMessageA(pane, PVM_PAGETOPANE, 0, LPARAM(&page)));
}
POINT PaneToPage(HWND pane, POINT p) {
  return *reinterpret_cast<POINT*>(SendMessageA(pane, PVM_PANETOPAGE, 0, LPARAM(&p)));
}

RECT ClientOf(HWND w) {
  RECT r = {};
  GetClientRect(w, &r);
  return r;
}

LRESULT Command(HWND frame, int id) { return SendMessageA(frame, WM_COMMAND, id, 0); }

int JobCount() { return int(quillo::test::JobFiles().size()); }

class PreviewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PreviewOwner";
    RegisterClassA(&wc);
    owner_ = CreateWindowExA(0, "PreviewOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                             100, nullptr, nullptr, wc.hInstance, nullptr);
    g_hookCodes.clear();
    g_ownerMessages.clear();
    g_printedPages.clear();
  }
  void TearDown() override {
    if (frame_ && IsWindow(frame_)) DestroyWindow(frame_);
    DestroyWindow(owner_);
    Pump();
  }

  // A frame of 900 x 700 with the options, the hook and the owner procedure.
  HWND Open(DWORD options) {
    frame_ = CreateWindowExA(WS_EX_TOPMOST, BXPRT3_PREVIEW_CLASS, "Preview",
                             WS_OVERLAPPEDWINDOW | WS_VISIBLE | options, 0, 0, 900, 700, owner_,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!frame_) return nullptr;
    SendMessageA(frame_, PVM_GETPAGESIZE, 0, LPARAM(&g_page));
    SendMessageA(frame_, PVM_SETPAINTHOOK, 0, LPARAM(PaintHook));
    g_previousPaneProc =
        reinterpret_cast<WNDPROC>(SendMessageA(frame_, PVM_SETPANEPROC, 0, LPARAM(OwnerPaneProc)));
    Pump();
    return frame_;
  }
  HWND Pane(int which) { return HWND(SendMessageA(frame_, PVM_GETPAGEPANE + which, 0, 0)); }
  HWND Button(int id) { return GetDlgItem(HWND(SendMessageA(frame_, PVM_GETTOOLBAR, 0, 0)), id); }

  HWND owner_ = nullptr;
  HWND frame_ = nullptr;
};

TEST_F(PreviewWindow, WithoutAPrinterThePageIsTheScreenStandInAndTheHookPaintsIt) {
  ASSERT_TRUE(Open(PVS_DISABLEPARENT));
  EXPECT_FALSE(IsWindowEnabled(owner_));
  EXPECT_EQ(g_page.x, GetSystemMetrics(SM_CXSCREEN) * 5 / 2);
  EXPECT_EQ(g_page.y, GetSystemMetrics(SM_CYSCREEN) * 5);
  POINT res = {};
  SendMessageA(frame_, PVM_GETRESOLUTION, 0, LPARAM(&res));
  EXPECT_EQ(res.x, 300);
  EXPECT_EQ(res.y, 300);
  EXPECT_TRUE(SendMessageA(frame_, PVM_GETPRINTERDC, 0, 0)) << "the memory stand-in";
  EXPECT_EQ(HINSTANCE(SendMessageA(frame_, PVM_GETINSTANCE, 0, 0)), PVGetInstance());

  // Sizes may be set without a printer, but only positive ones.
  POINT bad = {0, 100}, page = {2000, 1000};
  EXPECT_EQ(SendMessageA(frame_, PVM_SETPAGESIZE, 0, LPARAM(&bad)), 0);
  EXPECT_EQ(SendMessageA(frame_, PVM_SETPAGESIZE, 0, LPARAM(&page)), 1);
  SendMessageA(frame_, PVM_GETPAGESIZE, 0, LPARAM(&g_page));
  EXPECT_EQ(g_page.x, 2000);

  // The page pane keeps the page's proportions and shows the hook's block.
  HWND pagePane = Pane(0);
  const RECT client = ClientOf(pagePane);
  EXPECT_NEAR(double(client.right) / client.bottom, 2.0, 0.02);
  const POINT inRed = PageToPane(pagePane, {500, 250});
  const POINT inWhite = PageToPane(pagePane, {1500, 750});
  EXPECT_TRUE(Near(ScreenColour(pagePane, inRed.x, inRed.y), kRed));
  EXPECT_TRUE(Near(ScreenColour(pagePane, inWhite.x, inWhite.y), RGB(255, 255, 255)));
  EXPECT_NE(std::find(g_hookCodes.begin(), g_hookCodes.end(), 1), g_hookCodes.end());
  // The two mappings undo each other to within a pixel's worth of page.
  const POINT back = PaneToPage(pagePane, inRed);
  EXPECT_NEAR(back.x, 500, 2000 / client.right + 1);

  // Closing tells the owner first, then gives the parent back.
  SendMessageA(frame_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(frame_));
  ASSERT_EQ(g_ownerMessages.size(), 1u);
  EXPECT_EQ(g_ownerMessages[0], UINT(PVN_CLOSING));
  EXPECT_TRUE(g_frameAliveAtClosing);
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(PreviewWindow, PagingLabelsTheCurrentPageAndGreysTheEnds) {
  ASSERT_TRUE(Open(PVS_HIDEPARENT));
  EXPECT_FALSE(IsWindowVisible(owner_));
  HWND label = nullptr;
  for (HWND c = GetWindow(HWND(SendMessageA(frame_, PVM_GETTOOLBAR, 0, 0)), GW_CHILD); c;
       c = GetWindow(c, GW_HWNDNEXT)) {
    char name[32];
    GetClassNameA(c, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0) label = c;
  }
  ASSERT_TRUE(label);
  auto text = [&]() {
    char t[64] = {};
    GetWindowTextA(label, t, sizeof t);
    return std::string(t);
  };
  EXPECT_EQ(text(), "");
  SendMessageA(frame_, PVM_SETPAGECOUNT, 0, 3);
  EXPECT_EQ(text(), "1 of 3");
  EXPECT_FALSE(IsWindowEnabled(Button(PV_CMD_PREVIOUS)));
  EXPECT_TRUE(IsWindowEnabled(Button(PV_CMD_NEXT)));
  EXPECT_EQ(SendMessageA(frame_, PVM_GOTOPAGE, 0, 3), 2);
  EXPECT_EQ(SendMessageA(frame_, PVM_GOTOPAGE, 0, 3), 1);
  EXPECT_EQ(SendMessageA(frame_, PVM_GOTOPAGE, 0, 4), 0);
  EXPECT_EQ(SendMessageA(frame_, PVM_GOTOPAGE, 0, 0), 0);
  EXPECT_EQ(text(), "3 of 3");
  EXPECT_FALSE(IsWindowEnabled(Button(PV_CMD_NEXT)));
  Command(frame_, PV_CMD_PREVIOUS);
  EXPECT_EQ(text(), "2 of 3");
  g_hookCodes.clear();
  ScreenColour(Pane(0), 1, 1);
  EXPECT_NE(std::find(g_hookCodes.begin(), g_hookCodes.end(), 2), g_hookCodes.end())
      << "the hook paints the current page";
  // A negative count keeps it; fewer pages pull the current page back.
  SendMessageA(frame_, PVM_SETPAGECOUNT, 0, -1);
  EXPECT_EQ(text(), "2 of 3");
  SendMessageA(frame_, PVM_SETPAGECOUNT, 0, 1);
  EXPECT_EQ(text(), "");
  // Esc closes, and the hidden parent shows again.
  SendMessageA(Pane(0), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_FALSE(IsWindow(frame_));
  EXPECT_TRUE(IsWindowVisible(owner_));
}

TEST_F(PreviewWindow, ZoomShowsTheScrolledZoomPaneUpToItsLimitAndBack) {
  ASSERT_TRUE(Open(0));
  HWND zoomPane = Pane(2);
  EXPECT_FALSE(IsWindowEnabled(Button(PV_CMD_ZOOM_OUT)));
  Command(frame_, PV_CMD_ZOOM_IN);
  EXPECT_TRUE(IsWindowVisible(zoomPane));
  EXPECT_FALSE(IsWindowVisible(Pane(0)));
  // Zoom 1 shows the reduced page: between one and two page panes.
  const RECT view = ClientOf(zoomPane);
  const POINT reduced = PageToPane(zoomPane, {g_page.x, g_page.y});
  EXPECT_GT(reduced.y, view.bottom / 2);
  EXPECT_LE(reduced.y, 2 * view.bottom + 2);
  // Zoom 4 is larger than the view both ways: it scrolls.
  Command(frame_, PV_CMD_ZOOM_IN);
  Command(frame_, PV_CMD_ZOOM_IN);
  // Zooming keeps the middle of the view in place, so the view has scrolled.
  const POINT top = PageToPane(zoomPane, {0, 0});
  const POINT corner = PageToPane(zoomPane, {g_page.x, g_page.y});
  EXPECT_NEAR(corner.y - top.y, 4 * reduced.y, 4);
  EXPECT_LT(top.y, 0);
  ASSERT_GT(corner.x, view.right);
  ASSERT_GT(corner.y, view.bottom);
  // A line scroll moves the view by a tenth of the client.
  SendMessageA(zoomPane, WM_VSCROLL, SB_LINEDOWN, 0);
  const POINT scrolled = PageToPane(zoomPane, {g_page.x, g_page.y});
  EXPECT_EQ(corner.y - scrolled.y, std::max(1L, view.bottom / 10));
  SendMessageA(zoomPane, WM_KEYDOWN, VK_END, 0);  // End without Ctrl: the right end
  SendMessageA(zoomPane, WM_VSCROLL, SB_BOTTOM, 0);
  const POINT end = PageToPane(zoomPane, {g_page.x, g_page.y});
  EXPECT_NEAR(end.x, view.right, 1) << "the scroll stops at the page's end";
  EXPECT_NEAR(end.y, view.bottom, 1);
  int steps = 0;
  while (IsWindowEnabled(Button(PV_CMD_ZOOM_IN)) && steps < 30) {
    Command(frame_, PV_CMD_ZOOM_IN);
    ++steps;
  }
  EXPECT_LT(steps, 30) << "Zoom In greys at the pane limit";
  const POINT origin = PageToPane(zoomPane, {0, 0});
  const POINT farCorner = PageToPane(zoomPane, {g_page.x, g_page.y});
  EXPECT_LE(farCorner.x - origin.x, 2 * 16383);
  for (int i = 0; i < steps + 3; ++i) Command(frame_, PV_CMD_ZOOM_OUT);
  EXPECT_TRUE(IsWindowVisible(Pane(0)));
  EXPECT_FALSE(IsWindowVisible(zoomPane));
  EXPECT_FALSE(IsWindowEnabled(Button(PV_CMD_ZOOM_OUT)));
}

TEST_F(PreviewWindow, TwoPanesShowTheDetailOfTheRectangleDraggedOnThePage) {
  ASSERT_TRUE(Open(0));
  Command(frame_, PV_CMD_TWO_PAGES);
  HWND pagePane = Pane(0), detailPane = Pane(1);
  ASSERT_TRUE(IsWindowVisible(detailPane));
  const RECT a = ClientOf(pagePane), b = ClientOf(detailPane);
  EXPECT_EQ(a.right, b.right);
  EXPECT_EQ(a.bottom, b.bottom);
  POINT inside = {3, 3}, outside = {a.right - 3, a.bottom - 3};
  EXPECT_TRUE(SendMessageA(pagePane, PVM_INDETAIL, 0, LPARAM(&inside)));
  EXPECT_FALSE(SendMessageA(pagePane, PVM_INDETAIL, 0, LPARAM(&outside)));
  // Detail zoom 2: the detail pane shows the top-left quarter of the page.
  const POINT detailOrigin = PaneToPage(detailPane, {0, 0});
  EXPECT_EQ(detailOrigin.x, 0);
  const POINT detailFar = PaneToPage(detailPane, {b.right, b.bottom});
  EXPECT_NEAR(detailFar.x, g_page.x / 2, g_page.x / a.right + 2);
  // The red block covers the quarter: the detail pane paints red in its middle.
  EXPECT_TRUE(Near(ScreenColour(detailPane, b.right / 2, b.bottom / 2), kRed));

  // Drag the rectangle 30 pixels right and 20 down with the mouse.
  SendMessageA(pagePane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(pagePane, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(35, 25));
  SendMessageA(pagePane, WM_LBUTTONUP, 0, MAKELPARAM(35, 25));
  EXPECT_NE(GetCapture(), pagePane);
  const POINT moved = PaneToPage(detailPane, {0, 0});
  const POINT expected = PaneToPage(pagePane, {30, 20});
  EXPECT_NEAR(moved.x, expected.x, 2);
  EXPECT_NEAR(moved.y, expected.y, 2);
  // Dragging far beyond the pane keeps the rectangle inside it.
  SendMessageA(pagePane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
  SendMessageA(pagePane, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5000, 5000));
  SendMessageA(pagePane, WM_LBUTTONUP, 0, MAKELPARAM(5000, 5000));
  const POINT last = PaneToPage(detailPane, {b.right, b.bottom});
  EXPECT_NEAR(last.x, g_page.x, g_page.x / a.right + 2);
  EXPECT_NEAR(last.y, g_page.y, g_page.y / a.bottom + 2);
  // Detail zoom doubles until the pane limit.
  Command(frame_, PV_CMD_ZOOM_IN);
  const POINT zoomed = PaneToPage(detailPane, {b.right, b.bottom});
  const POINT zoomedOrigin = PaneToPage(detailPane, {0, 0});
  EXPECT_NEAR(zoomed.x - zoomedOrigin.x, g_page.x / 4, g_page.x / a.right + 2);
  Command(frame_, PV_CMD_METER);
  ScreenColour(detailPane, 0, 0);
  quillo::test::SaveWindowShot(frame_, "preview-two-panes.png");
  Command(frame_, PV_CMD_ONE_PAGE);
  EXPECT_FALSE(IsWindowVisible(detailPane));
}

TEST_F(PreviewWindow, MagnifyingGlassShowsTheCursorsSurroundingsEnlarged) {
  ASSERT_TRUE(Open(0));
  Command(frame_, PV_CMD_MAGNIFIER);
  EXPECT_EQ(SendMessageA(frame_, PVM_GETVIEWMODE, 0, 0), 2);
  HWND pagePane = Pane(0);
  const RECT client = ClientOf(pagePane);
  POINT anywhere = {client.right - 2, client.bottom - 2};
  EXPECT_TRUE(SendMessageA(pagePane, PVM_INDETAIL, 0, LPARAM(&anywhere)));
  // The cursor on the red block's right edge, at its middle height.
  const RECT red = RedBlock();
  const POINT edge = PageToPane(pagePane, {red.right, red.bottom / 2});
  SendMessageA(pagePane, WM_MOUSEMOVE, 0, MAKELPARAM(edge.x, edge.y));
  // At level 1 the glass shows 120 page units in 120 pixels: the 40-unit
  // stripe, a few pixels on the page, is 40 pixels wide in the glass.
  EXPECT_TRUE(Near(ScreenColour(pagePane, edge.x - 20, edge.y), kRed));
  EXPECT_TRUE(Near(ScreenColour(pagePane, edge.x + 20, edge.y), kBlue));
  EXPECT_TRUE(Near(ScreenColour(pagePane, edge.x + 50, edge.y), RGB(255, 255, 255)));
  quillo::test::SaveWindowShot(frame_, "preview-magnifier.png");
  // Outside the glass the page shows at its own scale: no stripe 20 pixels right.
  const POINT farBelow = PageToPane(pagePane, {red.right, red.bottom + g_page.y / 4});
  EXPECT_TRUE(Near(ScreenColour(pagePane, farBelow.x + 20, farBelow.y), RGB(255, 255, 255)));
  // Zoom In in this mode raises the level: 60 units in the glass now.
  Command(frame_, PV_CMD_ZOOM_IN);
  EXPECT_TRUE(Near(ScreenColour(pagePane, edge.x + 50, edge.y), kBlue));
  for (int i = 0; i < 5; ++i) Command(frame_, PV_CMD_ZOOM_IN);  // 2 -> 6 -> 1 wraps
  EXPECT_TRUE(Near(ScreenColour(pagePane, edge.x + 50, edge.y), RGB(255, 255, 255)));
}

TEST_F(PreviewWindow, InvalidatingAPageRectangleCoversItsPenOnEveryShownPane) {
  ASSERT_TRUE(Open(0));
  Command(frame_, PV_CMD_TWO_PAGES);
  HWND pagePane = Pane(0);
  Pump();
  ValidateRect(pagePane, nullptr);
  ValidateRect(Pane(1), nullptr);
  RECT onPage = {g_page.x / 2, g_page.y / 2, g_page.x / 4, g_page.y / 4};  // reversed on purpose
  SendMessageA(frame_, PVM_INVALIDATE, 3, LPARAM(&onPage));
  RECT update = {};
  ASSERT_TRUE(GetUpdateRect(pagePane, &update, FALSE));
  const POINT tl = PageToPane(pagePane, {g_page.x / 4, g_page.y / 4});
  const POINT br = PageToPane(pagePane, {g_page.x / 2, g_page.y / 2});
  EXPECT_EQ(update.left, tl.x - 7);
  EXPECT_EQ(update.top, tl.y - 7);
  EXPECT_EQ(update.right, br.x + 8);
  EXPECT_EQ(update.bottom, br.y + 8);
  EXPECT_TRUE(GetUpdateRect(Pane(1), &update, FALSE)) << "the detail pane shows that corner";
  // Off the page: clamped, nothing beyond the page's edge.
  Pump();
  ValidateRect(pagePane, nullptr);
  RECT beyond = {g_page.x + 100, 0, g_page.x + 900, 50};
  SendMessageA(frame_, PVM_INVALIDATE, 0, LPARAM(&beyond));
  ASSERT_TRUE(GetUpdateRect(pagePane, &update, FALSE));
  EXPECT_LE(update.left, ClientOf(pagePane).right);
}

TEST_F(PreviewWindow, PrinterModeTakesTheProfilePrinterAndPrintsEveryPageThroughTheOwner) {
  ASSERT_TRUE(Open(PVS_PRINTER));
  EXPECT_EQ(g_page.x, 2550);
  EXPECT_EQ(g_page.y, 3300);
  POINT page = {1000, 1000};
  EXPECT_EQ(SendMessageA(frame_, PVM_SETPAGESIZE, 0, LPARAM(&page)), 0) << "refused in printer mode";
  EXPECT_TRUE(IsWindowEnabled(Button(PV_CMD_SETUP)));
  SendMessageA(frame_, PVM_SETPAGECOUNT, 0, 2);
  quillo::test::MessageBoxWatcher boxes;
  const int jobsBefore = JobCount();
  Command(frame_, PV_CMD_PRINT_ALL);
  EXPECT_EQ(g_printedPages, (std::vector<int>{1, 2}));
  Command(frame_, PV_CMD_NEXT);
  Command(frame_, PV_CMD_PRINT_PAGE);
  EXPECT_EQ(g_printedPages, (std::vector<int>{1, 2, 2}));
  for (int i = 0; i < 100 && JobCount() < jobsBefore + 2; ++i) Sleep(50);
  EXPECT_EQ(JobCount(), jobsBefore + 2) << "two jobs reached the printer";
  EXPECT_TRUE(boxes.boxes().empty()) << boxes.Describe();
  EXPECT_TRUE(IsWindowEnabled(frame_));

  // A second preview asking to print while a page prints is refused: no
  // page of it is printed, and no second document is nested in the first.
  HWND first = frame_;
  HWND second = CreateWindowExA(0, BXPRT3_PREVIEW_CLASS, "Second", WS_OVERLAPPEDWINDOW | PVS_PRINTER,
                                0, 0, 400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(second);
  SendMessageA(second, PVM_SETPANEPROC, 0, LPARAM(OwnerPaneProc));
  g_printedPages.clear();
  g_printAlsoFrom = second;
  SendMessageA(first, PVM_SETPAGECOUNT, 0, 1);
  Command(first, PV_CMD_PRINT_ALL);
  EXPECT_EQ(g_printedPages, (std::vector<int>{1}));
  for (int i = 0; i < 100 && JobCount() < jobsBefore + 3; ++i) Sleep(50);
  EXPECT_EQ(JobCount(), jobsBefore + 3);
  DestroyWindow(second);
}

TEST_F(PreviewWindow, PrinterSetupTakesTheChosenPrinterAndTellsTheOwner) {
  ASSERT_TRUE(Open(PVS_PRINTER));
  HDC before = HDC(SendMessageA(frame_, PVM_GETPRINTERDC, 0, 0));
  // The system's print dialog runs modally; another thread presses OK once
  // it shows.
  std::atomic<bool> seen{false};
  std::thread answer([&seen]() {
    for (int i = 0; i < 400; ++i, Sleep(25)) {
      HWND dialog = nullptr;
      while ((dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr)) != nullptr)
        if (IsWindowVisible(dialog) && GetDlgItem(dialog, IDOK)) break;
      if (!dialog) continue;
      seen = true;
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      return;
    }
  });
  g_hookCodes.clear();
  Command(frame_, PV_CMD_SETUP);
  answer.join();
  ASSERT_TRUE(seen) << "no print dialog showed";
  HDC after = HDC(SendMessageA(frame_, PVM_GETPRINTERDC, 0, 0));
  EXPECT_TRUE(after);
  EXPECT_NE(after, before) << "the dialog's DC replaces the first";
  EXPECT_EQ(GetDeviceCaps(after, PHYSICALWIDTH), 2550);
  ASSERT_EQ(g_ownerMessages.size(), 1u);
  EXPECT_EQ(g_ownerMessages[0], UINT(PVN_PRINTERCHANGED));
  ASSERT_FALSE(g_hookCodes.empty());
  EXPECT_EQ(g_hookCodes[0], -1) << "the hook hears of the new page first";
}

TEST_F(PreviewWindow, TheMappedFontIsAsLargeOnThePageAsOnThePrinter) {
  ASSERT_TRUE(Open(PVS_PRINTER));
  HDC printer = HDC(SendMessageA(frame_, PVM_GETPRINTERDC, 0, 0));
  // A font 120 printer units high (0.4 inch at 300 dpi).
  HFONT font = CreateFontA(-120, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, 0, 0, 0, "Arial");
  PVSelectFont(Pane(0), font);
  TEXTMETRICA onPrinter = {};
  HGDIOBJ old = SelectObject(printer, font);
  GetTextMetricsA(printer, &onPrinter);
  SelectObject(printer, old);
  for (int which = 0; which < 2; ++which) {
    SCOPED_TRACE(which);
    if (which == 1) Command(frame_, PV_CMD_TWO_PAGES);
    HWND pane = Pane(which);
    HDC dc = GetDC(pane);
    const int saved = SaveDC(dc);
    PVPreviewMapMode(pane, PV_STATE_OF(pane), dc);
    TEXTMETRICA onPage = {};
    GetTextMetricsA(dc, &onPage);
    // In page units the screen font is the printer font's size, give or
    // take the screen's whole pixels.
    POINT pixel[2] = {{0, 0}, {0, 1}};
    DPtoLP(dc, pixel, 2);
    const int unitsPerPixel = std::abs(pixel[1].y - pixel[0].y);
    EXPECT_NEAR(onPage.tmHeight, onPrinter.tmHeight, 2 * unitsPerPixel + 2);
    RestoreDC(dc, saved);
    ReleaseDC(pane, dc);
  }
  PVSelectFont(Pane(0), nullptr);
  DeleteObject(font);
}

TEST_F(PreviewWindow, CopyCountDialogKeepsOnlyPositiveCounts) {
  ASSERT_TRUE(Open(PVS_PRINTER | PVS_NOSETUP));
  EXPECT_FALSE(IsWindowEnabled(Button(PV_CMD_SETUP)));
  // Another thread types into the dialog while the preview runs it.
  auto answer = [](const char* typed, std::string* shown) {
    return std::thread([typed, shown]() {
      for (int i = 0; i < 200; ++i, Sleep(25)) {
        HWND dialog = FindWindowA("#32770", "Copies");
        if (!dialog || !IsWindowVisible(dialog)) continue;  // set up once it shows
        char text[16] = {};
        GetDlgItemTextA(dialog, 100, text, sizeof text);
        *shown = text;
        SetDlgItemTextA(dialog, 100, typed);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return;
      }
    });
  };
  std::string shown;
  std::thread t = answer("3", &shown);
  Command(frame_, PV_CMD_COPIES);
  t.join();
  EXPECT_EQ(shown, "1") << "unset copies show as 1";
  t = answer("0", &shown);
  Command(frame_, PV_CMD_COPIES);
  t.join();
  EXPECT_EQ(shown, "3");
  t = answer("", &shown);
  Command(frame_, PV_CMD_COPIES);
  t.join();
  EXPECT_EQ(shown, "3") << "0 was not kept";
}

TEST_F(PreviewWindow, WithoutAPrinterPrinterModeSaysSoAndCreatesNothing) {
  quillo::test::MessageBoxWatcher boxes;
  {
    quillo::test::DeviceEntryChange change("Quillo Test Printer,WINEPS.DRV,");  // no port
    EXPECT_EQ(GetPrinterDC(), nullptr);
    EXPECT_FALSE(Open(PVS_PRINTER | PVS_HIDEPARENT));
  }
  {
    quillo::test::DeviceEntryChange change("");
    EXPECT_EQ(GetPrinterDC(), nullptr);
  }
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 1u) << boxes.Describe();
  EXPECT_EQ(shown[0].text, "No Printer Device Founded !!!");
  EXPECT_TRUE(IsWindowVisible(owner_)) << "a failed preview leaves the parent shown";
  // The printer is back for the tests that follow.
  HDC dc = GetPrinterDC();
  EXPECT_TRUE(dc);
  if (dc) DeleteDC(dc);
}

}  // namespace
