// Shared pieces of the window classes of BXPRT3.DLL.
#pragma once
#include <windows.h>

#include <new>

namespace quillo::prt {

LRESULT CALLBACK BitmapButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ToolBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TabControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

HINSTANCE Module();

// Each control keeps a pointer to its state in its first extra window bytes.
constexpr int kStateSlot = 0;
constexpr int kExtraBytes = sizeof(LONG_PTR);

template <typename State>
State* StateOf(HWND window) {
  return reinterpret_cast<State*>(GetWindowLongPtrA(window, kStateSlot));
}

template <typename State>
State* AttachState(HWND window, State* state) {
  if (state) SetWindowLongPtrA(window, kStateSlot, reinterpret_cast<LONG_PTR>(state));
  return state;
}

template <typename State>
void DeleteState(HWND window) {
  delete StateOf<State>(window);
  SetWindowLongPtrA(window, kStateSlot, 0);
}

// An off-screen copy of a client area for flicker-free painting: draw into
// dc(), then Finish() copies it to the real device context.
class BackBuffer {
 public:
  BackBuffer(HDC target, const RECT& area);
  ~BackBuffer();
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;
  HDC dc() const { return memory_ ? memory_ : target_; }
  void Finish();

 private:
  HDC target_;
  RECT area_;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
};

// A one-pixel solid line from (x0, y0) to (x1, y1), end excluded.
void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour);

}  // namespace quillo::prt
