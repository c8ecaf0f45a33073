#include "colour_swatch.h"

#include <commdlg.h>

namespace quillo {

namespace {

const char kOldProc[] = "QuilloSwatchProc";
const char kColour[] = "QuilloSwatchColour";

LRESULT CALLBACK SwatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(window, kOldProc));
  switch (message) {
    case SWM_SETCOLOUR:
      // The colour is kept with one added, so that black is not mistaken for
      // "no colour yet".
      SetPropA(window, kColour, reinterpret_cast<HANDLE>(uintptr_t(lParam & 0xFFFFFF) + 1));
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      FrameRect(dc, &r, HBRUSH(GetStockObject(BLACK_BRUSH)));
      InflateRect(&r, -1, -1);
      const uintptr_t kept = uintptr_t(GetPropA(window, kColour));
      HBRUSH brush = CreateSolidBrush(kept ? COLORREF(kept - 1) : GetSysColor(COLOR_BTNFACE));
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      RemovePropA(window, kColour);
      RemovePropA(window, kOldProc);
      SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(old));
      break;
  }
  return old ? CallWindowProcA(old, window, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void MakeColourSwatch(HWND control, COLORREF colour) {
  if (!control) return;
  if (!GetPropA(control, kOldProc)) {
    const LONG_PTR old = GetWindowLongPtrA(control, GWLP_WNDPROC);
    SetPropA(control, kOldProc, reinterpret_cast<HANDLE>(old));
    SetWindowLongPtrA(control, GWLP_WNDPROC, LONG_PTR(&SwatchProc));
  }
  SendMessageA(control, SWM_SETCOLOUR, 0, LPARAM(colour));
}

bool ChooseColourFor(HWND owner, COLORREF& colour) {
  static COLORREF custom[16] = {};
  CHOOSECOLORA choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.rgbResult = colour;
  choice.lpCustColors = custom;
  choice.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&choice)) return false;
  colour = choice.rgbResult & 0xFFFFFF;
  return true;
}

}  // namespace quillo
