// The three entry points the screen-saver library calls. Every message of
// the saver window and of the settings dialog is offered to the engine
// first; what it leaves goes to the library's default handling.
#include <windows.h>

#include <scrnsave.h>

#include "engine_link.h"

using namespace quillo::mailsaver;

namespace {
HANDLE g_instance = nullptr;
char g_moduleFile[MAX_PATH] = {};
}  // namespace

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    LoadEngine();
  } else if (message == WM_DESTROY && EngineLoaded()) {
    CallEngineSaver(window, WM_DESTROY, wParam, lParam);
    ReleaseEngine();
  }
  if (EngineSaverProcedure()) {
    const LRESULT result = CallEngineSaver(window, message, wParam, lParam);
    if (result) return result;
  }
  return DefScreenSaverProc(window, message, wParam, lParam);
}

WINBOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (auto engine = EngineDialogProcedure(); engine && engine(dialog, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      SetErrorMode(SEM_NOGPFAULTERRORBOX);
      if (!EngineLoaded() && LoadEngine())
        if (auto engine = EngineDialogProcedure()) engine(dialog, WM_INITDIALOG, wParam, lParam);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam) == IDOK ? TRUE : FALSE);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

WINBOOL WINAPI RegisterDialogClasses(HANDLE instance) {
  g_instance = instance;
  GetModuleFileNameA(static_cast<HMODULE>(instance), g_moduleFile, sizeof g_moduleFile);
  return TRUE;
}
