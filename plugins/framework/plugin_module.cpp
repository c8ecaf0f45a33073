#include "plugin_module.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "contracts/ui_controls.h"

namespace quillo {

namespace {

HINSTANCE g_module = nullptr;
HINSTANCE g_resources = nullptr;
char g_directory[300] = {};
// The module's name buffer: the module's own name where it gives one, else
// empty, so hosts may catalogue the module under its file name.
char g_name[64] = {};
HCURSOR g_pencil = nullptr;
HCURSOR g_brush = nullptr;

// Loads the resource module from the plug-in's own folder by full path, so
// the DLL search order can never bring in another file of that name.
HINSTANCE LoadResourceModule() {
  const char* name = kPluginModule.resourceModuleName;
  if (!IsBareFileName(name)) return nullptr;
  char path[MAX_PATH];
  const size_t dirLength = std::strlen(g_directory), nameLength = std::strlen(name);
  if (dirLength + 1 + nameLength + 1 > sizeof path) return nullptr;
  std::memcpy(path, g_directory, dirLength);
  path[dirLength] = '\\';
  std::memcpy(path + dirLength + 1, name, nameLength + 1);
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

BOOL Attach(HINSTANCE module) {
  g_module = module;
  if (const char* name = kPluginModule.moduleName)
    lstrcpynA(g_name, name, sizeof g_name);
  char path[sizeof g_directory] = {};
  const DWORD length = GetModuleFileNameA(module, path, sizeof path);
  if (length == 0 || length >= sizeof path) return FALSE;
  char* slash = std::strrchr(path, '\\');
  if (slash) *slash = '\0';
  std::memcpy(g_directory, path, sizeof g_directory);
  g_resources = LoadResourceModule();
  if (!g_resources) return FALSE;
  std::srand(unsigned(std::time(nullptr)));
  g_pencil = LoadCursorA(g_resources, "Pencil");
  g_brush = LoadCursorA(g_resources, "Brush");
  UIInit(module);
  return TRUE;
}

void Detach() {
  if (g_pencil) DestroyCursor(g_pencil);
  if (g_brush) DestroyCursor(g_brush);
  g_pencil = g_brush = nullptr;
  if (g_resources) FreeLibrary(g_resources);
  g_resources = nullptr;
}

}  // namespace

HINSTANCE PluginResources() { return g_resources; }
const char* PluginDirectory() { return g_directory; }

bool IsBareFileName(const char* name) {
  if (!name || !*name) return false;
  if (std::strpbrk(name, "\\/:")) return false;
  return std::strstr(name, "..") == nullptr;
}

}  // namespace quillo

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) return quillo::Attach(module);
  if (reason == DLL_PROCESS_DETACH) quillo::Detach();
  return TRUE;
}

extern "C" int WINAPI PlugInGetVersion() { return PLUGIN_CONTRACT_VERSION; }
extern "C" const char* WINAPI GetName() { return quillo::g_name; }
extern "C" const PlugInInfo* WINAPI GetPlugInInfo() { return quillo::kPluginModule.infoTable; }
extern "C" HINSTANCE WINAPI GetResInst() { return quillo::g_resources; }
extern "C" const char* WINAPI ResName() { return quillo::kPluginModule.resourceModuleName; }
