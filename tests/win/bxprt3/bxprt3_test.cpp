// BXPRT3.DLL's bitmap button, tool bar, tab control and tip popup, driven
// message by message in a test window as the print preview drives them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "contracts/print_preview.h"
#include "win_test_support.h"

namespace {

// WM_COMMAND a parent received: control ID, notification code, sender.
struct Notice {
  int id;
  int code;
  HWND from;
  bool operator==(const Notice&) const = default;
};
std::vector<Notice> g_notices;
LRESULT g_changingAnswer = 0;   // what the parent answers to TCN_SELCHANGING
bool g_destroyOnCommand = false;  // the parent destroys the sender at WM_COMMAND

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    HWND from = reinterpret_cast<HWND>(lParam);
    g_notices.push_back({LOWORD(wParam), HIWORD(wParam), from});
    if (g_destroyOnCommand) DestroyWindow(from);
    return HIWORD(wParam) == TCN_SELCHANGING ? g_changingAnswer : 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (milliseconds) Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

BOOL CALLBACK CollectPopup(HWND w, LPARAM list) {
  char name[64];
  if (GetClassNameA(w, name, sizeof name) && std::strcmp(name, BXPRT3_POPUP_CLASS) == 0)
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
  return TRUE;
}

// Popups of this thread that still exist.
std::vector<HWND> Popups() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), CollectPopup, reinterpret_cast<LPARAM>(&found));
  return found;
}

// A 24-bit strip of 20 x 20 cells, 10 per row, two blocks (200 x 120): every
// cell is filled with CellColour(k, row) so a snapshot tells which cell shows.
COLORREF CellColour(int k, int row) { return RGB(10 + 12 * k, 40 + 70 * row, 200 - 5 * k); }
HBITMAP MakeStrip() {
  HDC screen = GetDC(nullptr);
  HBITMAP strip = CreateCompatibleBitmap(screen, 200, 120);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, strip);
  for (int k = 0; k < 20; ++k)
    for (int row = 0; row < 3; ++row) {
      const int x = (k % 10) * 20, y = (3 * (k / 10) + row) * 20;
      RECT r = {x, y, x + 20, y + 20};
      HBRUSH brush = CreateSolidBrush(CellColour(k, row));
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      // A dark mark in each cell's corner, as real pictures have detail.
      SetPixel(dc, x + 2, y + 2, RGB(0, 0, 0));
    }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return strip;
}

// The colour at (x, y) of a control's client area as it paints it.
COLORREF Painted(HWND control, int x, int y) {
  RECT r;
  GetClientRect(control, &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  const COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return colour;
}

constexpr int kBase = 24000;

class Bxprt3Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryA("BXPRT3.DLL");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "Bxprt3TestParent";
    RegisterClassA(&wc);
    // One shown parent for every test: showing and destroying top-level
    // windows is the slow part under Wine.
    parent_ = CreateWindowA("Bxprt3TestParent", "print preview controls",
                            WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 520, 360,
                            nullptr, nullptr, wc.hInstance, nullptr);
  }
  void SetUp() override {
    ASSERT_NE(module_, nullptr);
    ASSERT_NE(parent_, nullptr);
    g_notices.clear();
    g_changingAnswer = 0;
    g_destroyOnCommand = false;
    RDPopupStop(FALSE);
  }
  void TearDown() override {
    DestroyRDPopup();
    while (HWND child = GetWindow(parent_, GW_CHILD)) DestroyWindow(child);
    Pump(0);
  }
  HWND Button(int id, DWORD style = 0, const BitmapButtonCreate* record = nullptr,
              const char* text = "", int x = 10) {
    return CreateWindowA(BXPRT3_BUTTON_CLASS, text, WS_CHILD | WS_VISIBLE | style, x, 10, 20, 20,
                         parent_, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr),
                         const_cast<BitmapButtonCreate*>(record));
  }
  HWND Tabs(const char* names, int width = 400, DWORD style = 0) {
    HWND tabs = CreateWindowA(BXPRT3_TAB_CLASS, names, WS_CHILD | WS_VISIBLE | style, 10, 60, width,
                              200, parent_, reinterpret_cast<HMENU>(INT_PTR(77)),
                              GetModuleHandleA(nullptr), nullptr);
    if (tabs) SendMessageA(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return tabs;
  }
  static HMODULE module_;
  static HWND parent_;
};
HMODULE Bxprt3Test::module_ = nullptr;
HWND Bxprt3Test::parent_ = nullptr;

