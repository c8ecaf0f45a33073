// File names of a package: the files one package name stands for, which a
// deletion removes, and where the package directory is.
#pragma once
#include <string>
#include <string_view>

#include "app/host/effect_record.h"  // IsBareFileName
#include "app/host/package_naming.h"  // PackageDirectoryOf

namespace quillo::package {

// The files a package name stands for, as the saver opens them.
inline std::string ImageFileName(std::string_view name) { return std::string(name) + ".BEXA"; }
inline std::string RecordFileName(std::string_view name) { return std::string(name) + ".SSD"; }
inline std::string ParameterFileName(std::string_view name) { return std::string(name) + ".Prm"; }

// Whether deleting package `name` removes the file `fileName`: only
// name.bexa, name.SSD, name.Prm and name(k).bexa with k one or more decimal
// digits, compared without regard to case. Support modules, other packages
// whose names start the same way ("name-2.bexa") and anything else stay.
bool IsPackageMemberFile(std::string_view name, std::string_view fileName);

}  // namespace quillo::package
