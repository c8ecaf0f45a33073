// BXUI.DLL's slider, progress bar and preview controls, driven message by
// message in a test window as a dialog would drive them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "contracts/ui_controls.h"
#include "win_test_support.h"

using namespace quillo::test;

namespace {

constexpr int kSliderId = 501;

// WM_COMMAND notifications a parent received: control ID and lParam.
struct Notice {
  int id;
  LPARAM lParam;
};
std::vector<Notice> g_notices;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    g_notices.push_back({LOWORD(wParam), lParam});
    return 0;
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
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

// The client area as the control paints it (WM_PRINTCLIENT into a
// 32-bit memory bitmap), read back pixel by pixel.
class Snapshot {
 public:
  explicit Snapshot(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    width_ = r.right, height_ = r.bottom;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    std::memset(bits_, 0x5A, size_t(width_) * height_ * 4);
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    GdiFlush();
  }
  ~Snapshot() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const {
    const uint32_t v = bits_[size_t(y) * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  bool SameAs(const Snapshot& other) const {
    return width_ == other.width_ && height_ == other.height_ &&
           std::memcmp(bits_, other.bits_, size_t(width_) * height_ * 4) == 0;
  }

 private:
  int width_ = 0, height_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

COLORREF SysColour(int index) { return GetSysColor(index) & 0xFFFFFF; }

class ControlsTest : public ::testing::Test {
 protected:
  // One parent for all tests: under Wine without a window manager, hiding
  // or destroying a shown top-level window waits two seconds for X.
  static void SetUpTestSuite() {
    UIInit(GetModuleHandleA(nullptr));
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "BxuiTestParent";
    RegisterClassA(&wc);
    parent_ = CreateWindowA("BxuiTestParent", "controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            480, 360, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(parent_);
  }
  void SetUp() override {
    ASSERT_NE(parent_, nullptr);
    ASSERT_TRUE(UIInit(GetModuleHandleA(nullptr)));
    g_notices.clear();
  }
  void TearDown() override {
    while (HWND child = GetWindow(parent_, GW_CHILD)) DestroyWindow(child);
    Pump(0);
  }
  HWND Make(const char* cls, int id, int width, int height, DWORD style = 0) {
    HWND w = CreateWindowA(cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10, width,
                           height, parent_, reinterpret_cast<HMENU>(INT_PTR(id)),
                           GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(w, nullptr) << cls;
    return w;
  }
  static HWND parent_;
};
HWND ControlsTest::parent_ = nullptr;

// ---- registration ----------------------------------------------------------

TEST_F(ControlsTest, UIInitTwiceKeepsGlobalClassesUsableFromAnyModule) {
  EXPECT_TRUE(UIInit(nullptr));  // hosts pass 0 too
  for (const char* name : {BXUI_SLIDER_CLASS, BXUI_PROGRESS_CLASS, BXUI_PREVIEW_CLASS}) {
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    // Looked up with this program's instance: only a global class is found.
    EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), name, &info)) << name;
    EXPECT_TRUE(info.style & CS_GLOBALCLASS) << name;
  }
}

// An in-memory dialog template with one control of each class, as a plug-in's
// resource module would place them.
std::vector<WORD> DialogTemplate() {
  std::vector<WORD> t;
  auto dword = [&](DWORD v) { t.push_back(LOWORD(v)), t.push_back(HIWORD(v)); };
  auto text = [&](const wchar_t* s) {
    do t.push_back(WORD(*s)); while (*s++);
  };
  auto align = [&] { if (t.size() % 2) t.push_back(0); };
  dword(WS_CHILD | WS_VISIBLE | DS_SETFONT | DS_CONTROL);  // style (a child: see SetUpTestSuite)
  dword(0);                                                // extended style
  t.push_back(3);                                          // items
  t.push_back(0), t.push_back(0), t.push_back(200), t.push_back(120);
  t.push_back(0), t.push_back(0);  // no menu, default class
  text(L"effect");
  t.push_back(8);
  text(L"MS Shell Dlg");
  struct Item { const wchar_t* cls; WORD id; short y; };
  for (Item item : {Item{L"BXSlider", 501, 5}, Item{L"BXProgress", 323, 30}, Item{L"BXPreview", 316, 45}}) {
    align();
    dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    dword(0);
    t.push_back(5), t.push_back(WORD(item.y)), t.push_back(150), t.push_back(item.id == 316 ? 60 : 12);
    t.push_back(item.id);
    text(item.cls);
    text(L"");
    t.push_back(0);  // no creation data
  }
  return t;
}

std::vector<Notice> g_dialogNotices;

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) g_dialogNotices.push_back({LOWORD(wParam), lParam});
  return message == WM_INITDIALOG;
}

TEST_F(ControlsTest, DialogTemplatesPlaceTheControlsAndArrowsReachTheSlider) {
  const std::vector<WORD> t = DialogTemplate();
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                           reinterpret_cast<const DLGTEMPLATE*>(t.data()),
                                           parent_, DialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  HWND slider = GetDlgItem(dialog, 501);
  ASSERT_NE(slider, nullptr);
  ASSERT_NE(GetDlgItem(dialog, 323), nullptr);
  ASSERT_NE(GetDlgItem(dialog, 316), nullptr);
  char cls[32] = {};
  GetClassNameA(slider, cls, sizeof cls);
  EXPECT_STREQ(cls, "BXSlider");

  SendMessageA(slider, SL_SETRANGE, 0, MAKELPARAM(0, 10));
  SendMessageA(slider, SL_SETPOS, 4, 1);
  SetFocus(slider);
  g_dialogNotices.clear();
  // The arrow key goes through the dialog manager, which hands it to the
  // slider only because the slider asks for arrows.
  MSG msg = {};
  msg.hwnd = slider, msg.message = WM_KEYDOWN, msg.wParam = VK_RIGHT, msg.lParam = 1;
  EXPECT_TRUE(IsDialogMessageA(dialog, &msg));
  EXPECT_EQ(SendMessageA(slider, SL_GETPOS, 0, 0), 5);
  ASSERT_EQ(g_dialogNotices.size(), 1u);
  EXPECT_EQ(g_dialogNotices[0].id, 501);
  EXPECT_EQ(g_dialogNotices[0].lParam, 0);
  DestroyWindow(dialog);
}

// ---- slider ----------------------------------------------------------------

TEST_F(ControlsTest, SliderClampsSignedRangesAndPositionsWithoutNotifying) {
  HWND s = Make(BXUI_SLIDER_CLASS, kSliderId, 215, 30);
  SendMessageA(s, SL_SETRANGE, 0, MAKELPARAM(WORD(-255), 255));
  struct Case { int set; int expected; };
  const Case cases[] = {{0, 0}, {-7, -7}, {-255, -255}, {-300, -255}, {255, 255}, {70000, 255},
                        {-70000, -255}};
  for (const Case& c : cases) {
    SendMessageA(s, SL_SETPOS, WPARAM(INT_PTR(c.set)), 1);
    EXPECT_EQ(int(SendMessageA(s, SL_GETPOS, 0, 0)), c.expected) << "set " << c.set;
  }
  // A narrower range pulls the position in.
  SendMessageA(s, SL_SETPOS, WPARAM(INT_PTR(-200)), 1);
  SendMessageA(s, SL_SETRANGE, 0, MAKELPARAM(WORD(-50), 50));
  EXPECT_EQ(int(SendMessageA(s, SL_GETPOS, 0, 0)), -50);
  // A reversed pair is a range all the same.
  SendMessageA(s, SL_SETRANGE, 0, MAKELPARAM(20, 10));
  EXPECT_EQ(int(SendMessageA(s, SL_GETPOS, 0, 0)), 10);
  SendMessageA(s, SL_SETPOS, 30, 0);
  EXPECT_EQ(int(SendMessageA(s, SL_GETPOS, 0, 0)), 20);
  EXPECT_TRUE(g_notices.empty());
  EXPECT_EQ(SendMessageA(s, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
}

TEST_F(ControlsTest, SliderKeysStepAndEndEachPressWithOneEndNotice) {
  HWND s = Make(BXUI_SLIDER_CLASS, kSliderId, 215, 30);
  SendMessageA(s, SL_SETRANGE, 0, MAKELPARAM(WORD(-255), 255));
  SetFocus(s);
  struct Case { WPARAM key; int from; int expected; };
  const Case cases[] = {
      {VK_RIGHT, 0, 1},     {VK_DOWN, 0, 1},     {VK_LEFT, 0, -1},  {VK_UP, 0, -1},
      {VK_NEXT, 0, 51},     {VK_PRIOR, 0, -51},  {VK_HOME, 17, -255}, {VK_END, 17, 255},
      {VK_NEXT, 240, 255},  {VK_PRIOR, -250, -255},
  };
  for (const Case& c : cases) {
    SendMessageA(s, SL_SETPOS, WPARAM(INT_PTR(c.from)), 1);
    g_notices.clear();
    SendMessageA(s, WM_KEYDOWN, c.key, 1);
    SendMessageA(s, WM_KEYUP, c.key, 0xC0000001);
    EXPECT_EQ(int(SendMessageA(s, SL_GETPOS, 0, 0)), c.expected) << "key " << c.key;
    ASSERT_EQ(g_notices.size(), 1u) << "key " << c.key;
    EXPECT_EQ(g_notices[0].id, kSliderId);
    EXPECT_EQ(g_notices[0].lParam, 0);
  }
  // At an end, a key that would go further changes nothing and says nothing.
  SendMessageA(s, SL_SETPOS, 255, 1);
  g_notices.clear();
  SendMessageA(s, WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(int(SendMessageA(s, SL_GETPOS, 0, 0)), 255);
  EXPECT_TRUE(g_notices.empty());
  // Keys it does not use are ignored.
  SendMessageA(s, WM_KEYDOWN, 'A', 1);
  EXPECT_TRUE(g_notices.empty());
}

TEST_F(ControlsTest, SliderHeldKeyReportsProgressThenOneEndAtRelease) {
  HWND s = Make(BXUI_SLIDER_CLASS, kSliderId, 215, 30);
  SendMessageA(s, SL_SETRANGE, 0, MAKELPARAM(0, 100));
  SendMessageA(s, SL_SETPOS, 50, 1);
  SendMessageA(s, WM_KEYDOWN, VK_RIGHT, 1);  // first press
  for (int i = 0; i < 3; ++i) SendMessageA(s, WM_KEYDOWN, VK_RIGHT, 1 | (1 << 30));  // repeats
  SendMessageA(s, WM_KEYUP, VK_RIGHT, 0xC0000001);
  EXPECT_EQ(SendMessageA(s, SL_GETPOS, 0, 0), 54);
  ASSERT_EQ(g_notices.size(), 5u);
  EXPECT_EQ(g_notices[0].lParam, 0);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(g_notices[i].lParam, LPARAM(s));
  EXPECT_EQ(g_notices[4].lParam, 0);
}

// The thumb of position 50 in 0..100 sits in the middle of the slider.
HWND MiddleSlider(HWND s) {
  SendMessageA(s, SL_SETRANGE, 0, MAKELPARAM(0, 100));
  SendMessageA(s, SL_SETPOS, 50, 1);
  return s;
}

TEST_F(ControlsTest, SliderDragReportsProgressWithItsHandleAndOneEnd) {
  const int width = 215, middle = width / 2, y = 15;
  HWND s = MiddleSlider(Make(BXUI_SLIDER_CLASS, kSliderId, width, 30));
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle, y));
  EXPECT_EQ(GetCapture(), s);
  EXPECT_EQ(GetFocus(), s);
  EXPECT_EQ(SendMessageA(s, SL_GETPOS, 0, 0), 50);  // grabbing the thumb moves nothing
  SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(middle + 20, y));
  const int afterFirstMove = int(SendMessageA(s, SL_GETPOS, 0, 0));
  EXPECT_GT(afterFirstMove, 55);
  EXPECT_LT(afterFirstMove, 65);
  SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(middle + 20, y + 40));  // off the bar
  SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(width + 100, y));
  EXPECT_EQ(SendMessageA(s, SL_GETPOS, 0, 0), 100);
  ASSERT_EQ(g_notices.size(), 2u);  // two moves changed the position
  for (const Notice& n : g_notices) {
    EXPECT_EQ(n.id, kSliderId);
    EXPECT_EQ(n.lParam, LPARAM(s));
  }
  SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(width + 100, y));
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_EQ(g_notices.size(), 3u);
  EXPECT_EQ(g_notices[2].lParam, 0);

  // Grabbing and letting go without a move says nothing at all.
  g_notices.clear();
  SendMessageA(s, SL_SETPOS, 50, 1);
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle, y));
  SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(middle, y));
  EXPECT_TRUE(g_notices.empty());
}