// ---- library ---------------------------------------------------------------

TEST_F(Bxprt3Test, LoadingRegistersFourGlobalClassesAndGivesItsInstance) {
  EXPECT_EQ(PVGetInstance(), module_);
  for (const char* name :
       {BXPRT3_BUTTON_CLASS, BXPRT3_TOOLBAR_CLASS, BXPRT3_TAB_CLASS, BXPRT3_POPUP_CLASS}) {
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    // Looked up with this program's instance: only a global class is found.
    EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), name, &info)) << name;
    EXPECT_TRUE(info.style & CS_GLOBALCLASS) << name;
  }
}

// ---- bitmap button ---------------------------------------------------------

TEST_F(Bxprt3Test, ButtonSendsItsCommandOnlyOnAReleaseInside) {
  struct {
    const char* name;
    bool press;
    int moveX, moveY;  // pointer moved while held (-100: no move)
    int upX, upY;
    bool command;
  } cases[] = {
      {"click", true, -100, 0, 5, 5, true},
      {"release outside", true, -100, 0, 40, 5, false},
      {"dragged out and back", true, 50, 50, 19, 19, true},
      {"dragged out and released out", true, 5, 5, -1, 5, false},
      {"release without press", false, -100, 0, 5, 5, false},
  };
  for (const auto& c : cases) {
    g_notices.clear();
    HWND b = Button(101);
    ASSERT_NE(b, nullptr);
    if (c.press) {
      SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
      EXPECT_EQ(GetCapture(), b) << c.name;
    }
    if (c.moveX != -100) SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, At(c.moveX, c.moveY));
    SendMessageA(b, WM_LBUTTONUP, 0, At(c.upX, c.upY));
    EXPECT_NE(GetCapture(), b) << c.name;
    if (c.command) {
      EXPECT_EQ(g_notices, (std::vector<Notice>{{101, BN_CLICKED, b}})) << c.name;
    } else {
      EXPECT_TRUE(g_notices.empty()) << c.name;
    }
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_UNCHECKED) << c.name << ": a push button";
    DestroyWindow(b);
  }
}

void Click(HWND b) {
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  SendMessageA(b, WM_LBUTTONUP, 0, At(5, 5));
}

