// PkgSaver's module-wide state: one engine per process.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "package_files.h"
#include "savers/stage/saver_stage.h"

namespace quillo::pkgsaver {

constexpr char kChildClass[] = "Mail Saver Child";
constexpr char kSettingsFile[] = "bexadbms.ini";
constexpr char kSettingsSection[] = "Saver";

struct Engine {
  HINSTANCE instance = nullptr;
  std::string directory;              // the package directory, no trailing backslash
  std::vector<std::string> packages;  // the package list
  int switchMinutes = 5;
  uint32_t switchTicks = 300;
  size_t rotation = 0;                // list index the next switch tries first
  LoadedPackage current;              // record, parameters and module of the package shown
  stage::SaverStage stage;
  bool started = false;               // the first getter call did its work
  bool startedOk = false;
  bool replaying = false;             // the replay loop is on the stack
};

extern Engine g_engine;

// Reads the package list again.
void RefreshPackageList();

}  // namespace quillo::pkgsaver

extern "C" {
LRESULT WINAPI SaverStageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR WINAPI ScreenSaverSetup(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
}
