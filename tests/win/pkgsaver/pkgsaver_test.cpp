// MailSaver.scr with PkgSaver.dll on packages made by hand: the settings
// dialog, the replay of a package full screen, the switch between packages
// and damaged packages, each as its own saver process.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "contracts/dib_services.h"
#include "package_fixture.h"
#include "plugin_harness.h"
#include "saver_process.h"
#include "screenshot.h"
#include "win_test_support.h"

namespace {

using quillo::EffectRecord;
using quillo::kEffectRecordSize;
using quillo::test::PackageFixture;

const std::string kFirst = "_2003-05-17-14-03-09";
const std::string kSecond = kFirst + "-2";  // saved in the same second

constexpr char kChildClass[] = "Mail Saver Child";
constexpr int kTimeList = 202;
constexpr int kPackageList = 203;
constexpr int kDeleteButton = 3;

// The engine's counters (paints, ticks, runs, running) through its query message.
LRESULT Ask(HWND saver, WPARAM question) {
  return SendMessageA(saver, RegisterWindowMessageA("QuilloSaverStageQuery"), question, 0);
}
enum : WPARAM { kPaints = 0, kTicks = 1, kRuns = 2, kRunning = 3 };

std::vector<std::string> ListEntries(HWND dialog) {
  HWND list = GetDlgItem(dialog, kPackageList);
  std::vector<std::string> entries;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // Asked in UTF-16: an ANSI request across processes comes back cut short here.
    wchar_t text[MAX_PATH] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0) >= MAX_PATH) continue;
    SendMessageW(list, LB_GETTEXT, WPARAM(i), LPARAM(text));
    std::string entry;
    for (const wchar_t* c = text; *c; ++c) entry.push_back(char(*c));
    entries.push_back(entry);
  }
  return entries;
}

HWND StageChild(HWND saver) { return FindWindowExA(saver, nullptr, kChildClass, nullptr); }

int ChildWidth(HWND saver) {
  RECT r = {};
  HWND child = StageChild(saver);
  return child && GetWindowRect(child, &r) ? int(r.right - r.left) : 0;
}

// Ends a full-screen saver the way a key press does, and expects a clean exit.
void EndSaver(SaverProcess& saver, HWND window) {
  PostMessageA(window, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(saver.WaitExit(10000), 0);
}

class PackageSaver : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fixture.ready()); }
  void TearDown() override { SetEnvironmentVariableA("QUILLO_SAVER_TICK_MS", nullptr); }
  PackageFixture fixture;
};

TEST_F(PackageSaver, SettingsListPackagesAndOkStoresTheChosenOneAndTheTime) {
  ASSERT_TRUE(fixture.WritePackage(kSecond, 64, 48, fixture.WaterRecord()));
  ASSERT_TRUE(fixture.WritePackage(kFirst, 64, 48, fixture.WaterRecord()));
  EffectRecord unmarked = fixture.WaterRecord();
  unmarked.optionFlags &= ~0x8;
  ASSERT_TRUE(fixture.WritePackage("_unmarked", 64, 48, unmarked));
  ASSERT_TRUE(fixture.WritePackage("_short", 64, 48, fixture.WaterRecord(), 291));
  ASSERT_TRUE(fixture.WritePackage("_long", 64, 48, fixture.WaterRecord(), 293));
  fixture.SetSetting("Default", kFirst.c_str());
  fixture.SetSetting("Time", "31");

  SaverProcess saver("/c", fixture.saverProgram());
  HWND dialog = saver.WaitWindow();
  ASSERT_NE(dialog, nullptr);
  char caption[64] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "Quillo Screen Saver Setup");
  EXPECT_EQ(ListEntries(dialog), (std::vector<std::string>{kFirst, kSecond}));
  HWND times = GetDlgItem(dialog, kTimeList);
  EXPECT_EQ(SendMessageA(times, CB_GETCOUNT, 0, 0), 30);
  EXPECT_EQ(SendMessageA(times, CB_GETCURSEL, 0, 0), 4);  // 31 minutes counts as 5

  SendDlgItemMessageA(dialog, kPackageList, LB_SETCURSEL, 1, 0);
  SendMessageA(times, CB_SETCURSEL, 11, 0);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(saver.WaitExit(), 0);
  EXPECT_EQ(fixture.Setting("Default"), kSecond);
  EXPECT_EQ(fixture.Setting("Time"), "12");
}

