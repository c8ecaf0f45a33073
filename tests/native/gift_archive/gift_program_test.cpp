// Gift programs: the stub with the archive behind it, what the stub reads
// from its own name and command line, and gift files written to disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gift/archive/gift_files.h"
#include "gift/archive/gift_launch.h"
#include "gift/archive/gift_program.h"
#include "gift/archive/zip_reader.h"
#include "zip_test_tools.h"

namespace quillo::gift {
namespace {

using test::Bytes;
using test::BytesOf;

Bytes SmallZip() {
  ZipWriter writer;
  writer.Add("_Gift.exe", BytesOf(std::string(4000, 'p')), DosDateTime());
  writer.Add("data.txt", BytesOf("data"), DosDateTime());
  return writer.Finish();
}

TEST(GiftProgram, StubThenArchiveWithOffsetsFromTheProgramStart) {
  const Bytes stub(3333, 0xCC);
  const Bytes zip = SmallZip();
  const std::optional<Bytes> program = MakeGiftProgram(stub, zip);
  ASSERT_TRUE(program);
  ASSERT_EQ(program->size(), stub.size() + zip.size());
  EXPECT_TRUE(std::equal(stub.begin(), stub.end(), program->begin()));
  ZipDirectory directory;
  ASSERT_EQ(ReadZipDirectory(program->data(), program->size(), ZipLimits(), &directory), ZipError::kNone);
  EXPECT_EQ(directory.archiveStart, 0u);
  EXPECT_EQ(directory.entries[0].localPosition, stub.size());
  std::vector<ZipMember> members;
  ASSERT_EQ(ReadZip(program->data(), program->size(), ZipLimits(), &members), ZipError::kNone);
  EXPECT_EQ(members[1].bytes, BytesOf("data"));

  // An archive behind other bytes (relative offsets) gives the same program.
  Bytes prefixed(500 + zip.size(), 0x11);
  std::copy(zip.begin(), zip.end(), prefixed.begin() + 500);
  EXPECT_EQ(MakeGiftProgram(stub, prefixed), program);

  EXPECT_FALSE(MakeGiftProgram(stub, BytesOf("no archive")));
}

TEST(GiftLaunchOf, BaseNamePlayerAndPreviewSwitch) {
  std::optional<GiftLaunch> launch = GiftLaunchOf("C:\\Mail\\Eff01234.exe", "\"C:\\Mail\\Eff01234.exe\"");
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->base, "Eff01234");
  EXPECT_EQ(launch->player, "_Eff01234.exe");
  EXPECT_FALSE(launch->preview);

  EXPECT_TRUE(GiftLaunchOf("C:\\a\\G.exe", "\"C:\\a\\G.exe\" /preview")->preview);
  EXPECT_TRUE(GiftLaunchOf("C:\\a\\G.exe", "C:\\a\\G.exe  x /PREVIEW ")->preview);
  EXPECT_FALSE(GiftLaunchOf("C:\\a\\G.exe", "G.exe /previews")->preview);
  // A folder named like the switch is part of the program name.
  EXPECT_FALSE(GiftLaunchOf("C:\\x /preview\\G.exe", "\"C:\\x /preview\\G.exe\"")->preview);
  EXPECT_EQ(GiftLaunchOf("C:\\a.b\\My.Gift.EXE", "")->player, "_My.Gift.exe");
  EXPECT_EQ(GiftLaunchOf("Gift", "")->player, "_Gift.exe");
  EXPECT_FALSE(GiftLaunchOf("C:\\a\\.exe", ""));
  EXPECT_EQ(ArgumentsOf("\"C:\\p q\\G.exe\"   /preview"), "/preview");
  EXPECT_EQ(ArgumentsOf("G.exe"), "");
}

class GiftFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("quillo-gift-files-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  std::string Save(const std::string& name, const Bytes& bytes) const {
    std::ofstream(PathOf(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return PathOf(name);
  }
  std::filesystem::path folder_;
};

TEST_F(GiftFiles, MissingAndRefusedMembersAreLeftOutAndListed) {
  const std::vector<GiftFile> files = {{"_Gift.exe", Save("player.bin", BytesOf("player"))},
                                       {"missing.dll", PathOf("not-there.dll")},
                                       {"..\\evil.txt", Save("evil.txt", BytesOf("e"))},
                                       {"_GIFT.EXE", Save("again.bin", BytesOf("again"))},
                                       {"data.txt", Save("data.txt", BytesOf("data"))}};
  const GiftZip gift = BuildGiftZip(files, DosDateTime());
  ASSERT_EQ(gift.skipped.size(), 3u);
  EXPECT_EQ(gift.skipped[0].nameInArchive, "missing.dll");
  EXPECT_EQ(gift.skipped[1].nameInArchive, "..\\evil.txt");
  EXPECT_EQ(gift.skipped[2].nameInArchive, "_GIFT.EXE");
  std::vector<ZipMember> members;
  ASSERT_EQ(ReadZip(gift.zip.data(), gift.zip.size(), ZipLimits(), &members), ZipError::kNone);
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0].bytes, BytesOf("player"));
  EXPECT_EQ(members[1].name, "data.txt");
}

TEST_F(GiftFiles, ProgramFileReplacesTheOldOneOnlyWhenComplete) {
  const std::string target = Save("Gift.exe", BytesOf("old gift"));
  const Bytes stub = BytesOf("MZ stub");
  // Not an archive: nothing is written and the old file stays.
  EXPECT_FALSE(WriteGiftProgramFile(target, stub, BytesOf("broken")));
  EXPECT_EQ(ReadFileBytes(target, 100), BytesOf("old gift"));
  // A folder that does not exist.
  EXPECT_FALSE(WriteGiftProgramFile(PathOf("no-such-folder/Gift.exe"), stub, SmallZip()));

  ASSERT_TRUE(WriteGiftProgramFile(target, stub, SmallZip()));
  const std::optional<Bytes> written = ReadFileBytes(target, 1 << 20);
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, *MakeGiftProgram(stub, SmallZip()));
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), std::filesystem::directory_iterator()), 1);
  EXPECT_FALSE(ReadFileBytes(target, 10));  // over the limit
#ifndef _WIN32
  // unzip reads the gift program as an ordinary archive.
  EXPECT_EQ(std::system(("unzip -tqq " + target).c_str()), 0);
#endif
}

}  // namespace
}  // namespace quillo::gift
