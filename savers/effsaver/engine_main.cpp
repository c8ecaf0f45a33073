// Loading and unloading the engine: the settings, the random generator, the
// catalogue, the gradient copy, the picture path, the UI controls and the
// image child's class. Loading never fails; what is missing shows as a
// black screen or the still picture later.
#include <windows.h>

#include <ctime>

#include "catalogue_read.h"
#include "contracts/ui_controls.h"
#include "effect_trace.h"
#include "engine_state.h"
#include "settings_file.h"

namespace quillo::effsaver {

EffSaverEngine g_engine;

std::string InEngineFolder(const std::string& name) { return g_engine.directory + "\\" + name; }

namespace {

std::string FolderOf(HINSTANCE module) {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(module, path, sizeof path);
  if (n == 0 || n >= sizeof path) return ".";
  std::string folder(path, n);
  const size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? "." : folder.substr(0, slash);
}

void Attach(HINSTANCE instance) {
  EffSaverEngine& e = g_engine;
  e.instance = instance;
  e.directory = FolderOf(instance);
  e.settings = ReadSettingsFile();
  e.random.Seed(uint32_t(std::time(nullptr)));
  const std::vector<uint8_t> catalogue = ReadCatalogueFile();
  e.catalogue = SelectRandomEffects(catalogue.data(), catalogue.size());
  e.stage.gradient = stage::CopyGradientResource(instance);
  e.stage.tickMs = stage::TickPeriodFromEnvironment();
  e.picturePath = InEngineFolder("Saver\\Saver.bmp");
  LoadTraceSetting();
  UIInit(nullptr);
  stage::RegisterStageChildClass(instance, kChildClass);
}

void Detach(bool processEnding) {
  // At process exit other modules may already be gone: leave the memory to
  // the system.
  if (processEnding) return;
  stage::StageRelease(g_engine.stage);
  stage::UnregisterStageChildClass(g_engine.instance, kChildClass);
}

}  // namespace

}  // namespace quillo::effsaver

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    quillo::effsaver::Attach(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    quillo::effsaver::Detach(reserved != nullptr);
  }
  return TRUE;
}
