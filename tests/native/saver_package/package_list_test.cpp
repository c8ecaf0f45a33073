// Which record files make the package list, and which records a saver
// accepts for replay.
#include <gtest/gtest.h>

#include <cstring>

#include "savers/package/package_list.h"
#include "savers/package/package_record.h"

namespace quillo::package {
namespace {

EffectRecord PlayableRecord() {
  EffectRecord r = {};
  r.kind = 32;
  r.optionFlags = 0x1008;
  std::strcpy(r.module, "Qlo12.PL1");
  std::strcpy(r.function, "ProcessWater");
  return r;
}

std::vector<uint8_t> Bytes(const EffectRecord& r) {
  const auto* p = reinterpret_cast<const uint8_t*>(&r);
  return {p, p + sizeof r};
}

RecordFileEntry Entry(std::string name, std::vector<uint8_t> bytes) {
  RecordFileEntry e;
  e.fileName = std::move(name);
  e.size = bytes.size();
  e.bytes = std::move(bytes);
  return e;
}

TEST(PackageList, TakesOnlyWholeReplayableRecordFilesInDirectoryOrder) {
  EffectRecord noFlag = PlayableRecord();
  noFlag.optionFlags = 0x1000;
  std::vector<uint8_t> shorter = Bytes(PlayableRecord());
  shorter.pop_back();
  std::vector<uint8_t> longer = Bytes(PlayableRecord());
  longer.push_back(0);
  RecordFileEntry folder = Entry("_folder.SSD", Bytes(PlayableRecord()));
  folder.directory = true;

  const std::vector<RecordFileEntry> entries = {
      Entry("_2003-05-17-14-03-09.SSD", Bytes(PlayableRecord())),
      Entry("_291.SSD", shorter),
      Entry("_293.SSD", longer),
      Entry("_noflag.SSD", Bytes(noFlag)),
      folder,
      Entry("NODOT", Bytes(PlayableRecord())),
      Entry(".SSD", Bytes(PlayableRecord())),
      Entry("_other.SSDX", Bytes(PlayableRecord())),
      Entry("_2003-05-17-14-03-09-2.ssd", Bytes(PlayableRecord())),
  };
  EXPECT_EQ(BuildPackageList(entries),
            (std::vector<std::string>{"_2003-05-17-14-03-09", "_2003-05-17-14-03-09-2"}));
}

TEST(PackageList, StopsAtAHundredAndSkipsSizesItWasNotGivenBytesFor) {
  std::vector<RecordFileEntry> entries;
  for (int i = 0; i < 120; ++i) entries.push_back(Entry("_p" + std::to_string(i) + ".SSD", Bytes(PlayableRecord())));
  // A size that says 292 without the bytes (the file changed under the
  // reader) is not taken on trust.
  RecordFileEntry empty;
  empty.fileName = "_first.SSD";
  empty.size = 292;
  entries.insert(entries.begin(), empty);
  const auto list = BuildPackageList(entries);
  ASSERT_EQ(list.size(), kMaxPackages);
  EXPECT_EQ(list.front(), "_p0");
  EXPECT_EQ(list.back(), "_p99");
}

TEST(PackageList, RotationContinuesAfterTheCurrentPackage) {
  const std::vector<std::string> list = {"_a", "_b", "_c"};
  EXPECT_EQ(RotationStart(list, "_a"), 1u);
  EXPECT_EQ(RotationStart(list, "_c"), 0u);
  EXPECT_EQ(RotationStart(list, "_gone"), 0u);
}

TEST(PackageRecord, HostileRecordsAreTerminatedAndRefusedWithPathParts) {
  EffectRecord filled;
  std::memset(&filled, 'A', sizeof filled);
  filled.optionFlags = 0x8;
  // Every string field runs into the next one: after reading, each ends
  // inside its own field.
  EffectRecord read;
  EXPECT_EQ(ReadPackageRecord(Bytes(filled), read), RecordCheck::kOk);
  EXPECT_EQ(ModuleName(read), std::string(15, 'A'));
  EXPECT_EQ(read.module[15], 0);
  EXPECT_EQ(read.function[39], 0);
  EXPECT_EQ(read.example[15], 0);
  EXPECT_EQ(read.displayName[79], 0);
  EXPECT_EQ(read.category[79], 0);

  for (const char* module : {"..\\x.PL1", "../x.PL1", "C:x.PL1", "sub\\x.PL1", "sub/x.PL1", "..", ""}) {
    SCOPED_TRACE(module);
    EffectRecord r = PlayableRecord();
    std::memset(r.module, 0, sizeof r.module);
    std::strcpy(r.module, module);
    EXPECT_EQ(ReadPackageRecord(Bytes(r), read), RecordCheck::kBadModuleName);
  }
  EffectRecord noFunction = PlayableRecord();
  std::memset(noFunction.function, 0, sizeof noFunction.function);
  EXPECT_EQ(ReadPackageRecord(Bytes(noFunction), read), RecordCheck::kNoFunction);
  EffectRecord noFlag = PlayableRecord();
  noFlag.optionFlags = 0;
  EXPECT_EQ(ReadPackageRecord(Bytes(noFlag), read), RecordCheck::kNotReplayable);
  std::vector<uint8_t> shorter = Bytes(PlayableRecord());
  shorter.resize(291);
  EXPECT_EQ(ReadPackageRecord(shorter, read), RecordCheck::kWrongSize);
}

TEST(PackageRecord, AListedPackageWithABadModuleStaysListedForDeletion) {
  EffectRecord r = PlayableRecord();
  std::strcpy(r.module, "..\\x.PL1");
  EXPECT_EQ(BuildPackageList({Entry("_bad.SSD", Bytes(r))}), std::vector<std::string>{"_bad"});
}

TEST(ParameterBlock, NeedsEightBytesAndAsManyAsItsSizeFieldSays) {
  auto block = [](size_t bytes, int32_t declared) {
    std::vector<uint8_t> b(bytes, 0);
    if (bytes >= 8) std::memcpy(b.data() + 4, &declared, 4);
    return b;
  };
  EXPECT_FALSE(AcceptParameterBlock(block(7, 0)));
  EXPECT_FALSE(AcceptParameterBlock({}));
  EXPECT_FALSE(AcceptParameterBlock(block(40, 41)));
  EXPECT_FALSE(AcceptParameterBlock(block(40, INT32_MAX)));
  EXPECT_FALSE(AcceptParameterBlock(block(40, -1)));
  EXPECT_FALSE(AcceptParameterBlock(block(40, 7)));
  EXPECT_TRUE(AcceptParameterBlock(block(40, 40)));
  EXPECT_TRUE(AcceptParameterBlock(block(48, 40)));
  EXPECT_TRUE(AcceptParameterBlock(block(8, 8)));
}

}  // namespace
}  // namespace quillo::package
