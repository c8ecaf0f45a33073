// Both picture puzzles played to the end in the studio, as a user would:
// chosen in the effect browser over a picture of solid-coloured cells,
// played with the mouse on the document's view (which forwards the events
// to the puzzle), the swap puzzle's markers seen on the screen while a
// piece is dragged, the solved message, and OK keeping the solved picture
// as one undo step.
#include <cstring>
#include <string>
#include <vector>

#include "app/host/win/effect_browser.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/open_image.h"
#include "browser_fixture.h"
#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/plugin_contract.h"
#include "screenshot.h"
#include "tests/win/qlo15/puzzle_player.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

// The picture as a .bmp file in the temporary folder.
std::string WriteBitmapFile(HGLOBAL dib, const char* name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + name;
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  const size_t bytes = header->biSize + size_t(Stride24(header->biWidth)) * size_t(header->biHeight);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfSize = DWORD(sizeof file + bytes);
  file.bfOffBits = DWORD(sizeof file + header->biSize);
  std::vector<uint8_t> out(sizeof file + bytes);
  std::memcpy(out.data(), &file, sizeof file);
  std::memcpy(out.data() + sizeof file, header, bytes);
  GlobalUnlock(dib);
  WriteFileBytes(path, out);
  return path;
}

// The view's client point of picture point (x, y).
LPARAM ClientPoint(HWND view, int x, int y) {
  POINT p = {x, y};
  const auto* client = reinterpret_cast<const POINT*>(SendMessageA(view, 2070, 0, LPARAM(&p)));
  return client ? MAKELPARAM(client->x, client->y) : MAKELPARAM(x, y);
}

// Posts a mouse event over the centre of cell (col, row) of the view.
void MouseOnCell(HWND view, UINT message, int col, int row, int cellWidth, int cellHeight) {
  PostMessageA(view, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
               ClientPoint(view, col * cellWidth + cellWidth / 2, row * cellHeight + cellHeight / 2));
}

// What the screen shows of the view's client area.
HGLOBAL ShotOf(HWND view) {
  RECT r;
  GetClientRect(view, &r);
  MapWindowPoints(view, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return CaptureScreenArea(r);
}

bool SamePixel(HGLOBAL a, HGLOBAL b, int x, int y) {
  uint8_t p[3], q[3];
  DibPixel(a, x, y, p);
  DibPixel(b, x, y, q);
  return std::memcmp(p, q, 3) == 0;
}

class PuzzlePlayTest : public BrowserTest {
 protected:
  // Opens the picture, chooses `function` in the browser and runs it;
  // `play` queues the user's moves.
  HWND OpenAndChoose(const char* function, int n, int width, int height);
  void Run(const std::function<void(ScriptedUser&)>& play);
  static bool DialogShown() { return g_app.effectDialog && IsWindowVisible(g_app.effectDialog); }
  int row_ = -1;
};

HWND PuzzlePlayTest::OpenAndChoose(const char* function, int n, int width, int height) {
  WriteCatalogue(ModuleRecords("Qlo15.PL1"));
  ShowWindow(g_app.frame, SW_SHOWNORMAL);
  MoveWindow(g_app.frame, 0, 0, 1000, 720, TRUE);
  // The real pointer well away from the picture: only the posted events
  // move over it.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
  HGLOBAL cells = MakeCellPicture(width, height, n);
  const std::string path = WriteBitmapFile(cells, "quillo_puzzle_cells.bmp");
  GlobalFree(cells);
  HWND document = OpenImageFile(g_app.frame, path.c_str());
  DeleteFileA(path.c_str());
  if (!document) return nullptr;
  SendMessageA(g_app.mdiClient, WM_MDIMAXIMIZE, WPARAM(document), 0);
  Pump();
  Command(CMD_BROWSER_1);
  if (!Dialog()) return nullptr;
  row_ = -1;
  for (int f = 0, families = Count(FamilyList()); f < families && row_ < 0; ++f) {
    if (FamilyAt(FamilyList(), f)->kind != 32) continue;
    Select(FamilyList(), f);
    for (int i = 0, count = Count(EffectList()); i < count; ++i)
      if (FunctionName(*EffectAt(EffectList(), i)) == function) row_ = i;
  }
  if (row_ < 0) return nullptr;
  Select(EffectList(), row_);
  return document;
}

void PuzzlePlayTest::Run(const std::function<void(ScriptedUser&)>& play) {
  ScriptedUser user;
  play(user);
  SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(kBrowserEffectList, LBN_DBLCLK), LPARAM(EffectList()));
  EXPECT_TRUE(user.finished());
}

