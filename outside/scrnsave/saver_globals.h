// Fills the <scrnsave.h> globals a saver may read from its own resources.
#pragma once
#include <windows.h>

namespace quillo::saver {

void LoadSaverGlobals(HINSTANCE instance);

}  // namespace quillo::saver
