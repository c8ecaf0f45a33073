// Bringing pictures into document windows.
#pragma once
#include <windows.h>

namespace quillo {

// Opens the image file at `path`: raw DIB blocks (".di" in any case), GIF
// files (animated ones play in their window) and every format of the codec
// library. Converts to true colour, fills the window's first undo slot,
// enters the path in the recent-files list, runs the developer dump
// switches and shows the size in the status line. A file that cannot be read
// shows the "cannot open" message with the path as caption. Returns the
// document window or null.
// With `reuse` pointing at a document window (the open dialog's one window
// for all its files), that window gets the picture instead of a new one;
// *reuse receives the window used.
HWND OpenImageFile(HWND owner, const char* path, HWND* reuse = nullptr);

// Opens an image handle (taken over) in a new document window titled
// `title`; frees the handle when no window can be made.
HWND OpenImageHandle(HGLOBAL image, const char* title);

// Reads a raw DIB file: the packed block with no file header. Null when the
// file cannot be read or its header does not describe a block that fits in
// the file.
HGLOBAL ReadRawDibFile(const char* path);

}  // namespace quillo
