// What the Qlo15 run tests share: stored blocks built field by field, a
// slider's position, and the block an effect hands out to the item
// queries.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "contracts/plugin_contract.h"
#include "contracts/ui_controls.h"
#include "plugin_harness.h"

namespace quillo::test {

// A block of 32-bit fields after its magic and size (the size counted from
// the fields unless given).
inline std::vector<uint8_t> Block(uint32_t magic, std::vector<int32_t> fields, int32_t size = -1) {
  if (size < 0) size = int32_t(8 + 4 * fields.size());
  std::vector<uint8_t> b(8 + 4 * fields.size());
  std::memcpy(b.data(), &magic, 4);
  std::memcpy(b.data() + 4, &size, 4);
  std::memcpy(b.data() + 8, fields.data(), 4 * fields.size());
  return b;
}

inline int SliderAt(EffectRun& run, int id) { return int(SendMessageA(run.Item(id), SL_GETPOS, 0, 0)); }

struct HandedBlock {
  UINT_PTR supported = 0, count = 0, kind = 0;
  LRESULT answer = 0;
  std::vector<uint8_t> bytes;
};

// Asks with 2122, then for item 0 with 2121.
inline HandedBlock AskForBlock(EffectRun& run) {
  PackageItemQuery query = {}, item = {};
  HandedBlock handed;
  handed.answer = SendMessageA(run.dialog, EM_PACKAGE_QUERY, 0, LPARAM(query));
  SendMessageA(run.dialog, EM_PACKAGE_ITEM, 0, LPARAM(item));
  handed.supported = query[kQuerySupported];
  handed.count = query[kQueryItemCount];
  handed.kind = item[kQueryItemKind];
  if (const auto* data = reinterpret_cast<const uint8_t*>(item[kQueryItemData]))
    handed.bytes.assign(data, data + item[kQueryItemSize]);
  return handed;
}

}  // namespace quillo::test
