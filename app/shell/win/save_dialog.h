// Saving pictures: the "Save" dialog (format, colour depth, file name), the
// overwrite question, and the write through the codec library.
#pragma once
#include <windows.h>

namespace quillo {

// Saves the active document's picture (or, while an effect runs, the
// effect's current result when its dialog offers one).
void SaveActiveImage(HWND frame);
// Saves `image` (not taken over) with the same dialog, without a mask.
void SaveGivenImage(HWND frame, HGLOBAL image);

}  // namespace quillo
