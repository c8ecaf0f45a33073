// The engine's state, one per process: where its files are, the settings,
// the random catalogue and the stage the effects play on.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "imaging/basics/runtime_random.h"
#include "kernels/saver_catalogue.h"
#include "kernels/saver_settings.h"
#include "savers/stage/saver_stage.h"

namespace quillo::effsaver {

inline constexpr char kChildClass[] = "Saver Child";
inline constexpr char kResourceModuleName[] = "EffSaver.R";
inline constexpr char kCatalogueName[] = "Plug.inf";
inline constexpr char kSettingsFile[] = "bexadbms.ini";
inline constexpr char kSettingsSection[] = "Saver";

struct EffSaverEngine {
  HINSTANCE instance = nullptr;
  std::string directory;    // the folder EffSaver.DLL was loaded from
  std::string picturePath;  // directory + "\Saver\Saver.bmp"
  SaverSettings settings;
  std::vector<SaverCatalogueEntry> catalogue;
  RuntimeRandom random;
  stage::SaverStage stage;
  bool randomMode = false;    // decided when the saver window is created
  bool running = false;       // the play loop is on the stack
  bool endedBySaver = false;  // the tick ended the current effect to switch
};

extern EffSaverEngine g_engine;

// directory + "\" + name.
std::string InEngineFolder(const std::string& name);

}  // namespace quillo::effsaver