TEST_F(ControlsTest, SliderLosingCaptureEndsTheDrag) {
  const int width = 215, middle = width / 2;
  HWND s = MiddleSlider(Make(BXUI_SLIDER_CLASS, kSliderId, width, 30));
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle, 15));
  SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 15));
  EXPECT_EQ(SendMessageA(s, SL_GETPOS, 0, 0), 0);
  SetCapture(parent_);  // another window takes the mouse
  ASSERT_EQ(g_notices.size(), 2u);
  EXPECT_EQ(g_notices.back().lParam, 0);
  ReleaseCapture();
  SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(middle, 15));  // no longer dragging
  EXPECT_EQ(SendMessageA(s, SL_GETPOS, 0, 0), 0);
}

TEST_F(ControlsTest, SliderChannelClickPagesTowardTheClickAndRepeats) {
  const int width = 215, y = 15;
  HWND s = MiddleSlider(Make(BXUI_SLIDER_CLASS, kSliderId, width, 30));
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(width - 8, y));
  EXPECT_EQ(SendMessageA(s, SL_GETPOS, 0, 0), 60);  // one page at once
  ASSERT_EQ(g_notices.size(), 1u);
  EXPECT_EQ(g_notices[0].lParam, LPARAM(s));
  Pump(1200);  // the repeat timer pages on until the thumb reaches the mouse
  const int reached = int(SendMessageA(s, SL_GETPOS, 0, 0));
  EXPECT_GE(reached, 90);
  SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(width - 8, y));
  ASSERT_GE(g_notices.size(), 2u);
  for (size_t i = 0; i + 1 < g_notices.size(); ++i) EXPECT_EQ(g_notices[i].lParam, LPARAM(s));
  EXPECT_EQ(g_notices.back().lParam, 0);
  // Released: no more paging.
  Pump(300);
  EXPECT_EQ(SendMessageA(s, SL_GETPOS, 0, 0), reached);

  // Toward the minimum as well.
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, y));
  SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(3, y));
  EXPECT_EQ(SendMessageA(s, SL_GETPOS, 0, 0), reached - 10);
}