// Waits for the solved message, notes that the dialog is hidden meanwhile
// and closes it; then waits for the dialog to come back.
ScriptedUser& AnswerSolved(ScriptedUser& user, bool& seen, bool& hidden) {
  user.Then([&seen, &hidden] {
    HWND box = FindWindowA("#32770", "OK");
    if (!box || !IsWindowVisible(box)) return false;
    seen = true;
    hidden = !IsWindowVisible(g_app.effectDialog);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
  });
  return user.Then([] { return g_app.effectDialog && IsWindowVisible(g_app.effectDialog); });
}

std::vector<int> Goal(int n) {
  std::vector<int> goal(size_t(n) * n);
  for (int i = 0; i < n * n; ++i) goal[size_t(i)] = i + 1;
  return goal;
}

TEST_F(PuzzlePlayTest, SlidingPuzzleIsSolvedWithClicksOnTheViewAndOkKeepsTheSolvedPicture) {
  constexpr int n = 3, w = 240, h = 180, cw = w / n, ch = h / n;
  HWND document = OpenAndChoose("ProcessPuzzle", n, w, h);
  ASSERT_NE(document, nullptr);
  HWND view = ViewOf(document);
  std::vector<int> start, solved;
  std::vector<uint8_t> solvedPixels;
  bool seen = false, hidden = false;
  Run([&](ScriptedUser& user) {
    user.Then([&] {
      if (!DialogShown()) return false;
      start = ReadBoard(CurrentImage(document), n, w, h);
      const auto clicks = SolveSliding(start, n);
      if (clicks.empty()) {
        PostMessageA(g_app.effectDialog, WM_COMMAND, IDC_EFFECT_APPLY, 0);
        return false;
      }
      for (const auto& [col, row] : clicks) {
        MouseOnCell(view, WM_LBUTTONDOWN, col, row, cw, ch);
        MouseOnCell(view, WM_LBUTTONUP, col, row, cw, ch);
      }
      return true;
    });
    AnswerSolved(user, seen, hidden);
    user.Then([&] {
      solved = ReadBoard(CurrentImage(document), n, w, h);
      solvedPixels = DibPixels(CurrentImage(document));
      PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return true;
    });
  });
  EXPECT_NE(start, Goal(n));
  EXPECT_TRUE(seen) << "the solved message was shown";
  EXPECT_TRUE(hidden);
  EXPECT_EQ(solved, Goal(n));
  ASSERT_TRUE(HasUndoStep(document));
  EXPECT_EQ(DibPixels(CurrentImage(document)), solvedPixels) << "OK keeps the solved picture";
  uint8_t corner[3];
  DibPixel(CurrentImage(document), w - cw / 2, h - ch / 2, corner);
  EXPECT_EQ(corner[0] + corner[1] + corner[2], 0) << "the empty cell stays black";
}

