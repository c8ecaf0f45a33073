// Pieces every custom control of the outside libraries shares: the control's
// state pointer in its first extra window bytes, and an off-screen buffer for
// flicker-free painting.
#pragma once
#include <windows.h>

#include <new>

namespace quillo::kit {

constexpr int kStateSlot = 0;
constexpr int kExtraBytes = sizeof(LONG_PTR);

template <typename State>
State* StateOf(HWND window) {
  return reinterpret_cast<State*>(GetWindowLongPtrA(window, kStateSlot));
}

// Stores `state` (may be null) in the window; returns it.
template <typename State>
State* AttachState(HWND window, State* state) {
  if (state) SetWindowLongPtrA(window, kStateSlot, reinterpret_cast<LONG_PTR>(state));
  return state;
}

// Creates the state at WM_CREATE (-1 refuses the window when memory is
// short); the state learns its window.
template <typename State>
LRESULT CreateState(HWND window) {
  State* state = AttachState(window, new (std::nothrow) State());
  if (!state) return -1;
  state->window = window;
  return 0;
}

// Frees the state at WM_NCDESTROY.
template <typename State>
void DeleteState(HWND window) {
  delete StateOf<State>(window);
  SetWindowLongPtrA(window, kStateSlot, 0);
}

// An off-screen copy of a client area for flicker-free painting: draw into
// dc(), then Finish() copies it to the real device context. Without memory
// for the copy it paints straight to the target.
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

}  // namespace quillo::kit
