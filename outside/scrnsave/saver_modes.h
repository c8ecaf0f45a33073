// The ways a saver program runs; each returns the program's exit code.
#pragma once
#include <windows.h>

namespace quillo::saver {

// One top-most popup over every monitor until input closes it.
int RunFullScreen();
// A child filling `parent`'s client area until the parent goes away.
int RunPreview(HWND parent);
// The saver's configuration dialog, owned by `owner` (may be null).
int RunSettings(HWND owner);

}  // namespace quillo::saver
