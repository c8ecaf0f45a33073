// GiftUtil.EXE as the receiver meets it: started as "_{package}.exe" beside
// a package in the package directory, in a process of its own. Each test
// starts one player and ends it through its window.
#include <gtest/gtest.h>

#include <cstring>

#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "gift_fixture.h"
#include "saver_process.h"
#include "screenshot.h"
#include "win_test_support.h"

namespace {

using quillo::EffectRecord;
using quillo::test::GiftFixture;

const std::string kGift = "_2004-02-29-10-20-30";
constexpr char kGiftClass[] = "Bexa Mail gift Class";
constexpr WPARAM kShortcut = 2314, kInstall = 2320, kZoomIn = 2322, kZoomOut = 2323, kPlay = 3201;
enum : WPARAM { kHMax = 0, kVMax = 1, kZoom = 2, kPlaying = 3, kRuns = 4, kPaints = 5 };

LRESULT Ask(HWND gift, WPARAM question) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(gift, RegisterWindowMessageA("QuilloGiftQuery"), question, 0, SMTO_NORMAL, 5000, &answer);
  return LRESULT(answer);
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TitleOf(HWND window) {
  char text[128] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The player's main window, and the other visible windows of its process.
HWND MainWindow(SaverProcess& player) {
  HWND found = nullptr;
  PumpUntil([&] {
    for (HWND w : player.Windows())
      if (ClassOf(w) == kGiftClass) found = w;
    return found != nullptr;
  }, 10000);
  return found;
}

HWND OtherWindow(SaverProcess& player, HWND main, const char* title = nullptr, DWORD ms = 10000) {
  HWND found = nullptr;
  PumpUntil([&] {
    for (HWND w : player.Windows())
      if (w != main && (!title || TitleOf(w) == title)) found = w;
    return found != nullptr;
  }, ms);
  return found;
}

HGLOBAL ShotOfClient(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return quillo::test::CaptureScreenArea(r);
}

bool WaitPlaying(HWND gift, bool playing) {
  return PumpUntil([&] { return (Ask(gift, kPlaying) != 0) == playing; }, 10000);
}

// Ends the player the way the receiver does: a close ends a running
// effect first, the next one the player.
void ClosePlayer(SaverProcess& player, HWND gift) {
  if (Ask(gift, kPlaying)) {
    PostMessageA(gift, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitPlaying(gift, false));
    EXPECT_TRUE(IsWindow(gift));
  }
  PostMessageA(gift, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.WaitExit(10000), 0);
}

class GiftPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fixture.ready());
    before = fixture.package.Setting("Default");
  }
  // The Water record without the replay flag: nothing to install.
  EffectRecord PlainRecord() const {
    EffectRecord record = fixture.package.WaterRecord();
    record.optionFlags &= ~0x8;
    return record;
  }
  GiftFixture fixture;
  std::string before;
};

