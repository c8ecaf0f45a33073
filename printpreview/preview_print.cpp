// Printing from the preview: the print loop with its abort dialog, the
// printer set-up dialog and the copy-count dialog.
#include <algorithm>
#include <cstdio>

#include "controls_internal.h"
#include "preview_internal.h"

#include <commdlg.h>

namespace quillo::prt {
namespace {

// One job at a time per process; the document counter names each job.
bool g_jobRunning = false;
int g_jobCounter = 0;
HWND g_abortDialog = nullptr;
bool* g_cancelFlag = nullptr;

INT_PTR CALLBACK AbortDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && g_cancelFlag) {
        *g_cancelFlag = true;
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
      }
      return TRUE;
  }
  return FALSE;
}

// Pumps messages while the driver works; false once the user cancelled.
BOOL CALLBACK AbortProc(HDC, int) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (g_abortDialog && IsDialogMessageA(g_abortDialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return !(g_cancelFlag && *g_cancelFlag);
}

void Fail(PreviewState& s, UINT text) {
  MessageBoxA(s.frame, LibraryString(text), nullptr, MB_OK | MB_ICONSTOP);
}

// Asks the driver for the copies; true when it accepted more than one.
bool SetCopyCount(HDC dc, int copies) {
  int wanted = copies, accepted = 0;
  const int query = SETCOPYCOUNT;
  if (Escape(dc, QUERYESCSUPPORT, sizeof query, reinterpret_cast<LPCSTR>(&query), nullptr) <= 0)
    return false;
  if (Escape(dc, SETCOPYCOUNT, sizeof wanted, reinterpret_cast<LPCSTR>(&wanted), &accepted) <= 0)
    return false;
  return accepted > 1;
}

// Prints the pages first..last; false when the driver failed.
bool PrintRange(PreviewState& s, HDC dc, int first, int last) {
  for (int page = first; page <= last && !s.cancelPrint; ++page) {
    if (StartPage(dc) <= 0) return false;
    SendMessageA(s.panes[0], PVN_PRINTPAGE, WPARAM(page), 0);
    if (EndPage(dc) <= 0) return false;
  }
  return true;
}

}  // namespace

void PrintPages(PreviewState& s, bool currentOnly) {
  // One job at a time: a request while one runs (from another preview of
  // this process, reached through the abort procedure's message pump) is
  // refused rather than nested inside the running document.
  if (g_jobRunning) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  if (!IsWindow(s.frame)) return;
  HDC dc = s.printer ? s.printer : s.screenDC;
  if (!dc) return;
  g_jobRunning = true;
  s.printing = true;
  s.cancelPrint = false;
  g_cancelFlag = &s.cancelPrint;

  char name[64];
  std::snprintf(name, sizeof name, LibraryString(kStrDocumentName), ++g_jobCounter);
  DOCINFOA info = {};
  info.cbSize = sizeof info;
  info.lpszDocName = name;
  EnableWindow(s.frame, FALSE);
  g_abortDialog = CreateDialogA(Module(), "ABORTDLG", s.frame, AbortDialogProc);
  SetAbortProc(dc, AbortProc);

  int first = 1, last = s.pageCount;
  if (currentOnly) {
    first = last = s.currentPage;
  } else if (!s.allPages) {
    first = std::max(1, s.fromPage);
    last = std::min(s.pageCount, s.toPage);
  }
  if (StartDocA(dc, &info) > 0) {
    if (s.copies > 1 && !SetCopyCount(dc, s.copies)) Fail(s, kStrCopyCountFail);
    if (!PrintRange(s, dc, first, last)) {
      AbortDoc(dc);
      Fail(s, kStrPrintFail);
    } else if (s.cancelPrint) {
      AbortDoc(dc);
    } else if (EndDoc(dc) <= 0) {
      AbortDoc(dc);
      Fail(s, kStrPrintFail);
    }
  } else {
    Fail(s, kStrPrintFail);
  }

  EnableWindow(s.frame, TRUE);
  if (g_abortDialog) DestroyWindow(g_abortDialog);
  g_abortDialog = nullptr;
  g_cancelFlag = nullptr;
  s.printing = false;
  g_jobRunning = false;
  SetForegroundWindow(s.frame);
}

bool RunPrinterSetup(PreviewState& s) {
  PRINTDLGA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = s.frame;
  dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE |
                 (s.pageCount > 1 ? 0 : PD_NOPAGENUMS);
  dialog.nMinPage = 1;
  dialog.nMaxPage = WORD(std::min(s.pageCount, 0xFFFF));
  dialog.nFromPage = 1;
  dialog.nToPage = dialog.nMaxPage;
  dialog.nCopies = WORD(s.copies > 0 ? s.copies : 1);
  if (!PrintDlgA(&dialog) || !dialog.hDC) {
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    return false;
  }
  int copies = dialog.nCopies;
  if (dialog.hDevMode) {
    if (auto* mode = static_cast<DEVMODEA*>(GlobalLock(dialog.hDevMode))) {
      if (mode->dmFields & DM_COPIES) copies = std::max<int>(copies, mode->dmCopies);
      GlobalUnlock(dialog.hDevMode);
    }
    GlobalFree(dialog.hDevMode);
  }
  if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
  if (copies > 1) s.copies = copies;
  s.allPages = !(dialog.Flags & PD_PAGENUMS);
  s.fromPage = dialog.nFromPage;
  s.toPage = dialog.nToPage;
  if (s.printer) DeleteDC(s.printer);
  s.printer = dialog.hDC;
  ReadPageMetrics(s);
  CallPaintHook(s, s.printer, -1);
  LayoutFrame(s);
  if (s.panes[0]) SendMessageA(s.panes[0], PVN_PRINTERCHANGED, 0, 0);
  return true;
}

namespace {

INT_PTR CALLBACK CopyCountProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* s = reinterpret_cast<PreviewState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      SetDlgItemInt(dialog, kCopyCountEdit, UINT(s->copies > 0 ? s->copies : 1), FALSE);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* s = reinterpret_cast<PreviewState*>(GetWindowLongPtrA(dialog, DWLP_USER));
        BOOL ok = FALSE;
        const int copies = int(GetDlgItemInt(dialog, kCopyCountEdit, &ok, TRUE));
        if (ok && copies > 0 && s) s->copies = copies;
        EndDialog(dialog, IDOK);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void RunCopyCountDialog(PreviewState& s) {
  DialogBoxParamA(Module(), "SetCopyCount", s.frame, CopyCountProc, reinterpret_cast<LPARAM>(&s));
}

}  // namespace quillo::prt
