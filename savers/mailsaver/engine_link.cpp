#include "engine_link.h"

#include <optional>
#include <string>

#include "savers/package/package_names.h"

namespace quillo::mailsaver {

namespace {

constexpr char kEngineFile[] = "PkgSaver.dll";  // in the package folder

HMODULE g_module = nullptr;
stage::SaverProcedure g_saverProcedure = nullptr;
stage::SaverDialogProcedure g_dialogProcedure = nullptr;
int g_callDepth = 0;          // engine saver calls on the stack
bool g_releasePending = false;

void UnloadEngineModule() {
  if (g_module) FreeLibrary(g_module);
  g_module = nullptr;
  g_releasePending = false;
}

}  // namespace

bool LoadEngine() {
  if (g_module) return true;
  char windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
  if (length == 0 || length >= sizeof windows) return false;
  const std::optional<std::string> directory = PackageDirectoryOf(windows);
  if (!directory || !SetCurrentDirectoryA(directory->c_str())) return false;
  const std::string path = *directory + kEngineFile;
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) return false;
  auto getSaver = reinterpret_cast<stage::GetSaverProcFunction>(
      reinterpret_cast<void*>(GetProcAddress(module, stage::kGetSaverProcExport)));
  auto getDialog = reinterpret_cast<stage::GetSaverDlgFunction>(
      reinterpret_cast<void*>(GetProcAddress(module, stage::kGetSaverDlgExport)));
  if (!getSaver || !getDialog) {
    FreeLibrary(module);
    return false;
  }
  g_module = module;
  g_saverProcedure = getSaver();
  g_dialogProcedure = getDialog();
  return true;
}

bool EngineLoaded() { return g_module != nullptr; }
stage::SaverProcedure EngineSaverProcedure() { return g_saverProcedure; }
stage::SaverDialogProcedure EngineDialogProcedure() { return g_dialogProcedure; }

LRESULT CallEngineSaver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_saverProcedure) return 0;
  ++g_callDepth;
  const LRESULT result = g_saverProcedure(window, message, wParam, lParam);
  --g_callDepth;
  if (g_callDepth == 0 && g_releasePending) UnloadEngineModule();
  return result;
}

void ReleaseEngine() {
  g_saverProcedure = nullptr;
  g_dialogProcedure = nullptr;
  if (g_callDepth > 0)
    g_releasePending = true;
  else
    UnloadEngineModule();
}

}  // namespace quillo::mailsaver
