// The two picture puzzles played through the view's forwarded mouse events
// (message 5120) on pictures of solid-coloured cells: the board replaces
// the picture at once, the first move locks the size controls, a solved
// board hides the dialog behind a message box, and OK keeps the solved
// board exactly as the scaled picture cut into pieces; a size change deals
// a board of sides rounded up to multiples of N, Play deals a new one and
// unlocks the controls, Cancel gives the picture back exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "contracts/ui_controls.h"
#include "message_box_watcher.h"
#include "tests/win/qlo12/animation_steps.h"
#include "tests/win/qlo15/puzzle_player.h"

namespace quillo::test {
namespace {

constexpr int kSideSlider = 501, kSideLabel = 701, kSideCaption = 1501;

bool Enabled(EffectRun& run, int id) { return run.Item(id) && IsWindowEnabled(run.Item(id)); }
bool SizeControlsEnabled(EffectRun& run) {
  return Enabled(run, kSideCaption) && Enabled(run, kSideSlider) && Enabled(run, kSideLabel);
}
bool SizeControlsDisabled(EffectRun& run) {
  return !Enabled(run, kSideCaption) && !Enabled(run, kSideSlider) && !Enabled(run, kSideLabel);
}

// The press a click on cell (col, row) of a board of `cell` x `cell`
// pixels forwards, at the cell's centre.
void PostToCell(EffectRun& run, int code, int col, int row, int cellWidth, int cellHeight) {
  PostMessageA(run.dialog, TOOL_MOUSE_MESSAGE, WPARAM(code),
               MAKELPARAM(col * cellWidth + cellWidth / 2, row * cellHeight + cellHeight / 2));
}

// The solved message box, its text, and whether the dialog was hidden
// meanwhile; the box is closed with its button.
struct SolvedBox {
  bool seen = false, dialogHidden = false;
  std::string text;
};
ScriptedUser& AnswerSolvedBox(ScriptedUser& user, EffectRun& run, SolvedBox& box) {
  return user.Then([&run, &box] {
    HWND found = FindWindowA("#32770", "OK");
    if (!found || !IsWindowVisible(found)) return false;
    box.seen = true;
    box.dialogHidden = !IsWindowVisible(run.dialog);
    char text[512] = {};
    GetDlgItemTextA(found, 0xFFFF, text, sizeof text);
    box.text = text;
    PostMessageA(found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
  });
}

// The scaled copy the puzzle cuts its pieces from, as the library makes it.
std::vector<uint8_t> ScaledPixels(HGLOBAL original, int width, int height) {
  HGLOBAL scaled = ZoomDIBEx(original, width, height);
  std::vector<uint8_t> pixels = scaled ? DibPixels(scaled) : std::vector<uint8_t>();
  if (scaled) DestroyDIB(scaled);
  return pixels;
}

std::string SolvedText(const PluginModule& plugin) {
  char text[512] = {};
  LoadStringA(plugin.Export<GetResInstFunction>("GetResInst")(), 3000, text, sizeof text);
  return text;
}

TEST(Qlo15Puzzle, SlidingPuzzlePlayedToTheEndShowsTheMessageAndOkKeepsTheSolvedBoard) {
  PluginModule plugin("Qlo15.PL1");
  constexpr int n = 3, w = 96, h = 72, cw = w / n, ch = h / n;
  EffectRun run;
  run.image = MakeCellPicture(w, h, n);
  HGLOBAL original = MakeCellPicture(w, h, n);
  HGLOBAL passedIn = run.image;
  std::vector<int> start;
  std::vector<std::pair<int, int>> clicks;
  SolvedBox box;
  bool lockedAfterFirstMove = false, playEnabledWhileLocked = false, unlockedWhenSolved = false;
  std::vector<int> solvedBoard;
  run.Run(plugin.Effect("ProcessPuzzle"), [&](ScriptedUser& user, EffectRun& r) {
    user.Then([&] {
      if (!r.dialog) return false;
      // A board from the shuffle (rarely an already solved one: deal again).
      start = ReadBoard(r.image, n, w, h);
      clicks = SolveSliding(start, n);
      if (clicks.empty()) PostMessageA(r.dialog, WM_COMMAND, IDC_EFFECT_APPLY, 0);
      return !clicks.empty();
    });
    user.Then([&] {
      // Clicks off the board or off the empty cell's lines change nothing.
      int e = 0;
      while (start[size_t(e)] != n * n) ++e;
      PostToCell(r, TOOL_LBUTTON_DOWN, (e % n + 1) % n, (e / n + 1) % n, cw, ch);
      PostMessageA(r.dialog, TOOL_MOUSE_MESSAGE, TOOL_LBUTTON_DOWN, MAKELPARAM(w + 3, 5));
      PostToCell(r, TOOL_LBUTTON_DOWN, e % n, e / n, cw, ch);
      return true;
    });
    user.Then([&] {
      EXPECT_EQ(ReadBoard(r.image, n, w, h), start);
      EXPECT_TRUE(SizeControlsEnabled(r));
      PostToCell(r, TOOL_LBUTTON_DOWN, clicks[0].first, clicks[0].second, cw, ch);
      return true;
    });
    user.Then([&] {
      lockedAfterFirstMove = SizeControlsDisabled(r);
      playEnabledWhileLocked = Enabled(r, IDC_EFFECT_APPLY);
      for (size_t k = 1; k < clicks.size(); ++k)
        PostToCell(r, TOOL_LBUTTON_DOWN, clicks[k].first, clicks[k].second, cw, ch);
      return true;
    });
    AnswerSolvedBox(user, r, box);
    user.Then([&] {
      if (!IsWindowVisible(r.dialog)) return false;
      unlockedWhenSolved = SizeControlsEnabled(r);
      solvedBoard = ReadBoard(r.image, n, w, h);
      return true;
    });
    user.Command(&r.dialog, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  std::vector<int> goal(n * n);
  for (int i = 0; i < n * n; ++i) goal[size_t(i)] = i + 1;
  EXPECT_NE(start, goal);
  EXPECT_TRUE(lockedAfterFirstMove);
  EXPECT_TRUE(playEnabledWhileLocked);
  ASSERT_TRUE(box.seen) << "the solved board showed its message";
  EXPECT_TRUE(box.dialogHidden);
  EXPECT_EQ(box.text, SolvedText(plugin));
  EXPECT_TRUE(unlockedWhenSolved);
  EXPECT_EQ(solvedBoard, goal);
  // OK keeps the board: the scaled picture with the empty cell black.
  EXPECT_NE(run.image, passedIn);
  ASSERT_EQ(PictureWidth(run.image), w);
  ASSERT_EQ(PictureHeight(run.image), h);
  std::vector<uint8_t> expect = ScaledPixels(original, w, h);
  const int64_t stride = (w * 24 + 31) / 32 * 4;
  for (int y = 0; y < ch; ++y) std::memset(expect.data() + y * stride + (w - cw) * 3, 0, size_t(cw) * 3);
  EXPECT_EQ(DibPixels(run.image), expect);
  EXPECT_GT(run.host.Count(2066), 0) << "the view shows the puzzle's cursor";
  GlobalFree(original);
  GlobalFree(run.image);
}

TEST(Qlo15Puzzle, SwapPuzzleDraggedToTheEndOutlinesThroughTheViewAndOkKeepsTheSolvedBoard) {
  PluginModule plugin("Qlo15.PL1");
  constexpr int n = 5, w = 100, h = 80, cw = w / n, ch = h / n;
  EffectRun run;
  run.image = MakeCellPicture(w, h, n);
  HGLOBAL original = MakeCellPicture(w, h, n);
  std::vector<int> start;
  std::vector<std::pair<int, int>> swaps;
  SolvedBox box;
  bool lockedAfterFirstSwap = false;
  run.Run(plugin.Effect("ProcessPuzzle1"), [&](ScriptedUser& user, EffectRun& r) {
    user.Then([&] {
      if (!r.dialog) return false;
      start = ReadBoard(r.image, n, w, h);
      swaps = SolveSwaps(start);
      if (swaps.empty()) PostMessageA(r.dialog, WM_COMMAND, IDC_EFFECT_APPLY, 0);
      return !swaps.empty();
    });
    user.Then([&] {
      // Released on the picked piece (a beep), or off the board: no swap.
      const auto [a, b] = swaps[0];
      PostToCell(r, TOOL_LBUTTON_DOWN, a % n, a / n, cw, ch);
      PostToCell(r, TOOL_MOUSE_MOVE, b % n, b / n, cw, ch);
      PostToCell(r, TOOL_LBUTTON_UP, a % n, a / n, cw, ch);
      PostToCell(r, TOOL_LBUTTON_DOWN, a % n, a / n, cw, ch);
      PostToCell(r, TOOL_MOUSE_MOVE, b % n, b / n, cw, ch);
      PostMessageA(r.dialog, TOOL_MOUSE_MESSAGE, TOOL_LBUTTON_UP, MAKELPARAM(-4, 10));
      // A release without a press first does nothing either.
      PostToCell(r, TOOL_LBUTTON_UP, b % n, b / n, cw, ch);
      return true;
    });
    user.Then([&] {
      EXPECT_EQ(ReadBoard(r.image, n, w, h), start);
      EXPECT_TRUE(SizeControlsEnabled(r));
      return true;
    });
    // Each swap dragged over a neighbour of the picked piece on the way.
    auto drag = [&](std::pair<int, int> swap) {
      const auto [a, b] = swap;
      PostToCell(r, TOOL_LBUTTON_DOWN, a % n, a / n, cw, ch);
      PostToCell(r, TOOL_MOUSE_MOVE, (a + 1) % n, a / n, cw, ch);
      PostToCell(r, TOOL_MOUSE_MOVE, b % n, b / n, cw, ch);
      PostToCell(r, TOOL_LBUTTON_UP, b % n, b / n, cw, ch);
    };
    user.Then([&, drag] {
      drag(swaps[0]);
      return true;
    });
    user.Then([&, drag] {
      // The first swap locks the size (unless it solved the board at once).
      lockedAfterFirstSwap = swaps.size() == 1 || SizeControlsDisabled(r);
      for (size_t k = 1; k < swaps.size(); ++k) drag(swaps[k]);
      return true;
    });
    AnswerSolvedBox(user, r, box);
    user.Then([&] { return IsWindowVisible(r.dialog) && SizeControlsEnabled(r); });
    user.Command(&r.dialog, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_TRUE(lockedAfterFirstSwap);
  ASSERT_TRUE(box.seen);
  EXPECT_TRUE(box.dialogHidden);
  EXPECT_EQ(box.text, SolvedText(plugin));
  EXPECT_EQ(DibPixels(run.image), ScaledPixels(original, w, h)) << "every piece back in its place";
  // The markers: the view was given the dialog and a paint hook, and both
  // were taken back at the end.
  HWND dialogSeen = nullptr;
  int hooksSet = 0, hooksCleared = 0;
  for (const auto& m : run.host.messages()) {
    if (m.message == 2127 && m.lParam) dialogSeen = HWND(m.lParam);
    if (m.message == 2056) ++(m.lParam ? hooksSet : hooksCleared);
  }
  EXPECT_NE(dialogSeen, nullptr);
  EXPECT_EQ(hooksSet, 1);
  EXPECT_EQ(hooksCleared, 1);
  ASSERT_FALSE(run.host.messages().empty());
  EXPECT_EQ(run.host.messages().back().message, 2054u) << "the view re-reads the size at the end";
  GlobalFree(original);
  GlobalFree(run.image);
}

// A 7 x 5 picture (N = 3 gives 9 x 6, N = 2 gives 8 x 6) and a 1 x 1 one.
TEST(Qlo15Puzzle, SizeChangesDealBoardsRoundedUpPlayUnlocksAndCancelGivesThePictureBack) {
  PluginModule plugin("Qlo15.PL1");
  MessageBoxWatcher watcher;  // a few clicks on a small board may solve it
  struct Case {
    const char* function;
    int w, h, startW, startH, side, sideW, sideH;
  };
  for (const Case& c : {Case{"ProcessPuzzle", 7, 5, 9, 6, 2, 8, 6}, Case{"ProcessPuzzle1", 1, 1, 5, 5, 20, 20, 20}}) {
    SCOPED_TRACE(c.function);
    EffectRun run;
    run.image = MakeTestPicture(c.w, c.h);
    const std::vector<uint8_t> original = DibPixels(run.image);
    int startW = 0, startH = 0, sideW = 0, sideH = 0, lockedW = 0;
    bool locked = false, unlocked = false;
    std::string label, labelWhileLocked;
    run.Run(plugin.Effect(c.function), [&](ScriptedUser& user, EffectRun& r) {
      user.Then([&] {
        if (!r.dialog) return false;
        startW = PictureWidth(r.image);
        startH = PictureHeight(r.image);
        return true;
      });
      MoveSlider(user, r, kSideSlider, c.side);
      user.Then([&] {
        sideW = PictureWidth(r.image);
        sideH = PictureHeight(r.image);
        label = ItemText(r, kSideLabel);
        return true;
      });
      user.Then([&] {
        if (SizeControlsDisabled(r)) return locked = true;
        // Presses on the four top left cells, each dragged to the next:
        // some piece moves. One that happens to solve the board opens the
        // controls again, and a new game is dealt.
        if (FindWindowA("#32770", "OK")) return false;
        if (SizeControlsEnabled(r)) PostMessageA(r.dialog, WM_COMMAND, IDC_EFFECT_APPLY, 0);
        const int cw = sideW / c.side, ch = sideH / c.side;
        for (int k = 0; k < 4; ++k) {
          const int x = (k % 2) * cw, y = (k / 2) * ch, nx = ((k + 1) % 2) * cw;
          PostMessageA(r.dialog, TOOL_MOUSE_MESSAGE, TOOL_LBUTTON_DOWN, MAKELPARAM(x, y));
          PostMessageA(r.dialog, TOOL_MOUSE_MESSAGE, TOOL_MOUSE_MOVE, MAKELPARAM(nx, y));
          PostMessageA(r.dialog, TOOL_MOUSE_MESSAGE, TOOL_LBUTTON_UP, MAKELPARAM(nx, y));
        }
        return false;
      });
      // A size change arriving while locked is turned back.
      MoveSlider(user, r, kSideSlider, 3);
      user.Then([&] {
        lockedW = PictureWidth(r.image);
        labelWhileLocked = ItemText(r, kSideLabel);
        return true;
      });
      Press(user, r, IDC_EFFECT_APPLY);
      user.Then([&] {
        unlocked = SizeControlsEnabled(r);
        return true;
      });
      Press(user, r, IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(startW, c.startW);
    EXPECT_EQ(startH, c.startH);
    EXPECT_EQ(sideW, c.sideW);
    EXPECT_EQ(sideH, c.sideH);
    EXPECT_EQ(label, std::to_string(c.side));
    EXPECT_TRUE(locked);
    EXPECT_EQ(lockedW, c.sideW);
    EXPECT_EQ(labelWhileLocked, std::to_string(c.side));
    EXPECT_TRUE(unlocked) << "Play deals a new game and unlocks the size";
    ASSERT_EQ(PictureWidth(run.image), c.w);
    ASSERT_EQ(PictureHeight(run.image), c.h);
    EXPECT_EQ(DibPixels(run.image), original) << "Cancel gives the picture back exactly";
    GlobalFree(run.image);
  }
}

}  // namespace
}  // namespace quillo::test