TEST_F(ControlsTest, DisabledSliderIgnoresKeysAndClicksAndLooksGreyed) {
  const int width = 215, middle = width / 2;
  HWND s = MiddleSlider(Make(BXUI_SLIDER_CLASS, kSliderId, width, 30));
  const Snapshot enabled(s);
  EnableWindow(s, FALSE);
  SendMessageA(s, WM_KEYDOWN, VK_RIGHT, 1);
  SendMessageA(s, WM_KEYDOWN, VK_END, 1);
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle, 15));
  SendMessageA(s, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(width, 15));
  SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(width, 15));
  SendMessageA(s, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(width - 3, 15));
  SendMessageA(s, WM_LBUTTONUP, 0, MAKELPARAM(width - 3, 15));
  EXPECT_EQ(SendMessageA(s, SL_GETPOS, 0, 0), 50);
  EXPECT_TRUE(g_notices.empty());
  EXPECT_EQ(GetCapture(), nullptr);
  const Snapshot disabled(s);
  EXPECT_FALSE(disabled.SameAs(enabled));
  // The program still moves it.
  SendMessageA(s, SL_SETPOS, 80, 1);
  EXPECT_EQ(SendMessageA(s, SL_GETPOS, 0, 0), 80);
}

TEST_F(ControlsTest, SliderPaintFollowsThePosition) {
  HWND s = Make(BXUI_SLIDER_CLASS, kSliderId, 215, 30, BXSL_TICKS);
  SendMessageA(s, SL_SETRANGE, 0, MAKELPARAM(0, 100));
  const Snapshot atZero(s);
  SendMessageA(s, SL_SETPOS, 100, 1);
  const Snapshot atEnd(s);
  EXPECT_FALSE(atZero.SameAs(atEnd));
  SendMessageA(s, SL_SETPOS, 0, 1);
  EXPECT_TRUE(Snapshot(s).SameAs(atZero));
  // Vertical sliders answer the same messages.
  HWND v = Make(BXUI_SLIDER_CLASS, kSliderId + 1, 30, 150, BXSL_VERTICAL);
  SendMessageA(v, SL_SETRANGE, 0, MAKELPARAM(0, 10));
  SendMessageA(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 145));  // near the bottom: maximum
  SendMessageA(v, WM_LBUTTONUP, 0, MAKELPARAM(15, 145));
  EXPECT_EQ(SendMessageA(v, SL_GETPOS, 0, 0), 1);
}

