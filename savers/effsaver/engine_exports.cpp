#include "engine_exports.h"

extern "C" {

quillo::stage::SaverProcedure WINAPI MyGetSaverProc() { return SaverStageProc; }
quillo::stage::SaverDialogProcedure WINAPI MyGetSaverDlg() { return ScreenSaverSetup; }

LRESULT WINAPI SaverStageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return quillo::effsaver::SaverWindowProcedure(window, message, wParam, lParam);
}

INT_PTR WINAPI ScreenSaverSetup(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return quillo::effsaver::SetupDialogProcedure(dialog, message, wParam, lParam);
}

}
