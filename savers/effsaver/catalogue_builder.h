// Building the saver's catalogue "Plug.inf" from the plug-in modules
// ("*.PL1") in the engine's folder, the way the studio builds its own.
#pragma once
#include <windows.h>

namespace quillo::effsaver {

// Loads each plug-in by full path, writes one record per accepted entry and
// replaces "Plug.inf" only when every byte was written. Problems are shown
// in message boxes owned by `owner`. Returns the number of records written.
int BuildCatalogue(HWND owner);

}  // namespace quillo::effsaver