TEST_F(PackageSaver, DeleteRemovesOnlyTheSelectedPackagesFilesAndKeepsTheLastPackage) {
  ASSERT_TRUE(fixture.WritePackage(kFirst, 64, 48, fixture.WaterRecord()));
  ASSERT_TRUE(fixture.WritePackage(kSecond, 64, 48, fixture.WaterRecord()));
  const std::vector<std::string> own = {kFirst + ".Prm", kFirst + "(0).bexa", kFirst + "(12).BEXA"};
  const std::vector<std::string> kept = {kFirst + ".DLL", kFirst + ".PL1", kFirst + ".R", kFirst + ".txt",
                                         kFirst + "(x).bexa", kSecond + ".Prm"};
  for (const auto& file : own) ASSERT_TRUE(fixture.WriteFile(file, "x"));
  for (const auto& file : kept) ASSERT_TRUE(fixture.WriteFile(file, "x"));
  fixture.SetSetting("Default", kFirst.c_str());

  SaverProcess saver("/c", fixture.saverProgram());
  HWND dialog = saver.WaitWindow();
  ASSERT_NE(dialog, nullptr);
  SendDlgItemMessageA(dialog, kPackageList, LB_SETCURSEL, 0, 0);
  SendMessageA(dialog, WM_COMMAND, kDeleteButton, 0);
  EXPECT_EQ(ListEntries(dialog), std::vector<std::string>{kSecond});
  for (const auto& file : own) EXPECT_FALSE(fixture.Exists(file)) << file;
  EXPECT_FALSE(fixture.Exists(kFirst + ".BEXA"));
  EXPECT_FALSE(fixture.Exists(kFirst + ".SSD"));
  for (const auto& file : kept) EXPECT_TRUE(fixture.Exists(file)) << file;
  EXPECT_TRUE(fixture.Exists("Qlo12.PL1"));

  // The last package stays.
  SendMessageA(dialog, WM_COMMAND, kDeleteButton, 0);
  EXPECT_EQ(ListEntries(dialog), std::vector<std::string>{kSecond});
  EXPECT_TRUE(fixture.Exists(kSecond + ".SSD"));
  EXPECT_TRUE(fixture.Exists(kSecond + ".BEXA"));
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(saver.WaitExit(), 0);
}

TEST_F(PackageSaver, SettingsWithoutAnyPackageOpenAndOkWritesNothing) {
  SaverProcess saver("/c", fixture.saverProgram());
  HWND dialog = saver.WaitWindow();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(ListEntries(dialog).empty());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(saver.WaitExit(), 0);
  EXPECT_EQ(fixture.Setting("Default"), "<none>");
  EXPECT_EQ(fixture.Setting("Time"), "<none>");
}

// Waits for the effect to play and returns the image child's screen area.
RECT WaitForPlayingStage(HWND saver) {
  RECT area = {};
  EXPECT_TRUE(PumpUntil([&] { return Ask(saver, kRunning) == 1 && Ask(saver, kPaints) > 5; }, 10000));
  if (HWND child = StageChild(saver)) GetWindowRect(child, &area);
  return area;
}