// ---- progress bar ----------------------------------------------------------

TEST_F(ControlsTest, ProgressClampsAndRepaintsOnlyOnChange) {
  HWND p = Make(BXUI_PROGRESS_CLASS, 323, 200, 18, BXPB_SMOOTH);
  struct Case { int set; int expected; };
  const Case cases[] = {{42, 42}, {-5, 0}, {150, 100}, {100, 100}, {0, 0}};
  int shown = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageA(p, PB_SETPERCENT, WPARAM(INT_PTR(c.set)), 0), shown) << c.set;
    shown = c.expected;
  }
  UpdateWindow(p);
  SendMessageA(p, PB_SETPERCENT, 0, 0);
  EXPECT_FALSE(GetUpdateRect(p, nullptr, FALSE));  // same value: nothing to repaint
  SendMessageA(p, PB_SETPERCENT, 50, 0);
  RECT dirty;
  ASSERT_TRUE(GetUpdateRect(p, &dirty, FALSE));
  EXPECT_LE(dirty.right, 101);  // only the part that filled in
  UpdateWindow(p);

  const Snapshot half(p);
  EXPECT_EQ(half.At(20, 9), SysColour(COLOR_HIGHLIGHT));
  EXPECT_EQ(half.At(180, 9), SysColour(COLOR_BTNFACE));
  SendMessageA(p, PB_SETPERCENT, 100, 0);
  EXPECT_EQ(Snapshot(p).At(180, 9), SysColour(COLOR_HIGHLIGHT));
}

