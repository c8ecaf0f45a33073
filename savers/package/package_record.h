// What a saver accepts from a package's files before it replays them: the
// 292-byte effect record (".SSD") and the effect's parameter block (".Prm").
// Both come from disk, possibly from another machine, and are checked here.
#pragma once
#include <cstdint>
#include <span>

#include "app/host/effect_record.h"

namespace quillo::package {

enum class RecordCheck {
  kOk,
  kWrongSize,      // not exactly 292 bytes
  kNotReplayable,  // option flag 0x8 missing
  kBadModuleName,  // empty, or with path parts: never loaded
  kNoFunction,     // no effect function named
};

// Copies `bytes` into `out` with every string field terminated inside its
// field, then checks that the record can be replayed: exactly 292 bytes,
// option flag 0x8, a bare module file name and a function name. `out` is
// filled (terminated) whenever the size is right.
RecordCheck ReadPackageRecord(std::span<const uint8_t> bytes, EffectRecord& out);

// Whether a stored parameter block may be handed to an effect: at least 8
// bytes, and at least as long as its own size field (32-bit little-endian
// at byte offset 4) says, which must itself cover the 8-byte header.
// Effects read that many bytes.
bool AcceptParameterBlock(std::span<const uint8_t> block);

}  // namespace quillo::package
