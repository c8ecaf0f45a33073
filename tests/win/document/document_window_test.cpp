// Document windows as the frame uses them: creation, image, zoom, best fit,
// layout, undo history and its releases, closing while an effect runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/view_layout.h"
#include "contracts/dib_services.h"
#include "document_record.h"
#include "document_test_support.h"
#include "win_test_support.h"

namespace quillo {
namespace {

using test::Pump;

class DocumentWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_app.bestFitFlag = 0;
    g_app.activeEffect = 0;
    g_app.viewMode = 0;
    test::EnsureFrame(799, 599);
  }
  void TearDown() override {
    g_app.activeEffect = 0;
    test::CloseAllDocuments();
  }
  HWND Open(HGLOBAL image, const char* title = "picture.bmp") {
    HWND document = CreateDocumentWindow(title);
    EXPECT_NE(document, nullptr);
    Pump();
    EXPECT_TRUE(SetDocumentImage(document, image, nullptr));
    Pump();
    return document;
  }
  static float ZoomOf(HWND document) {
    float zoom = -1.0f;
    EXPECT_EQ(SendMessageA(ViewOf(document), 2058, 0, LPARAM(&zoom)), 1);
    return zoom;
  }
};

TEST_F(DocumentWindowTest, CreationSharesOneRecordAndKeepsTheTitle) {
  HWND document = CreateDocumentWindow("C:\\pictures\\a.bmp");
  ASSERT_NE(document, nullptr);
  HWND view = ViewOf(document);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(RecordOf(document), RecordOf(view));
  EXPECT_EQ(GetParent(view), document);
  EXPECT_STREQ(DocumentTitle(document), "C:\\pictures\\a.bmp");
  EXPECT_TRUE(IsZoomed(document));
  EXPECT_EQ(ActiveDocument(), document);
  // The view is one pixel larger than the document's client area.
  RECT doc, viewRect;
  GetClientRect(document, &doc);
  GetWindowRect(view, &viewRect);
  EXPECT_EQ(viewRect.right - viewRect.left, doc.right + 1);
  EXPECT_EQ(viewRect.bottom - viewRect.top, doc.bottom + 1);
  // Without an image the queries answer 0 and nothing is held.
  EXPECT_EQ(SendMessageA(document, 2096, 0, 0), 0);
  EXPECT_EQ(RecordOf(GetDesktopWindow()), nullptr);
  EXPECT_EQ(SendMessageA(view, 2067, 0, 0), 0);  // null address
}

TEST_F(DocumentWindowTest, ImageIsAnsweredByDocumentAndView) {
  HGLOBAL image = test::MakeTestPicture(64, 48);
  HWND document = Open(image);
  EXPECT_EQ(HGLOBAL(SendMessageA(document, 2096, 0, 0)), image);
  EXPECT_EQ(HGLOBAL(SendMessageA(ViewOf(document), 2096, 0, 0)), image);
  EXPECT_EQ(CurrentImage(document), image);
  const UndoSlot* slot = CurrentSlot(document);
  EXPECT_EQ(slot->width, 64);
  EXPECT_EQ(slot->height, 48);
  EXPECT_EQ(slot->colours, 0);
  EXPECT_EQ(FindDocumentHolding(image), document);
  EXPECT_EQ(reinterpret_cast<const UndoSlot*>(SendMessageA(ViewOf(document), 2103, 0, 0)), slot);
}

TEST_F(DocumentWindowTest, UnreadableImageIsRefusedAndFreed) {
  HWND document = CreateDocumentWindow("bad");
  HGLOBAL junk = GlobalAlloc(GHND, 16);  // too small for a header
  EXPECT_FALSE(SetDocumentImage(document, junk, nullptr));
  EXPECT_EQ(CurrentImage(document), nullptr);
  EXPECT_FALSE(SetDocumentImage(nullptr, nullptr, nullptr));
}

TEST_F(DocumentWindowTest, ZoomLadderStopsAtBothEnds) {
  HWND document = Open(test::MakeTestPicture(40, 30));
  for (int i = 0; i < 20; ++i) ZoomDocument(document, +1);
  EXPECT_FLOAT_EQ(ZoomOf(document), 12.0f);
  ZoomDocument(document, +1);
  EXPECT_FLOAT_EQ(ZoomOf(document), 12.0f);
  ZoomDocument(document, -1);
  EXPECT_FLOAT_EQ(ZoomOf(document), 10.0f);
  for (int i = 0; i < 30; ++i) ZoomDocument(document, -1);
  EXPECT_FLOAT_EQ(ZoomOf(document), 1.0f / 12.0f);
  ZoomDocument(document, -1);
  EXPECT_FLOAT_EQ(ZoomOf(document), 1.0f / 12.0f);
  ZoomDocument(document, 0);
  EXPECT_FLOAT_EQ(ZoomOf(document), 1.0f);
  EXPECT_EQ(SendMessageA(ViewOf(document), 2058, 0, 0), 0);
}

