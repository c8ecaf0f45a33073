// The engine's exports, as a saver program calls them (plain names through
// EffSaver.def): MyGetSaverProc and MyGetSaverDlg hand out the saver window
// procedure and the configuration dialog procedure. Both procedures answer
// 0 for what they leave to the saver program's default handling.
#pragma once
#include <windows.h>

#include "savers/stage/saver_engine_exports.h"

namespace quillo::effsaver {

LRESULT WINAPI SaverWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR WINAPI SetupDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quillo::effsaver

extern "C" {
quillo::stage::SaverProcedure WINAPI MyGetSaverProc();
quillo::stage::SaverDialogProcedure WINAPI MyGetSaverDlg();
LRESULT WINAPI SaverStageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR WINAPI ScreenSaverSetup(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
}
