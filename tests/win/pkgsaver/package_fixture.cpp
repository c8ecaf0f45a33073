#include "package_fixture.h"

#include <cstring>
#include <optional>

#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "plugin_harness.h"
#include "win_test_support.h"

namespace quillo::test {

namespace {

constexpr char kSettingsFile[] = "bexadbms.ini";
constexpr char kMissing[] = "<none>";

std::optional<std::string> LoadText(HINSTANCE module, int id) {
  char text[80] = {};
  if (id == 0 || LoadStringA(module, UINT(id), text, sizeof text) <= 0) return std::nullopt;
  return std::string(text);
}

// Builds the record the studio's plug-in scan makes for one function of a
// plug-in module.
EffectRecord RecordFromPlugin(const char* module, const char* function) {
  EffectRecord record = {};
  PluginModule plugin(module);
  auto info = plugin.Export<GetPlugInInfoFunction>("GetPlugInInfo");
  auto resources = plugin.Export<GetResInstFunction>("GetResInst");
  if (!info || !resources) return record;
  for (const PlugInInfo* row = info(); row->kindFlags > 0; ++row) {
    if (std::strcmp(row->functionName, function) != 0) continue;
    EffectInfoEntry entry;
    entry.kindFlags = row->kindFlags;
    entry.reserved1 = row->reserved1;
    entry.catalogFlag = row->catalogFlag;
    entry.effectValue = row->effectValue;
    entry.nameStringId = row->nameStringId;
    entry.categoryStringId = row->categoryStringId;
    entry.optionFlags = row->optionFlags;
    entry.functionName = row->functionName;
    entry.exampleImage = row->exampleImage;
    const auto name = LoadText(resources(), row->nameStringId);
    const auto category = LoadText(resources(), row->categoryStringId);
    BuildEffectRecord(entry, module, name ? std::optional<std::string_view>(*name) : std::nullopt,
                      category ? std::optional<std::string_view>(*category) : std::nullopt, record);
    break;
  }
  return record;
}

std::string ReadSetting(const char* key) {
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA("Saver", key, kMissing, value, sizeof value, kSettingsFile);
  return value;
}

bool HasSection(const char* section) {
  char keys[64] = {};
  return GetPrivateProfileSectionA(section, keys, sizeof keys, kSettingsFile) > 0;
}

std::string SettingsPath() {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, sizeof windows);
  std::string path = windows;
  if (!path.empty() && path.back() != '\\') path.push_back('\\');
  return path + kSettingsFile;
}

}  // namespace

SavedSetting::SavedSetting(const char* section, const char* key)
    : section_(section), key_(key), hadSection_(HasSection(section)),
      hadFile_(GetFileAttributesA(SettingsPath().c_str()) != INVALID_FILE_ATTRIBUTES) {
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA(section, key, kMissing, value, sizeof value, kSettingsFile);
  value_ = value;
}

SavedSetting::~SavedSetting() {
  WritePrivateProfileStringA(section_, key_, value_ == kMissing ? nullptr : value_.c_str(), kSettingsFile);
  if (!hadSection_ && !HasSection(section_)) WritePrivateProfileStringA(section_, nullptr, nullptr, kSettingsFile);
  if (hadFile_) return;
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, kSettingsFile);  // flushes the cached file
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (GetFileAttributesExA(SettingsPath().c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow == 0 &&
      data.nFileSizeHigh == 0)
    DeleteFileA(SettingsPath().c_str());
}

PackageFixture::PackageFixture() {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, sizeof windows);
  std::string base = windows;
  if (!base.empty() && base.back() == '\\') base.pop_back();
  directory_ = base + "\\Bexa";
  createdDirectory_ = CreateDirectoryA(directory_.c_str(), nullptr) != FALSE;
  SetSetting("Default", nullptr);
  SetSetting("Time", nullptr);

  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  saverFolder_ = std::string(temp) + "quillo_pkgsaver_test";
  CreateDirectoryA(saverFolder_.c_str(), nullptr);
  saverProgram_ = saverFolder_ + "\\MailSaver.scr";
  ready_ = CopyFileA((ProgramDir() + "\\MailSaver.scr").c_str(), saverProgram_.c_str(), FALSE) != FALSE;
  for (const char* file :
       {"Qlo12.PL1", "Qlo12.R", "Qlo13.PL1", "Qlo13.R", "BXUI.DLL", "BXDIB3.DLL", "BXCOMM.DLL", "PkgSaver.dll"})
    ready_ = CopySupportFile(file) && ready_;
  water_ = RecordFromPlugin("Qlo12.PL1", "ProcessWater");
  ready_ = ready_ && water_.kind > 0;
}

PackageFixture::~PackageFixture() {
  for (const std::string& file : added_) DeleteFileA(Path(file).c_str());
  if (createdDirectory_) RemoveDirectoryA(directory_.c_str());
  DeleteFileA(saverProgram_.c_str());
  RemoveDirectoryA(saverFolder_.c_str());
}

EffectRecord PackageFixture::LightRecord(const char* function) const {
  return RecordFromPlugin("Qlo13.PL1", function);
}

bool PackageFixture::CopySupportFile(const char* fileName) {
  // A file someone else left there stays theirs.
  if (Exists(fileName)) return true;
  if (!CopyFileA((ProgramDir() + "\\" + fileName).c_str(), Path(fileName).c_str(), TRUE)) return false;
  added_.push_back(fileName);
  return true;
}

bool PackageFixture::WritePackage(const std::string& name, int width, int height, const EffectRecord& record,
                                  size_t recordBytes) {
  HGLOBAL picture = MakeTestPicture(width, height);
  const std::string image = name + ".BEXA";
  const bool saved = picture && SaveDIB(picture, Path(image).c_str());
  if (picture) DestroyDIB(picture);
  if (!saved) return false;
  added_.push_back(image);
  std::string bytes(reinterpret_cast<const char*>(&record), sizeof record);
  bytes.resize(recordBytes, '\0');
  return WriteFile(name + ".SSD", bytes);
}

bool PackageFixture::WritePackageWithPicture(const std::string& name, const std::string& pictureFile,
                                             const EffectRecord& record) {
  const std::string image = name + ".BEXA";
  if (!CopyFileA(pictureFile.c_str(), Path(image).c_str(), FALSE)) return false;
  added_.push_back(image);
  return WriteFile(name + ".SSD", std::string(reinterpret_cast<const char*>(&record), sizeof record));
}

bool PackageFixture::WriteFile(const std::string& fileName, const std::string& content) {
  HANDLE file = CreateFileA(Path(fileName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  added_.push_back(fileName);
  DWORD written = 0;
  const bool ok = ::WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr) &&
                  written == content.size();
  CloseHandle(file);
  return ok;
}

bool PackageFixture::Exists(const std::string& fileName) const {
  return GetFileAttributesA(Path(fileName).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PackageFixture::SetSetting(const char* key, const char* value) {
  WritePrivateProfileStringA("Saver", key, value, kSettingsFile);
}

std::string PackageFixture::Setting(const char* key) const { return ReadSetting(key); }

}  // namespace quillo::test
