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
#include "plugin_records.h"
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
  int count = 0;
  VisitPluginEntries(module, fileName, [&](const PluginEntry& entry) {
    if (entry.built != RecordBuildResult::kOk) {
      // Names that do not fit their fields are never cut (a cut name would
      // load another file or export): the entry is left out.
      ReportBadEntry(fileName, entry.functionName);
      return;
    }
    if (diagnostic) {
      const std::string line = PluginDumpLine(entry.record, FamilyName(entry.record.kind));
      fputs(line.c_str(), diagnostic);
    }
    if (entry.displayNameMissing) ReportBadEntry(fileName, entry.functionName);
    AppendEffectRecord(catalogue, entry.record);
    ++count;
  });
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
    if (!path || !LooksLikePluginModule(path->c_str())) continue;
    HMODULE module = LoadLibraryExA(path->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
      Show(fileName, "Load Lib Fail");
      continue;
    }
    int count = 0;
    if (AcceptedPlugin(module, fileName)) count = RegisterPlugin(module, catalogue, diagnostic, fileName);
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