TEST_F(GiftPlayer, PlaysTheEffectWithItsDialogAgainAndAgainAndZooms) {
  ASSERT_TRUE(fixture.package.WritePackage(kGift, 480, 360, fixture.package.WaterRecord()));
  ASSERT_TRUE(fixture.AddPlayer(kGift));
  const std::string savedSaver = fixture.systemSaver.Read();
  SaverProcess player("/preview", fixture.PlayerPath(kGift));
  ASSERT_TRUE(player.started());
  HWND gift = MainWindow(player);
  ASSERT_TRUE(gift);
  EXPECT_EQ(TitleOf(gift), "A Quillo Gift");
  HWND dialog = OtherWindow(player, gift);
  ASSERT_TRUE(dialog) << "the effect's dialog";
  EXPECT_TRUE(WaitPlaying(gift, true));
  EXPECT_GT(Ask(gift, kPaints), 0);

  // The water moves: two looks at the picture differ.
  HGLOBAL first = ShotOfClient(gift);
  HGLOBAL second = nullptr;
  EXPECT_TRUE(PumpUntil([&] {
    if (second) DestroyDIB(second);
    second = ShotOfClient(gift);
    return quillo::test::DibPixels(first) != quillo::test::DibPixels(second);
  }, 5000));
  DestroyDIB(first);
  DestroyDIB(second);

  // Closing the dialog ends the run (Cancel stops the water, the next
  // Cancel closes); Play Again starts the next one.
  ASSERT_TRUE(PumpUntil([&] {
    if (!Ask(gift, kPlaying)) return true;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return false;
  }, 10000));
  PostMessageA(gift, WM_COMMAND, kPlay, 0);
  EXPECT_TRUE(WaitPlaying(gift, true));
  EXPECT_EQ(Ask(gift, kRuns), 2);

  // Zoom: 480 x 360 at 4 and 5 needs bars whatever the screen, at 1/2 none.
  auto zoomTo = [&](WPARAM command, int times, LRESULT thousandths) {
    for (int i = 0; i < times; ++i) PostMessageA(gift, WM_COMMAND, command, 0);
    return PumpUntil([&] { return Ask(gift, kZoom) == thousandths; });
  };
  EXPECT_EQ(Ask(gift, kZoom), 1000);
  ASSERT_TRUE(zoomTo(kZoomIn, 3, 4000));
  const LRESULT hMax4 = Ask(gift, kHMax), vMax4 = Ask(gift, kVMax);
  EXPECT_GT(hMax4, 0);
  EXPECT_GT(vMax4, 0);
  ASSERT_TRUE(zoomTo(kZoomIn, 1, 5000));
  EXPECT_GT(Ask(gift, kHMax), hMax4);
  EXPECT_GT(Ask(gift, kVMax), vMax4);
  ASSERT_TRUE(zoomTo(kZoomOut, 5, 500));
  EXPECT_EQ(Ask(gift, kHMax), 0);
  EXPECT_EQ(Ask(gift, kVMax), 0);

  // A preview keeps nothing: no shortcut, no saver, even when asked.
  PostMessageA(gift, WM_COMMAND, kShortcut, 0);
  PostMessageA(gift, WM_COMMAND, kInstall, 0);
  EXPECT_EQ(Ask(gift, kZoom), 500);  // both commands were handled by now
  ClosePlayer(player, gift);
  EXPECT_EQ(GetFileAttributesA(fixture.ShortcutPath(kGift).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(fixture.systemSaver.Read(), savedSaver);
  EXPECT_EQ(fixture.package.Setting("Default"), before);
}

TEST_F(GiftPlayer, AReplayableGiftBecomesTheSaverQuietlyAndLeavesAShortcut) {
  ASSERT_TRUE(fixture.package.WritePackage(kGift, 160, 120, fixture.package.WaterRecord()));
  ASSERT_TRUE(fixture.AddPlayer(kGift));
  // The stub comes from beside the player when the system folder lacks it.
  const bool stubMissing = fixture.RemoveSaverStub();
  SaverProcess player("", fixture.PlayerPath(kGift));
  HWND gift = MainWindow(player);
  ASSERT_TRUE(gift);
  ASSERT_TRUE(PumpUntil([&] { return fixture.package.Setting("Default") == kGift; }));
  char shortPath[MAX_PATH] = {};
  ASSERT_TRUE(GetShortPathNameA(fixture.installedSaver().c_str(), shortPath, sizeof shortPath));
  EXPECT_TRUE(PumpUntil([&] { return fixture.systemSaver.Read() == shortPath; }));
  if (stubMissing) {
    EXPECT_NE(GetFileAttributesA(fixture.installedSaver().c_str()), INVALID_FILE_ATTRIBUTES);
  }
  BOOL active = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  EXPECT_TRUE(active);
  EXPECT_EQ(OtherWindow(player, gift, "OK", 200), nullptr) << "no message at the first start";

  // The shortcut points at the player; the menu command makes it again.
  const std::string shortcut = fixture.ShortcutPath(kGift);
  EXPECT_EQ(lstrcmpiA(GiftFixture::ShortcutTarget(shortcut).c_str(), fixture.PlayerPath(kGift).c_str()), 0);
  ASSERT_TRUE(DeleteFileA(shortcut.c_str()));
  PostMessageA(gift, WM_COMMAND, kShortcut, 0);
  EXPECT_TRUE(PumpUntil([&] { return GetFileAttributesA(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES; }));

  // Chosen from the menu, the install says so.
  PostMessageA(gift, WM_COMMAND, kInstall, 0);
  HWND box = OtherWindow(player, gift, "OK");
  ASSERT_TRUE(box);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ClosePlayer(player, gift);
}

TEST_F(GiftPlayer, AGiftWithoutTheReplayFlagPlaysButChangesNoSaver) {
  ASSERT_TRUE(fixture.InstallSaverStub());
  ASSERT_TRUE(fixture.package.WritePackage(kGift, 160, 120, PlainRecord()));
  ASSERT_TRUE(fixture.AddPlayer(kGift));
  const std::string savedSaver = fixture.systemSaver.Read();
  SaverProcess player("", fixture.PlayerPath(kGift));
  HWND gift = MainWindow(player);
  ASSERT_TRUE(gift);
  EXPECT_TRUE(WaitPlaying(gift, true));
  PostMessageA(gift, WM_COMMAND, kInstall, 0);  // not on the menu: nothing happens
  EXPECT_EQ(OtherWindow(player, gift, "OK", 300), nullptr);
  ClosePlayer(player, gift);
  EXPECT_EQ(fixture.systemSaver.Read(), savedSaver);
  EXPECT_EQ(fixture.package.Setting("Default"), before);
}

TEST_F(GiftPlayer, ADamagedRecordOrAMissingPlugInShowsThePictureOnly) {
  EffectRecord missing = fixture.package.WaterRecord();
  std::strcpy(missing.module, "Missing.PL1");
  EffectRecord outside = fixture.package.WaterRecord();
  std::strcpy(outside.module, "..\\Qlo12.PL1");
  struct Case { const char* name; EffectRecord record; size_t bytes; };
  for (const Case& c : {Case{"short record", fixture.package.WaterRecord(), 291},
                        Case{"missing plug-in", missing, quillo::kEffectRecordSize},
                        Case{"plug-in outside the folder", outside, quillo::kEffectRecordSize}}) {
    SCOPED_TRACE(c.name);
    const std::string name = kGift + "-" + std::to_string(c.bytes) + c.record.module[0];
    ASSERT_TRUE(fixture.package.WritePackage(name, 160, 120, c.record, c.bytes));
    ASSERT_TRUE(fixture.AddPlayer(name));
    SaverProcess player("/preview", fixture.PlayerPath(name));
    HWND gift = MainWindow(player);
    ASSERT_TRUE(gift);
    ASSERT_TRUE(PumpUntil([&] { return Ask(gift, kPaints) > 0; }));
    EXPECT_EQ(Ask(gift, kRuns), 0);
    PostMessageA(gift, WM_COMMAND, kPlay, 0);
    EXPECT_EQ(Ask(gift, kRuns), 0);
    ClosePlayer(player, gift);
  }
}

// With QUILLO_SHOWCASE_GIFT set to a PNG path, photographs the player
// playing a gift made over the coffee sample.
TEST_F(GiftPlayer, Showcase) {
  char target[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("QUILLO_SHOWCASE_GIFT", target, sizeof target)) GTEST_SKIP();
  HGLOBAL coffee = LoadDIB(QUILLO_SOURCE_DIR "/samples/coffee.png");
  ASSERT_TRUE(coffee);
  const std::string jpeg = fixture.package.directory() + "\\coffee.jpg";
  ASSERT_TRUE(SaveDIB(coffee, jpeg.c_str()));
  DestroyDIB(coffee);
  const bool written = fixture.package.WritePackageWithPicture(kGift, jpeg, fixture.package.WaterRecord());
  DeleteFileA(jpeg.c_str());
  ASSERT_TRUE(written);
  ASSERT_TRUE(fixture.AddPlayer(kGift));
  SaverProcess player("/preview", fixture.PlayerPath(kGift));
  HWND gift = MainWindow(player);
  ASSERT_TRUE(gift);
  ASSERT_TRUE(WaitPlaying(gift, true));
  HWND dialog = OtherWindow(player, gift);
  ASSERT_TRUE(dialog);
  // The window around the picture at the screen's left, the dialog beside
  // it, the water well under way.
  RECT box;
  GetWindowRect(dialog, &box);
  const int width = 600 + 2 * GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXVSCROLL);
  const int height = 400 + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) +
                     2 * GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYHSCROLL);
  SetWindowPos(gift, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(dialog, nullptr, width, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const LRESULT paints = Ask(gift, kPaints);
  PumpUntil([&] { return Ask(gift, kPaints) > paints + 40; }, 8000);
  RECT frame;
  GetWindowRect(gift, &frame);
  GetWindowRect(dialog, &box);
  RECT both = {0, 0, std::max(frame.right, box.right), std::max(frame.bottom, box.bottom)};
  EXPECT_TRUE(quillo::test::SaveScreenArea(both, target));
  ClosePlayer(player, gift);
}

}  // namespace
