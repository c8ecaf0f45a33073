#include "plugin_records.h"

#include <optional>
#include <string>

#include "contracts/plugin_contract.h"

namespace quillo {

namespace {

template <typename F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::optional<std::string> LoadPluginString(HINSTANCE resources, int id, int capacity) {
  if (!resources || id == 0) return std::nullopt;
  std::string text(size_t(capacity), '\0');
  const int n = LoadStringA(resources, UINT(id), text.data(), capacity);
  if (n <= 0) return std::nullopt;
  text.resize(size_t(n));
  return text;
}

}  // namespace

bool LooksLikePluginModule(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
  char magic[2] = {};
  DWORD read = 0;
  const bool ok = ReadFile(file, magic, 2, &read, nullptr) && read == 2;
  CloseHandle(file);
  return ok && magic[0] == 'M' && magic[1] == 'Z';
}

bool AcceptedPlugin(HMODULE module, const char* fileName) {
  auto version = Export<PlugInGetVersionFunction>(module, "PlugInGetVersion");
  if (!version) return false;
  const int v = version();
  if (v != 0 && v != 1) return false;
  auto getName = Export<GetNameFunction>(module, "GetName");
  const char* name = getName ? getName() : nullptr;
  return !name || !*name || lstrcmpiA(name, fileName) == 0;
}

bool VisitPluginEntries(HMODULE module, const char* fileName,
                        const std::function<void(const PluginEntry&)>& visit) {
  auto getInfo = Export<GetPlugInInfoFunction>(module, "GetPlugInInfo");
  auto getResources = Export<GetResInstFunction>(module, "GetResInst");
  if (!getInfo || !getResources) return false;
  const PlugInInfo* table = getInfo();
  HINSTANCE resources = getResources();
  if (!table) return false;
  for (const PlugInInfo* info = table; info->kindFlags > 0; ++info) {
    EffectInfoEntry entry;
    entry.kindFlags = info->kindFlags;
    entry.reserved1 = info->reserved1;
    entry.catalogFlag = info->catalogFlag;
    entry.effectValue = info->effectValue;
    entry.nameStringId = info->nameStringId;
    entry.categoryStringId = info->categoryStringId;
    entry.optionFlags = info->optionFlags;
    entry.functionName = info->functionName;
    entry.exampleImage = info->exampleImage;
    const auto name = LoadPluginString(resources, info->nameStringId, int(kDisplayNameFieldChars));
    const auto category = LoadPluginString(resources, info->categoryStringId, int(kCategoryFieldChars));
    PluginEntry result;
    result.functionName = info->functionName;
    result.built = BuildEffectRecord(
        entry, fileName, name ? std::optional<std::string_view>(*name) : std::nullopt,
        category ? std::optional<std::string_view>(*category) : std::nullopt, result.record,
        &result.displayNameMissing);
    visit(result);
  }
  return true;
}

}  // namespace quillo
