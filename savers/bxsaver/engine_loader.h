// BXSaver's engine: EffSaver.DLL from the studio's program folder, named by
// "bexadbms.ini" [Saver] "Engine", or else the one beside BXSaver.SCR.
#pragma once
#include <windows.h>

#include "savers/stage/saver_engine_exports.h"

namespace quillo::bxsaver {

struct LoadedEngine {
  HMODULE module = nullptr;
  stage::SaverProcedure saverProc = nullptr;
  stage::SaverDialogProcedure dialogProc = nullptr;
};

// Makes the engine's folder the current directory (the engine finds its
// catalogue, picture, plug-ins and examples there) and loads the engine by
// full path. False, with nothing loaded, when no engine can be used.
bool LoadEngine(LoadedEngine* engine);

}  // namespace quillo::bxsaver
