#include "package_install.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/host/catalogue_file.h"
#include "app/host/package_naming.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/path_join.h"
#include "contracts/image_codecs.h"
#include "contracts/plugin_contract.h"
#include "effect_host.h"
#include "package_files.h"
#include "package_items.h"

namespace quillo {

namespace {

constexpr char kSettingsFile[] = "bexadbms.ini";
constexpr char kMailSaverName[] = "MailSaver.scr";

bool Exists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool AnyFileMatches(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

std::optional<std::string> SystemFile(const char* name) {
  char system[MAX_PATH];
  const UINT length = GetSystemDirectoryA(system, sizeof system);
  if (length == 0 || length >= sizeof system) return std::nullopt;
  return JoinPath(system, name);
}

std::optional<std::string> ProgramFile(std::string_view name) { return JoinPath(ProgramDirectory(), name); }

// Copies a file of the program folder into `folder` under its own name.
bool CopyIntoFolder(const std::string& folder, std::string_view name) {
  if (!IsBareFileName(name)) return false;
  const auto from = ProgramFile(name);
  const auto to = JoinPath(folder, name);
  return from && to && CopyFileChunked(to->c_str(), from->c_str());
}

// The short form of an existing file's path, or nullopt.
std::optional<std::string> ShortPath(const std::string& path) {
  char shortPath[MAX_PATH];
  const DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  if (length == 0 || length >= sizeof shortPath) return std::nullopt;
  return std::string(shortPath);
}

// Names the saver in "system.ini" and switches the screen saver on.
bool MakeSystemScreenSaver(const std::string& saverPath) {
  const auto shortPath = ShortPath(saverPath);
  if (!shortPath) return false;
  if (!WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", shortPath->c_str(), "system.ini")) return false;
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_UPDATEINIFILE);
  return true;
}

// The package's own files, removed again when the package cannot be
// completed; the shared modules beside them are never touched.
class PackageFiles {
 public:
  PackageFiles(std::string folder, std::string name) : folder_(std::move(folder)), name_(std::move(name)) {}
  ~PackageFiles() {
    if (!kept_)
      for (const std::string& path : written_) DeleteFileA(path.c_str());
  }
  std::string Path(std::string_view fileName) const { return folder_ + std::string(fileName); }
  std::string Own(std::string_view extension) const { return Path(name_ + std::string(extension)); }
  void Wrote(const std::string& path) { written_.push_back(path); }
  void Keep() { kept_ = true; }
  const std::string& folder() const { return folder_; }
  const std::string& name() const { return name_; }

 private:
  std::string folder_, name_;
  std::vector<std::string> written_;
  bool kept_ = false;
};

// The effect's parameter block and extra pictures, written into the
// package.
bool CaptureItems(HWND effectWindow, PackageFiles& files) {
  return CaptureEffectItems(
      effectWindow,
      [&](const void* data, size_t size) {
        const std::string path = files.Own(".Prm");
        if (!WriteBufferToFile(data, size, path.c_str())) return false;
        files.Wrote(path);
        return true;
      },
      [&](unsigned index, HGLOBAL image) {
        // Straight to its package name: no shared temporary file that a
        // user's picture of the same name could be lost to.
        const std::string path = files.Path(ExtraPictureName(files.name(), index));
        if (!SaveDIB(image, path.c_str())) return false;
        files.Wrote(path);
        return true;
      });
}

// The files a plug-in names through its optional GetExtraImport export.
bool CopyExtraImports(HMODULE plugin, const std::string& folder) {
  return ForEachExtraImport(plugin, [&](const char* name) { return CopyIntoFolder(folder, name); });
}

// The record as a package stores it: the in-memory browser fields zeroed.
std::vector<uint8_t> RecordBytes(const EffectRecord& record) {
  EffectRecord stored = record;
  stored.iconColumn = stored.iconRow = 0;
  return WriteEffectRecords({stored});
}

std::optional<std::string> MakePackageFolder() {
  char windows[MAX_PATH];
  const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
  if (length == 0 || length >= sizeof windows) return std::nullopt;
  auto folder = PackageDirectoryOf(windows);
  if (!folder) return std::nullopt;
  CreateDirectoryA(folder->c_str(), nullptr);
  const DWORD attributes = GetFileAttributesA(folder->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return folder;
}

std::optional<std::string> NewPackageName(const std::string& folder) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const LocalTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  return UniquePackageName(PackageNameAt(time), [&](const std::string& name) {
    return AnyFileMatches(folder + name + ".*") || AnyFileMatches(folder + name + "(*");
  });
}

// The support modules a package plays with, copied beside it.
bool CopySupportModules(const std::string& folder, const EffectRecord& record, HMODULE plugin) {
  const std::string resources = ResourceModuleName(plugin);
  const std::string_view modules[] = {"BXUI.DLL", "BXDIB3.DLL", "BXCOMM.DLL", "Posy.r",
                                      ModuleName(record), "PkgSaver.dll", resources};
  for (std::string_view module : modules)
    if (!CopyIntoFolder(folder, module)) return false;
  return true;
}

}  // namespace

int InstallPackageAsScreenSaver() {
  SetCurrentDirectoryA(ProgramDirectory());
  HWND document = g_app.mdiClient ? HWND(SendMessageA(g_app.mdiClient, WM_MDIGETACTIVE, 0, 0)) : nullptr;
  const EffectRecord* running = CurrentEffect();
  HWND effectWindow = CurrentEffectDialog();
  if (!document || !RecordOf(document) || !running || !effectWindow) return 0;
  const EffectRecord record = *running;
  HGLOBAL image = CurrentEffectOriginalImage();
  if (!image) image = CurrentImage(document);
  const auto mailSaver = SystemFile(kMailSaverName);
  const auto folder = MakePackageFolder();
  const auto name = folder ? NewPackageName(*folder) : std::nullopt;
  if (!image || !mailSaver || !name) return 0;
  PackageFiles files(*folder, *name);

  const std::string picture = files.Own(".bexa");
  if (!SaveDIB(image, picture.c_str())) {
    MessageBeep(0);
    return 0;
  }
  files.Wrote(picture);

  // The plug-in as the running effect has it loaded, for its exports.
  const auto pluginPath = ProgramFile(ModuleName(record));
  HMODULE plugin = pluginPath ? LoadLibraryExA(pluginPath->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH) : nullptr;
  if (!plugin) return 0;
  bool ok = CopySupportModules(*folder, record, plugin);
  if (ok && !Exists(*mailSaver)) {
    const auto source = ProgramFile(kMailSaverName);
    ok = source && CopyFileChunked(mailSaver->c_str(), source->c_str());
  }
  ok = ok && CaptureItems(effectWindow, files) && CopyExtraImports(plugin, *folder);
  FreeLibrary(plugin);

  // The record last: a package is listed only once everything it needs is
  // there.
  if (ok) {
    const std::vector<uint8_t> bytes = RecordBytes(record);
    const std::string path = files.Own(".SSD");
    ok = WriteBufferToFile(bytes.data(), bytes.size(), path.c_str());
    if (ok) files.Wrote(path);
  }
  if (!ok) return 0;
  files.Keep();

  if (!WritePrivateProfileStringA("Saver", "Default", name->c_str(), kSettingsFile)) return 0;
  return MakeSystemScreenSaver(*mailSaver) ? 1 : 0;
}

bool InstallEffectScreenSaver() {
  const auto saver = SystemFile("BXSaver.SCR");
  const auto source = ProgramFile("BXSaver.SCR");
  const auto engine = ProgramFile("EffSaver.DLL");
  bool ok = saver && source && engine && Exists(*engine);
  if (ok && !Exists(*saver)) ok = CopyFileChunked(saver->c_str(), source->c_str());
  ok = ok && ShortPath(*saver) && WritePrivateProfileStringA("Saver", "Engine", engine->c_str(), kSettingsFile);
  ok = ok && MakeSystemScreenSaver(*saver);
  if (!ok) MessageBeep(0);
  return ok;
}

}  // namespace quillo
