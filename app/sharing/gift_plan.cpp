#include "gift_plan.h"

#include <cctype>
#include <cstdio>

#include "app/host/effect_record.h"

namespace quillo {

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])) !=
        std::tolower(static_cast<unsigned char>(tail[i])))
      return false;
  return true;
}

constexpr size_t kMaxGiftNameChars = 50;

}  // namespace

std::optional<GiftPaths> GiftPathsFor(std::string_view fileName) {
  if (fileName.size() > kMaxGiftNameChars || !IsBareFileName(fileName)) return std::nullopt;
  const size_t dot = fileName.rfind('.');
  const std::string_view base = dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
  if (base.empty()) return std::nullopt;
  GiftPaths paths;
  paths.target = "Temp\\" + std::string(fileName);
  paths.base = std::string(base);
  // "x.exe" -> "x.ZIP"; "x" and "x.other" -> "x.ZIP", "x.other.ZIP".
  paths.archive = EndsWithNoCase(paths.target, ".exe") ? paths.target.substr(0, paths.target.size() - 4) + ".ZIP"
                                                        : paths.target + ".ZIP";
  paths.program = "Temp\\" + paths.base + ".exe";
  paths.packageName = "_" + paths.base;
  return paths;
}

std::string DefaultGiftName(unsigned number) {
  char text[16];
  std::snprintf(text, sizeof text, "Eff%05u.exe", number % 100000u);
  return text;
}

bool IsKeptProgramFile(std::string_view path) {
  for (std::string_view extension : {".pan", ".dll", ".ico", ".pl1"})
    if (EndsWithNoCase(path, extension)) return true;
  return false;
}

bool GiftFileList::Add(std::string path, bool temporary) {
  if (entries_.size() >= kMaxEntries || path.empty() || path.size() > kMaxPathChars) return false;
  entries_.push_back({std::move(path), temporary});
  return true;
}

std::vector<std::string> GiftFileList::TakeFilesToDelete() {
  std::vector<std::string> doomed;
  for (const Entry& entry : entries_)
    if (entry.temporary && !IsKeptProgramFile(entry.path)) doomed.push_back(entry.path);
  entries_.clear();
  return doomed;
}

}  // namespace quillo
