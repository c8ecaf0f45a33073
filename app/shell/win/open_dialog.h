// The open dialog: every file the user selects in its list opens at once, all
// into one document window, so pictures can be browsed by clicking through
// a folder. Its OK button stays disabled; Cancel ends it.
#pragma once
#include <windows.h>

#include <string>

namespace quillo {

void RunOpenDialog(HWND frame);

// The folder the open and save dialogs start in: that of the most recent
// file when the settings hold one, otherwise "Samples" in the program
// directory.
std::string PictureDialogDirectory();

// The open dialog's filter (pairs of zero-terminated texts ending in an
// empty one), with the raw block formats when the program runs with
// READ_MY_FILE.
std::string OpenDialogFilter(bool readMyFile);

}  // namespace quillo
