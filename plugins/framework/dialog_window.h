// What every effect dialog does the same way: the remembered screen
// position, the light-grey colours, and which pictures an effect can take.
#pragma once
#include <windows.h>

namespace quillo {

// Moves the dialog to the position kept in the settings file when that
// position lies on the screen.
void RestoreDialogPosition(HWND dialog);
// Keeps the dialog's current screen position in the settings file.
void SaveDialogPosition(HWND dialog);

// Answers the colour messages of the effect dialogs: light-grey static text
// backgrounds, buttons and dialog body. False for other messages.
bool AnswerDialogColour(UINT message, WPARAM wParam, INT_PTR* result);

// A handle an effect can work on: a sound DIB with 24-bit pixels.
bool IsWorkablePicture(HGLOBAL handle);

// Removes and dispatches every waiting message of the thread. A WM_QUIT is
// put back for the loops further out; the answer is then false.
bool PumpWaitingMessages();

// The message loop of an effect run: runs while `dialog` is set (the
// dialog clears it when it is destroyed). A WM_QUIT closes the dialog as a
// cancel and is put back for the loops further out.
void RunDialogLoop(HWND& dialog);

}  // namespace quillo
