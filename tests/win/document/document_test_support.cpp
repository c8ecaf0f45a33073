// Stand-ins for the frame's services (the state record, status line, tool
// buttons) and spies on the DIB services' release functions that record
// each call and pass it on to the library.
#include "document_test_support.h"

#include <gtest/gtest.h>

#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "contracts/dib_services.h"

namespace quillo {

AppState g_app;

namespace {
char g_resString[500];
std::string g_status;
int g_refreshes = 0;
}  // namespace

const char* LoadResString(UINT) {
  g_resString[0] = '\0';
  return g_resString;
}
const char* ProgramDirectory() { return "."; }
void SetStatusText(const char* text) { g_status = text ? text : ""; }
void RefreshToolButtons() { ++g_refreshes; }
void LayoutFrame() {}

}  // namespace quillo

namespace {

template <typename F>
F RealExport(const char* name) {
  HMODULE module = GetModuleHandleA("BXDIB3.DLL");
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

// These definitions take the place of the import-library entries, so every
// release the document windows make passes through here.
extern "C" void DestroyDIB(HGLOBAL dib) {
  quillo::test::FreedDibs().push_back(dib);
  static auto real = RealExport<void (*)(HGLOBAL)>("DestroyDIB");
  if (real) real(dib);
}

extern "C" void FreeAlpha(LPBYTE mask) {
  quillo::test::FreedMasks().push_back(mask);
  static auto real = RealExport<void (*)(LPBYTE)>("FreeAlpha");
  if (real) real(mask);
}

namespace quillo::test {

namespace {

HWND g_client = nullptr;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefFrameProcA(window, g_client, message, wParam, lParam);
}

}  // namespace

std::vector<HGLOBAL>& FreedDibs() {
  static std::vector<HGLOBAL> freed;
  return freed;
}
std::vector<void*>& FreedMasks() {
  static std::vector<void*> freed;
  return freed;
}
int RefreshCount() { return g_refreshes; }
std::string LastStatusText() { return g_status; }

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void SizeMdiClient(int clientWidth, int clientHeight) {
  RECT r{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&r, GetWindowLongA(g_client, GWL_STYLE), FALSE,
                     GetWindowLongA(g_client, GWL_EXSTYLE));
  MoveWindow(g_client, 0, 0, r.right - r.left, r.bottom - r.top, TRUE);
  Pump();
}

void EnsureFrame(int clientWidth, int clientHeight) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!g_app.frame) {
    g_app.instance = instance;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = "DocumentTestFrame";
    RegisterClassA(&wc);
    g_app.frame = CreateWindowExA(0, wc.lpszClassName, "Documents", WS_OVERLAPPEDWINDOW |
                                  WS_CLIPCHILDREN, 0, 0, 1200, 900, nullptr, nullptr, instance,
                                  nullptr);
    ASSERT_NE(g_app.frame, nullptr);
    CLIENTCREATESTRUCT ccs = {};
    ccs.idFirstChild = 0xFF00;
    g_client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE,
                               0, 0, 100, 100, g_app.frame, nullptr, instance, &ccs);
    ASSERT_NE(g_client, nullptr);
    g_app.mdiClient = g_client;
    ASSERT_TRUE(RegisterDocumentClasses(instance));
    ShowWindow(g_app.frame, SW_SHOW);
  }
  SizeMdiClient(clientWidth, clientHeight);
}

void CloseAllDocuments() {
  while (HWND child = GetWindow(g_client, GW_CHILD)) {
    SendMessageA(g_client, WM_MDIDESTROY, WPARAM(child), 0);
  }
  Pump();
}

}  // namespace quillo::test
