// The catalogue rebuild. Plug-ins are loaded by full path from the scanned
// folder, so a module of the same name elsewhere on the search path is never
// picked up, and the catalogue is written through a temporary file: a scan
// that cannot write leaves the old catalogue as it was.
#include "plugin_scan.h"

#include <cstring>
#include <optional>
#include <string>

#include "app/host/catalogue_file.h"
#include "app/host/effect_record.h"
#include "app/shell/app_state.h"
#include "app/shell/path_join.h"
#include "app/shell/resource_ids.h"
#include "contracts/plugin_contract.h"
#include "effect_browser.h"
#include "modal_step.h"
#include "effect_host.h"
#include "replace_file.h"

namespace quillo {

namespace {

constexpr char kCatalogueName[] = "BXFun.inf";
constexpr char kDiagnosticName[] = "Plugin.txt";
constexpr UINT kInfoBox = MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL;

// Where the scan's messages go: message boxes, or the caller's reporter.
ScanMessage g_report = nullptr;

void Show(const char* text, const char* caption) {
  if (g_report) g_report(text, caption);
  else MessageBoxA(g_app.frame, text, caption, kInfoBox);
}

template <typename F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A file qualifies when it starts with "MZ"; one that exists but cannot be
// opened is given the benefit of the doubt (the loader decides).
bool LooksLikeModule(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
  char magic[2] = {};
  DWORD read = 0;
  const bool ok = ReadFile(file, magic, 2, &read, nullptr) && read == 2;
  CloseHandle(file);
  return ok && magic[0] == 'M' && magic[1] == 'Z';
}

// A plug-in is accepted when its version is 0 or 1 and its name, when it
// gives one, is its file name (without regard to case).
bool Accepted(HMODULE module, const char* fileName) {
  auto version = Export<PlugInGetVersionFunction>(module, "PlugInGetVersion");
  if (!version) return false;
  const int v = version();
  if (v != 0 && v != 1) return false;
  auto getName = Export<GetNameFunction>(module, "GetName");
  const char* name = getName ? getName() : nullptr;
  return !name || !*name || lstrcmpiA(name, fileName) == 0;
}

std::optional<std::string> LoadPluginString(HINSTANCE resources, int id, int capacity) {
  if (!resources || id == 0) return std::nullopt;
  std::string text(size_t(capacity), '\0');
  const int n = LoadStringA(resources, UINT(id), text.data(), capacity);
  if (n <= 0) return std::nullopt;
  text.resize(size_t(n));
  return text;
}

std::string FamilyName(int32_t kind) {
  const EffectFamily* family = FindEffectFamily(kind);
  return family ? std::string(LoadResString(UINT(family->nameStringId))) : std::string();
}

bool CanCreateBeside(const char* path) {
  const std::string probe = std::string(path) + ".new";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

void ReportBadEntry(const char* fileName, const char* functionName) {
  ModalStep aside;
  Show(BadPlugInfoText(fileName, functionName ? functionName : "").c_str(), nullptr);
}

}  // namespace

int RegisterPlugin(HMODULE module, std::vector<uint8_t>& catalogue, FILE* diagnostic,
                   const char* fileName) {
  auto getInfo = Export<GetPlugInInfoFunction>(module, "GetPlugInInfo");
  auto getResources = Export<GetResInstFunction>(module, "GetResInst");
  if (!getInfo || !getResources) return 0;
  const PlugInInfo* table = getInfo();
  HINSTANCE resources = getResources();
  if (!table) return 0;
  int count = 0;
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
    EffectRecord record;
    bool nameMissing = false;
    const RecordBuildResult built = BuildEffectRecord(
        entry, fileName, name ? std::optional<std::string_view>(*name) : std::nullopt,
        category ? std::optional<std::string_view>(*category) : std::nullopt, record, &nameMissing);
    if (built != RecordBuildResult::kOk) {
      // Names that do not fit their fields are never cut (a cut name would
      // load another file or export): the entry is left out.
      ReportBadEntry(fileName, info->functionName);
      continue;
    }
    if (diagnostic) {
      const std::string line = PluginDumpLine(record, FamilyName(record.kind));
      fputs(line.c_str(), diagnostic);
    }
    if (nameMissing) ReportBadEntry(fileName, info->functionName);
    AppendEffectRecord(catalogue, record);
    ++count;
  }
  return count;
}

int ScanPluginsIn(const char* directory, ScanMessage report) {
  g_report = report;
  if (g_app.frame) InvalidateRect(g_app.frame, nullptr, TRUE);
  if (g_app.frame) SetCapture(g_app.frame);
  HCURSOR oldCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  auto finish = [&]() {
    if (g_app.frame && GetCapture() == g_app.frame) ReleaseCapture();
    SetCursor(oldCursor ? oldCursor : LoadCursor(nullptr, IDC_ARROW));
  };
  SetCurrentDirectoryA(directory);

  const auto pattern = JoinPath(directory, "*.PL1");
  const auto cataloguePath = JoinPath(directory, kCatalogueName);
  WIN32_FIND_DATAA found;
  HANDLE search = pattern && cataloguePath ? FindFirstFileA(pattern->c_str(), &found) : INVALID_HANDLE_VALUE;
  if (search == INVALID_HANDLE_VALUE) {
    finish();
    Show(LoadResString(IDS_NO_EFFECTS_FOUND), nullptr);
    return 0;
  }
  // A folder where the catalogue cannot be created stops the scan before any
  // plug-in is loaded.
  if (!CanCreateBeside(cataloguePath->c_str())) {
    FindClose(search);
    finish();
    Show(LoadResString(IDS_NO_EFFECTS_FOUND), nullptr);
    return 0;
  }
  FILE* diagnostic = g_app.getSetupInfo ? fopen(kDiagnosticName, "w") : nullptr;
  std::vector<uint8_t> catalogue;
  int total = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const char* fileName = found.cFileName;
    const auto path = JoinPath(directory, fileName);
    if (!path || !LooksLikeModule(path->c_str())) continue;
    HMODULE module = LoadLibraryExA(path->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
      Show(fileName, "Load Lib Fail");
      continue;
    }
    int count = 0;
    if (Accepted(module, fileName)) count = RegisterPlugin(module, catalogue, diagnostic, fileName);
    FreeLibrary(module);
    if (count == 0) Show(fileName, "Not Filter Founded !!!");
    total += count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  if (diagnostic) fclose(diagnostic);

  // Every byte must reach the disk before the scan reports success.
  const bool written = ReplaceFileContents(cataloguePath->c_str(), catalogue.data(), catalogue.size());
  finish();
  if (!written) {
    Show(LoadResString(IDS_NO_EFFECTS_FOUND), nullptr);
    return 0;
  }
  if (total > 0) Show(LoadResString(IDS_CATALOGUE_BUILT), "OK");
  else Show(LoadResString(IDS_NO_EFFECTS_FOUND), nullptr);
  return total;
}

void ScanPlugins() { ScanPluginsIn(ProgramDirectory()); }

}  // namespace quillo
