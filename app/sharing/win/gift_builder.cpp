#include "gift_builder.h"

#include <cstring>
#include <vector>

#include "app/host/catalogue_file.h"
#include "app/host/package_naming.h"
#include "app/host/win/package_files.h"
#include "app/host/win/package_items.h"
#include "app/shell/app_state.h"
#include "app/sharing/gift_plan.h"
#include "contracts/image_codecs.h"
#include "contracts/plugin_contract.h"
#include "gift/archive/gift_files.h"

namespace quillo {

namespace {

constexpr char kPicture[] = "Temp\\Mail.jpg";

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

gift::DosDateTime Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return gift::DosDateTimeOf(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

// The members and the temporary files written for them.
class GiftMembers {
 public:
  explicit GiftMembers(const GiftOptions& options) : options_(options) {}
  ~GiftMembers() {
    for (const std::string& path : written_.TakeFilesToDelete()) DeleteFileA(path.c_str());
  }
  // A file of the program folder under `name`; the "English" folder's copy
  // when the English gift is asked for and it has one.
  bool AddFile(const std::string& name, const std::string& source) {
    if (!IsBareFileName(name)) return false;
    std::string path = source;
    const std::string english = "English\\" + source;
    if (options_.english && FileExists(english)) path = english;
    if (!FileExists(path)) return false;
    files_.push_back({name, path});
    return true;
  }
  // A block written to Temp\{name} and listed for the clean-up.
  bool AddBlock(const std::string& name, const void* data, size_t size) {
    const std::string path = "Temp\\" + name;
    if (!written_.Add(path, true) || !WriteBufferToFile(data, size, path.c_str())) return false;
    files_.push_back({name, path});
    return true;
  }
  bool AddPicture(const std::string& name, HGLOBAL image) {
    const std::string path = "Temp\\" + name;
    if (!written_.Add(path, true) || !SaveDIB(image, path.c_str())) return false;
    files_.push_back({name, path});
    return true;
  }
  const std::vector<gift::GiftFile>& files() const { return files_; }

 private:
  GiftOptions options_;
  GiftFileList written_;
  std::vector<gift::GiftFile> files_;
};

std::string ResourceModuleOf(const EffectRecord& record, HMODULE* module) {
  const std::string path = std::string(ProgramDirectory()) + "\\" + std::string(ModuleName(record));
  *module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  return *module ? ResourceModuleName(*module) : std::string();
}

bool AddExtraImports(HMODULE plugin, GiftMembers& members) {
  return ForEachExtraImport(plugin, [&](const char* name) { return members.AddFile(name, name); });
}

}  // namespace

bool SaveGiftPicture(HGLOBAL image) {
  SetCurrentDirectoryA(ProgramDirectory());
  CreateDirectoryA("Temp", nullptr);
  if (image && SaveDIB(image, kPicture)) return true;
  MessageBeep(0);
  return false;
}

std::optional<std::string> BuildGift(const std::string& fileName, const EffectRecord& record, HWND effectWindow,
                                     const GiftOptions& options) {
  const std::optional<GiftPaths> paths = GiftPathsFor(fileName);
  if (!paths || !IsBareFileName(ModuleName(record))) return std::nullopt;
  SetCurrentDirectoryA(ProgramDirectory());
  CreateDirectoryA("Temp", nullptr);
  const std::string& p = paths->packageName;
  GiftMembers members(options);
  HMODULE plugin = nullptr;
  const std::string resources = ResourceModuleOf(record, &plugin);
  const std::vector<uint8_t> recordBytes = WriteEffectRecords({record});
  bool ok = plugin && IsBareFileName(resources) && members.AddFile("POSY.R", "Posy.R") &&
            members.AddFile(p + ".EXE", "GiftUtil.EXE") && members.AddFile("BXDIB3.DLL", "BXDIB3.DLL") &&
            members.AddFile("BXUI.DLL", "BXUI.DLL") && members.AddFile("BXCOMM.DLL", "BXCOMM.DLL") &&
            members.AddBlock(p + ".SSD", recordBytes.data(), recordBytes.size()) &&
            members.AddFile(p + ".bexa", kPicture) &&
            members.AddFile(std::string(ModuleName(record)), std::string(ModuleName(record)));
  if (ok && options.includeSaver)
    ok = members.AddFile("PkgSaver.dll", "PkgSaver.dll") && members.AddFile("MailSaver.scr", "MailSaver.scr");
  ok = ok && CaptureEffectItems(
                 effectWindow,
                 [&](const void* data, size_t size) { return members.AddBlock(p + ".Prm", data, size); },
                 [&](unsigned index, HGLOBAL image) {
                   return members.AddPicture(ExtraPictureName(p, index), image);
                 });
  ok = ok && members.AddFile(resources, resources) && AddExtraImports(plugin, members);
  if (plugin) FreeLibrary(plugin);
  if (!ok) return std::nullopt;

  const auto stub = gift::ReadFileBytes("GiftSfx.exe", 16u << 20);
  if (!stub) return std::nullopt;
  const gift::GiftZip zip = gift::BuildGiftZip(members.files(), Now());
  if (!zip.skipped.empty()) return std::nullopt;
  if (!gift::WriteGiftProgramFile(paths->program, *stub, zip.zip)) return std::nullopt;
  return paths->program;
}

}  // namespace quillo
