// The start-up logo: a top-most popup ("BEXALogo") showing bitmap "Logo" of
// the program, centred on the screen, while the frame is disabled. It closes
// after five seconds or at a left click and hands the focus back.
#pragma once
#include <windows.h>

namespace quillo {

inline constexpr char kLogoClass[] = "BEXALogo";
inline constexpr UINT_PTR kLogoTimer = 100;
inline constexpr UINT kLogoMs = 5000;

BOOL RegisterLogoClass(HINSTANCE instance);
// Shows bitmap "Logo" of g_app.instance over `frame`. Returns the popup, or
// null (frame left as it was) when the bitmap or the window is missing.
HWND ShowStartupLogo(HWND frame);
// The same with a bitmap already made; the popup owns it (deleted with it,
// or at once when the popup cannot be made).
HWND ShowLogoBitmap(HWND frame, HBITMAP logo);

}  // namespace quillo
