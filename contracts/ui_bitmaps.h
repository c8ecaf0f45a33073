// "BXWUI.DLL": a module holding the button bar's bitmaps.
//   "BkGnd" 50 x 50: a plain tool-button face.
//   "Thumb" 70 x 60: the thumbnail pane's spin button; top row the two
//           35 x 30 halves (left: next item, right: previous item), the row
//           below (y = 30) the same halves pressed.
#pragma once
#include <windows.h>

// Returns the module's own handle, from which LoadBitmap takes the pictures.
extern "C" HINSTANCE MyGetUIInit(void);
