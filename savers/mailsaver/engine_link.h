// The engine PkgSaver.dll as the stub holds it: loaded from the package
// directory, its two procedures, and its release once no call into it is
// still running.
#pragma once
#include <windows.h>

#include "savers/stage/saver_engine_exports.h"

namespace quillo::mailsaver {

// Makes the package directory ({Windows directory}\Bexa) the current
// directory and loads "PkgSaver.dll" from it by full path. True when both
// getters exist (their procedures may still be null). Silent on failure.
bool LoadEngine();
bool EngineLoaded();

// The engine's procedures (null when not loaded or not offered).
stage::SaverProcedure EngineSaverProcedure();
stage::SaverDialogProcedure EngineDialogProcedure();

// Calls the engine's saver procedure; 0 when there is none.
LRESULT CallEngineSaver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Forgets the engine and frees it. The replay loop of the engine runs inside
// one engine call while the saver window is destroyed from a nested one: the
// module is then freed when the outermost call returns.
void ReleaseEngine();

}  // namespace quillo::mailsaver
