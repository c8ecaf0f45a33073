#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue_file.h"

namespace quillo {
namespace {

EffectRecord Make(int32_t kind, const char* name, const char* module = "Q.PL1",
                  const char* function = "ProcessX", int32_t value = 0) {
  EffectInfoEntry e;
  e.kindFlags = kind;
  e.effectValue = value;
  e.categoryStringId = 5;
  e.functionName = function;
  e.exampleImage = "x.jpg";
  EffectRecord r;
  EXPECT_EQ(BuildEffectRecord(e, module, name, "Cat", r), RecordBuildResult::kOk);
  return r;
}

std::vector<std::string> Names(const std::vector<EffectRecord>& records) {
  std::vector<std::string> names;
  for (const EffectRecord& r : records) names.emplace_back(DisplayName(r));
  return names;
}

TEST(CatalogueFile, RoundTripAndShortFiles) {
  std::vector<EffectRecord> records = {Make(1, "One"), Make(2, "Two"), Make(0x20, "Three")};
  std::vector<uint8_t> bytes = WriteEffectRecords(records);
  ASSERT_EQ(bytes.size(), 3 * kEffectRecordSize);
  EXPECT_EQ(Names(ReadEffectRecords(bytes.data(), bytes.size())),
            (std::vector<std::string>{"One", "Two", "Three"}));

  // A short final record ends the reading.
  EXPECT_EQ(ReadEffectRecords(bytes.data(), bytes.size() - 1).size(), 2u);
  EXPECT_EQ(ReadEffectRecords(bytes.data(), 2 * kEffectRecordSize + 1).size(), 2u);
  EXPECT_EQ(ReadEffectRecords(bytes.data(), kEffectRecordSize - 1).size(), 0u);
  EXPECT_TRUE(ReadEffectRecords(bytes.data(), 0).empty());
  EXPECT_TRUE(ReadEffectRecords(nullptr, 0).empty());
  EXPECT_TRUE(WriteEffectRecords({}).empty());
}

TEST(CatalogueFile, UnterminatedStringsAreTerminatedOnLoad) {
  std::vector<uint8_t> bytes(kEffectRecordSize, 'A');
  std::vector<EffectRecord> records = ReadEffectRecords(bytes.data(), bytes.size());
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(std::strlen(records[0].module), 15u);
  EXPECT_EQ(std::strlen(records[0].function), 39u);
  EXPECT_EQ(std::strlen(records[0].example), 15u);
  EXPECT_EQ(std::strlen(records[0].displayName), 79u);
  EXPECT_EQ(std::strlen(records[0].category), 79u);
}

TEST(CatalogueFile, WritingClearsTheListLinkOnly) {
  EffectRecord r = Make(1, "One");
  r.listLink = 0xDEADBEEF;
  std::vector<uint8_t> bytes = WriteEffectRecords({r});
  r.listLink = 0;
  EXPECT_EQ(std::memcmp(bytes.data(), &r, kEffectRecordSize), 0);
}

TEST(Favourites, AddingTwiceLeavesOneRecordNowLast) {
  EffectRecord a = Make(1, "A", "Q.PL1", "ProcessA"), b = Make(1, "B", "Q.PL1", "ProcessB");
  std::vector<uint8_t> file = FavouritesFileWithAdded(nullptr, 0, a);
  file = FavouritesFileWithAdded(file.data(), file.size(), b);
  file = FavouritesFileWithAdded(file.data(), file.size(), a);
  ASSERT_EQ(file.size(), 2 * kEffectRecordSize);
  EXPECT_EQ(Names(ReadEffectRecords(file.data(), file.size())), (std::vector<std::string>{"B", "A"}));
}

TEST(Favourites, EqualityIsFunctionModuleAndValueWithCase) {
  EffectRecord base = Make(1, "A", "Q.PL1", "ProcessA", 3);
  EXPECT_TRUE(SameFavourite(base, Make(2, "Other name", "Q.PL1", "ProcessA", 3)));
  EXPECT_FALSE(SameFavourite(base, Make(1, "A", "q.pl1", "ProcessA", 3)));
  EXPECT_FALSE(SameFavourite(base, Make(1, "A", "Q.PL1", "processa", 3)));
  EXPECT_FALSE(SameFavourite(base, Make(1, "A", "Q.PL1", "ProcessA", 4)));

  std::vector<EffectRecord> list = {base, Make(1, "B", "Q.PL1", "ProcessB")};
  EXPECT_TRUE(RemoveFavourite(list, base));
  EXPECT_FALSE(RemoveFavourite(list, base));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"B"}));

  // An old file that already holds duplicates is cleaned on the next add,
  // also when the record added is one of the list's own elements.
  list = {base, list[0], base};
  AddFavourite(list, list[0]);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"B", "A"}));
}

