#include "gift_record.h"

#include <cstring>

#include "savers/package/package_record.h"

namespace quillo::giftutil {

bool ReadGiftRecord(std::span<const uint8_t> bytes, EffectRecord& out) {
  const package::RecordCheck check = package::ReadPackageRecord(bytes, out);
  bool playable = check == package::RecordCheck::kOk;
  // Without the replay flag the package checks stop early: the names still
  // have to pass here.
  if (check == package::RecordCheck::kNotReplayable)
    playable = IsBareFileName(ModuleName(out)) && !FunctionName(out).empty();
  if (!playable) std::memset(&out, 0, sizeof out);
  return playable;
}

}  // namespace quillo::giftutil