TEST_F(Bxprt3Test, RadioButtonUnchecksOnlyTheSiblingsInItsRange) {
  BitmapButtonCreate record = {};
  record.radioFirstId = 200;
  record.radioLastId = 202;
  HWND radio[3];
  for (int i = 0; i < 3; ++i) radio[i] = Button(200 + i, BBS_RADIO, &record, "", 10 + 25 * i);
  HWND outside = Button(203, BBS_TOGGLE, nullptr, "", 100);  // ID past the range
  HWND below = Button(199, BBS_TOGGLE, nullptr, "", 130);
  SendMessageA(outside, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(below, BM_SETCHECK, BST_CHECKED, 0);

  struct {
    int action;  // index clicked, or 10 + index given BM_SETCHECK(1)
    bool checked[3];
  } steps[] = {
      {1, {false, true, false}},
      {0, {true, false, false}},
      {0, {true, false, false}},  // a checked radio stays checked when clicked again
      {12, {false, false, true}},
  };
  for (const auto& s : steps) {
    if (s.action >= 10)
      SendMessageA(radio[s.action - 10], BM_SETCHECK, BST_CHECKED, 0);
    else
      Click(radio[s.action]);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(SendMessageA(radio[i], BM_GETCHECK, 0, 0), s.checked[i] ? BST_CHECKED : BST_UNCHECKED)
          << "after action " << s.action << ", button " << i;
    EXPECT_EQ(SendMessageA(outside, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(below, BM_GETCHECK, 0, 0), BST_CHECKED);
  }
  // Unchecking a radio button leaves the others alone.
  SendMessageA(radio[2], BM_SETCHECK, BST_UNCHECKED, 0);
  for (HWND r : radio) EXPECT_EQ(SendMessageA(r, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Bxprt3Test, ToggleFlipsAfterItsCommandAndUserValueTwoIsReturned) {
  BitmapButtonCreate record = {};
  record.userValue = 5;
  record.userValue2 = -123456;
  HWND toggle = Button(300, BBS_TOGGLE, &record);
  EXPECT_EQ(SendMessageA(toggle, BB_GETUSERVALUE2, 0, 0), -123456);
  for (LRESULT expected : {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}) {
    Click(toggle);
    EXPECT_EQ(SendMessageA(toggle, BM_GETCHECK, 0, 0), expected);
  }
  EXPECT_EQ(g_notices.size(), 3u);
  // Without a creation record there is no user value and no crash.
  HWND plain = Button(301);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(SendMessageA(plain, BB_GETUSERVALUE2, 0, 0), 0);
}

TEST_F(Bxprt3Test, ButtonDestroyedByItsCommandHandlerIsNotTouchedAfterwards) {
  g_destroyOnCommand = true;
  HWND b = Button(302, BBS_TOGGLE);
  Click(b);
  EXPECT_FALSE(IsWindow(b));
  EXPECT_EQ(g_notices.size(), 1u);
}

TEST_F(Bxprt3Test, ButtonPaintsTheStripCellOfItsStateAndOwnsTheStripWhenAsked) {
  HBITMAP strip = MakeStrip();
  BitmapButtonCreate record = {20, 20, strip, kBase, 1, 10, 0, 0, 0, 0};
  const int k = 13;  // column 3 of the second block
  HWND b = Button(kBase + k, BBS_TOGGLE, &record);
  EXPECT_EQ(Painted(b, 10, 10), CellColour(k, 0));
  EXPECT_EQ(Painted(b, 2, 2), RGB(0, 0, 0));  // the cell's own corner mark
  SendMessageA(b, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(Painted(b, 10, 10), CellColour(k, 1));
  SendMessageA(b, WM_MOUSEMOVE, MK_LBUTTON, At(50, 5));  // pressed, pointer outside
  EXPECT_EQ(Painted(b, 10, 10), CellColour(k, 0));
  SendMessageA(b, WM_LBUTTONUP, 0, At(50, 5));
  SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(Painted(b, 10, 10), CellColour(k, 2));
  SendMessageA(b, BM_SETCHECK, BST_UNCHECKED, 0);
  EnableWindow(b, FALSE);
  EXPECT_EQ(Painted(b, 10, 10), CellColour(k, 2));
  EnableWindow(b, TRUE);

  // An ID whose cell is past the strip paints a plain face instead of garbage.
  BitmapButtonCreate shared = record;
  shared.deleteBitmap = 0;
  HWND past = Button(kBase + 25, 0, &shared);
  EXPECT_EQ(Painted(past, 10, 10), GetSysColor(COLOR_BTNFACE));
  DestroyWindow(past);
  BITMAP info;
  EXPECT_NE(GetObjectA(strip, sizeof info, &info), 0) << "not the button's to delete";

  DestroyWindow(b);
  EXPECT_EQ(GetObjectA(strip, sizeof info, &info), 0) << "deleted with its button";
}

TEST_F(Bxprt3Test, HotTrackingHoldsTheCaptureUntilThePointerLeaves) {
  HWND b = Button(303);
  SendMessageA(b, WM_MOUSEMOVE, 0, At(5, 5));
  EXPECT_EQ(GetCapture(), b);
  SendMessageA(b, WM_MOUSEMOVE, 0, At(8, 8));
  EXPECT_EQ(GetCapture(), b);
  SendMessageA(b, WM_MOUSEMOVE, 0, At(-3, 8));
  EXPECT_NE(GetCapture(), b);
  EXPECT_TRUE(g_notices.empty());
}

TEST_F(Bxprt3Test, HitTestShowsTheButtonTextAsATipAtItsBottomLeftCorner) {
  HWND b = Button(304, 0, nullptr, "Next page", 60);
  RECT r;
  GetWindowRect(b, &r);
  SendMessageA(b, WM_NCHITTEST, 0, MAKELPARAM(r.left + 3, r.top + 3));
  std::vector<HWND> popups = Popups();
  ASSERT_EQ(popups.size(), 1u);
  RECT tip;
  GetWindowRect(popups[0], &tip);
  EXPECT_EQ(tip.left, r.left);
  EXPECT_EQ(tip.top, r.bottom);
  EXPECT_TRUE(IsWindowVisible(popups[0]));
  // A button without text shows no tip.
  DestroyRDPopup();
  HWND silent = Button(305, 0, nullptr, "", 100);
  SendMessageA(silent, WM_NCHITTEST, 0, 0);
  EXPECT_TRUE(Popups().empty());
}

// ---- tool bar --------------------------------------------------------------

TEST_F(Bxprt3Test, ToolBarDrawsItsEtchedLinesAndForwardsCommands) {
  HWND bar = CreateWindowA(BXPRT3_TOOLBAR_CLASS, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 30, parent_,
                           reinterpret_cast<HMENU>(INT_PTR(50)), GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(Painted(bar, 100, 0), RGB(128, 128, 128));
  EXPECT_EQ(Painted(bar, 100, 1), RGB(255, 255, 255));
  EXPECT_EQ(Painted(bar, 100, 28), RGB(128, 128, 128));
  EXPECT_EQ(Painted(bar, 100, 29), RGB(255, 255, 255));
  EXPECT_EQ(Painted(bar, 100, 15), RGB(192, 192, 192));
  HWND b = CreateWindowA(BXPRT3_BUTTON_CLASS, "", WS_CHILD | WS_VISIBLE, 4, 4, 20, 20, bar,
                         reinterpret_cast<HMENU>(INT_PTR(24003)), GetModuleHandleA(nullptr), nullptr);
  Click(b);
  EXPECT_EQ(g_notices, (std::vector<Notice>{{24003, BN_CLICKED, b}}));
  // Static children: transparent text on the light-grey brush.
  HDC dc = GetDC(bar);
  const LRESULT brush = SendMessageA(bar, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH)));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  ReleaseDC(bar, dc);
}

// ---- tab control -----------------------------------------------------------

std::string TabText(HWND tabs, int index) {
  const LRESULT length = SendMessageA(tabs, TCM_GETTEXTLENGTH, WPARAM(index), 0);
  if (length < 0) return "<none>";
  std::string text(size_t(length) + 1, '?');
  EXPECT_EQ(SendMessageA(tabs, TCM_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data())), length);
  EXPECT_EQ(text.back(), '\0');
  text.pop_back();
  return text;
}

TEST_F(Bxprt3Test, TabsComeFromTheWindowTextAndEmptyTextFailsCreation) {
  struct {
    const char* names;
    std::vector<std::string> tabs;
  } cases[] = {
      {"One;Two;Three", {"One", "Two", "Three"}},
      {"Single", {"Single"}},
      {";A;;B;", {"A", "B"}},
      {"", {}},
      {";;", {}},
  };
  for (const auto& c : cases) {
    HWND tabs = Tabs(c.names);
    if (c.tabs.empty()) {
      EXPECT_EQ(tabs, nullptr) << '"' << c.names << '"';
      continue;
    }
    ASSERT_NE(tabs, nullptr) << c.names;
    ASSERT_EQ(SendMessageA(tabs, TCM_GETCOUNT, 0, 0), LRESULT(c.tabs.size())) << c.names;
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 0);
    for (size_t i = 0; i < c.tabs.size(); ++i) EXPECT_EQ(TabText(tabs, int(i)), c.tabs[i]);
    DestroyWindow(tabs);
  }
}

TEST_F(Bxprt3Test, TabMessagesFindSelectDeleteAndIgnoreBadIndexes) {
  HWND tabs = Tabs("One;Two;Three");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(SendMessageA(tabs, TCM_FINDTAB, 0, reinterpret_cast<LPARAM>("tWO")), 1);
  EXPECT_EQ(SendMessageA(tabs, TCM_FINDTAB, 0, reinterpret_cast<LPARAM>("THREE")), 2);
  EXPECT_EQ(SendMessageA(tabs, TCM_FINDTAB, 0, reinterpret_cast<LPARAM>("Four")), -1);
  EXPECT_EQ(SendMessageA(tabs, TCM_FINDTAB, 0, reinterpret_cast<LPARAM>("Tw")), -1);
  EXPECT_EQ(SendMessageA(tabs, TCM_FINDTAB, 0, 0), -1);

  EXPECT_TRUE(SendMessageA(tabs, TCM_SELECTTAB, 2, 0));
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 2);
  EXPECT_TRUE(g_notices.empty()) << "1029 does not notify";

  for (WPARAM bad : {WPARAM(3), WPARAM(-1), WPARAM(1000)}) {
    EXPECT_FALSE(SendMessageA(tabs, TCM_SELECTTAB, bad, 0));
    EXPECT_FALSE(SendMessageA(tabs, TCM_DELETETAB, bad, 0));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETTEXTLENGTH, bad, 0), -1);
    char buffer[8] = "xyz";
    EXPECT_EQ(SendMessageA(tabs, TCM_GETTEXT, bad, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_STREQ(buffer, "xyz");
  }
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 2);

  // Deleting before the selection keeps the same tab selected; deleting the
  // selected last tab selects the new last one.
  EXPECT_TRUE(SendMessageA(tabs, TCM_DELETETAB, 0, 0));
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 1);
  EXPECT_EQ(TabText(tabs, 1), "Three");
  EXPECT_TRUE(SendMessageA(tabs, TCM_DELETETAB, 1, 0));
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 0);
  EXPECT_TRUE(SendMessageA(tabs, TCM_DELETETAB, 0, 0));
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), -1);

  // The first tab added to an empty control becomes the selected one.
  EXPECT_EQ(SendMessageA(tabs, TCM_ADDTAB, 0, reinterpret_cast<LPARAM>("Again")), 0);
  Pump(0);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(tabs, TCM_ADDTAB, 0, 0), -1) << "no text";
  EXPECT_TRUE(g_notices.empty());
}

