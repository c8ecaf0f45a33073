// libFuzzer target: the catalogue and favourites readers on arbitrary bytes.
// Every record read must have terminated strings, survive a write and read
// round trip unchanged, and take part in a favourites update and the
// browser order without trouble.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/host/catalogue_file.h"

using namespace quillo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<EffectRecord> records = ReadEffectRecords(data, size);
  if (records.size() != size / kEffectRecordSize) __builtin_trap();
  for (const EffectRecord& r : records) {
    if (std::strlen(r.module) >= kModuleFieldChars || std::strlen(r.function) >= kFunctionFieldChars ||
        std::strlen(r.example) >= kExampleFieldChars || std::strlen(r.displayName) >= kDisplayNameFieldChars ||
        std::strlen(r.category) >= kCategoryFieldChars)
      __builtin_trap();
  }
  std::vector<uint8_t> bytes = WriteEffectRecords(records);
  std::vector<EffectRecord> again = ReadEffectRecords(bytes.data(), bytes.size());
  if (again.size() != records.size()) __builtin_trap();
  for (size_t i = 0; i < records.size(); ++i) {
    EffectRecord expected = records[i];
    expected.listLink = 0;
    if (std::memcmp(&expected, &again[i], sizeof expected) != 0) __builtin_trap();
  }
  if (!records.empty()) {
    std::vector<uint8_t> favourites = FavouritesFileWithAdded(data, size, records.back());
    std::vector<EffectRecord> list = ReadEffectRecords(favourites.data(), favourites.size());
    if (list.empty() || !SameFavourite(list.back(), records.back())) __builtin_trap();
    for (size_t i = 0; i + 1 < list.size(); ++i)
      if (SameFavourite(list[i], records.back())) __builtin_trap();
  }
  std::vector<size_t> order = BrowserOrder(records);
  for (size_t i = 1; i < order.size(); ++i)
    if (SortsBefore(records[order[i]], records[order[i - 1]])) __builtin_trap();
  for (const EffectRecord& r : records) {
    EffectRecord copy = BrowserCopy(r, BrowserKind::kFullList);
    (void)PluginDumpLine(copy, "");
  }
  return 0;
}
