// The two modeless effect browsers: "Plug" (families and categories beside
// the effects) and "Plug2" (every effect in one list).
#pragma once
#include <windows.h>

namespace quillo {

// Handles the browser commands of the frame: opens, or closes and reopens,
// the browser the command names.
void OnBrowserCommand(HWND frame, int command);
// Closes the open browser, if any.
void CloseEffectBrowser();
// Hides or shows the open browser around modal steps and effect runs.
void ShowEffectBrowser(bool show);

}  // namespace quillo
