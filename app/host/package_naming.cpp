#include "package_naming.h"

#include <cstdio>

namespace quillo {

std::string PackageNameAt(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "_%04d-%02d-%02d-%02d-%02d-%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

std::optional<std::string> UniquePackageName(std::string_view base,
                                             const std::function<bool(const std::string&)>& taken) {
  std::string name(base);
  for (int suffix = 2; taken(name); ++suffix) {
    if (suffix > 999) return std::nullopt;
    name = std::string(base) + "-" + std::to_string(suffix);
  }
  return name;
}

std::optional<std::string> PackageDirectoryOf(std::string_view windowsDirectory) {
  // One trailing backslash less, so a root ("C:\") gives "C:\Bexa\".
  if (!windowsDirectory.empty() && windowsDirectory.back() == '\\') windowsDirectory.remove_suffix(1);
  constexpr size_t kLongestPath = 259;  // MAX_PATH less the terminating zero
  if (windowsDirectory.empty() || windowsDirectory.size() + 6 > kLongestPath) return std::nullopt;
  return std::string(windowsDirectory) + "\\Bexa\\";
}

std::string ExtraPictureName(std::string_view packageName, unsigned index) {
  return std::string(packageName) + "(" + std::to_string(index) + ").bexa";
}

}  // namespace quillo
