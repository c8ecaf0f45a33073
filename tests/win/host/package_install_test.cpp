// The studio keeps a running Water effect as a package: the files in the
// package folder, the settings and "system.ini", a saver program already in
// the system directory left alone, and a failed step leaving no listed
// package behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/host/catalogue_file.h"
#include "app/host/win/effect_host.h"
#include "app/host/win/package_files.h"
#include "app/shell/app_state.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/open_image.h"
#include "gift/archive/zip_reader.h"
#include "contracts/plugin_contract.h"
#include "message_box_watcher.h"
#include "plugins/qlo12/kernels/water_blob.h"
#include "resources/qlo12/qlo12_ids.h"
#include "studio_fixture.h"
#include "water_run.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WindowsFolder() {
  char path[MAX_PATH];
  GetWindowsDirectoryA(path, sizeof path);
  return path;
}

std::string SystemFolder() {
  char path[MAX_PATH];
  GetSystemDirectoryA(path, sizeof path);
  return path;
}

std::string Setting(const char* section, const char* key, const char* file) {
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA(section, key, "", value, sizeof value, file);
  return value;
}

// Every file of the package folder, and the folder itself.
void RemovePackageFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

// Names of the package files in the folder ("*.SSD" and "*.bexa").
std::vector<std::string> Listed(const std::string& folder, const char* pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

class PackageInstall : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { started_ = StartStudioOnce(); }
  void SetUp() override {
    ASSERT_EQ(started_, -1);
    RemovePackageFolder(folder_);
    savedSaver_ = Setting("boot", "SCRNSAVE.EXE", "system.ini");
    saverWasThere_ = Exists(mailSaver_);
    ASSERT_NE(OpenImageHandle(MakeTestPicture(160, 120), "package source"), nullptr);
    PumpMessages();
  }
  void TearDown() override {
    CloseAllDocuments();
    RemovePackageFolder(folder_);
    if (!saverWasThere_) DeleteFileA(mailSaver_.c_str());
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", savedSaver_.empty() ? nullptr : savedSaver_.c_str(),
                               "system.ini");
    WritePrivateProfileStringA("Saver", "Default", nullptr, "bexadbms.ini");
  }

  // Runs Water, presses the panel's "Saver" `times` times while it plays
  // (running `between` after each), then stops it and cancels the effect.
  void InstallWhilePlaying(int times, std::function<void()> between = [] {}) {
    auto playing = WaterPlaying;
    auto cancel = CancelWater;
    ScriptedUser user;
    user.Then(playing).WaitTicks(5);
    for (int i = 0; i < times; ++i)
      user.Then([between] {
        SendMessageA(g_app.frame, WM_COMMAND, CMD_PANEL_SAVER, 0);
        between();
        return true;
      });
    user.Then(cancel).Then([playing] { return !playing(); }).Then(cancel);
    RunEffect(WaterRecord());
    EXPECT_TRUE(user.finished());
  }

  static inline int started_ = 0;
  const std::string folder_ = WindowsFolder() + "\\Bexa\\";
  const std::string mailSaver_ = SystemFolder() + "\\MailSaver.scr";
  std::string savedSaver_;
  bool saverWasThere_ = false;
};

TEST_F(PackageInstall, ARunningWaterBecomesAPackageAndTheScreenSaver) {
  // A saver program already in the system directory stays as it is.
  const bool replaceSaver = !saverWasThere_;
  MessageBoxWatcher boxes;
  std::vector<std::string> defaults;
  InstallWhilePlaying(2, [&] {
    defaults.push_back(Setting("Saver", "Default", "bexadbms.ini"));
    if (replaceSaver && defaults.size() == 1) {
      EXPECT_EQ(FileBytes(mailSaver_), FileBytes(ProgramDir() + "\\MailSaver.scr"));
      std::ofstream(mailSaver_, std::ios::binary) << "an older saver";
    }
  });
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 2u) << boxes.Describe();
  for (const auto& box : shown) {
    EXPECT_EQ(box.caption, "OK");
    EXPECT_EQ(box.text, LoadResString(IDS_SAVER_INSTALLED));
  }
  if (replaceSaver) {
    const std::vector<uint8_t> older = FileBytes(mailSaver_);
    EXPECT_EQ(std::string(older.begin(), older.end()), "an older saver");
  }

  // Two packages, even when both were saved within the same second.
  ASSERT_EQ(defaults.size(), 2u);
  EXPECT_NE(defaults[0], defaults[1]);
  EXPECT_EQ(Listed(folder_, "*.SSD").size(), 2u);
  EXPECT_EQ(Setting("Saver", "Default", "bexadbms.ini"), defaults[1]);
  const std::string name = defaults[1];
  ASSERT_EQ(name.rfind("_20", 0), 0u) << name;

  const std::vector<uint8_t> picture = FileBytes(folder_ + name + ".bexa");
  ASSERT_GT(picture.size(), 2u);
  EXPECT_EQ(picture[0], 0xFF);
  EXPECT_EQ(picture[1], 0xD8) << "a JPEG picture";
  EXPECT_EQ(FileBytes(folder_ + name + ".SSD"), WriteEffectRecords({WaterRecord()}));
  const std::vector<uint8_t> parameters = FileBytes(folder_ + name + ".Prm");
  ASSERT_GE(parameters.size(), 8u);
  uint32_t magic = 0;
  std::memcpy(&magic, parameters.data(), 4);
  EXPECT_EQ(magic, qlo12::kWaterBlobMagic);
  for (const char* module : {"BXUI.DLL", "BXDIB3.DLL", "BXCOMM.DLL", "Posy.r", "Qlo12.PL1", "PkgSaver.dll", "Qlo12.R"})
    EXPECT_EQ(FileBytes(folder_ + module), FileBytes(ProgramDir() + "\\" + module)) << module;

  char shortPath[MAX_PATH] = {};
  GetShortPathNameA(mailSaver_.c_str(), shortPath, sizeof shortPath);
  EXPECT_EQ(Setting("boot", "SCRNSAVE.EXE", "system.ini"), shortPath);
  BOOL active = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  EXPECT_TRUE(active);
}

