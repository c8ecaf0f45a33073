#include "engine_loader.h"

#include <optional>
#include <string>

#include "kernels/engine_path.h"

namespace quillo::bxsaver {

namespace {

template <typename F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::optional<std::string> ConfiguredEnginePath() {
  char value[MAX_PATH] = {};
  const DWORD n = GetPrivateProfileStringA("Saver", "Engine", "", value, sizeof value, "bexadbms.ini");
  if (n == 0 || n >= sizeof value - 1 || !IsEnginePath(value)) return std::nullopt;
  return std::string(value, n);
}

std::optional<std::string> EngineBesideProgram() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return std::nullopt;
  std::string own(path, n);
  const size_t slash = own.find_last_of("\\/");
  if (slash == std::string::npos) return std::nullopt;
  const std::string engine = own.substr(0, slash + 1) + kEngineFileName;
  return IsEnginePath(engine) ? std::optional<std::string>(engine) : std::nullopt;
}

bool TryLoad(const std::string& path, LoadedEngine* engine) {
  const auto folder = EngineFolder(path);
  if (!folder || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  SetCurrentDirectoryA(folder->c_str());
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) return false;
  auto getProc = Export<stage::GetSaverProcFunction>(module, stage::kGetSaverProcExport);
  auto getDialog = Export<stage::GetSaverDlgFunction>(module, stage::kGetSaverDlgExport);
  if (!getProc || !getDialog) {
    FreeLibrary(module);
    return false;
  }
  *engine = {module, getProc(), getDialog()};
  return true;
}

}  // namespace

bool LoadEngine(LoadedEngine* engine) {
  if (const auto configured = ConfiguredEnginePath(); configured && TryLoad(*configured, engine)) return true;
  const auto beside = EngineBesideProgram();
  return beside && TryLoad(*beside, engine);
}

}  // namespace quillo::bxsaver
