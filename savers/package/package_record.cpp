#include "package_record.h"

#include <cstring>

#include "package_names.h"

namespace quillo::package {

RecordCheck ReadPackageRecord(std::span<const uint8_t> bytes, EffectRecord& out) {
  if (bytes.size() != kEffectRecordSize) return RecordCheck::kWrongSize;
  std::memcpy(&out, bytes.data(), kEffectRecordSize);
  TerminateStrings(out);
  if (!(out.optionFlags & kOptionSaver)) return RecordCheck::kNotReplayable;
  if (!IsBareFileName(ModuleName(out))) return RecordCheck::kBadModuleName;
  if (FunctionName(out).empty()) return RecordCheck::kNoFunction;
  return RecordCheck::kOk;
}

bool AcceptParameterBlock(std::span<const uint8_t> block) {
  if (block.size() < 8) return false;
  int32_t declared = 0;
  std::memcpy(&declared, block.data() + 4, sizeof declared);
  // A size below the 8-byte header (negative ones too) is no block at all.
  return declared >= 8 && uint64_t(declared) <= block.size();
}

}  // namespace quillo::package