TEST(BrowserOrder, KindThenDisplayNameWithoutCase) {
  std::vector<EffectRecord> records = {Make(2, "zeta"), Make(1, "Egg"), Make(1, "bee"), Make(1, "Apple"),
                                       Make(-1, "neg"), Make(1, "BEE")};
  std::vector<EffectRecord> sorted;
  for (const EffectRecord& r : records) sorted.insert(sorted.begin() + SortedInsertPosition(sorted, r), r);
  EXPECT_EQ(Names(sorted), (std::vector<std::string>{"neg", "Apple", "bee", "BEE", "Egg", "zeta"}));

  std::vector<size_t> order = BrowserOrder(records);
  EXPECT_EQ(order, (std::vector<size_t>{4, 3, 2, 5, 1, 0}));

  // A name that is a prefix of another comes first; '_' sorts before letters
  // as it does in lowercase comparison.
  EXPECT_TRUE(SortsBefore(Make(1, "Ab"), Make(1, "abc")));
  EXPECT_TRUE(SortsBefore(Make(1, "A_"), Make(1, "Aa")));
}

TEST(BrowserOrder, BrowserCopiesAndFamilyFilter) {
  EffectRecord warp = Make(0x20, "W"), other = Make(0x2, "O");
  EffectRecord w = BrowserCopy(warp, BrowserKind::kFamilies);
  EXPECT_EQ(w.kind, 0x20);
  EXPECT_EQ(w.categoryId, 5);
  EXPECT_EQ(w.iconColumn, 25);
  EffectRecord o = BrowserCopy(other, BrowserKind::kFamilies);
  EXPECT_EQ(o.kind, 1);
  EXPECT_EQ(o.kindCopy, 1);
  EXPECT_EQ(o.categoryId, 0);
  EXPECT_EQ(o.iconColumn, 150);

  EffectRecord f = BrowserCopy(other, BrowserKind::kFullList);
  EXPECT_EQ(f.iconColumn, 50);
  EXPECT_EQ(f.iconRow, 25);
  EffectRecord unknown = BrowserCopy(Make(0x100, "U"), BrowserKind::kFullList);
  EXPECT_EQ(unknown.iconColumn, 0);
  EXPECT_EQ(unknown.iconRow, 0);

  EXPECT_TRUE(ListedUnderEntry(w, 0x20, 0));
  EXPECT_TRUE(ListedUnderEntry(w, 0x20, 5));
  EXPECT_FALSE(ListedUnderEntry(w, 0x20, 6));
  EXPECT_FALSE(ListedUnderEntry(w, 1, 0));
  w.optionFlags = static_cast<int32_t>(0x80000000u);
  EXPECT_FALSE(ListedUnderEntry(w, 0x20, 0));
}

TEST(PluginDump, LineFormatAndUnknownFamily) {
  EXPECT_EQ(FindEffectFamily(0x80)->nameStringId, 0x6037);
  EXPECT_EQ(FindEffectFamily(0x4), nullptr);
  std::string line = PluginDumpLine(Make(1, "Name", "Q.PL1", "ProcessX"), "");
  std::string expected = std::string(7, ' ') + "Q.PL1 " + std::string(28, ' ') + "Unknown " +
                         std::string(27, ' ') + "Cat " + std::string(36, ' ') + "Name " +
                         std::string(22, ' ') + "ProcessX\n";
  EXPECT_EQ(line, expected);
  // Wider texts are not cut.
  std::string wide = PluginDumpLine(Make(1, "Name", "LONGMODULE1.PL1", "ProcessX"), "Fam");
  EXPECT_EQ(wide.substr(0, 16), "LONGMODULE1.PL1 ");
}

}  // namespace
}  // namespace quillo
