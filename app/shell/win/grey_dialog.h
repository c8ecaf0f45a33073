// The studio's light-grey dialogs: statics on 0xC0C0C0, and the dialog,
// buttons and list boxes on the light-grey stock brush.
#pragma once
#include <windows.h>

namespace quillo {

// The brush for a WM_CTLCOLOR* message (setting the static's text
// background), or 0 for any other message.
INT_PTR GreyDialogColours(UINT message, WPARAM wParam);

}  // namespace quillo