TEST_F(Bxprt3Test, AtMostFortyTabs) {
  std::string names;
  for (int i = 0; i < 45; ++i) names += "T" + std::to_string(i) + ";";
  HWND tabs = Tabs(names.c_str());
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCOUNT, 0, 0), 40) << "creation stops at 40";
  EXPECT_EQ(TabText(tabs, 39), "T39");
  EXPECT_EQ(SendMessageA(tabs, TCM_ADDTAB, 0, reinterpret_cast<LPARAM>("41st")), -1);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCOUNT, 0, 0), 40);
  EXPECT_TRUE(SendMessageA(tabs, TCM_DELETETAB, 5, 0));
  EXPECT_EQ(SendMessageA(tabs, TCM_ADDTAB, 0, reinterpret_cast<LPARAM>("40th")), 39);
}

TEST_F(Bxprt3Test, ArrowKeysWrapAroundAndNotifyBeforeAndAfter) {
  HWND tabs = Tabs("One;Two;Three");
  EXPECT_EQ(SendMessageA(tabs, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
  struct {
    WPARAM key;
    int current;
  } steps[] = {{VK_LEFT, 2}, {VK_LEFT, 1}, {VK_RIGHT, 2}, {VK_RIGHT, 0}, {VK_RIGHT, 1}};
  for (const auto& s : steps) {
    g_notices.clear();
    SendMessageA(tabs, WM_KEYDOWN, s.key, 0);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), s.current);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{77, TCN_SELCHANGING, tabs}, {77, TCN_SELCHANGE, tabs}}));
  }
  // Other keys change nothing.
  g_notices.clear();
  SendMessageA(tabs, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 1);
  EXPECT_TRUE(g_notices.empty());
}

