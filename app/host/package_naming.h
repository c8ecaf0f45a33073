// Names of the files a package is made of. A package is the picture an
// effect started from, the effect's record and its parameters, kept in the
// "Bexa" folder of the Windows directory under one base name formed from the
// local time of saving.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillo {

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// "_2003-05-17-14-03-09" for that moment.
std::string PackageNameAt(const LocalTime& time);

// The first of base, base + "-2", base + "-3", ... that `taken` says no
// package uses yet, so two packages saved within one second keep their own
// files. Nullopt when even base + "-999" is taken.
std::optional<std::string> UniquePackageName(std::string_view base,
                                             const std::function<bool(const std::string&)>& taken);

// The package folder: the Windows directory, one backslash, "Bexa" and a
// backslash. Nullopt when the path would not fit a Windows path.
std::optional<std::string> PackageDirectoryOf(std::string_view windowsDirectory);

// "{name}(index).bexa": the index-th extra picture of a package.
std::string ExtraPictureName(std::string_view packageName, unsigned index);

}  // namespace quillo
