// "Pack" of the effect panel: the running effect saved as a gift program,
// through a save dialog that also asks for the gift's options.
#pragma once
#include <windows.h>

namespace quillo {

void SaveGiftAsProgram(HWND document);

}  // namespace quillo