TEST_F(Bxprt3Test, ParentAnsweringMinusOneRefusesTheChange) {
  HWND tabs = Tabs("One;Two;Three");
  g_changingAnswer = -1;
  SendMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 0);
  EXPECT_EQ(g_notices, (std::vector<Notice>{{77, TCN_SELCHANGING, tabs}}));
  g_changingAnswer = 1;  // any other answer lets it through
  g_notices.clear();
  SendMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 1);
  EXPECT_EQ(g_notices.size(), 2u);
}

// Tab width = widest text + 10, height = tallest + 8, measured in the font
// the control was given; the rows wrap when the control is too narrow.
TEST_F(Bxprt3Test, MouseSelectsByTabBoxesSizedFromTheWidestTextAndWrapping) {
  const char* names[] = {"One", "Wider name", "Three"};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  int widest = 0, tallest = 0;
  for (const char* n : names) {
    SIZE s;
    GetTextExtentPoint32A(dc, n, int(std::strlen(n)), &s);
    widest = std::max<int>(widest, s.cx);
    tallest = std::max<int>(tallest, s.cy);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int w = widest + 10, h = tallest + 8;

  HWND tabs = Tabs("One;Wider name;Three", 3 * w + 5);
  struct {
    int x, y;
    int current;  // afterwards
    bool notified;
  } clicks[] = {
      {w - 1, 2, 0, false},  // still the first tab, already selected
      {w, 2, 1, true},
      {2 * w - 1, h - 1, 1, false},
      {2 * w, 2, 2, true},
      {3 * w + 2, 2, 2, false},  // right of the last tab
      {5, h + 2, 2, false},      // below the row: the page
  };
  for (const auto& c : clicks) {
    g_notices.clear();
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, At(c.x, c.y));
    SendMessageA(tabs, WM_LBUTTONUP, 0, At(c.x, c.y));
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), c.current) << c.x << "," << c.y;
    EXPECT_EQ(g_notices.size(), c.notified ? 2u : 0u) << c.x << "," << c.y;
  }
  EXPECT_EQ(GetFocus(), tabs);

  // Two tabs fit per row: the third starts a second row.
  SetWindowPos(tabs, nullptr, 0, 0, 2 * w + 5, 200, SWP_NOMOVE | SWP_NOZORDER);
  SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 0);
  SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, At(3, h + 3));
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURRENT, 0, 0), 2);
}

