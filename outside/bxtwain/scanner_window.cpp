// The acquisition window of the scanner library. A page is "scanned" from a
// picture file the user names (typed or browsed); each page goes to the
// studio's frame as a new picture with frame message 2086. MyTwain runs the
// window's own message loop and returns when it closes, so the caller can
// unload the library right after.
#include <windows.h>
#include <commdlg.h>

#include "contracts/image_codecs.h"
#include "contracts/scanner.h"

namespace {

constexpr char kClass[] = "BXTwainScanner";
constexpr int kPathField = 100;
constexpr int kBrowse = 101;
constexpr int kScan = 102;
constexpr int kClose = 103;
constexpr int kStatus = 104;
constexpr UINT kOpenDibMessage = 2086;

HINSTANCE g_self;

struct Scanner {
  HWND frame;
  HWND* windowVariable;
  HFONT font;
};

HWND Make(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
          HFONT font) {
  HWND control = CreateWindowA(cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               HMENU(INT_PTR(id)), g_self, nullptr);
  SendMessageA(control, WM_SETFONT, WPARAM(font), FALSE);
  return control;
}

void Browse(HWND window) {
  char path[MAX_PATH] = {};
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = window;
  ofn.lpstrFilter = "Pictures\0*.bmp;*.jpg;*.jpeg;*.png;*.tif;*.gif;*.pcx;*.tga\0All files\0*.*\0";
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameA(&ofn)) SetDlgItemTextA(window, kPathField, path);
}

// Reads the named file as the page and hands it over; the frame owns it then.
void Scan(HWND window, Scanner* scanner) {
  char path[MAX_PATH] = {};
  GetDlgItemTextA(window, kPathField, path, sizeof path);
  HGLOBAL page = path[0] ? LoadDIB(path) : nullptr;
  if (!page) {
    MessageBeep(0);
    SetDlgItemTextA(window, kStatus, "No page: choose a picture file first.");
    return;
  }
  SetDlgItemTextA(window, kStatus, "Page scanned.");
  if (SendMessageA(scanner->frame, kOpenDibMessage, 0, LPARAM(page)) != 0) GlobalFree(page);
}

LRESULT CALLBACK ScannerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* scanner = reinterpret_cast<Scanner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_CREATE: {
      scanner = static_cast<Scanner*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(scanner));
      HFONT f = scanner->font;
      Make(window, "STATIC", "Page file:", 0, 10, 12, 70, 18, -1, f);
      Make(window, "EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 80, 10, 220, 22, kPathField, f);
      Make(window, "BUTTON", "&Browse...", WS_TABSTOP, 306, 9, 80, 24, kBrowse, f);
      Make(window, "STATIC", "", 0, 10, 44, 290, 18, kStatus, f);
      Make(window, "BUTTON", "&Scan", WS_TABSTOP | BS_DEFPUSHBUTTON, 220, 70, 80, 26, kScan, f);
      Make(window, "BUTTON", "Close", WS_TABSTOP, 306, 70, 80, 26, kClose, f);
      return 0;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kBrowse: Browse(window); return 0;
        case kScan: Scan(window, scanner); return 0;
        case kClose: DestroyWindow(window); return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      SetBkMode(HDC(wParam), TRANSPARENT);
      return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DESTROY:
      if (scanner && scanner->windowVariable) *scanner->windowVariable = nullptr;
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = self;
  if (reason == DLL_PROCESS_DETACH) UnregisterClassA(kClass, self);
  return TRUE;
}

void MyTwain(HWND frame, HWND* windowVariable) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ScannerProc;
  wc.hInstance = g_self;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
  Scanner scanner{frame, windowVariable, HFONT(GetStockObject(DEFAULT_GUI_FONT))};
  HWND window = CreateWindowExA(WS_EX_DLGMODALFRAME, kClass, "Scanner",
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                404, 140, frame, nullptr, g_self, &scanner);
  if (!window) {
    MessageBeep(0);
    return;
  }
  if (windowVariable) *windowVariable = window;
  MSG msg;
  while (IsWindow(window) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (msg.message == WM_QUIT) PostQuitMessage(int(msg.wParam));  // the program's loop ends too
  if (IsWindow(window)) DestroyWindow(window);
}

}  // extern "C"
