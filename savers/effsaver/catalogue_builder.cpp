#include "catalogue_builder.h"

#include <string>
#include <vector>

#include "app/host/catalogue_file.h"
#include "app/host/win/plugin_records.h"
#include "app/host/win/replace_file.h"
#include "engine_state.h"

namespace quillo::effsaver {

namespace {

constexpr UINT kInfoBox = MB_OK | MB_ICONINFORMATION;

// The records of one loaded plug-in; entries whose names do not fit are
// reported and left out, entries without a display name are reported and
// kept (as "N/A").
int AddPluginRecords(HWND owner, HMODULE module, const char* fileName, std::vector<uint8_t>& catalogue) {
  int count = 0;
  VisitPluginEntries(module, fileName, [&](const PluginEntry& entry) {
    const bool refused = entry.built != RecordBuildResult::kOk;
    if (refused || entry.displayNameMissing) {
      const std::string text = BadPlugInfoText(fileName, entry.functionName ? entry.functionName : "");
      MessageBoxA(owner, text.c_str(), nullptr, kInfoBox);
    }
    if (refused) return;
    AppendEffectRecord(catalogue, entry.record);
    ++count;
  });
  return count;
}

}  // namespace

int BuildCatalogue(HWND owner) {
  const std::string pattern = InEngineFolder("*.PL1");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  HCURSOR oldCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  std::vector<uint8_t> catalogue;
  int total = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const char* fileName = found.cFileName;
    const std::string path = InEngineFolder(fileName);
    if (!LooksLikePluginModule(path.c_str())) continue;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
      MessageBoxA(owner, fileName, "Can't Load Library", kInfoBox);
      continue;
    }
    int count = 0;
    if (AcceptedPlugin(module, fileName)) count = AddPluginRecords(owner, module, fileName, catalogue);
    FreeLibrary(module);
    if (count == 0) MessageBoxA(owner, fileName, "Not Filter Founded !!!", kInfoBox);
    total += count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  SetCursor(oldCursor ? oldCursor : LoadCursor(nullptr, IDC_ARROW));
  const std::string cataloguePath = InEngineFolder(kCatalogueName);
  if (!ReplaceFileContents(cataloguePath.c_str(), catalogue.data(), catalogue.size())) return 0;
  return total;
}

}  // namespace quillo::effsaver
