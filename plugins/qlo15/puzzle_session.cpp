#include "puzzle_session.h"

#include <algorithm>
#include <ctime>

#include "contracts/dib_format.h"
#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "contracts/plugin_contract.h"
#include "plugins/animation/module_random.h"
#include "plugins/framework/dialog_controls.h"
#include "plugins/framework/dialog_window.h"
#include "plugins/framework/plugin_module.h"
#include "resources/qlo15/qlo15_ids.h"

namespace quillo::qlo15 {

void PuzzleSession::InitControls(HWND dialog) {
  const int n = DefaultSide();
  SetSlider(dialog, kPuzzleSideSlider, kPuzzleMinSide, LargestSide(), n);
  SetLabelInt(dialog, kPuzzleSideLabel, n);
  // One seed per run: the games dealt in it follow one another in the
  // generator's sequence, so two games in the same second still differ.
  animation::ModuleRandom().Seed(uint32_t(std::time(nullptr)));
  if (NewGame(n)) ShowPicture(true);
}

void PuzzleSession::SliderChanged(int id, int position, char* label, size_t labelSize) {
  if (id == kPuzzleSideSlider) FormatInt(label, labelSize, std::clamp(position, kPuzzleMinSide, LargestSide()));
}

void PuzzleSession::ParameterChanged() {
  const int n = std::clamp(SliderPosition(dialogWindow, kPuzzleSideSlider), kPuzzleMinSide, LargestSide());
  // The size is locked while a game is under way (the slider is disabled;
  // a change arriving anyway is turned back).
  if (moved_ || n == board_.n) {
    ShowSide(board_.n > 0 ? board_.n : n);
    return;
  }
  if (NewGame(n)) ShowPicture(true);
}

bool PuzzleSession::RunPass(const PixelPass&, bool) {
  const int n = std::clamp(SliderPosition(dialogWindow, kPuzzleSideSlider), kPuzzleMinSide, LargestSide());
  // The apply pass tells the host and the view of the new picture itself.
  NewGame(n);
  return true;
}

void PuzzleSession::AfterClose() {
  if (viewWindow) SendMessageA(viewWindow, VM_RELAYOUT, 1, 0);
}

bool PuzzleSession::NewGame(int n) {
  const int w = RoundUpToMultiple(width, n), h = RoundUpToMultiple(height, n);
  HGLOBAL scaled = ZoomDIBEx(backupHandle, w, h);
  char* dib = scaled && IsWorkablePicture(scaled) ? static_cast<char*>(GlobalLock(scaled)) : nullptr;
  std::vector<uint8_t> tiles;
  const bool cut = dib && DIBWidth(dib) == w && DIBHeight(dib) == h &&
                   CutTiles(reinterpret_cast<uint8_t*>(FindDIBBits(dib)), w, h, Stride24(w), n, tiles);
  if (dib) GlobalUnlock(scaled);
  if (!cut) {
    if (scaled) DestroyDIB(scaled);
    MessageBeep(0);
    ShowSide(board_.n > 0 ? board_.n : n);
    return false;
  }
  Shuffle(board_, n);
  tiles_.swap(tiles);
  cellWidth_ = w / n;
  cellHeight_ = h / n;
  boardWidth_ = w;
  boardHeight_ = h;
  // The board has no mask: one would no longer match the moved pieces.
  ReplacePicture(scaled, nullptr);
  boardPicture_ = scaled;
  moved_ = false;
  solved_ = false;
  GameStarted();
  DrawIntoPicture();
  EnableSizeControls(true);
  ShowSide(n);
  return true;
}

void PuzzleSession::DrawIntoPicture() {
  auto* dib = boardPicture_ ? static_cast<char*>(GlobalLock(boardPicture_)) : nullptr;
  if (!dib) return;
  DrawBoard(board_, tiles_, cellWidth_, cellHeight_, EmptyCellBlack(),
            reinterpret_cast<uint8_t*>(FindDIBBits(dib)), boardWidth_, boardHeight_, Stride24(boardWidth_));
  GlobalUnlock(boardPicture_);
}

void PuzzleSession::ShowPicture(bool sizeChanged) {
  if (ownerWindow) SendMessageA(ownerWindow, notifyMessage, sizeChanged ? 1 : 0, 0);
  if (!viewWindow) return;
  if (sizeChanged) SendMessageA(viewWindow, VM_RELAYOUT, 1, 0);
  SendMessageA(viewWindow, VM_REDRAW, 0, 0);
  InvalidateRect(viewWindow, nullptr, FALSE);
  UpdateWindow(viewWindow);
}

bool PuzzleSession::PlayableCell(int x, int y, int* col, int* row) const {
  if (solved_ || !boardPicture_) return false;
  return CellAt(board_, cellWidth_, cellHeight_, x, y, col, row);
}

void PuzzleSession::BoardChanged() {
  DrawIntoPicture();
  if (!moved_) {
    moved_ = true;
    EnableSizeControls(false);
  }
  ShowPicture(false);
  if (BoardSolved(board_)) Solved();
}

void PuzzleSession::Solved() {
  solved_ = true;
  moved_ = false;
  EnableSizeControls(true);
  char text[512] = {};
  LoadStringA(PluginResources(), IDS_PUZZLE_SOLVED, text, sizeof text);
  // The dialog steps aside while the message is shown.
  HWND dialog = dialogWindow;
  ShowWindow(dialog, SW_HIDE);
  MessageBoxA(ownerWindow, text, "OK", MB_OK | MB_ICONINFORMATION);
  if (dialogWindow == dialog && IsWindow(dialog)) ShowWindow(dialog, SW_SHOW);
}

void PuzzleSession::EnableSizeControls(bool on) {
  for (int id : {kPuzzleSideCaption, kPuzzleSideSlider, kPuzzleSideLabel})
    if (HWND item = GetDlgItem(dialogWindow, id)) EnableWindow(item, on ? TRUE : FALSE);
}

void PuzzleSession::ShowSide(int n) {
  if (SliderPosition(dialogWindow, kPuzzleSideSlider) != n)
    SendMessageA(GetDlgItem(dialogWindow, kPuzzleSideSlider), SL_SETPOS, WPARAM(n), 1);
  SetLabelInt(dialogWindow, kPuzzleSideLabel, n);
}

}  // namespace quillo::qlo15
