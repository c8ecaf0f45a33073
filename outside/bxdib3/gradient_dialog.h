// The modeless gradient dialog behind SetupGradient.
#pragma once
#include <windows.h>

namespace quillo::gradient {

// Opens the dialog owned by `frame` on a copy of `current` (the default
// table when `current` is not a sound gradient). *dialogVar holds the dialog
// while it is open. OK sends `message` to the frame with wParam 0 and
// lParam = a new gradient object the frame owns. When *dialogVar already
// names an open dialog, that one is brought forward instead.
HWND OpenGradientDialog(HWND frame, UINT message, LPCVOID current, HWND* dialogVar);

}  // namespace quillo::gradient
