// The package directory as PkgSaver reads it: the list of packages, one
// package loaded into memory, and the deletion of a package's files.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/host/effect_record.h"
#include "contracts/plugin_contract.h"
#include "savers/stage/saver_stage.h"

namespace quillo::pkgsaver {

// One package as read from its files. Every handle is owned by the value
// until it is handed on; Release frees and zeroes them.
struct LoadedPackage {
  std::string name;
  EffectRecord record = {};
  std::vector<uint8_t> parameters;  // the stored block, when it may be passed
  bool hasParameters = false;
  HMODULE module = nullptr;
  EffectFunction process = nullptr;  // null when the module lacks the export
  stage::StagePicture picture;

  const void* Parameters() const { return hasParameters ? parameters.data() : nullptr; }
  void Release();
};

// `directory` without a trailing backslash.
std::vector<std::string> ListPackages(const std::string& directory);

// Reads the record and the parameter block of package `name`; false when
// the record is missing or cannot be replayed.
bool ReadPackageFiles(const std::string& directory, const std::string& name, LoadedPackage& out);
// Reads the package's picture into out.picture; false when it cannot be decoded.
bool ReadPackagePicture(const std::string& directory, LoadedPackage& out);
// Loads the plug-in module the record names by its full path in `directory`
// and looks up the effect function (which may be missing). False when the
// module cannot be loaded.
bool LoadPackageModule(const std::string& directory, LoadedPackage& out);

// Deletes the files of package `name` (see IsPackageMemberFile); returns how
// many were deleted.
int DeletePackageFiles(const std::string& directory, const std::string& name);

}  // namespace quillo::pkgsaver