TEST_F(Bxprt3Test, ChildWindowsShowOnlyWithTheirTab) {
  HWND tabs = Tabs("One;Two");
  HWND a = CreateWindowA("STATIC", "a", WS_CHILD | WS_VISIBLE, 20, 120, 40, 20, parent_, nullptr, nullptr, nullptr);
  HWND b = CreateWindowA("STATIC", "b", WS_CHILD | WS_VISIBLE, 20, 150, 40, 20, parent_, nullptr, nullptr, nullptr);
  EXPECT_TRUE(SendMessageA(tabs, TCM_ATTACHCHILD, 0, reinterpret_cast<LPARAM>(a)));
  EXPECT_TRUE(SendMessageA(tabs, TCM_ATTACHCHILD, 1, reinterpret_cast<LPARAM>(b)));
  EXPECT_FALSE(SendMessageA(tabs, TCM_ATTACHCHILD, 2, reinterpret_cast<LPARAM>(b)));
  EXPECT_FALSE(SendMessageA(tabs, TCM_ATTACHCHILD, 0, 0));
  EXPECT_TRUE(IsWindowVisible(a));
  EXPECT_FALSE(IsWindowVisible(b));
  SendMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_FALSE(IsWindowVisible(a));
  EXPECT_TRUE(IsWindowVisible(b));
  SendMessageA(tabs, TCM_SELECTTAB, 0, 0);
  EXPECT_TRUE(IsWindowVisible(a));
  EXPECT_FALSE(IsWindowVisible(b));
  // Moving a child to another tab takes it out of the first; a destroyed
  // child in a list is skipped.
  EXPECT_TRUE(SendMessageA(tabs, TCM_ATTACHCHILD, 1, reinterpret_cast<LPARAM>(a)));
  EXPECT_FALSE(IsWindowVisible(a));
  DestroyWindow(b);
  SendMessageA(tabs, TCM_SELECTTAB, 1, 0);
  EXPECT_TRUE(IsWindowVisible(a));
}

int TabWidthFor(const char* text, int* height) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE s;
  GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &s);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  *height = s.cy + 8;
  return s.cx + 10;
}

