#include "effsaver_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "app/host/catalogue_file.h"
#include "app/host/win/plugin_records.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "win_test_support.h"

namespace quillo::test {

namespace {

constexpr char kSettingsFile[] = "bexadbms.ini";

std::optional<std::string> ReadKey(const char* section, const char* key) {
  char missing[] = "\x01<none>";
  char value[512] = {};
  GetPrivateProfileStringA(section, key, missing, value, sizeof value, kSettingsFile);
  if (std::strcmp(value, missing) == 0) return std::nullopt;
  return std::string(value);
}

void RemoveFolderIfEmpty(const std::string& path) { RemoveDirectoryA(path.c_str()); }

}  // namespace

std::string EffSaverFixture::InBin(const std::string& name) { return ProgramDir() + "\\" + name; }

EffSaverFixture::EffSaverFixture() {
  const std::string module = InBin("Qlo12.PL1");
  if (HMODULE qlo12 = LoadLibraryExA(module.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
    VisitPluginEntries(qlo12, "Qlo12.PL1", [&](const PluginEntry& entry) {
      if (entry.built == RecordBuildResult::kOk) qlo12_.push_back(entry.record);
    });
    FreeLibrary(qlo12);
  }
  tracePath_ = InBin("effsaver_trace.txt");
  DeleteFileA(tracePath_.c_str());
  SetEnvironmentVariableA("QUILLO_EFFSAVER_TRACE", tracePath_.c_str());
  // 60 ticks a minute at 10 ms: a switch time of one minute switches every 0.6 s.
  SetEnvironmentVariableA("QUILLO_SAVER_TICK_MS", "10");
}

EffSaverFixture::~EffSaverFixture() {
  for (auto it = removeLater_.rbegin(); it != removeLater_.rend(); ++it)
    if (!DeleteFileA(it->c_str())) RemoveDirectoryA(it->c_str());
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
    WritePrivateProfileStringA(it->section.c_str(), it->key.c_str(), it->value ? it->value->c_str() : nullptr,
                               kSettingsFile);
  // A section left without keys goes too.
  for (const SavedKey& s : saved_) {
    char keys[4] = {};
    if (GetPrivateProfileStringA(s.section.c_str(), nullptr, "", keys, sizeof keys, kSettingsFile) == 0)
      WritePrivateProfileStringA(s.section.c_str(), nullptr, nullptr, kSettingsFile);
  }
  RemoveCatalogue();
  RemovePicture();
  if (picture_) DestroyDIB(picture_);
  DeleteFileA(tracePath_.c_str());
  SetEnvironmentVariableA("QUILLO_EFFSAVER_TRACE", nullptr);
  SetEnvironmentVariableA("QUILLO_SAVER_TICK_MS", nullptr);
}

EffectRecord EffSaverFixture::Row(const char* function, int32_t id) const {
  for (const EffectRecord& r : qlo12_)
    if (FunctionName(r) == function && r.effectValue == id) return r;
  ADD_FAILURE() << "Qlo12.PL1 has no " << function << " " << id;
  return {};
}

std::vector<EffectRecord> EffSaverFixture::MixedCatalogue() const {
  std::vector<EffectRecord> records;
  records.push_back(Row("ProcessWater"));
  EffectRecord kindOne = Row("ProcessDistort");
  kindOne.kind = 1;
  records.push_back(kindOne);
  for (const char* function : {"ProcessWorm", "ProcessKale", "ProcessIllusion"}) {
    EffectRecord notRandom = Row(function);
    notRandom.optionFlags |= 0x10;
    records.push_back(notRandom);
  }
  EffectRecord outside = Row("ProcessDawa");
  std::strcpy(outside.module, "..\\Qlo12.PL1");
  records.push_back(outside);
  EffectRecord missing = Row("ProcessWarp");
  std::strcpy(missing.module, "Missing.PL1");
  records.push_back(missing);
  records.push_back(Row("ProcessTunnel", 1));
  return records;
}

std::vector<uint8_t> EffSaverFixture::WriteCatalogue(const std::vector<EffectRecord>& records) {
  const std::vector<uint8_t> bytes = WriteEffectRecords(records);
  std::ofstream(InBin("Plug.inf"), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bytes;
}

void EffSaverFixture::RemoveCatalogue() {
  DeleteFileA(InBin("Plug.inf").c_str());
  DeleteFileA(InBin("Plug.inf.new").c_str());
}

bool EffSaverFixture::WritePicture(int width, int height) {
  if (picture_) DestroyDIB(picture_);
  picture_ = MakeTestPicture(width, height);
  CreateDirectoryA(InBin("Saver").c_str(), nullptr);
  return picture_ && SaveDIB(picture_, InBin("Saver\\Saver.bmp").c_str());
}

void EffSaverFixture::RemovePicture() {
  DeleteFileA(InBin("Saver\\Saver.bmp").c_str());
  DeleteFileA(InBin("Saver\\Saver.new.bmp").c_str());
  RemoveFolderIfEmpty(InBin("Saver"));
}

void EffSaverFixture::Set(const char* key, const char* value, const char* section) {
  bool known = false;
  for (const SavedKey& s : saved_) known = known || (s.section == section && s.key == key);
  if (!known) saved_.push_back({section, key, ReadKey(section, key)});
  WritePrivateProfileStringA(section, key, value, kSettingsFile);
}

std::string EffSaverFixture::Get(const char* key, const char* section) const {
  return ReadKey(section, key).value_or("<none>");
}

std::vector<std::string> EffSaverFixture::Trace() const {
  std::ifstream in(tracePath_);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

void EffSaverFixture::ClearTrace() { DeleteFileA(tracePath_.c_str()); }

}  // namespace quillo::test
