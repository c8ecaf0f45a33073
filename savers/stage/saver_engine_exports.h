// What a screen-saver stub finds in a saver engine DLL (PkgSaver.dll,
// EffSaver.DLL): two getters, each called once without arguments, that
// return the engine's saver window procedure and its settings dialog
// procedure. A null result means the engine cannot run that part. Both
// procedures answer 0 for a message they leave to the stub.
#pragma once
#include <windows.h>

namespace quillo::stage {

using SaverProcedure = LRESULT(WINAPI*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using SaverDialogProcedure = INT_PTR(WINAPI*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
using GetSaverProcFunction = SaverProcedure(WINAPI*)();
using GetSaverDlgFunction = SaverDialogProcedure(WINAPI*)();

constexpr char kGetSaverProcExport[] = "MyGetSaverProc";
constexpr char kGetSaverDlgExport[] = "MyGetSaverDlg";

}  // namespace quillo::stage
