// Entry point of BXCOMM.DLL: records the module for its directory.
#include <windows.h>

#include "library_state.h"

namespace quillo::imaging {
HINSTANCE g_module = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    quillo::imaging::g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
