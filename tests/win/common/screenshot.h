// Photographs a window as it shows on the screen (for the docs pictures),
// saving it through the codec library; the extension picks the format.
#pragma once
#include <windows.h>

namespace quillo::test {

bool SaveWindowShot(HWND window, const char* path);
// The same for a rectangle of the screen.
bool SaveScreenArea(const RECT& area, const char* path);
// What the screen shows in a rectangle, as a DIB (free with DestroyDIB).
HGLOBAL CaptureScreenArea(const RECT& area);

}  // namespace quillo::test
