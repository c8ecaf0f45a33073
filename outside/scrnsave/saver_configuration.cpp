// The configuration dialog and the password change, which has no password
// provider to ask.
#include <windows.h>

#include <scrnsave.h>

#include "saver_modes.h"

namespace quillo::saver {

namespace {

// The saver's dialog procedure returns a BOOL; the dialog manager reads a
// pointer-sized result, so widen it here rather than cast the function.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return ScreenSaverConfigureDialog(dialog, message, wParam, lParam);
}

}  // namespace

int RunSettings(HWND owner) {
  // The dialog's custom controls need their classes before it is created.
  if (!RegisterDialogClasses(hMainInstance)) return 1;
  const INT_PTR result = DialogBoxA(hMainInstance, MAKEINTRESOURCEA(DLG_SCRNSAVECONFIGURE), owner,
                                    SettingsDialogProc);
  return result == -1 ? 1 : 0;
}

}  // namespace quillo::saver

void WINAPI ScreenSaverChangePassword(HWND) {}