TEST_F(PackageSaver, ReplaysThePackageFullScreenAndTheEffectPlays) {
  ASSERT_TRUE(fixture.WritePackage(kFirst, 320, 240, fixture.WaterRecord()));
  fixture.SetSetting("Default", kFirst.c_str());
  SaverProcess saver("/s", fixture.saverProgram());
  HWND window = saver.WaitWindow();
  ASSERT_NE(window, nullptr);
  const RECT area = WaitForPlayingStage(window);
  ASSERT_EQ(area.right - area.left, 320);
  ASSERT_EQ(area.bottom - area.top, 240);
  // Centred on the saver window.
  RECT screen;
  GetWindowRect(window, &screen);
  EXPECT_EQ(area.left - screen.left, (screen.right - screen.left - 320) / 2);

  HGLOBAL first = quillo::test::CaptureScreenArea(area);
  const LRESULT paints = Ask(window, kPaints);
  const DWORD start = GetTickCount();
  EXPECT_TRUE(PumpUntil([&] { return Ask(window, kPaints) > paints + 10 && GetTickCount() - start >= 1000; },
                        10000));
  HGLOBAL second = quillo::test::CaptureScreenArea(area);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(quillo::test::DibPixels(first), quillo::test::DibPixels(second));
  DestroyDIB(first);
  DestroyDIB(second);

  // Frame rate on the stage: image paints over three seconds.
  const LRESULT before = Ask(window, kPaints);
  const DWORD from = GetTickCount();
  PumpUntil([&] { return GetTickCount() - from >= 3000; }, 4000);
  const double fps = double(Ask(window, kPaints) - before) * 1000.0 / double(GetTickCount() - from);
  std::printf("stage frame rate, Water 320x240 on %dx%d: %.1f frames/s\n", int(screen.right - screen.left),
              int(screen.bottom - screen.top), fps);
  RecordProperty("stage_fps", int(fps));
  EXPECT_GT(fps, 1.0);
  EXPECT_EQ(Ask(window, kRuns), 1);  // a single package is never switched
  EndSaver(saver, window);
}

// A package of the magic patterns made from a photograph replays on the
// stage and moves; its picture goes to the bin folder as saver-magic.png.
TEST_F(PackageSaver, ReplaysALightEffectPackage) {
  const EffectRecord magic = fixture.LightRecord("ProcessMagic");
  ASSERT_GT(magic.kind, 0);
  ASSERT_TRUE(fixture.WritePackageWithPicture(kFirst, quillo::test::ProgramDir() + "\\Samples\\rocket.jpg", magic));
  fixture.SetSetting("Default", kFirst.c_str());
  SaverProcess saver("/s", fixture.saverProgram());
  HWND window = saver.WaitWindow();
  ASSERT_NE(window, nullptr);
  const RECT area = WaitForPlayingStage(window);
  HGLOBAL first = quillo::test::CaptureScreenArea(area);
  const LRESULT paints = Ask(window, kPaints);
  EXPECT_TRUE(PumpUntil([&] { return Ask(window, kPaints) > paints + 10; }, 10000));
  HGLOBAL second = quillo::test::CaptureScreenArea(area);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(quillo::test::DibPixels(first), quillo::test::DibPixels(second)) << "the pattern drifts";
  DestroyDIB(first);
  DestroyDIB(second);
  EXPECT_TRUE(quillo::test::SaveWindowShot(window, (quillo::test::ProgramDir() + "\\saver-magic.png").c_str()));
  EndSaver(saver, window);
}

// A photograph of the stage replaying a Water package made from a picture of
// the screen's size, and the frame rate there: run with QUILLO_SHOWCASE_SAVER
// naming the screenshot and QUILLO_SHOWCASE_PICTURE a JPEG to package.
TEST_F(PackageSaver, Showcase) {
  char shot[MAX_PATH] = {}, picture[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("QUILLO_SHOWCASE_SAVER", shot, sizeof shot) ||
      !GetEnvironmentVariableA("QUILLO_SHOWCASE_PICTURE", picture, sizeof picture))
    GTEST_SKIP();
  ASSERT_TRUE(fixture.WritePackageWithPicture(kFirst, picture, fixture.WaterRecord()));
  fixture.SetSetting("Default", kFirst.c_str());
  SaverProcess saver("/s", fixture.saverProgram());
  HWND window = saver.WaitWindow();
  ASSERT_NE(window, nullptr);
  const RECT area = WaitForPlayingStage(window);
  const LRESULT before = Ask(window, kPaints);
  const DWORD from = GetTickCount();
  PumpUntil([&] { return GetTickCount() - from >= 4000; }, 5000);
  const double fps = double(Ask(window, kPaints) - before) * 1000.0 / double(GetTickCount() - from);
  std::printf("stage frame rate, Water %dx%d: %.1f frames/s\n", int(area.right - area.left),
              int(area.bottom - area.top), fps);
  EXPECT_TRUE(quillo::test::SaveWindowShot(window, shot));
  EndSaver(saver, window);
}

