// A colour swatch: a static control of a dialog that paints itself in one
// colour, told with SWM_SETCOLOUR. The dialog's own control is subclassed,
// so the template needs no class of its own.
#pragma once
#include <windows.h>

namespace quillo {

#define SWM_SETCOLOUR 1125  // lParam: the COLORREF to show

// Makes `control` a swatch showing `colour`.
void MakeColourSwatch(HWND control, COLORREF colour);

// Lets the user pick a colour with the common colour dialog, starting at
// `colour`; true (and `colour` changed) when the user chose one.
bool ChooseColourFor(HWND owner, COLORREF& colour);

}  // namespace quillo
