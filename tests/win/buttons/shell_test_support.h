// Stand-ins for the frame and the document windows, so the pane and buttons
// run against a real MDI frame with documents that hold real DIBs.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "app/shell/undo_slot.h"

namespace quillo::test {

// A top-level MDI frame with a client; it forwards WM_MEASUREITEM /
// WM_DRAWITEM / list commands to the pane and records WM_COMMAND.
class TestFrame {
 public:
  TestFrame();
  ~TestFrame();
  HWND window() const { return frame_; }
  HWND client() const { return client_; }
  std::vector<WPARAM>& commands() { return commands_; }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND frame_ = nullptr;
  HWND client_ = nullptr;
  std::vector<WPARAM> commands_;
};

// A "bxViewChild" document in the frame's MDI client holding `image` (taken
// over) as its current picture; `displayCopy` (taken over, may be 0) is used
// while maskMode is 0.
HWND OpenStubDocument(HGLOBAL image, HGLOBAL displayCopy = nullptr, int maskMode = 1);

// Dispatches whatever is queued, a few rounds.
void PumpMessages();

// A DDB strip of `count` solid pictures width x height, picture i filled
// with colours[i].
HBITMAP MakeStrip(int width, int height, const std::vector<COLORREF>& colours);

// Renders `window` through WM_PRINTCLIENT into a 32-bit buffer.
class Snapshot {
 public:
  explicit Snapshot(HWND window, COLORREF background = RGB(1, 2, 3));
  Snapshot(int width, int height, COLORREF background, const std::function<void(HDC)>& draw);
  COLORREF At(int x, int y) const;
  int width() const { return width_; }
  int height() const { return height_; }
  // Pixels of exactly `colour` within rows [top, bottom).
  int Count(COLORREF colour, int top = 0, int bottom = 1 << 30) const;

 private:
  int width_ = 0, height_ = 0;
  std::vector<DWORD> pixels_;
};

}  // namespace quillo::test