TEST_F(PackageSaver, SwitchesBetweenTwoPackagesEverySwitchPeriod) {
  ASSERT_TRUE(fixture.WritePackage(kFirst, 320, 240, fixture.WaterRecord()));
  ASSERT_TRUE(fixture.WritePackage(kSecond, 200, 160, fixture.WaterRecord()));
  fixture.SetSetting("Default", kFirst.c_str());
  fixture.SetSetting("Time", "1");  // 60 ticks
  SetEnvironmentVariableA("QUILLO_SAVER_TICK_MS", "10");
  SaverProcess saver("/s", fixture.saverProgram());
  HWND window = saver.WaitWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return ChildWidth(window) == 320; }, 10000));
  EXPECT_TRUE(PumpUntil([&] { return ChildWidth(window) == 200; }, 20000));
  EXPECT_TRUE(PumpUntil([&] { return ChildWidth(window) == 320; }, 20000));
  EXPECT_GE(Ask(window, kRuns), 3);
  EXPECT_GE(Ask(window, kTicks), 120);
  EXPECT_TRUE(PumpUntil([&] { return Ask(window, kRunning) == 1; }, 10000));
  EndSaver(saver, window);
}

TEST_F(PackageSaver, DamagedPackagesLeaveAStillOrBlackScreenUntilClosed) {
  struct Damage {
    const char* what;
    const char* module;
    size_t recordBytes;
    bool picture;  // the still picture shows (the record is sound, the plug-in is not there)
  };
  const Damage damages[] = {
      {"missing plug-in", "Qlo99.PL1", kEffectRecordSize, true},
      {"short record", "Qlo12.PL1", 291, false},
      {"path in the module name", "..\\x.PL1", kEffectRecordSize, false},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    EffectRecord record = fixture.WaterRecord();
    std::memset(record.module, 0, sizeof record.module);
    std::strcpy(record.module, damage.module);
    ASSERT_TRUE(fixture.WritePackage(kFirst, 160, 120, record, damage.recordBytes));
    fixture.SetSetting("Default", kFirst.c_str());
    SaverProcess saver("/s", fixture.saverProgram());
    HWND window = saver.WaitWindow();
    ASSERT_NE(window, nullptr);
    if (damage.picture) {
      EXPECT_TRUE(PumpUntil([&] { return ChildWidth(window) == 160; }));
    }
    // Still running a while later, and nothing plays.
    EXPECT_EQ(saver.WaitExit(1500), -1);
    EXPECT_EQ(Ask(window, kRunning), 0);
    EXPECT_EQ(Ask(window, kRuns), 0);
    if (!damage.picture) {
      EXPECT_EQ(StageChild(window), nullptr);
    }
    EndSaver(saver, window);
  }
}

// The same effect in a plain host run: frames the effect announces to its
// host window over three seconds.
TEST(PlainHostRun, WaterFrameRate) {
  quillo::test::SavedSetting dialogPosition("Plugin", "DlgWinPos");
  quillo::test::PluginModule plugin("Qlo12.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  quillo::test::EffectRun run;
  run.image = quillo::test::MakeTestPicture(320, 240);
  run.context[kHostNoDialog] = 1;
  DWORD start = 0;
  int framesAtStart = 0;
  double fps = 0;
  run.Run(plugin.Effect("ProcessWater"), [&](quillo::test::ScriptedUser& user, quillo::test::EffectRun& r) {
    user.Then([&] {
      if (r.host.Count(EM_NEW_FRAME) < 5) return false;
      start = GetTickCount();
      framesAtStart = r.host.Count(EM_NEW_FRAME);
      return true;
    });
    user.Then([&] {
      if (GetTickCount() - start < 3000) return false;
      fps = double(r.host.Count(EM_NEW_FRAME) - framesAtStart) * 1000.0 / double(GetTickCount() - start);
      return true;
    });
    user.Command(&r.dialog, IDCANCEL);  // stops the playing
    quillo::test::Press(user, r, IDCANCEL);
  });
  std::printf("plain host frame rate, Water 320x240: %.1f frames/s\n", fps);
  RecordProperty("host_fps", int(fps));
  EXPECT_GT(fps, 1.0);
  if (run.image) DestroyDIB(run.image);
}

}  // namespace
