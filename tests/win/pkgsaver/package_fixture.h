// Packages made by hand in the package directory of the Wine prefix, the way
// the studio writes them, and everything put back as it was afterwards: the
// files this fixture added, the "Saver" settings, the copied saver program.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/host/effect_record.h"

namespace quillo::test {

// One key of "bexadbms.ini" put back as it was (the section, and the file
// when it is left empty, removed when they did not exist before).
class SavedSetting {
 public:
  SavedSetting(const char* section, const char* key);
  ~SavedSetting();

 private:
  const char* section_;
  const char* key_;
  std::string value_;
  bool hadSection_;
  bool hadFile_;
};

class PackageFixture {
 public:
  PackageFixture();
  ~PackageFixture();

  const std::string& directory() const { return directory_; }  // no trailing backslash
  const std::string& saverProgram() const { return saverProgram_; }
  bool ready() const { return ready_; }

  // The record the studio stores for Qlo12's "ProcessWater".
  EffectRecord WaterRecord() const { return water_; }
  // The record of one of Qlo13's light effects.
  EffectRecord LightRecord(const char* function) const;
  // Writes name.BEXA (a width x height test picture as JPEG) and name.SSD
  // holding `record`'s bytes, or just its first `recordBytes` bytes.
  bool WritePackage(const std::string& name, int width, int height, const EffectRecord& record,
                    size_t recordBytes = kEffectRecordSize);
  // The same with a picture file of any size (copied as name.BEXA).
  bool WritePackageWithPicture(const std::string& name, const std::string& pictureFile,
                               const EffectRecord& record);
  // Any other file of the package directory, removed again at the end.
  bool WriteFile(const std::string& fileName, const std::string& content);
  bool Exists(const std::string& fileName) const;

  void SetSetting(const char* key, const char* value);  // null removes the key
  std::string Setting(const char* key) const;           // "<none>" when missing

 private:
  bool CopySupportFile(const char* fileName);
  std::string Path(const std::string& fileName) const { return directory_ + "\\" + fileName; }

  std::string directory_;
  std::string saverFolder_;
  std::string saverProgram_;
  bool createdDirectory_ = false;
  bool ready_ = false;
  std::vector<std::string> added_;  // file names in the package directory
  SavedSetting default_{"Saver", "Default"};
  SavedSetting time_{"Saver", "Time"};
  // Effects remember their dialog position, hidden or not.
  SavedSetting dialogPosition_{"Plugin", "DlgWinPos"};
  EffectRecord water_ = {};
};

}  // namespace quillo::test
