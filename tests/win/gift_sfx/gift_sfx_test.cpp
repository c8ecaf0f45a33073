// GiftSfx.exe as the receiver and the sender meet it: a gift program made
// from the built stub and an archive, started as its own process.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gift/archive/gift_files.h"
#include "gift/archive/gift_program.h"
#include "gift/archive/replace_file.h"
#include "gift/archive/zip_reader.h"
#include "gift/archive/zip_writer.h"
#include "saver_process.h"
#include "tests/native/gift_archive/zip_test_tools.h"
#include "win_test_support.h"

namespace quillo::gift {
namespace {

using test::Bytes;
using test::BytesOf;

constexpr char kData1[] = "GiftSfxTest1.txt";
constexpr char kData2[] = "GiftSfxTest2.bin";

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Lower(std::string text) {
  CharLowerBuffA(text.data(), DWORD(text.size()));
  return text;
}

// Name -> size and write time of every file in a folder (empty if none).
std::map<std::string, std::pair<uint64_t, uint64_t>> Snapshot(const std::string& folder) {
  std::map<std::string, std::pair<uint64_t, uint64_t>> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    files[found.cFileName] = {uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow,
                              uint64_t(found.ftLastWriteTime.dwHighDateTime) << 32 |
                                  found.ftLastWriteTime.dwLowDateTime};
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return files;
}

class GiftSfx : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string bin = quillo::test::ProgramDir() + "\\";
    stub_ = ReadFileBytes(bin + "GiftSfx.exe", 16 << 20).value_or(Bytes());
    player_ = ReadFileBytes(bin + "GiftMarkerPlayer.exe", 16 << 20).value_or(Bytes());
    ASSERT_FALSE(stub_.empty());
    ASSERT_FALSE(player_.empty());
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    windows_ = std::string(windows) + "\\";
    bexa_ = windows_ + "Bexa\\";
    bexaExisted_ = Exists(bexa_);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    work_ = std::string(temp) + "QuilloGiftSfxTest\\";
    CreateDirectoryA(work_.c_str(), nullptr);
    marker_ = work_ + "marker.txt";
    DeleteFileA(marker_.c_str());
    SetEnvironmentVariableA("QUILLO_GIFT_MARKER", marker_.c_str());
    data2_.resize(20000);
    for (size_t i = 0; i < data2_.size(); ++i) data2_[i] = uint8_t(i * 7 + i / 300);
  }

  void TearDown() override {
    for (const char* name : {"_Gift.exe", kData1, kData2}) DeleteFileA((bexa_ + name).c_str());
    if (!bexaExisted_) RemoveDirectoryA(bexa_.c_str());
    DeleteFileA((windows_ + "GiftSfxEvil.txt").c_str());
    for (const char* name : {"Gift.exe", "marker.txt", "marker.txt.part"}) DeleteFileA((work_ + name).c_str());
    RemoveDirectoryA(work_.c_str());
    SetEnvironmentVariableA("QUILLO_GIFT_MARKER", nullptr);
  }

  // The archive: the player under the gift's name plus two data files (and
  // `extra` when given, a placeholder name for hostile tests).
  Bytes Zip(const std::string& playerName = "_Gift.exe", const std::string& extra = {}) {
    ZipWriter writer;
    EXPECT_EQ(writer.Add(playerName, player_, DosDateTime()), ZipAddResult::kAdded);
    EXPECT_EQ(writer.Add(kData1, BytesOf("new one"), DosDateTime()), ZipAddResult::kAdded);
    if (!extra.empty()) {
      EXPECT_EQ(writer.Add(extra, BytesOf("evil"), DosDateTime()), ZipAddResult::kAdded);
    }
    EXPECT_EQ(writer.Add(kData2, data2_, DosDateTime()), ZipAddResult::kAdded);
    return writer.Finish();
  }

  std::string SaveGift(const Bytes& program) {
    const std::string path = work_ + "Gift.exe";
    EXPECT_TRUE(WriteFileReplacing(path, program.data(), program.size()));
    return path;
  }

  // Starts the gift and waits for it to end; the exit code, or -1.
  int Run(const std::string& gift, const std::string& arguments) {
    SaverProcess process(arguments, gift);
    EXPECT_TRUE(process.started());
    return process.WaitExit(30000);
  }

  // Starts a gift that must fail: answers its message box and returns the
  // box's text.
  std::string RunFailing(const std::string& gift) {
    SaverProcess process("", gift);
    EXPECT_TRUE(process.started());
    const HWND box = process.WaitWindow(nullptr, 20000);
    if (!box) return "(no message box)";
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // a message box's text control
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(process.WaitExit(10000), 1);
    return text;
  }