TEST_F(Bxprt3Test, SelectedTabLabelIsDarkRedAndTheOthersBlack) {
  int h = 0;
  const int w = TabWidthFor("MMMM", &h);
  HWND tabs = Tabs("MMMM;MMMM", 400);
  SendMessageA(tabs, TCM_SELECTTAB, 1, 0);
  RECT r;
  GetClientRect(tabs, &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  // Text pixels inside each label (inset 3): reddish ones and dark grey ones
  // (smoothed edges included).
  int reddish[2] = {0, 0}, dark[2] = {0, 0};
  for (int tab = 0; tab < 2; ++tab)
    for (int y = 3; y < h - 3; ++y)
      for (int x = tab * w + 3; x < (tab + 1) * w - 3; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        const int red = GetRValue(c), green = GetGValue(c), blue = GetBValue(c);
        reddish[tab] += red > green + 40 && red > blue + 40;
        dark[tab] += red < 90 && green < 90 && blue < 90 && std::abs(red - green) < 20;
      }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(reddish[0], 0);
  EXPECT_GT(dark[0], 10);
  EXPECT_GT(reddish[1], 10);
}

// ---- tip popup -------------------------------------------------------------

TEST_F(Bxprt3Test, PopupIsOnePerProcessRestartedBySameOwnerAndIdReplacedByOthers) {
  HWND ownerA = Button(400, 0, nullptr, "", 10), ownerB = Button(401, 0, nullptr, "", 40);
  HWND first = CreateRDPopup(ownerA, POINT{100, 100}, "First tip", 7, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(IsWindowVisible(first));
  EXPECT_TRUE(GetWindowLongA(first, GWL_EXSTYLE) & WS_EX_TOPMOST);

  struct {
    const char* name;
    HWND owner;
    const char* text;
    int id;
    bool makesNew;
  } steps[] = {
      {"same owner and id restarts", ownerA, "Other text", 7, false},
      {"empty text does nothing", ownerB, "", 7, false},
      {"null text does nothing", ownerB, nullptr, 7, false},
      {"same owner, other id replaces", ownerA, "Second", 8, true},
      {"same owner, id 0 replaces", ownerA, "Third", 0, true},
      {"same owner, id 0 again replaces", ownerA, "Fourth", 0, true},
      {"other owner replaces", ownerB, "Fifth", 0, true},
  };
  HWND current = first;
  for (const auto& s : steps) {
    HWND made = CreateRDPopup(s.owner, POINT{100, 100}, s.text, s.id, 0);
    EXPECT_EQ(made != nullptr, s.makesNew) << s.name;
    if (made) {
      EXPECT_FALSE(IsWindow(current)) << s.name;
      current = made;
    }
    EXPECT_EQ(Popups(), std::vector<HWND>{current}) << s.name;
  }
  DestroyRDPopup();
  EXPECT_FALSE(IsWindow(current));
  EXPECT_TRUE(Popups().empty());
  DestroyRDPopup();  // nothing to close: harmless
}

TEST_F(Bxprt3Test, PopupStopClosesOnRequestAndShowsNothingUntilLifted) {
  HWND up = CreateRDPopup(parent_, POINT{50, 50}, "Tip", 1, 0);
  ASSERT_NE(up, nullptr);
  RDPopupStop(TRUE);
  EXPECT_TRUE(IsWindow(up)) << "stopping alone closes nothing";
  EXPECT_EQ(CreateRDPopup(parent_, POINT{50, 50}, "Tip", 1, 0), nullptr);
  EXPECT_FALSE(IsWindow(up));
  EXPECT_EQ(CreateRDPopup(parent_, POINT{50, 50}, "Another", 2, 0), nullptr);
  EXPECT_TRUE(Popups().empty());
  RDPopupStop(FALSE);
  EXPECT_NE(CreateRDPopup(parent_, POINT{50, 50}, "Tip", 1, 0), nullptr);
}

TEST_F(Bxprt3Test, PopupClosesAfterItsTimeAtAKeyOrATimerMessage) {
  HWND timed = CreateRDPopup(parent_, POINT{50, 50}, "Short", 0, 150);
  ASSERT_NE(timed, nullptr);
  Pump(40);
  EXPECT_TRUE(IsWindow(timed));
  Pump(600);
  EXPECT_FALSE(IsWindow(timed));

  HWND keyed = CreateRDPopup(parent_, POINT{50, 50}, "Key", 0, 0);
  Pump(20);
  ASSERT_TRUE(IsWindow(keyed));
  PostMessageA(parent_, WM_KEYDOWN, 'A', 0);
  Pump(20);
  EXPECT_FALSE(IsWindow(keyed));

  HWND timer = CreateRDPopup(parent_, POINT{50, 50}, "Timer", 0, 0);
  PostMessageA(timer, WM_TIMER, 99, 0);
  Pump(20);
  EXPECT_FALSE(IsWindow(timer));
}

TEST_F(Bxprt3Test, PopupIsSizedToItsTextAndKeptOnTheScreen) {
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT text = {0, 0, 0, 0};
  DrawTextA(dc, "Fit page", -1, &text, DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int w = text.right + 7, h = text.bottom + 7;  // frame, padding, shadow

  struct {
    POINT at;
    POINT expected;
  } cases[] = {
      {{100, 120}, {100, 120}},
      {{screenW - 3, 120}, {screenW - w, 120}},
      {{100, screenH - 1}, {100, screenH - h}},
      {{screenW + 500, screenH + 500}, {screenW - w, screenH - h}},
      {{-40, -40}, {0, 0}},
  };
  for (const auto& c : cases) {
    HWND popup = CreateRDPopup(parent_, c.at, "Fit page", 0, 0);
    ASSERT_NE(popup, nullptr);
    RECT r;
    GetWindowRect(popup, &r);
    EXPECT_EQ(r.right - r.left, w);
    EXPECT_EQ(r.bottom - r.top, h);
    EXPECT_EQ(r.left, c.expected.x) << c.at.x << "," << c.at.y;
    EXPECT_EQ(r.top, c.expected.y) << c.at.x << "," << c.at.y;
  }
}

TEST_F(Bxprt3Test, PopupHasAGreyShadowOnTheRightAndBottom) {
  HWND popup = CreateRDPopup(parent_, POINT{200, 200}, "Shadow", 0, 0);
  ASSERT_NE(popup, nullptr);
  RECT r;
  GetClientRect(popup, &r);
  EXPECT_EQ(Painted(popup, r.right - 1, r.bottom / 2), RGB(128, 128, 128));
  EXPECT_EQ(Painted(popup, r.right / 2, r.bottom - 1), RGB(128, 128, 128));
  EXPECT_EQ(Painted(popup, r.right - 2, r.bottom / 2), RGB(0, 0, 0));  // the frame
  EXPECT_EQ(Painted(popup, 0, 0), RGB(0, 0, 0));
}

// ---- a look at the controls together ---------------------------------------
// Runs only with QUILLO_PRT_SHOWCASE_MS set: lays out a tool bar with strip
// buttons and a tab control and keeps them on screen for a screenshot.
TEST_F(Bxprt3Test, Showcase) {
  const char* hold = std::getenv("QUILLO_PRT_SHOWCASE_MS");
  if (!hold) GTEST_SKIP() << "set QUILLO_PRT_SHOWCASE_MS to keep the window up";
  HWND bar = CreateWindowA(BXPRT3_TOOLBAR_CLASS, "", WS_CHILD | WS_VISIBLE, 0, 0, 520, 30, parent_,
                           reinterpret_cast<HMENU>(INT_PTR(50)), GetModuleHandleA(nullptr), nullptr);
  HBITMAP strip = MakeStrip();
  BitmapButtonCreate record = {20, 20, strip, kBase, 0, 10, 0, kBase, kBase + 2, 0};
  HWND buttons[5];
  for (int i = 0; i < 5; ++i)
    buttons[i] = CreateWindowA(BXPRT3_BUTTON_CLASS, "tip", WS_CHILD | WS_VISIBLE | (i < 3 ? BBS_RADIO : 0),
                               200 + 24 * i, 5, 20, 20, bar, reinterpret_cast<HMENU>(INT_PTR(kBase + i)),
                               GetModuleHandleA(nullptr), &record);
  SendMessageA(buttons[1], BM_SETCHECK, BST_CHECKED, 0);
  EnableWindow(buttons[4], FALSE);
  SetWindowTextA(bar, "Page 1 of 3");
  HWND tabs = CreateWindowA(BXPRT3_TAB_CLASS, "Layout;Printer;Margins;Captions;Colour", WS_CHILD | WS_VISIBLE | TCS_TEXTSHADOW,
                            10, 40, 300, 200, parent_, reinterpret_cast<HMENU>(INT_PTR(77)),
                            GetModuleHandleA(nullptr), nullptr);
  SendMessageA(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 1);
  SendMessageA(tabs, TCM_SELECTTAB, 1, 0);
  SetFocus(tabs);
  RECT r;
  GetWindowRect(buttons[0], &r);
  HWND tip = CreateRDPopup(buttons[0], POINT{r.left, r.bottom}, "First page", 0, 60000);
  EXPECT_NE(tip, nullptr);
  Pump(DWORD(std::atoi(hold)));
  EXPECT_EQ(Popups(), std::vector<HWND>{tip}) << "a 60-second tip outlives the hold";
  DestroyWindow(bar);
  DeleteObject(strip);
}

}  // namespace
