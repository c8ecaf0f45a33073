// BXPRT3.DLL entry points: its window classes are registered when the
// library loads and removed when it is unloaded.
#include "contracts/print_preview.h"
#include "controls_internal.h"
#include "preview_internal.h"

namespace quillo::prt {
namespace {

HINSTANCE g_module = nullptr;

struct ClassEntry {
  const char* name;
  WNDPROC procedure;
  HBRUSH background;
  UINT style;
};

ClassEntry Classes(int i) {
  const ClassEntry all[] = {
      {BXPRT3_BUTTON_CLASS, BitmapButtonProc, nullptr, 0},
      {BXPRT3_TOOLBAR_CLASS, ToolBarProc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)), 0},
      {BXPRT3_TAB_CLASS, TabControlProc, nullptr, CS_DBLCLKS},
      {BXPRT3_POPUP_CLASS, PopupProc, nullptr, 0},
  };
  return all[i];
}
constexpr int kClassCount = 4;

// Global classes, so dialogs of any module place them by name; they belong
// to this DLL because their window procedures live here.
void RegisterControlClasses() {
  for (int i = 0; i < kClassCount; ++i) {
    const ClassEntry entry = Classes(i);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS | entry.style;
    wc.lpfnWndProc = entry.procedure;
    wc.cbWndExtra = kExtraBytes;
    wc.hInstance = g_module;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = entry.background;
    wc.lpszClassName = entry.name;
    RegisterClassExA(&wc);
  }
}

void UnregisterControlClasses() {
  for (int i = 0; i < kClassCount; ++i) UnregisterClassA(Classes(i).name, g_module);
}

}  // namespace

HINSTANCE Module() { return g_module; }


void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace quillo::prt

extern "C" {

HINSTANCE PVGetInstance(void) { return quillo::prt::g_module; }

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    quillo::prt::g_module = module;
    DisableThreadLibraryCalls(module);
    quillo::prt::RegisterControlClasses();
    // Without its window classes the library is of no use: refuse to load.
    if (!quillo::prt::RegisterPreviewClasses()) {
      quillo::prt::UnregisterPreviewClasses();
      quillo::prt::UnregisterControlClasses();
      return FALSE;
    }
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary: the window procedures are about to go away.
    DestroyRDPopup();
    quillo::prt::UnregisterPreviewClasses();
    quillo::prt::UnregisterControlClasses();
  }
  return TRUE;
}

}  // extern "C"