// The folder the gift programs made here are left in for the receiver's
// test, which runs them in a Wine prefix of its own.
std::string HandoffFolder() {
  std::string folder = GIFT_HANDOFF_DIR;
  for (char& c : folder)
    if (c == '/') c = '\\';
  CreateDirectoryA(folder.substr(0, folder.find_last_of('\\')).c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

struct PackedGift {
  bool saverTicked = false, saverEnabled = false;
  std::vector<std::string> boxes;
  std::vector<gift::ZipMember> members;
  gift::ZipError error = gift::ZipError::kNone;
};

// "Pack" while `record` (a Water) plays: the save dialog, its gift part read
// and the chosen `target` typed in; what the dialog showed and the archive of
// the program written.
PackedGift PackWhilePlaying(const EffectRecord& record, const std::string& target) {
  DeleteFileA(target.c_str());
  PackedGift packed;
  MessageBoxWatcher boxes;
  auto playing = WaterPlaying;
  auto cancel = CancelWater;
  HWND save = nullptr;
  ScriptedUser user;
  user.Then(playing).WaitTicks(3).Then([] {
    PostMessageA(g_app.frame, WM_COMMAND, CMD_PANEL_PACK, 0);
    return true;
  });
  user.Then([&] {
    save = FindWindowA(nullptr, LoadResString(IDS_SAVE_GIFT_TITLE));
    if (!save) return false;
    HWND part = FindWindowExA(save, nullptr, nullptr, nullptr);
    for (; part; part = FindWindowExA(save, part, nullptr, nullptr))
      if (GetDlgItem(part, IDC_GIFT_INCLUDE_SAVER)) break;
    if (part) {
      packed.saverTicked = IsDlgButtonChecked(part, IDC_GIFT_INCLUDE_SAVER) == BST_CHECKED;
      packed.saverEnabled = IsWindowEnabled(GetDlgItem(part, IDC_GIFT_INCLUDE_SAVER));
    }
    HWND name = GetDlgItem(save, 0x47C);
    if (!name) name = GetDlgItem(save, 0x480);
    SendMessageA(name, WM_SETTEXT, 0, LPARAM(target.c_str()));
    PostMessageA(save, WM_COMMAND, IDOK, 0);
    return true;
  });
  user.Then([&] { return !IsWindow(save) && !boxes.boxes().empty(); })
      .Then(cancel)
      .Then([playing] { return !playing(); })
      .Then(cancel);
  RunEffect(record);
  EXPECT_TRUE(user.finished());
  for (const auto& box : boxes.boxes()) packed.boxes.push_back(box.text);
  const std::vector<uint8_t> program = FileBytes(target);
  packed.error = gift::ReadZip(program.data(), program.size(), gift::ZipLimits{}, &packed.members);
  return packed;
}

std::vector<std::string> NamesOf(const std::vector<gift::ZipMember>& members) {
  std::vector<std::string> names;
  for (const auto& m : members) names.push_back(m.name);
  return names;
}

// "Pack" of a running Water: the save dialog (its gift part preset: the
// saver included, since Water can be a screen saver), then a gift program
// at the chosen path whose archive holds the package under "_" + the name,
// the player, the modules and the saver. The program is kept for the
// receiver's test.
TEST_F(PackageInstall, PackSavesTheRunningEffectAsAGiftProgram) {
  const std::string target = HandoffFolder() + "\\WaterGift.exe";
  const PackedGift packed = PackWhilePlaying(WaterRecord(), target);
  EXPECT_TRUE(packed.saverTicked && packed.saverEnabled);
  EXPECT_EQ(packed.boxes, std::vector<std::string>{LoadResString(IDS_GIFT_SAVED)});
  ASSERT_EQ(packed.error, gift::ZipError::kNone);
  const std::vector<std::string> expected = {"POSY.R", "_WaterGift.EXE", "BXDIB3.DLL", "BXUI.DLL", "BXCOMM.DLL",
                                             "_WaterGift.SSD", "_WaterGift.bexa", "Qlo12.PL1", "PkgSaver.dll",
                                             "MailSaver.scr", "_WaterGift.Prm", "Qlo12.R"};
  EXPECT_EQ(NamesOf(packed.members), expected);
  for (const auto& m : packed.members) {
    if (m.name == "_WaterGift.SSD") {
      EXPECT_EQ(m.bytes, WriteEffectRecords({WaterRecord()}));
    }
    if (m.name == "_WaterGift.EXE") {
      EXPECT_EQ(m.bytes, FileBytes(ProgramDir() + "\\GiftUtil.EXE"));
    }
  }
  EXPECT_FALSE(Exists(ProgramDir() + "\\Temp\\WaterGift.exe")) << "the build's own copy is removed";
  EXPECT_FALSE(Exists(ProgramDir() + "\\Temp\\_WaterGift.SSD"));
}

// An effect that cannot be a screen saver: the saver part greyed and
// unticked, and neither saver file in the gift (kept for the receiver too).
TEST_F(PackageInstall, AGiftOfAnEffectThatIsNoSaverLeavesTheSaverOut) {
  EffectRecord plain = WaterRecord();
  plain.optionFlags &= ~kOptionSaver;
  const PackedGift packed = PackWhilePlaying(plain, HandoffFolder() + "\\PlainGift.exe");
  EXPECT_FALSE(packed.saverTicked || packed.saverEnabled);
  EXPECT_EQ(packed.boxes, std::vector<std::string>{LoadResString(IDS_GIFT_SAVED)});
  ASSERT_EQ(packed.error, gift::ZipError::kNone);
  const std::vector<std::string> expected = {"POSY.R", "_PlainGift.EXE", "BXDIB3.DLL", "BXUI.DLL", "BXCOMM.DLL",
                                             "_PlainGift.SSD", "_PlainGift.bexa", "Qlo12.PL1", "_PlainGift.Prm",
                                             "Qlo12.R"};
  EXPECT_EQ(NamesOf(packed.members), expected);
  for (const auto& m : packed.members) {
    if (m.name == "_PlainGift.SSD") {
      EXPECT_EQ(m.bytes, WriteEffectRecords({plain}));
    }
  }
}

// The effect saver: BXSaver.SCR copied into the system directory when it is
// missing (an existing one kept), told where EffSaver.DLL lies, and made the
// screen saver; without the saver program nothing changes.
TEST_F(PackageInstall, TheEffectSaverCommandInstallsBXSaver) {
  const std::string saver = SystemFolder() + "\\BXSaver.SCR", source = ProgramDir() + "\\BXSaver.SCR";
  const bool saverWasThere = Exists(saver);
  const std::string savedEngine = Setting("Saver", "Engine", "bexadbms.ini");
  if (!saverWasThere) {
    SendMessageA(g_app.frame, WM_COMMAND, CMD_EFFECT_SAVER_INSTALL, 0);
    EXPECT_EQ(FileBytes(saver), FileBytes(source));
  }
  std::ofstream(saver, std::ios::binary) << "kept";
  SendMessageA(g_app.frame, WM_COMMAND, CMD_EFFECT_SAVER_INSTALL, 0);
  const std::vector<uint8_t> kept = FileBytes(saver);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "kept");
  EXPECT_EQ(Setting("Saver", "Engine", "bexadbms.ini"), ProgramDir() + "\\EffSaver.DLL");
  char shortPath[MAX_PATH] = {};
  GetShortPathNameA(saver.c_str(), shortPath, sizeof shortPath);
  EXPECT_EQ(Setting("boot", "SCRNSAVE.EXE", "system.ini"), shortPath);

  // Neither copy to be had: a beep, and the setting stays.
  DeleteFileA(saver.c_str());
  const std::string aside = source + ".aside";
  ASSERT_TRUE(MoveFileA(source.c_str(), aside.c_str()));
  WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", "before.scr", "system.ini");
  SendMessageA(g_app.frame, WM_COMMAND, CMD_EFFECT_SAVER_INSTALL, 0);
  MoveFileA(aside.c_str(), source.c_str());
  EXPECT_FALSE(Exists(saver));
  EXPECT_EQ(Setting("boot", "SCRNSAVE.EXE", "system.ini"), "before.scr");

  if (saverWasThere) CopyFileA(source.c_str(), saver.c_str(), FALSE);
  WritePrivateProfileStringA("Saver", "Engine", savedEngine.empty() ? nullptr : savedEngine.c_str(), "bexadbms.ini");
}

// The copy and write primitives never leave a damaged destination: a
// missing source keeps the old file, sizes across the 30000-byte blocks and
// an empty file come out whole.
TEST(PackageFiles, CopiesWholeFilesOrLeaveTheDestinationAlone) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string from = std::string(temp) + "quillo_copy_from.bin", to = std::string(temp) + "quillo_copy_to.bin";
  std::vector<uint8_t> bytes(70001);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7 + 3);
  ASSERT_EQ(WriteBufferToFile(bytes.data(), bytes.size(), from.c_str()), 1);
  EXPECT_EQ(CopyFileChunked(to.c_str(), from.c_str()), 1);
  EXPECT_EQ(FileBytes(to), bytes);

  DeleteFileA(from.c_str());
  EXPECT_EQ(CopyFileChunked(to.c_str(), from.c_str()), 0);
  EXPECT_EQ(FileBytes(to), bytes) << "a missing source keeps the old destination";

  ASSERT_EQ(WriteBufferToFile(nullptr, 0, from.c_str()), 1);
  EXPECT_EQ(CopyFileChunked(to.c_str(), from.c_str()), 1);
  EXPECT_TRUE(FileBytes(to).empty());
  EXPECT_EQ(WriteBufferToFile(bytes.data(), bytes.size(), (std::string(temp) + "no such folder\\x").c_str()), 0);
  DeleteFileA(from.c_str());
  DeleteFileA(to.c_str());
}

