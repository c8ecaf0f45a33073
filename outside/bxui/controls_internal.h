// Shared pieces of the three controls of BXUI.DLL.
#pragma once
#include <windows.h>

#include <new>

namespace quillo::bxui {

LRESULT CALLBACK SliderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Each control keeps a pointer to its state in its first extra window bytes.
constexpr int kStateSlot = 0;
constexpr int kExtraBytes = sizeof(LONG_PTR);

template <typename State>
State* StateOf(HWND window) {
  return reinterpret_cast<State*>(GetWindowLongPtrA(window, kStateSlot));
}

// Creates the state at WM_CREATE (-1 refuses the window when memory is
// short) and frees it at WM_NCDESTROY.
template <typename State>
LRESULT CreateState(HWND window) {
  State* state = new (std::nothrow) State();
  if (!state) return -1;
  state->window = window;
  SetWindowLongPtrA(window, kStateSlot, reinterpret_cast<LONG_PTR>(state));
  return 0;
}

template <typename State>
void DeleteState(HWND window) {
  delete StateOf<State>(window);
  SetWindowLongPtrA(window, kStateSlot, 0);
}

// The brush a parent dialog paints static controls with (so a control blends
// into its dialog), or the button face colour when the parent has none.
HBRUSH ParentBackground(HWND window, HDC dc);

// A one-pixel checkerboard brush (monochrome: it paints in the device
// context's text and background colours) for greyed thumbs. Made once per
// process and kept until the library unloads.
HBRUSH CheckerBrush();

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

}  // namespace quillo::bxui
