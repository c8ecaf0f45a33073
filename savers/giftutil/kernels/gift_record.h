// The checks a gift's effect record passes before the player trusts it. The
// record comes from another machine: it is exactly 292 bytes, every string
// ends inside its field, the plug-in is a bare file name in the gift's own
// folder and a function is named. Unlike a saver, the player also plays
// effects without the replay flag; only installing the saver needs it.
#pragma once
#include <cstdint>
#include <span>

#include "app/host/effect_record.h"

namespace quillo::giftutil {

// True when `bytes` is a record the player can play; `out` then holds it
// with its strings terminated. False leaves `out` all zero.
bool ReadGiftRecord(std::span<const uint8_t> bytes, EffectRecord& out);

}  // namespace quillo::giftutil