// Water's frame rate in the studio on a picture of the saver stage's size
// (QUILLO_MEASURE_FPS=WxH), to set beside the stage's own figure.
LRESULT CALLBACK CountFrames(int code, WPARAM wParam, LPARAM lParam);
int g_frames = 0;
HHOOK g_hook = nullptr;
LRESULT CALLBACK CountFrames(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == EM_NEW_FRAME) ++g_frames;
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_F(PackageInstall, WaterFrameRate) {
  char size[32] = {};
  int width = 0, height = 0;
  if (!GetEnvironmentVariableA("QUILLO_MEASURE_FPS", size, sizeof size) ||
      std::sscanf(size, "%dx%d", &width, &height) != 2)
    GTEST_SKIP();
  CloseAllDocuments();
  ASSERT_NE(OpenImageHandle(MakeTestPicture(width, height), "frame rate"), nullptr);
  g_hook = SetWindowsHookExA(WH_CALLWNDPROC, CountFrames, nullptr, GetCurrentThreadId());
  DWORD start = 0;
  int first = 0;
  double fps = 0;
  ScriptedUser user;
  user.Then([&] {
    if (g_frames < 5) return false;
    start = GetTickCount(), first = g_frames;
    return true;
  });
  user.Then([&] {
    if (GetTickCount() - start < 4000) return false;
    fps = double(g_frames - first) * 1000.0 / double(GetTickCount() - start);
    PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return true;
  });
  user.WaitTicks(10).Then([] {
    PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return true;
  });
  RunEffect(WaterRecord());
  UnhookWindowsHookEx(g_hook);
  std::printf("studio frame rate, Water %dx%d: %.1f frames/s\n", width, height, fps);
  EXPECT_GT(fps, 0.0);
}

// A support module that cannot be copied fails the install with the
// failure message, and no package is listed: the picture written before is
// removed again, the record never written.
TEST_F(PackageInstall, AFailedCopyLeavesNoListedPackage) {
  const std::string posy = ProgramDir() + "\\Posy.R", aside = posy + ".aside";
  ASSERT_TRUE(MoveFileA(posy.c_str(), aside.c_str()));
  MessageBoxWatcher boxes;
  InstallWhilePlaying(1);
  MoveFileA(aside.c_str(), posy.c_str());
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 1u) << boxes.Describe();
  EXPECT_EQ(shown[0].text, LoadResString(IDS_SAVER_FAILED));
  EXPECT_TRUE(Listed(folder_, "*.SSD").empty());
  EXPECT_TRUE(Listed(folder_, "_*").empty());
  EXPECT_EQ(Setting("Saver", "Default", "bexadbms.ini"), "");
}

}  // namespace
