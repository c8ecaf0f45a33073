// Bringing pictures into document windows.
#pragma once
#include <windows.h>

namespace quillo {

// Opens the image file at `path` in a new document window: reads it through
// the codec library, converts it to true colour, fills the window's first
// undo slot, enters the path in the recent-files list and shows the size in
// the status line. A file that cannot be read shows the "cannot open"
// message with the path as caption. Returns the document window or null.
HWND OpenImageFile(HWND owner, const char* path);

// Opens an image handle (taken over) in a new document window titled
// `title`; frees the handle when no window can be made.
HWND OpenImageHandle(HGLOBAL image, const char* title);

}  // namespace quillo
