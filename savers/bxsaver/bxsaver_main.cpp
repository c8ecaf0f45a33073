// BXSaver.SCR: the screen-saver program that hosts the effect saver engine.
// It forwards the saver window's and the configuration dialog's messages to
// the engine; without an engine it is a plain black saver with an empty
// configuration dialog, and says nothing.
#include <windows.h>

#include <scrnsave.h>

#include "engine_loader.h"

namespace {

quillo::bxsaver::LoadedEngine g_engine;
bool g_tried = false;

void EnsureEngine() {
  if (g_tried) return;
  g_tried = true;
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  if (!quillo::bxsaver::LoadEngine(&g_engine)) g_engine = {};
}

}  // namespace

// The engine stays loaded until the process ends: its play loop is still on
// the stack (inside the running effect) when the saver window is destroyed.
LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) EnsureEngine();
  if (g_engine.saverProc) {
    const LRESULT result = g_engine.saverProc(window, message, wParam, lParam);
    if (result) return result;
  }
  return DefScreenSaverProc(window, message, wParam, lParam);
}

BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_engine.dialogProc && g_engine.dialogProc(dialog, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      if (!g_tried) {
        EnsureEngine();
        if (g_engine.dialogProc) g_engine.dialogProc(dialog, message, wParam, lParam);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam) == IDOK);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

BOOL WINAPI RegisterDialogClasses(HANDLE) { return TRUE; }
