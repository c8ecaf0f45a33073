// The catalogue rebuild over folders of real and deliberately broken plug-in
// modules (built beside the tests in "scan_plugins"): which modules are
// catalogued, which message each failure gets, and the exact bytes of
// "BXFun.inf" and "Plugin.txt".
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/host/catalogue_file.h"
#include "app/host/effect_record.h"
#include "app/host/win/plugin_scan.h"
#include "app/shell/app_state.h"
#include "app/shell/resource_ids.h"
#include "message_box_watcher.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class CatalogueScan : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string res = ProgramDir() + "\\BXFUN.R";
    g_app.resources = LoadLibraryExA(res.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  void SetUp() override {
    ASSERT_NE(g_app.resources, nullptr);
    g_app.frame = nullptr;  // boxes without an owner, whatever ran before
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = ProgramDir() + "\\scan_case_" + info->name();
    Clean();
    CreateDirectoryA(dir_.c_str(), nullptr);
    GetCurrentDirectoryA(sizeof oldDir_, oldDir_);
  }
  void TearDown() override {
    SetCurrentDirectoryA(oldDir_);
    g_app.getSetupInfo = false;
    Clean();
  }
  void Clean() {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir_ + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::string path = dir_ + "\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          if (found.cFileName[0] != '.') RemoveDirectoryA(path.c_str());
        } else {
          DeleteFileA(path.c_str());
        }
      } while (FindNextFileA(h, &found));
      FindClose(h);
    }
    RemoveDirectoryA(dir_.c_str());
  }
  // Copies a built plug-in into the case folder, under another name if asked.
  void Put(const char* built, const char* as = nullptr) {
    const std::string from = ProgramDir() + "\\scan_plugins\\" + built;
    ASSERT_TRUE(CopyFileA(from.c_str(), (dir_ + "\\" + (as ? as : built)).c_str(), FALSE)) << from;
  }
  void PutBytes(const char* name, const std::string& bytes) {
    std::ofstream(dir_ + "\\" + name, std::ios::binary) << bytes;
  }
  std::string Catalogue() const { return dir_ + "\\BXFun.inf"; }
  // File names matching *.PL1 in the order the directory search gives them.
  std::vector<std::string> SearchOrder() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir_ + "\\*.PL1").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
  }
  int Scan() { return ScanPluginsIn(dir_.c_str()); }

  // The two records a sound fake module yields, as the scan must write them.
  static std::vector<EffectRecord> FakeRecords(const char* file, const char* firstName = "beta shimmer") {
    std::vector<EffectRecord> records(2);
    EffectInfoEntry first{0x1, 0, 2, 7, 100, 101, 0x8, "ProcessFirst", "First.jpg"};
    EffectInfoEntry second{0x20, 1, 1, 8, 102, 0, 0x1000, "ProcessSecond", "Second.jpg"};
    EXPECT_EQ(BuildEffectRecord(first, file, firstName ? std::optional<std::string_view>(firstName) : std::nullopt,
                                "Test category", records[0]),
              RecordBuildResult::kOk);
    EXPECT_EQ(BuildEffectRecord(second, file, "Echo warp", std::nullopt, records[1]), RecordBuildResult::kOk);
    return records;
  }

  std::string dir_;
  char oldDir_[MAX_PATH] = {};
  MessageBoxWatcher boxes_;
};

TEST_F(CatalogueScan, TwoPluginsAreCataloguedBackToBackInDirectoryOrder) {
  Put("Fake.PL1", "Alpha.PL1");
  Put("Fake.PL1", "Beta.PL1");
  g_app.getSetupInfo = true;
  EXPECT_EQ(Scan(), 4);

  std::vector<EffectRecord> expected;
  for (const std::string& name : SearchOrder())
    for (const EffectRecord& r : FakeRecords(name.c_str())) expected.push_back(r);
  const std::vector<uint8_t> bytes = ReadBytes(Catalogue());
  ASSERT_EQ(bytes.size(), 4 * kEffectRecordSize);
  EXPECT_EQ(bytes, WriteEffectRecords(expected));
  // Every reserved byte and the bytes behind every string are zero.
  const EffectRecord& warp = *reinterpret_cast<const EffectRecord*>(bytes.data() + kEffectRecordSize);
  EXPECT_EQ(std::string(warp.category), "MISC");
  EXPECT_EQ(warp.reserved1, 1);

  // One diagnostic line per record, in the current directory (the scanned one).
  std::ifstream dump(dir_ + "\\Plugin.txt");
  std::string text((std::istreambuf_iterator<char>(dump)), {});
  std::string lines;
  for (const EffectRecord& r : expected) {
    const EffectFamily* family = FindEffectFamily(r.kind);
    lines += PluginDumpLine(r, family ? LoadResString(UINT(family->nameStringId)) : "");
  }
  EXPECT_EQ(text, lines);

  const auto boxes = boxes_.boxes();
  ASSERT_EQ(boxes.size(), 1u) << boxes_.Describe();
  EXPECT_EQ(boxes[0].caption, "OK");
  EXPECT_EQ(boxes[0].text, LoadResString(IDS_CATALOGUE_BUILT));
}