TEST_F(ControlsTest, ProgressBlocksAndPercentText) {
  HWND blocks = Make(BXUI_PROGRESS_CLASS, 323, 200, 18);
  SendMessageA(blocks, PB_SETPERCENT, 100, 0);
  const Snapshot full(blocks);
  // Blocks leave gaps of the face colour between them.
  int gaps = 0;
  for (int x = 2; x < 190; ++x) gaps += full.At(x, 9) == SysColour(COLOR_BTNFACE);
  EXPECT_GT(gaps, 10);

  HWND text = Make(BXUI_PROGRESS_CLASS, 324, 200, 18, BXPB_SMOOTH | BXPB_PERCENT);
  const Snapshot empty(text);
  SendMessageA(text, PB_SETPERCENT, 1, 0);
  SendMessageA(text, PB_SETPERCENT, 0, 0);
  EXPECT_TRUE(Snapshot(text).SameAs(empty));
  // The middle shows text: some pixel there is neither face nor bar colour.
  int inked = 0;
  for (int x = 80; x < 120; ++x)
    for (int y = 3; y < 15; ++y) inked += empty.At(x, y) != SysColour(COLOR_BTNFACE);
  EXPECT_GT(inked, 5);
}

// ---- preview ---------------------------------------------------------------

struct DibSize {
  int width = 0, height = 0, bits = 0;
};
DibSize SizeOf(HGLOBAL dib) {
  DibSize s;
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  if (!h) return s;
  s = {h->biWidth, h->biHeight, h->biBitCount};
  GlobalUnlock(dib);
  return s;
}

