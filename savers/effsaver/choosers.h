// The two choosers the configuration dialog opens.
#pragma once
#include <windows.h>

namespace quillo::effsaver {

// File-open dialog for the saver's picture: the chosen file is read,
// converted to 24 bits and stored as Saver\Saver.bmp. A file that cannot be
// read beeps and keeps the current picture; the old picture is replaced
// only once the new one is completely written.
void ChoosePicture(HWND owner);

// The modal effect chooser (dialog "Plug" of EffSaver.R): selecting an
// effect sends WM_COMMAND 105 with the effect record to `owner`; a double
// click also closes it. Builds the catalogue first when there is none.
void ChooseEffect(HWND owner);

}  // namespace quillo::effsaver
