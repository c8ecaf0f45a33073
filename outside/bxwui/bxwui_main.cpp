// BXWUI.DLL: a module that holds the button bar's pictures ("BkGnd", the
// plain button face, and "Thumb", the spin-button halves of the thumbnail
// pane header). MyGetUIInit hands the program this module's handle so it can
// load them with LoadBitmap.
#include "contracts/ui_bitmaps.h"

namespace {
HINSTANCE g_module = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HINSTANCE MyGetUIInit(void) { return g_module; }
