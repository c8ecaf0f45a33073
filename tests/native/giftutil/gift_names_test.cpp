#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "savers/giftutil/kernels/gift_names.h"
#include "savers/giftutil/kernels/gift_record.h"

namespace quillo::giftutil {
namespace {

TEST(GiftNames, BaseIsTheNameUpToItsLastDot) {
  const auto names = GiftNamesOf("_2003-05-17-14-03-09.x.exe");
  ASSERT_TRUE(names);
  EXPECT_EQ(names->base, "_2003-05-17-14-03-09.x");
  EXPECT_EQ(names->image, "_2003-05-17-14-03-09.x.BEXA");
  EXPECT_EQ(names->record, "_2003-05-17-14-03-09.x.SSD");
  EXPECT_EQ(names->parameters, "_2003-05-17-14-03-09.x.Prm");
  EXPECT_EQ(FileNamePart("C:\\windows\\Bexa\\_a.exe"), "_a.exe");
  EXPECT_EQ(FileNamePart("C:/x/_a.exe"), "_a.exe");
  EXPECT_EQ(FileNamePart("_a.exe"), "_a.exe");
}

TEST(GiftNames, LengthLimitIsEightyCharacters) {
  const std::string eighty = std::string(76, 'a') + ".exe";
  ASSERT_EQ(eighty.size(), 80u);
  EXPECT_TRUE(GiftNamesOf(eighty));
  EXPECT_FALSE(GiftNamesOf("a" + eighty));
}

TEST(GiftNames, NamesThatNameNoPackageAreRefused) {
  for (const char* bad : {"GiftUtil", "", ".exe", "a/b.exe", "a:b.exe"}) EXPECT_FALSE(GiftNamesOf(bad)) << bad;
}

std::vector<uint8_t> RecordBytes(const char* module, const char* function, int32_t flags) {
  EffectRecord record = {};
  record.kind = 1;
  record.optionFlags = flags;
  std::strncpy(record.module, module, sizeof record.module - 1);
  std::strncpy(record.function, function, sizeof record.function - 1);
  const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
  return {bytes, bytes + sizeof record};
}

TEST(GiftRecord, PlaysWithOrWithoutTheReplayFlag) {
  EffectRecord out;
  EXPECT_TRUE(ReadGiftRecord(RecordBytes("Qlo12.PL1", "ProcessWater", 0x8), out));
  EXPECT_TRUE(ReadGiftRecord(RecordBytes("Qlo12.PL1", "ProcessWater", 0), out));
  EXPECT_EQ(FunctionName(out), "ProcessWater");
}

TEST(GiftRecord, DamagedRecordsAreRefusedAndLeaveNothingBehind) {
  EffectRecord out;
  // Without the replay flag the names are checked all the same.
  EXPECT_FALSE(ReadGiftRecord(RecordBytes("..\\evil.dll", "ProcessWater", 0), out));
  EXPECT_FALSE(ReadGiftRecord(RecordBytes("C:x.PL1", "ProcessWater", 0x8), out));
  EXPECT_FALSE(ReadGiftRecord(RecordBytes("Qlo12.PL1", "", 0), out));
  std::vector<uint8_t> bytes = RecordBytes("Qlo12.PL1", "ProcessWater", 0x8);
  bytes.pop_back();
  EXPECT_FALSE(ReadGiftRecord(bytes, out));
  bytes.resize(293);
  EXPECT_FALSE(ReadGiftRecord(bytes, out));
  EXPECT_EQ(out.kind, 0);
  // Unterminated strings end inside their fields.
  bytes = RecordBytes("Qlo12.PL1", "ProcessWater", 0x8);
  std::memset(bytes.data() + 52, 'A', 40);
  ASSERT_TRUE(ReadGiftRecord(bytes, out));
  EXPECT_EQ(FunctionName(out).size(), 39u);
}

}  // namespace
}  // namespace quillo::giftutil