TEST_F(PuzzlePlayTest, SwapPuzzleOutlinesTheDraggedPiecesOnScreenAndIsSolvedByDragging) {
  constexpr int n = 5, w = 250, h = 200, cw = w / n, ch = h / n;
  HWND document = OpenAndChoose("ProcessPuzzle1", n, w, h);
  ASSERT_NE(document, nullptr);
  HWND view = ViewOf(document);
  std::vector<int> start, solved;
  std::vector<uint8_t> solvedPixels;
  std::vector<std::pair<int, int>> swaps;
  HGLOBAL before = nullptr, dragging = nullptr, after = nullptr;
  bool seen = false, hidden = false;
  POINT picked = {}, target = {};  // client top left corners of the two cells
  Run([&](ScriptedUser& user) {
    user.Then([&] {
      if (!DialogShown()) return false;
      // The dialog well away from the picture the screen shots look at.
      SetWindowPos(g_app.effectDialog, nullptr, 600, 450, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      start = ReadBoard(CurrentImage(document), n, w, h);
      swaps = SolveSwaps(start);
      if (swaps.empty()) PostMessageA(g_app.effectDialog, WM_COMMAND, IDC_EFFECT_APPLY, 0);
      return !swaps.empty();
    });
    user.WaitTicks(3).Then([&] {
      before = ShotOf(view);
      // Cell 6 picked, dragged over cell 18.
      MouseOnCell(view, WM_LBUTTONDOWN, 1, 1, cw, ch);
      MouseOnCell(view, WM_MOUSEMOVE, 3, 3, cw, ch);
      const LPARAM a = ClientPoint(view, cw, ch), b = ClientPoint(view, 3 * cw, 3 * ch);
      picked = {short(LOWORD(a)), short(HIWORD(a))};
      target = {short(LOWORD(b)), short(HIWORD(b))};
      return true;
    });
    user.WaitTicks(3).Then([&] {
      dragging = ShotOf(view);
      // QUILLO_SHOWCASE_PUZZLE names a file for a picture of the drag.
      char showcase[MAX_PATH] = {};
      if (GetEnvironmentVariableA("QUILLO_SHOWCASE_PUZZLE", showcase, sizeof showcase) > 0)
        SaveWindowShot(g_app.frame, showcase);
      // Released on the picked piece: no swap, the markers go.
      MouseOnCell(view, WM_LBUTTONUP, 1, 1, cw, ch);
      return true;
    });
    user.WaitTicks(3).Then([&] {
      after = ShotOf(view);
      for (const auto& [a, b] : swaps) {
        MouseOnCell(view, WM_LBUTTONDOWN, a % n, a / n, cw, ch);
        MouseOnCell(view, WM_MOUSEMOVE, b % n, b / n, cw, ch);
        MouseOnCell(view, WM_LBUTTONUP, b % n, b / n, cw, ch);
      }
      return true;
    });
    AnswerSolved(user, seen, hidden);
    user.Then([&] {
      solved = ReadBoard(CurrentImage(document), n, w, h);
      solvedPixels = DibPixels(CurrentImage(document));
      PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return true;
    });
  });
  ASSERT_TRUE(before && dragging && after);
  // The picked cell's edge and the target's inner edge change on screen
  // while dragging; the middle of both cells and an untouched cell do not.
  EXPECT_FALSE(SamePixel(before, dragging, picked.x + cw / 2, picked.y));
  EXPECT_FALSE(SamePixel(before, dragging, picked.x + 1, picked.y + ch / 2));
  bool targetOutlined = false;
  for (int dy = 0; dy < 2; ++dy)
    for (int dx = 1; dx <= 2; ++dx) targetOutlined |= !SamePixel(before, dragging, target.x + dx, target.y + ch / 2 + dy);
  EXPECT_TRUE(targetOutlined);
  EXPECT_TRUE(SamePixel(before, dragging, picked.x + cw / 2, picked.y + ch / 2));
  EXPECT_TRUE(SamePixel(before, dragging, target.x + cw / 2, target.y + ch / 2));
  EXPECT_TRUE(SamePixel(before, dragging, picked.x + 2 * cw + cw / 2, picked.y + 1));
  EXPECT_EQ(DibPixels(before), DibPixels(after)) << "the markers are gone after the release";
  for (HGLOBAL shot : {before, dragging, after}) DestroyDIB(shot);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(hidden);
  EXPECT_EQ(solved, Goal(n));
  ASSERT_TRUE(HasUndoStep(document));
  EXPECT_EQ(DibPixels(CurrentImage(document)), solvedPixels) << "OK keeps the solved picture";
}

}  // namespace
