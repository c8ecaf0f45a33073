// EffSaver's catalogue "Plug.inf" (292-byte effect records, the studio's
// catalogue format): which records the random mode may play, and which the
// effect chooser lists and in what order. The file may come from another
// machine; every record is checked before a name in it is used.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/host/effect_record.h"

namespace quillo::effsaver {

// The family the saver plays and lists: the warp family.
constexpr int32_t kSaverKind = 0x20;
// Option flag bit that keeps an effect out of the random choice.
constexpr int32_t kOptionNotRandom = 0x10;
// At most this many effects take part in the random choice.
constexpr size_t kCatalogueCapacity = 300;

struct SaverCatalogueEntry {
  std::string module;    // bare file name, fewer than 16 characters
  std::string function;  // export name, fewer than 40 characters
  int32_t id = 0;        // the record's effect value
};

// A record whose names can be used: a bare module name and a function name.
bool HasUsableNames(const EffectRecord& record);

// The records of kind 0x20 with option flag 0x8 and without 0x10 and usable
// names, in file order, at most kCatalogueCapacity of them.
std::vector<SaverCatalogueEntry> SelectRandomEffects(const uint8_t* data, size_t size);

// The records the effect chooser lists: kind 0x20 with usable names, in the
// studio browser's order (kind, then display name without regard to case;
// equal names keep their file order).
std::vector<EffectRecord> ChooserRecords(const uint8_t* data, size_t size);

}  // namespace quillo::effsaver