  // The marker the player wrote: command line, current folder.
  std::optional<std::pair<std::string, std::string>> Marker() {
    const std::optional<Bytes> bytes = ReadFileBytes(marker_, 10000);
    if (!bytes) return std::nullopt;
    const std::string text(bytes->begin(), bytes->end());
    const size_t line = text.find('\n');
    if (line == std::string::npos || text.back() != '\n') return std::nullopt;
    return std::make_pair(text.substr(0, line), text.substr(line + 1, text.size() - line - 2));
  }

  Bytes stub_, player_, data2_;
  std::string windows_, bexa_, work_, marker_;
  bool bexaExisted_ = false;
};

TEST_F(GiftSfx, UnpacksIntoThePackageFolderOverwritingAndStartsThePlayerThere) {
  CreateDirectoryA(bexa_.c_str(), nullptr);
  const Bytes older = BytesOf("an older file of the same name, longer than the new one");
  ASSERT_TRUE(WriteFileReplacing(bexa_ + kData1, older.data(), older.size()));
  const std::string gift = SaveGift(MakeGiftProgram(stub_, Zip()).value());

  ASSERT_EQ(Run(gift, ""), 0);
  EXPECT_EQ(ReadFileBytes(bexa_ + kData1, 1000), BytesOf("new one"));
  EXPECT_EQ(ReadFileBytes(bexa_ + kData2, 100000), data2_);
  EXPECT_EQ(ReadFileBytes(bexa_ + "_Gift.exe", 16 << 20), player_);
  for (const auto& [name, info] : Snapshot(bexa_))
    EXPECT_NE(Lower(name).rfind(".tmp"), name.size() - 4) << "temporary file left: " << name;

  // The stub does not wait for the player; the marker shows up when it ran.
  ASSERT_TRUE(PumpUntil([&] { return Marker().has_value(); }, 15000));
  const auto [commandLine, folder] = *Marker();
  EXPECT_EQ(Lower(commandLine), Lower("\"" + bexa_ + "_Gift.exe\""));
  EXPECT_EQ(Lower(folder + "\\"), Lower(bexa_));
}

TEST_F(GiftSfx, PreviewChangesNothingAndPassesTheSwitchOn) {
  const auto before = Snapshot(bexa_);
  const std::string gift = SaveGift(MakeGiftProgram(stub_, Zip()).value());
  // With /preview the stub waits for the player and then tidies up.
  ASSERT_EQ(Run(gift, "/preview"), 0);
  EXPECT_EQ(Snapshot(bexa_), before);
  EXPECT_EQ(Exists(bexa_), bexaExisted_);
  const auto marker = Marker();
  ASSERT_TRUE(marker);
  EXPECT_NE(marker->first.find("_Gift.exe\" /preview"), std::string::npos) << marker->first;
  EXPECT_EQ(Lower(marker->second + "\\").find(Lower(bexa_)), std::string::npos) << marker->second;
  EXPECT_FALSE(Exists(marker->second)) << "temporary folder left: " << marker->second;
}

TEST_F(GiftSfx, DamagedGiftsUnpackNothing) {
  const auto before = Snapshot(bexa_);
  {
    // Bad CRC on the last member: nothing before it may be written either.
    Bytes program = MakeGiftProgram(stub_, Zip()).value();
    ZipDirectory directory;
    ASSERT_EQ(ReadZipDirectory(program.data(), program.size(), ZipLimits(), &directory), ZipError::kNone);
    const ZipEntry& last = directory.entries.back();
    Write32(program.data() + last.centralPosition + 16, last.crc ^ 0x10);
    Write32(program.data() + last.localPosition + 14, last.crc ^ 0x10);
    const std::string text = RunFailing(SaveGift(program));
    EXPECT_NE(text.find("checksum"), std::string::npos) << text;
  }
  {
    // A member reaching out of the folder.
    Bytes program = MakeGiftProgram(stub_, Zip("_Gift.exe", "zz_GiftSfxEvil.txt")).value();
    ASSERT_EQ(test::ReplaceAll(program, "zz_GiftSfxEvil.txt", "..\\GiftSfxEvil.txt"), 2);
    const std::string text = RunFailing(SaveGift(program));
    EXPECT_NE(text.find("plain file name"), std::string::npos) << text;
    EXPECT_FALSE(Exists(windows_ + "GiftSfxEvil.txt"));
  }
  {
    // A gift whose player does not match its file name.
    const std::string text = RunFailing(SaveGift(MakeGiftProgram(stub_, Zip("_Other.exe")).value()));
    EXPECT_NE(text.find("_Gift.exe"), std::string::npos) << text;
  }
  EXPECT_EQ(Snapshot(bexa_), before);
  EXPECT_FALSE(Exists(marker_));
}

}  // namespace
}  // namespace quillo::gift
