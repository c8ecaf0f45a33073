#include "package_list.h"

#include <cctype>

#include "app/host/effect_record.h"
#include "package_names.h"
#include "package_record.h"

namespace quillo::package {

std::string PackageNameOfRecordFile(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos || dot == 0) return {};
  const std::string extension = fileName.substr(dot + 1);
  if (extension.size() != 3) return {};
  static constexpr char kExtension[] = "ssd";
  for (size_t i = 0; i < 3; ++i)
    if (std::tolower(static_cast<unsigned char>(extension[i])) != kExtension[i]) return {};
  return fileName.substr(0, dot);
}

std::vector<std::string> BuildPackageList(const std::vector<RecordFileEntry>& entries) {
  std::vector<std::string> list;
  for (const RecordFileEntry& entry : entries) {
    if (list.size() >= kMaxPackages) break;
    if (entry.directory || entry.size != kEffectRecordSize) continue;
    const std::string name = PackageNameOfRecordFile(entry.fileName);
    if (name.empty() || name.size() > kMaxPackageNameChars || !IsBareFileName(name)) continue;
    EffectRecord record;
    const RecordCheck check = ReadPackageRecord(entry.bytes, record);
    // Listed whenever the record is whole and marked replayable, so the
    // settings dialog can still show and delete a package that cannot play.
    if (check == RecordCheck::kWrongSize || check == RecordCheck::kNotReplayable) continue;
    list.push_back(name);
  }
  return list;
}

size_t RotationStart(const std::vector<std::string>& list, const std::string& current) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == current) return (i + 1) % list.size();
  return 0;
}

}  // namespace quillo::package
