// libFuzzer target: what a saver accepts from a package's files. A record
// accepted for replay has terminated names and a bare module name; an
// accepted parameter block really holds the bytes its size field promises;
// file names are taken apart without reading past them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "savers/package/package_list.h"
#include "savers/package/package_names.h"
#include "savers/package/package_record.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EffectRecord record;
  const package::RecordCheck check = package::ReadPackageRecord({data, size}, record);
  if (check == package::RecordCheck::kOk) {
    if (size != kEffectRecordSize || !(record.optionFlags & kOptionSaver)) __builtin_trap();
    if (std::strlen(record.module) >= kModuleFieldChars || std::strlen(record.function) >= kFunctionFieldChars)
      __builtin_trap();
    if (!IsBareFileName(ModuleName(record)) || FunctionName(record).empty()) __builtin_trap();
  }
  if (package::AcceptParameterBlock({data, size})) {
    uint32_t stated = 0;
    if (size < 8) __builtin_trap();
    std::memcpy(&stated, data + 4, 4);
    if (stated > size) __builtin_trap();
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string name = package::PackageNameOfRecordFile(text);
  if (!name.empty() && name.size() >= text.size()) __builtin_trap();
  const size_t half = text.size() / 2;
  package::IsPackageMemberFile(text.substr(0, half), text.substr(half));
  std::vector<package::RecordFileEntry> entries(1);
  entries[0].fileName = text;
  entries[0].size = size;
  entries[0].bytes.assign(data, data + size);
  if (package::BuildPackageList(entries).size() > 1) __builtin_trap();
  return 0;
}
