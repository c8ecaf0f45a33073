#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/host/catalogue_file.h"
#include "savers/effsaver/kernels/saver_catalogue.h"

namespace quillo::effsaver {
namespace {

EffectRecord Record(int32_t kind, int32_t flags, const char* function, const char* name = "Name",
                    const char* module = "Qlo12.PL1", int32_t value = 0) {
  EffectRecord r{};
  r.kind = kind;
  r.optionFlags = flags;
  r.effectValue = value;
  std::strncpy(r.module, module, sizeof r.module - 1);
  std::strncpy(r.function, function, sizeof r.function - 1);
  std::strncpy(r.displayName, name, sizeof r.displayName - 1);
  return r;
}

std::vector<std::string> Functions(const std::vector<SaverCatalogueEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.function);
  return out;
}

TEST(RandomEffects, OnlySaverEffectsOfTheWarpFamilyInFileOrder) {
  const std::vector<uint8_t> bytes = WriteEffectRecords({
      Record(1, 0x8, "ProcessBalance"),        // another family
      Record(32, 0x1008, "ProcessWater", "Water", "Qlo12.PL1", 0),
      Record(32, 0x1000, "ProcessNoSaver"),    // not storable as saver
      Record(32, 0x18, "ProcessNotRandom"),    // 0x10 keeps it out even with 0x8
      Record(32, 0x8, "ProcessTunnel", "Sphere", "Qlo12.PL1", 1),
      Record(32, 0x8, "ProcessBad", "Bad", "..\\x.PL1"),  // module outside the folder
      Record(32, 0x8, "ProcessBad", "Bad", "C:x.PL1"),
      Record(32, 0x8, ""),                     // nothing to call
      Record(33, 0x8, "ProcessOtherKind"),
  });
  const auto entries = SelectRandomEffects(bytes.data(), bytes.size());
  EXPECT_EQ(Functions(entries), (std::vector<std::string>{"ProcessWater", "ProcessTunnel"}));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].module, "Qlo12.PL1");
  EXPECT_EQ(entries[1].id, 1);
}

TEST(RandomEffects, KindOneOnlyOrNoFileGivesAnEmptyCatalogue) {
  const std::vector<uint8_t> bytes = WriteEffectRecords({Record(1, 0x8, "ProcessA"), Record(1, 0x8, "ProcessB")});
  EXPECT_TRUE(SelectRandomEffects(bytes.data(), bytes.size()).empty());
  EXPECT_TRUE(SelectRandomEffects(nullptr, 0).empty());
  // A torn final record is not read.
  std::vector<uint8_t> torn = WriteEffectRecords({Record(32, 0x8, "ProcessA")});
  torn.pop_back();
  EXPECT_TRUE(SelectRandomEffects(torn.data(), torn.size()).empty());
}

TEST(RandomEffects, AtMostThreeHundredAndUnterminatedNamesStayInTheirFields) {
  std::vector<EffectRecord> many;
  for (int i = 0; i < 310; ++i) many.push_back(Record(32, 0x8, ("Process" + std::to_string(i)).c_str()));
  const std::vector<uint8_t> bytes = WriteEffectRecords(many);
  const auto entries = SelectRandomEffects(bytes.data(), bytes.size());
  ASSERT_EQ(entries.size(), kCatalogueCapacity);
  EXPECT_EQ(entries.back().function, "Process299");

  // A record from another machine with every name byte set: the names end at
  // their fields' ends.
  std::vector<uint8_t> raw(kEffectRecordSize, 'A');
  const int32_t kind = 32, flags = 0x8;
  std::memcpy(raw.data(), &kind, 4);
  std::memcpy(raw.data() + 24, &flags, 4);
  const auto odd = SelectRandomEffects(raw.data(), raw.size());
  ASSERT_EQ(odd.size(), 1u);
  EXPECT_EQ(odd[0].module, std::string(15, 'A'));
  EXPECT_EQ(odd[0].function, std::string(39, 'A'));
}

TEST(ChooserList, WarpFamilyByNameWithoutRegardToCase) {
  const std::vector<uint8_t> bytes = WriteEffectRecords({
      Record(32, 0x8, "ProcessE", "Eel"),
      Record(1, 0x8, "ProcessA", "Apple"),          // not listed
      Record(32, 0x18, "ProcessB", "blob"),         // listed although never random
      Record(32, 0x0, "ProcessC", "Cave"),
      Record(32, 0x8, "ProcessX", "Axe", "a\\b.PL1"),  // unusable module name
      Record(32, 0x8, "ProcessB2", "Blob"),         // same name: file order kept
  });
  std::vector<std::string> names;
  for (const EffectRecord& r : ChooserRecords(bytes.data(), bytes.size())) names.emplace_back(DisplayName(r));
  EXPECT_EQ(names, (std::vector<std::string>{"blob", "Blob", "Cave", "Eel"}));
}

}  // namespace
}  // namespace quillo::effsaver