bool IsFreed(HGLOBAL handle) { return GlobalSize(handle) == 0; }

HGLOBAL Solid(int width, int height, uint8_t b, uint8_t g, uint8_t r) {
  return MakeDib24(width, height, [&](int, int, uint8_t p[3]) { p[0] = b, p[1] = g, p[2] = r; });
}

TEST_F(ControlsTest, PreviewReducesKeepingAspectAndOwnsItsCopy) {
  HWND v = Make(BXUI_PREVIEW_CLASS, 316, 200, 200);
  EXPECT_EQ(SendMessageA(v, PV_GET_PICTURE, 0, 0), 0);
  HGLOBAL wide = MakeTestPicture(1000, 500);
  HGLOBAL copy = HGLOBAL(SendMessageA(v, PV_SET_PICTURE, WPARAM(wide), 0));
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, wide);
  EXPECT_EQ(HGLOBAL(SendMessageA(v, PV_GET_PICTURE, 0, 0)), copy);
  const DibSize s = SizeOf(copy);
  EXPECT_EQ(s.bits, 24);
  EXPECT_LE(s.width, 200);
  EXPECT_LE(s.height, 100);
  EXPECT_GE(s.width, 190);  // as large as fits
  EXPECT_NEAR(double(s.width) / s.height, 2.0, 0.03);
  EXPECT_EQ(SizeOf(wide).width, 1000);  // the caller's picture is untouched

  // A new picture frees the old copy; so does clearing.
  HGLOBAL small = Solid(50, 30, 1, 2, 3);
  HGLOBAL second = HGLOBAL(SendMessageA(v, PV_SET_PICTURE, WPARAM(small), 0));
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(IsFreed(copy));
  const DibSize smallSize = SizeOf(second);
  EXPECT_EQ(smallSize.width, 50);  // small pictures are not enlarged
  EXPECT_EQ(smallSize.height, 30);
  uint8_t bgr[3];
  DibPixel(second, 49, 29, bgr);
  EXPECT_EQ(bgr[0] + bgr[1] * 10 + bgr[2] * 100, 321);

  // The control's own copy may be handed back to it.
  HGLOBAL third = HGLOBAL(SendMessageA(v, PV_SET_PICTURE, WPARAM(second), 0));
  ASSERT_NE(third, nullptr);
  EXPECT_TRUE(IsFreed(second));
  EXPECT_EQ(SizeOf(third).width, 50);

  EXPECT_EQ(SendMessageA(v, PV_SET_PICTURE, 0, 0), 0);
  EXPECT_EQ(SendMessageA(v, PV_GET_PICTURE, 0, 0), 0);
  EXPECT_TRUE(IsFreed(third));

  // Destroying the control frees what it holds.
  HGLOBAL last = HGLOBAL(SendMessageA(v, PV_SET_PICTURE, WPARAM(small), 0));
  ASSERT_NE(last, nullptr);
  DestroyWindow(v);
  EXPECT_TRUE(IsFreed(last));
  GlobalFree(wide);
  GlobalFree(small);
}

