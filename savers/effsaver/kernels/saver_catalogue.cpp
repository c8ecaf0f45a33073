#include "saver_catalogue.h"

#include "app/host/catalogue_file.h"
#include "app/host/effect_record.h"

namespace quillo::effsaver {

bool HasUsableNames(const EffectRecord& record) {
  return IsBareFileName(ModuleName(record)) && !FunctionName(record).empty();
}

std::vector<SaverCatalogueEntry> SelectRandomEffects(const uint8_t* data, size_t size) {
  std::vector<SaverCatalogueEntry> entries;
  for (const EffectRecord& record : ReadEffectRecords(data, size)) {
    if (entries.size() >= kCatalogueCapacity) break;
    if (record.kind != kSaverKind) continue;
    if (!(record.optionFlags & kOptionSaver) || (record.optionFlags & kOptionNotRandom)) continue;
    if (!HasUsableNames(record)) continue;
    entries.push_back({std::string(ModuleName(record)), std::string(FunctionName(record)), record.effectValue});
  }
  return entries;
}

std::vector<EffectRecord> ChooserRecords(const uint8_t* data, size_t size) {
  std::vector<EffectRecord> listed;
  for (const EffectRecord& record : ReadEffectRecords(data, size))
    if (record.kind == kSaverKind && HasUsableNames(record)) listed.push_back(record);
  std::vector<EffectRecord> sorted;
  sorted.reserve(listed.size());
  for (size_t index : BrowserOrder(listed)) sorted.push_back(listed[index]);
  return sorted;
}

}  // namespace quillo::effsaver