TEST_F(CatalogueScan, RefusedModulesAreReportedAndLeaveNoRecord) {
  // Version 2, a name that is not the file's, an info table starting with
  // kind 0 or -1: each is "Not Filter Founded !!!".
  for (const char* file : {"FakeV2.PL1", "FakeOther.PL1", "FakeKind0.PL1", "FakeKindM1.PL1"}) {
    SCOPED_TRACE(file);
    Clean();
    CreateDirectoryA(dir_.c_str(), nullptr);
    boxes_.Clear();
    Put(file);
    EXPECT_EQ(Scan(), 0);
    EXPECT_EQ(ReadBytes(Catalogue()).size(), 0u);
    const auto boxes = boxes_.boxes();
    ASSERT_EQ(boxes.size(), 2u) << boxes_.Describe();
    EXPECT_EQ(boxes[0].caption, "Not Filter Founded !!!");
    EXPECT_EQ(boxes[0].text, file);
    EXPECT_EQ(boxes[1].text, LoadResString(IDS_NO_EFFECTS_FOUND));
  }
}

TEST_F(CatalogueScan, VersionZeroAndANameThatDiffersOnlyInCaseAreAccepted) {
  Put("FakeV0.PL1");
  Put("FakeCased.PL1");
  EXPECT_EQ(Scan(), 4);
  EXPECT_EQ(ReadBytes(Catalogue()).size(), 4 * kEffectRecordSize);
}

TEST_F(CatalogueScan, AMissingDisplayNameIsWrittenAsNAWithABadPlugInfoMessage) {
  Put("FakeNoName.PL1");
  EXPECT_EQ(Scan(), 2);
  std::vector<EffectRecord> expected = FakeRecords("FakeNoName.PL1", nullptr);
  EXPECT_EQ(std::string(expected[0].displayName), "N/A");
  EXPECT_EQ(ReadBytes(Catalogue()), WriteEffectRecords(expected));
  const auto boxes = boxes_.boxes();
  ASSERT_EQ(boxes.size(), 2u) << boxes_.Describe();
  EXPECT_EQ(boxes[0].text, "A Bad Plug info:\nName = FakeNoName.PL1\nFunction : ProcessFirst\n");
  EXPECT_EQ(boxes[0].caption, "Error");  // a message box without caption
  EXPECT_EQ(boxes[1].caption, "OK");
}

TEST_F(CatalogueScan, NamesTooLongForTheirFieldsAreSkippedNeverCut) {
  // The second entry's example name has 16 characters: it is left out.
  Put("FakeLongEx.PL1");
  EXPECT_EQ(Scan(), 1);
  EXPECT_EQ(ReadBytes(Catalogue()).size(), kEffectRecordSize);
  auto boxes = boxes_.boxes();
  ASSERT_GE(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "A Bad Plug info:\nName = FakeLongEx.PL1\nFunction : ProcessSecond\n");

  // A module name of 16 characters cannot be stored: nothing of it is.
  Clean();
  CreateDirectoryA(dir_.c_str(), nullptr);
  boxes_.Clear();
  Put("Fake.PL1", "LongModuleN.PL1");  // 15 characters: fits
  Put("Fake.PL1", "LongModuleNa.PL1");  // 16 characters: does not
  EXPECT_EQ(Scan(), 2);
  const auto records = ReadEffectRecords(ReadBytes(Catalogue()).data(), ReadBytes(Catalogue()).size());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(std::string(records[0].module), "LongModuleN.PL1");
  boxes = boxes_.boxes();
  int bad = 0, notFound = 0;
  for (const auto& box : boxes) {
    bad += box.text.rfind("A Bad Plug info:\nName = LongModuleNa.PL1", 0) == 0;
    notFound += box.caption == "Not Filter Founded !!!" && box.text == "LongModuleNa.PL1";
  }
  EXPECT_EQ(bad, 2) << boxes_.Describe();
  EXPECT_EQ(notFound, 1) << boxes_.Describe();
}

TEST_F(CatalogueScan, FilesThatAreNotModulesAreSkippedOrReportedAsLoadFailures) {
  Put("Fake.PL1", "Alpha.PL1");
  PutBytes("Notes.PL1", "just some text");
  PutBytes("Broken.PL1", std::string("MZ") + std::string(300, '\x7f'));
  EXPECT_EQ(Scan(), 2);
  EXPECT_EQ(ReadBytes(Catalogue()), WriteEffectRecords(FakeRecords("Alpha.PL1")));
  const auto boxes = boxes_.boxes();
  ASSERT_EQ(boxes.size(), 2u) << boxes_.Describe();
  EXPECT_EQ(boxes[0].caption, "Load Lib Fail");
  EXPECT_EQ(boxes[0].text, "Broken.PL1");
  EXPECT_EQ(boxes[1].caption, "OK");
}

TEST_F(CatalogueScan, NoModulesOrAnUnwritableCatalogueLeaveTheOldFileAlone) {
  const std::string old = "old catalogue bytes";
  PutBytes("BXFun.inf", old);
  EXPECT_EQ(Scan(), 0);
  std::vector<uint8_t> bytes = ReadBytes(Catalogue());
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), old);
  auto boxes = boxes_.boxes();
  ASSERT_EQ(boxes.size(), 1u) << boxes_.Describe();
  EXPECT_EQ(boxes[0].text, LoadResString(IDS_NO_EFFECTS_FOUND));

  // The temporary file cannot be made (a folder has its name): the scan
  // stops before loading anything and the old catalogue stays.
  boxes_.Clear();
  Put("Fake.PL1", "Alpha.PL1");
  ASSERT_TRUE(CreateDirectoryA((Catalogue() + ".new").c_str(), nullptr));
  EXPECT_EQ(Scan(), 0);
  bytes = ReadBytes(Catalogue());
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), old);
  boxes = boxes_.boxes();
  ASSERT_EQ(boxes.size(), 1u) << boxes_.Describe();
  EXPECT_EQ(boxes[0].text, LoadResString(IDS_NO_EFFECTS_FOUND));
  EXPECT_FALSE(Exists(dir_ + "\\Plugin.txt"));
}

}  // namespace
