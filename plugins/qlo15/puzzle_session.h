// What both picture puzzles share: the "Puzzle" dialog (pieces per side on
// slider 501, its caption 1501 and value 701, Play as the apply button),
// new games cut from the picture scaled to sides that are multiples of N,
// the board drawn into that picture after every move, and the end of a
// game. The scaled board replaces the caller's picture at once: OK keeps
// it, Cancel gives back the picture passed in. There is no frame loop;
// the view's clicks (message 5120) drive the game.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "plugins/framework/effect_session.h"
#include "plugins/qlo15/kernels/puzzle.h"

namespace quillo::qlo15 {

constexpr int kPuzzleSideSlider = 501;
constexpr int kPuzzleSideLabel = 701;
constexpr int kPuzzleSideCaption = 1501;

class PuzzleSession : public EffectSession {
 public:
  const char* TemplateName() const override { return "Puzzle"; }
  bool HasPreview() const override { return false; }
  bool ChangesSize() const override { return true; }
  bool ResetsViewTool() const override { return true; }

  void InitControls(HWND dialog) override;
  void SliderChanged(int id, int position, char* label, size_t labelSize) override;
  void ParameterChanged() override;
  // Play: the apply pass deals a new game.
  bool RunPass(const PixelPass& pass, bool withProgress) override;
  void AfterClose() override;

 protected:
  virtual int DefaultSide() const = 0;
  virtual int LargestSide() const = 0;
  // The solved board of n x n shuffled for a new game.
  virtual void Shuffle(PuzzleBoard& board, int n) = 0;
  // The sliding puzzle leaves its empty cell black.
  virtual bool EmptyCellBlack() const = 0;
  // A new game began (the swap puzzle drops its markers).
  virtual void GameStarted() {}

  // The cell under a forwarded mouse position; false off the board or
  // while no game can be played (none dealt, or already solved).
  bool PlayableCell(int x, int y, int* col, int* row) const;
  // After the board changed: drawn into the picture and shown; the first
  // move locks the size controls, a solved board ends the game.
  void BoardChanged();

  PuzzleBoard board_;
  int cellWidth_ = 0, cellHeight_ = 0;

 private:
  // Deals a game of n x n; on failure (no scaled copy, no tiles) beeps and
  // keeps the board there was.
  bool NewGame(int n);
  void DrawIntoPicture();
  void ShowPicture(bool sizeChanged);
  void EnableSizeControls(bool on);
  void ShowSide(int n);
  void Solved();

  std::vector<uint8_t> tiles_;
  HGLOBAL boardPicture_ = nullptr;  // the replacement the board is drawn into
  int boardWidth_ = 0, boardHeight_ = 0;
  bool moved_ = false;   // a move was made in this game
  bool solved_ = false;  // this game's board is solved
};

}  // namespace quillo::qlo15
