#include "package_files.h"

#include "contracts/dib_services.h"
#include "savers/package/package_list.h"
#include "savers/package/package_names.h"
#include "savers/package/package_record.h"
#include "savers/stage/stage_files.h"

namespace quillo::pkgsaver {

namespace {

// Parameter blocks beyond this are not read: no effect stores one near it.
constexpr uint64_t kMaxParameterBytes = 16u << 20;

std::string Join(const std::string& directory, const std::string& name) { return directory + "\\" + name; }

}  // namespace

void LoadedPackage::Release() {
  if (module) FreeLibrary(module);
  module = nullptr;
  process = nullptr;
  stage::FreePicture(&picture);
  parameters.clear();
  hasParameters = false;
}

std::vector<std::string> ListPackages(const std::string& directory) {
  std::vector<package::RecordFileEntry> entries;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(Join(directory, "*.SSD").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  do {
    package::RecordFileEntry entry;
    entry.fileName = found.cFileName;
    entry.directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.size = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    if (!entry.directory && entry.size == kEffectRecordSize)
      stage::ReadWholeFile(Join(directory, entry.fileName), kEffectRecordSize, 0, entry.bytes);
    entries.push_back(std::move(entry));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return package::BuildPackageList(entries);
}

bool ReadPackageFiles(const std::string& directory, const std::string& name, LoadedPackage& out) {
  if (!IsBareFileName(name) || name.size() > package::kMaxPackageNameChars) return false;
  std::vector<uint8_t> bytes;
  if (!stage::ReadWholeFile(Join(directory, package::RecordFileName(name)), kEffectRecordSize, 0, bytes)) return false;
  if (package::ReadPackageRecord(bytes, out.record) != package::RecordCheck::kOk) return false;
  out.name = name;
  // A missing or unusable block replays the effect with its own defaults.
  out.hasParameters = stage::ReadWholeFile(Join(directory, package::ParameterFileName(name)), 0, kMaxParameterBytes,
                                    out.parameters) &&
                      package::AcceptParameterBlock(out.parameters);
  if (!out.hasParameters) out.parameters.clear();
  return true;
}

bool ReadPackagePicture(const std::string& directory, LoadedPackage& out) {
  stage::FreePicture(&out.picture);
  const std::string path = Join(directory, package::ImageFileName(out.name));
  return stage::PreparePicture(ReadJPEGFile(path.c_str()), &out.picture);
}

bool LoadPackageModule(const std::string& directory, LoadedPackage& out) {
  // The record was checked: the module name is a bare file name, so the
  // plug-in comes from the package directory and nowhere else.
  const std::string path = Join(directory, std::string(ModuleName(out.record)));
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) return false;
  if (out.module) FreeLibrary(out.module);
  out.module = module;
  const std::string function(FunctionName(out.record));
  out.process = reinterpret_cast<EffectFunction>(reinterpret_cast<void*>(GetProcAddress(module, function.c_str())));
  return true;
}

int DeletePackageFiles(const std::string& directory, const std::string& name) {
  if (!IsBareFileName(name)) return 0;
  std::vector<std::string> doomed;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(Join(directory, "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (package::IsPackageMemberFile(name, found.cFileName)) doomed.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  int deleted = 0;
  for (const std::string& file : doomed)
    if (DeleteFileA(Join(directory, file).c_str())) ++deleted;
  return deleted;
}

}  // namespace quillo::pkgsaver