TEST_F(DocumentWindowTest, BestFitOpensWideImageAtOneThird) {
  g_app.bestFitFlag = 1;
  HWND document = Open(CreateDIB(2000, 1000, 24));
  RECT client;
  GetClientRect(ViewOf(document), &client);
  ASSERT_GE(client.right, 666);
  ASSERT_LT(client.right, 1000);
  EXPECT_FLOAT_EQ(ZoomOf(document), 1.0f / 3.0f);
  EXPECT_FLOAT_EQ(DocumentZoom(document), 1.0f / 3.0f);
  // With the setting off a new image keeps the zoom it had.
  g_app.bestFitFlag = 0;
  ZoomDocument(document, 0);
  ASSERT_TRUE(SetDocumentImage(document, CreateDIB(2000, 1000, 24), nullptr));
  EXPECT_FLOAT_EQ(ZoomOf(document), 1.0f);
}

TEST_F(DocumentWindowTest, LayoutSetsScrollRangesInImagePixels) {
  HWND document = Open(CreateDIB(2000, 1000, 24));
  HWND view = ViewOf(document);
  RECT client;
  GetClientRect(document, &client);
  const int vw = GetSystemMetrics(SM_CXVSCROLL);
  const int hh = GetSystemMetrics(SM_CYHSCROLL);
  int lo = -1, hi = -1;
  GetScrollRange(view, SB_HORZ, &lo, &hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 2000 - client.right + vw);
  GetScrollRange(view, SB_VERT, &lo, &hi);
  EXPECT_EQ(hi, 1000 - client.bottom + hh);

  // At 1/2 the image is 1000 x 500: only the horizontal bar remains, and the
  // range is counted in image pixels.
  ZoomDocument(document, -1);
  GetScrollRange(view, SB_HORZ, &lo, &hi);
  EXPECT_EQ(hi, (1000 - client.right) * 2);
  GetScrollRange(view, SB_VERT, &lo, &hi);
  EXPECT_EQ(hi, 0);

  // Scrolling clamps to the range; End goes to the maximum.
  SendMessageA(view, WM_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(GetScrollPos(view, SB_HORZ), (1000 - client.right) * 2);
  SendMessageA(view, WM_HSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(GetScrollPos(view, SB_HORZ), (1000 - client.right) * 2);
  SendMessageA(view, WM_HSCROLL, SB_TOP, 0);
  SendMessageA(view, WM_HSCROLL, SB_LINEDOWN, 0);
  RECT viewClient;
  GetClientRect(view, &viewClient);
  EXPECT_EQ(GetScrollPos(view, SB_HORZ), std::max(1L, viewClient.right * 2 / 8));
  // Fitting images need no bars at all.
  ZoomDocument(document, -1);
  ZoomDocument(document, -1);
  GetScrollRange(view, SB_HORZ, &lo, &hi);
  EXPECT_EQ(hi, 0);
  EXPECT_EQ(GetScrollPos(view, SB_HORZ), 0);
}

TEST_F(DocumentWindowTest, KeysScrollAndWheelPostsLineSteps) {
  HWND document = Open(CreateDIB(3000, 3000, 24));
  HWND view = ViewOf(document);
  SendMessageA(view, WM_KEYDOWN, VK_END, 0);
  int lo, hi;
  GetScrollRange(view, SB_HORZ, &lo, &hi);
  EXPECT_EQ(GetScrollPos(view, SB_HORZ), hi);
  SendMessageA(view, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(GetScrollPos(view, SB_HORZ), 0);
  SendMessageA(view, WM_KEYDOWN, VK_NEXT, 0);
  const int page = GetScrollPos(view, SB_VERT);
  EXPECT_GT(page, 0);
  SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-120)), 0);
  Pump();
  EXPECT_EQ(GetScrollPos(view, SB_VERT), page + std::max(1, page / 8));
  SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, WORD(-120)), 0);
  Pump();
  RECT client;
  GetClientRect(view, &client);
  EXPECT_EQ(GetScrollPos(view, SB_HORZ), std::max(1L, client.right / 8));
  // Keys waiting behind a handled one are dropped, so repeats do not pile up.
  PostMessageA(view, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(view, WM_KEYDOWN, VK_UP, 0);
  MSG pending;
  EXPECT_FALSE(PeekMessageA(&pending, view, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
}

TEST_F(DocumentWindowTest, UndoHistoryKeepsLoadedImageAndFreesEachDibOnce) {
  HGLOBAL images[7];
  for (HGLOBAL& image : images) image = CreateDIB(32, 16, 24);
  test::FreedDibs().clear();
  HWND document = Open(images[0]);
  EXPECT_FALSE(HasUndoStep(document));
  for (int i = 1; i <= 6; ++i) ASSERT_TRUE(PushDocumentImage(document, images[i], nullptr));
  // The sixth step dropped the oldest edited state, never the loaded image.
  ASSERT_EQ(test::FreedDibs().size(), 1u);
  EXPECT_EQ(test::FreedDibs()[0], images[1]);
  EXPECT_EQ(CurrentImage(document), images[6]);
  for (int i = 0; i < 5; ++i) UndoDocument(document);
  EXPECT_EQ(CurrentImage(document), images[0]);
  EXPECT_FALSE(HasUndoStep(document));
  UndoDocument(document);
  EXPECT_EQ(CurrentImage(document), images[0]);
  EXPECT_EQ(test::FreedDibs().size(), 6u);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(GlobalSize(images[i]), 0u) << i;
  EXPECT_NE(GlobalSize(images[0]), 0u);

  SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
  std::vector<HGLOBAL> freed = test::FreedDibs();
  ASSERT_EQ(freed.size(), 7u);
  std::sort(freed.begin(), freed.end());
  EXPECT_EQ(std::adjacent_find(freed.begin(), freed.end()), freed.end());
  EXPECT_EQ(GlobalSize(images[0]), 0u);
}

// Records the messages the view receives while it exists.
class ViewMessageLog {
 public:
  explicit ViewMessageLog(HWND view) {
    view_ = view;
    messages().clear();
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
  }
  ~ViewMessageLog() { UnhookWindowsHookEx(hook_); }
  static std::vector<UINT>& messages() {
    static std::vector<UINT> log;
    return log;
  }
  int Count(UINT message) const { return int(std::count(messages().begin(), messages().end(), message)); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == view_) messages().push_back(call->message);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline HWND view_ = nullptr;
  HHOOK hook_ = nullptr;
};

TEST_F(DocumentWindowTest, UndoPaintsTheUncoveredAreaItselfAndRedrawsWithoutErasing) {
  HWND document = Open(test::MakeTestPicture(100, 50));
  HWND view = ViewOf(document);
  ASSERT_TRUE(PushDocumentImage(document, test::MakeTestPicture(300, 200), nullptr));
  Pump();
  UpdateWindow(view);
  ViewMessageLog log(view);
  UndoDocument(document);
  UpdateWindow(view);
  EXPECT_EQ(log.Count(2079), 1);
  EXPECT_EQ(log.Count(WM_ERASEBKGND), 0);
  EXPECT_EQ(CurrentSlot(document)->width, 100);
  // Where the bigger picture was, the window colour shows now.
  HDC dc = GetDC(view);
  EXPECT_EQ(GetPixel(dc, 150, 20), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetPixel(dc, 20, 120), GetSysColor(COLOR_WINDOW));
  ReleaseDC(view, dc);
}

TEST_F(DocumentWindowTest, AFailedPushFreesOnlyWhatNoDocumentHolds) {
  HGLOBAL image = test::MakeTestPicture(20, 10);
  LPBYTE mask = AllocAlpha(image);
  ASSERT_NE(mask, nullptr);
  HWND document = CreateDocumentWindow("held");
  ASSERT_TRUE(SetDocumentImage(document, image, mask));
  test::FreedDibs().clear();
  test::FreedMasks().clear();
  // A push that cannot happen (no document there) with handles a slot holds,
  // as the mask commands pass them: nothing of the slot may go.
  EXPECT_FALSE(PushDocumentImage(g_app.frame, image, mask));
  EXPECT_TRUE(test::FreedDibs().empty());
  EXPECT_TRUE(test::FreedMasks().empty());
  EXPECT_TRUE(IsValidDIB(image));
  // Handles of its own are still freed.
  HGLOBAL loose = test::MakeTestPicture(5, 5);
  EXPECT_FALSE(PushDocumentImage(g_app.frame, loose, nullptr));
  ASSERT_EQ(test::FreedDibs().size(), 1u);
  EXPECT_EQ(test::FreedDibs()[0], loose);
}

TEST_F(DocumentWindowTest, SharedHandlesAreFreedWithTheLastSlot) {
  HGLOBAL first = CreateDIB(20, 20, 24);
  HGLOBAL second = CreateDIB(20, 20, 24);  // identical pixels: tidying shares
  LPBYTE mask = AllocAlpha(first);
  test::FreedDibs().clear();
  test::FreedMasks().clear();
  HWND document = CreateDocumentWindow("masked");
  ASSERT_TRUE(SetDocumentImage(document, first, mask));
  ASSERT_TRUE(PushDocumentImage(document, second, nullptr));
  TidyDocumentHistory(document);
  EXPECT_EQ(CurrentImage(document), first);
  EXPECT_EQ(CurrentSlot(document)->mask, uintptr_t(mask));
  // Display copies come and go; of the two images only the duplicate went.
  const auto& freed = test::FreedDibs();
  EXPECT_NE(std::find(freed.begin(), freed.end(), second), freed.end());
  EXPECT_EQ(std::find(freed.begin(), freed.end(), first), freed.end());
  UndoDocument(document);
  EXPECT_EQ(CurrentImage(document), first);
  EXPECT_NE(GlobalSize(first), 0u);
  EXPECT_TRUE(test::FreedMasks().empty());
  SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
  EXPECT_EQ(test::FreedMasks().size(), 1u);
}

TEST_F(DocumentWindowTest, PaletteReplacementDeletesOnlyUnsharedPalettes) {
  HWND document = Open(CreateDIB(16, 16, 8));
  HWND view = ViewOf(document);
  const auto p0 = HPALETTE(CurrentSlot(document)->palette);
  ASSERT_NE(p0, nullptr);
  ASSERT_TRUE(PushDocumentImage(document, CreateDIB(16, 16, 8), nullptr));
  const auto p1 = HPALETTE(CurrentSlot(document)->palette);
  ASSERT_NE(p1, nullptr);
  SendMessageA(view, 2073, 0, 1234);
  HPALETTE p2 = CreateHalftonePalette(nullptr);
  EXPECT_EQ(SendMessageA(view, 2078, WPARAM(p2), 0), 1234);
  EXPECT_EQ(HPALETTE(CurrentSlot(document)->palette), p2);
  EXPECT_EQ(GetObjectType(p1), 0u);
  // A palette another slot still holds stays alive.
  CurrentSlot(document)->palette = uintptr_t(p0);
  DeleteObject(p2);
  HPALETTE p3 = CreateHalftonePalette(nullptr);
  SendMessageA(view, 2078, WPARAM(p3), 0);
  EXPECT_EQ(GetObjectType(p0), DWORD(OBJ_PAL));
}

TEST_F(DocumentWindowTest, ClosingIsRefusedWhileAnEffectRunsOnTheDocument) {
  HWND document = Open(test::MakeTestPicture(30, 30));
  HWND view = ViewOf(document);
  g_app.activeEffect = 1;
  SendMessageA(view, 2065, 0, 1);
  SendMessageA(document, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_TRUE(IsWindow(document));
  SendMessageA(document, 2087, 0, LPARAM(view));
  Pump();
  EXPECT_TRUE(IsWindow(document));
  // Another document may close meanwhile.
  HWND other = Open(test::MakeTestPicture(10, 10));
  SendMessageA(other, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindow(other));
  // Once the effect is over the window closes.
  SendMessageA(view, 2065, 0, 0);
  g_app.activeEffect = 0;
  SendMessageA(document, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindow(document));
}

TEST_F(DocumentWindowTest, ActivationAttachesWindowMenuAndRefreshesToolButtons) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 0x7100, "Open");
  HMENU windows = CreatePopupMenu();
  AppendMenuA(windows, MF_STRING, 0x283C, "Cascade");
  AppendMenuA(bar, MF_POPUP, UINT_PTR(file), "File");
  AppendMenuA(bar, MF_POPUP, UINT_PTR(windows), "Window");
  SetMenu(g_app.frame, bar);
  const int before = test::RefreshCount();
  HWND document = CreateDocumentWindow("listed");
  Pump();  // the posted activation message
  EXPECT_GT(test::RefreshCount(), before);
  EXPECT_EQ(ActiveDocument(), document);
  // The MDI client lists its windows in the sub-menu holding Cascade.
  EXPECT_GT(GetMenuItemCount(windows), 1);
  EXPECT_EQ(GetMenuItemCount(file), 1);
  SetMenu(g_app.frame, nullptr);
  SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
  DestroyMenu(bar);
}

TEST_F(DocumentWindowTest, AreaOutsideTheImageIsPaintedWithTheWindowColour) {
  HWND document = Open(test::MakeTestPicture(50, 40));
  HWND view = ViewOf(document);
  UpdateWindow(view);
  HDC dc = GetDC(view);
  SetPixel(dc, 300, 10, RGB(1, 2, 3));
  SetPixel(dc, 10, 300, RGB(1, 2, 3));
  EXPECT_EQ(SendMessageA(view, 2079, 0, 0), 1);
  EXPECT_EQ(GetPixel(dc, 300, 10), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetPixel(dc, 10, 300), GetSysColor(COLOR_WINDOW));
  ReleaseDC(view, dc);
}

}  // namespace
}  // namespace quillo
