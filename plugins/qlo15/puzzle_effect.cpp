// The two picture puzzles. Puzzle: a sliding-block puzzle with one empty
// cell; a click in the empty cell's row or column slides the pieces
// between toward it. Puzzle1: a swap puzzle; the user drags one piece onto
// another and the two trade places, the view outlining the picked piece
// and the one under the mouse meanwhile.
#include <windows.h>

#include "contracts/plugin_contract.h"
#include "plugins/animation/module_random.h"
#include "plugins/framework/effect_run.h"
#include "plugins/qlo15/puzzle_session.h"

namespace quillo::qlo15 {

namespace {

constexpr UINT kSetViewWord = 2127;
constexpr UINT kGetViewWord = 2128;
constexpr UINT kSetPostPaintHook = 2056;

class SlidingPuzzle : public PuzzleSession {
 public:
  const char* ViewCursorName() const override { return "Hit"; }

  void ViewMouse(int code, int x, int y) override {
    int col = 0, row = 0;
    if (code != TOOL_LBUTTON_DOWN || !PlayableCell(x, y, &col, &row)) return;
    if (SlideMove(board_, col, row)) BoardChanged();
  }

 protected:
  int DefaultSide() const override { return kSlidingDefaultSide; }
  int LargestSide() const override { return kSlidingMaxSide; }
  bool EmptyCellBlack() const override { return true; }
  void Shuffle(PuzzleBoard& board, int n) override { ShuffleSliding(board, n, animation::ModuleRandom()); }
};

class SwapPuzzle;
// The swap puzzle whose markers the view's paint hook draws. The view keeps
// the puzzle's dialog in its word 16, so the hook draws only for the run
// that set it.
SwapPuzzle* g_marked = nullptr;

class SwapPuzzle : public PuzzleSession {
 public:
  const char* ViewCursorName() const override { return "Hand"; }

  void InitControls(HWND dialog) override {
    PuzzleSession::InitControls(dialog);
    if (!viewWindow) return;
    g_marked = this;
    savedViewWord_ = LONG(SendMessageA(viewWindow, kGetViewWord, 0, 0));
    SendMessageA(viewWindow, kSetViewWord, 0, LPARAM(LONG(LONG_PTR(dialog))));
    SendMessageA(viewWindow, kSetPostPaintHook, 0, LPARAM(&PaintMarkers));
  }

  void AfterClose() override {
    if (viewWindow) {
      SendMessageA(viewWindow, kSetPostPaintHook, 0, 0);
      SendMessageA(viewWindow, kSetViewWord, 0, LPARAM(savedViewWord_));
    }
    if (g_marked == this) g_marked = nullptr;
    PuzzleSession::AfterClose();
  }

  ~SwapPuzzle() override {
    if (g_marked == this) g_marked = nullptr;
  }

  void ViewMouse(int code, int x, int y) override {
    int col = 0, row = 0;
    const bool onBoard = PlayableCell(x, y, &col, &row);
    const int cell = row * board_.n + col;
    if (code == TOOL_LBUTTON_DOWN) {
      if (!onBoard) return;
      picked_ = target_ = cell;
      dragging_ = true;
      RepaintView();
    } else if (code == TOOL_MOUSE_MOVE) {
      if (!dragging_ || !onBoard || cell == target_) return;
      target_ = cell;
      RepaintView();
    } else if (code == TOOL_LBUTTON_UP) {
      if (!dragging_) return;
      dragging_ = false;
      RepaintView();
      if (!onBoard) return;
      if (cell == picked_) {
        MessageBeep(0);
        return;
      }
      SwapCells(board_, picked_, cell);
      BoardChanged();
    }
  }

 protected:
  int DefaultSide() const override { return kSwapDefaultSide; }
  int LargestSide() const override { return kSwapMaxSide; }
  bool EmptyCellBlack() const override { return false; }
  void Shuffle(PuzzleBoard& board, int n) override { ShuffleSwap(board, n, animation::ModuleRandom()); }
  void GameStarted() override {
    if (dragging_) RepaintView();
    dragging_ = false;
  }

 private:
  // The view repaints the picture, and with it the markers.
  void RepaintView() const {
    if (viewWindow) InvalidateRect(viewWindow, nullptr, FALSE);
  }

  // The cell's rectangle in picture pixels turned into the view's client
  // coordinates; false when the view cannot tell.
  bool CellOnView(HWND view, int cell, RECT* out) const {
    if (board_.n < 1 || cell < 0 || cell >= board_.n * board_.n) return false;
    RECT r;
    r.left = (cell % board_.n) * cellWidth_;
    r.top = (cell / board_.n) * cellHeight_;
    r.right = r.left + cellWidth_;
    r.bottom = r.top + cellHeight_;
    const auto* client = reinterpret_cast<const RECT*>(SendMessageA(view, VM_MAP_RECT, 0, LPARAM(&r)));
    if (!client) return false;
    *out = *client;
    return true;
  }

  // The picked piece in a black, white and black frame; the piece under
  // the mouse in two dotted focus rectangles inside it.
  void DrawMarkers(HWND view, HDC dc) const {
    if (!dragging_) return;
    RECT r;
    if (CellOnView(view, picked_, &r)) {
      HBRUSH black = HBRUSH(GetStockObject(BLACK_BRUSH)), white = HBRUSH(GetStockObject(WHITE_BRUSH));
      for (HBRUSH brush : {black, white, black}) {
        FrameRect(dc, &r, brush);
        InflateRect(&r, -1, -1);
      }
    }
    if (target_ != picked_ && CellOnView(view, target_, &r)) {
      for (int k = 0; k < 2; ++k) {
        InflateRect(&r, -1, -1);
        DrawFocusRect(dc, &r);
      }
    }
  }

  static void WINAPI PaintMarkers(HWND view, HDC dc) {
    const SwapPuzzle* puzzle = g_marked;
    if (!puzzle || !puzzle->dialogWindow) return;
    const auto dialog = HWND(LONG_PTR(LONG(SendMessageA(view, kGetViewWord, 0, 0))));
    if (dialog != puzzle->dialogWindow) return;
    puzzle->DrawMarkers(view, dc);
  }

  LONG savedViewWord_ = 0;
  int picked_ = 0, target_ = 0;
  bool dragging_ = false;
};

}  // namespace

}  // namespace quillo::qlo15

QUILLO_EFFECT_EXPORT(ProcessPuzzle, quillo::qlo15::SlidingPuzzle)
QUILLO_EFFECT_EXPORT(ProcessPuzzle1, quillo::qlo15::SwapPuzzle)