TEST_F(ControlsTest, PreviewAcceptsIndexedPicturesAndRefusesBrokenOnes) {
  HWND v = Make(BXUI_PREVIEW_CLASS, 316, 100, 100);
  // 8-bit, 4 x 2, every pixel colour index 1 = (10, 20, 30).
  const int stride = 4;
  HGLOBAL indexed = GlobalAlloc(GHND, 40 + 256 * 4 + stride * 2);
  auto* base = static_cast<uint8_t*>(GlobalLock(indexed));
  BITMAPINFOHEADER h = {};
  h.biSize = sizeof h, h.biWidth = 4, h.biHeight = 2, h.biPlanes = 1, h.biBitCount = 8;
  std::memcpy(base, &h, sizeof h);
  base[40 + 4] = 30, base[40 + 5] = 20, base[40 + 6] = 10;
  std::memset(base + 40 + 1024, 1, stride * 2);
  GlobalUnlock(indexed);
  HGLOBAL copy = HGLOBAL(SendMessageA(v, PV_SET_PICTURE, WPARAM(indexed), 0));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(SizeOf(copy).bits, 24);
  uint8_t bgr[3];
  DibPixel(copy, 3, 1, bgr);
  EXPECT_EQ(bgr[0], 30);
  EXPECT_EQ(bgr[1], 20);
  EXPECT_EQ(bgr[2], 10);

  // A header that claims more rows than the block holds is refused, and the
  // control then shows nothing rather than the old picture.
  base = static_cast<uint8_t*>(GlobalLock(indexed));
  reinterpret_cast<BITMAPINFOHEADER*>(base)->biHeight = 100000;
  GlobalUnlock(indexed);
  EXPECT_EQ(SendMessageA(v, PV_SET_PICTURE, WPARAM(indexed), 0), 0);
  EXPECT_EQ(SendMessageA(v, PV_GET_PICTURE, 0, 0), 0);
  EXPECT_TRUE(IsFreed(copy));
  HGLOBAL tiny = GlobalAlloc(GHND, 8);
  EXPECT_EQ(SendMessageA(v, PV_SET_PICTURE, WPARAM(tiny), 0), 0);
  GlobalFree(tiny);
  GlobalFree(indexed);
}

TEST_F(ControlsTest, PreviewPaintsTheCopysCurrentPixels) {
  HWND v = Make(BXUI_PREVIEW_CLASS, 316, 200, 200);
  SetWindowPos(parent_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  HGLOBAL picture = Solid(400, 200, 0, 0, 255);  // red
  HGLOBAL copy = HGLOBAL(SendMessageA(v, PV_SET_PICTURE, WPARAM(picture), 0));
  ASSERT_NE(copy, nullptr);
  UpdateWindow(v);
  const Snapshot before(v);
  EXPECT_EQ(before.At(100, 100), RGB(255, 0, 0));  // centre: the picture
  EXPECT_EQ(before.At(100, 20), SysColour(COLOR_BTNFACE));  // above it: background

  // Write green into the copy as a plug-in's preview pass does.
  const DibSize s = SizeOf(copy);
  auto* base = static_cast<uint8_t*>(GlobalLock(copy));
  const int stride = ((s.width * 24 + 31) / 32) * 4;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      uint8_t* p = base + 40 + y * stride + x * 3;
      p[0] = 0, p[1] = 255, p[2] = 0;
    }
  GlobalUnlock(copy);
  InvalidateRect(v, nullptr, FALSE);
  UpdateWindow(v);
  EXPECT_EQ(Snapshot(v).At(100, 100), RGB(0, 255, 0));
  HDC screen = GetDC(v);
  EXPECT_EQ(GetPixel(screen, 100, 100), RGB(0, 255, 0));  // on the display too
  ReleaseDC(v, screen);

  // Disabled, it still shows the picture.
  EnableWindow(v, FALSE);
  InvalidateRect(v, nullptr, FALSE);
  UpdateWindow(v);
  EXPECT_EQ(Snapshot(v).At(100, 100), RGB(0, 255, 0));
  GlobalFree(picture);
}

}  // namespace
