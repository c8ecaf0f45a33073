// PkgSaver.dll: loading opens the current package; the getters hand the
// stub the saver window procedure and the settings dialog procedure.
//
// Loading does only file work (the package list, the settings, the current
// package's record and parameters, the gradient copy). Loading the plug-in,
// the controls library set-up and the class registration happen at the
// first getter call, outside the loader's lock.
#include <cstdlib>
#include <ctime>

#include "contracts/ui_controls.h"
#include "engine_state.h"
#include "savers/package/package_list.h"
#include "savers/package/switch_time.h"
#include "savers/stage/saver_engine_exports.h"

namespace quillo::pkgsaver {

Engine g_engine;

void RefreshPackageList() { g_engine.packages = ListPackages(g_engine.directory); }

namespace {

std::string CurrentDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetCurrentDirectoryA(sizeof path, path);
  if (length == 0 || length >= sizeof path) return {};
  std::string directory(path, length);
  if (!directory.empty() && directory.back() == '\\') directory.pop_back();
  return directory;
}

// The package "Default" names, or else the first listed one.
bool OpenCurrentPackage() {
  Engine& e = g_engine;
  char name[MAX_PATH] = {};
  GetPrivateProfileStringA(kSettingsSection, "Default", "", name, sizeof name, kSettingsFile);
  if (name[0] && ReadPackageFiles(e.directory, name, e.current)) return true;
  return !e.packages.empty() && ReadPackageFiles(e.directory, e.packages.front(), e.current);
}

BOOL Attach(HINSTANCE instance) {
  Engine& e = g_engine;
  e.instance = instance;
  e.stage.tickMs = stage::TickPeriodFromEnvironment();
  e.directory = CurrentDirectory();
  if (e.directory.empty()) return FALSE;
  RefreshPackageList();
  e.switchMinutes = package::SwitchMinutes(
      int(GetPrivateProfileIntA(kSettingsSection, "Time", package::kDefaultSwitchMinutes, kSettingsFile)));
  e.switchTicks = package::SwitchTicks(e.switchMinutes);
  if (!OpenCurrentPackage()) return FALSE;
  e.stage.name = e.current.name.c_str();
  e.rotation = package::RotationStart(e.packages, e.current.name);
  std::srand(unsigned(std::time(nullptr)));
  e.stage.gradient = stage::CopyGradientResource(instance);
  return TRUE;
}

void Detach(bool processEnding) {
  // At process exit other modules may already be gone: leave it to the system.
  if (processEnding) return;
  Engine& e = g_engine;
  e.current.Release();
  stage::StageRelease(e.stage);
  stage::UnregisterStageChildClass(e.instance, kChildClass);
  e.packages.clear();
}

// The work that must not run under the loader's lock. A plug-in that does
// not load leaves the engine showing the still picture.
bool Start() {
  Engine& e = g_engine;
  if (e.started) return e.startedOk;
  e.started = true;
  UIInit(nullptr);
  e.startedOk = stage::RegisterStageChildClass(e.instance, kChildClass) != FALSE;
  if (e.startedOk) LoadPackageModule(e.directory, e.current);
  return e.startedOk;
}

}  // namespace

}  // namespace quillo::pkgsaver

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    return quillo::pkgsaver::Attach(instance);
  }
  if (reason == DLL_PROCESS_DETACH) quillo::pkgsaver::Detach(reserved != nullptr);
  return TRUE;
}

extern "C" quillo::stage::SaverProcedure WINAPI MyGetSaverProc() {
  return quillo::pkgsaver::Start() ? SaverStageProc : nullptr;
}

extern "C" quillo::stage::SaverDialogProcedure WINAPI MyGetSaverDlg() {
  quillo::pkgsaver::Start();
  return ScreenSaverSetup;
}
