// Entry point of BXDIB3.DLL: remembers the module for its dialog template.
#include <windows.h>

#include "dib_handle.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    quillo::dib::g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
