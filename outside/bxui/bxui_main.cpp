// BXUI.DLL entry points: class registration at load time and through UIInit.
#include <new>

#include "contracts/ui_controls.h"
#include "controls_internal.h"

namespace quillo::bxui {
namespace {

HINSTANCE g_module = nullptr;
HBRUSH g_checker = nullptr;

struct ClassEntry {
  const char* name;
  WNDPROC procedure;
};

constexpr ClassEntry kClasses[] = {
    {BXUI_SLIDER_CLASS, SliderProc},
    {BXUI_PROGRESS_CLASS, ProgressProc},
    {BXUI_PREVIEW_CLASS, PreviewProc},
};

// Registers the classes that are not registered yet. Global classes, so
// dialogs of any module place them by name; they belong to this DLL because
// their window procedures live here.
BOOL RegisterControlClasses() {
  BOOL all = TRUE;
  for (const ClassEntry& entry : kClasses) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(g_module, entry.name, &existing)) continue;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = entry.procedure;
    wc.cbWndExtra = kExtraBytes;
    wc.hInstance = g_module;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = entry.name;
    if (!RegisterClassExA(&wc)) all = FALSE;
  }
  return all;
}

void UnregisterControlClasses() {
  for (const ClassEntry& entry : kClasses) UnregisterClassA(entry.name, g_module);
}

}  // namespace

HBRUSH ParentBackground(HWND window, HDC dc) {
  HWND parent = GetParent(window);
  HBRUSH brush = nullptr;
  if (parent)
    brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, WM_CTLCOLORSTATIC,
                                                  reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(window)));
  return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

HBRUSH CheckerBrush() {
  if (!g_checker) {
    static const WORD kRows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    if (HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kRows)) {
      g_checker = CreatePatternBrush(pattern);
      DeleteObject(pattern);  // the brush keeps its own copy
    }
  }
  return g_checker ? g_checker : GetSysColorBrush(COLOR_BTNFACE);
}


}  // namespace quillo::bxui

extern "C" {

BOOL UIInit(HINSTANCE) { return quillo::bxui::RegisterControlClasses(); }

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    quillo::bxui::g_module = module;
    DisableThreadLibraryCalls(module);
    quillo::bxui::RegisterControlClasses();
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary: the window procedures are about to go away.
    quillo::bxui::UnregisterControlClasses();
    if (quillo::bxui::g_checker) DeleteObject(quillo::bxui::g_checker);
  }
  return TRUE;
}

}  // extern "C"
