// The receiver's side of a gift: the programs the studio's Pack tests saved
// run in a Wine prefix made for this test alone (someone else's machine,
// which has never seen the studio). The gift of an effect that can be a
// screen saver unpacks into the package folder, plays, leaves a shortcut on
// the desktop and becomes the screen saver; the gift of one that cannot
// plays as well and changes no saver.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "contracts/dib_services.h"
#include "gift_fixture.h"
#include "saver_process.h"
#include "screenshot.h"
#include "win_test_support.h"

using quillo::test::GiftFixture;
using quillo::test::ProgramDir;

namespace {

constexpr char kGiftClass[] = "Bexa Mail gift Class";
enum : WPARAM { kPlaying = 3, kRuns = 4 };

std::string Folder(UINT (WINAPI *get)(LPSTR, UINT)) {
  char path[MAX_PATH] = {};
  get(path, sizeof path);
  return path;
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Ini(const char* file, const char* section, const char* key) {
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, file);
  return value;
}

std::string Desktop() {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder);
  return folder;
}

LRESULT Ask(HWND gift, WPARAM question) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(gift, RegisterWindowMessageA("QuilloGiftQuery"), question, 0, SMTO_NORMAL, 5000, &answer);
  return LRESULT(answer);
}

// The received programs lie in the prefix's "Downloads" folder.
std::string Received(const std::string& name) { return "C:\\Downloads\\" + name + ".exe"; }
std::string PackageFile(const std::string& name) { return Folder(GetWindowsDirectoryA) + "\\Bexa\\" + name; }

// What the client area of the player shows.
std::vector<uint8_t> Shot(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  HGLOBAL dib = quillo::test::CaptureScreenArea(r);
  std::vector<uint8_t> pixels = dib ? quillo::test::DibPixels(dib) : std::vector<uint8_t>();
  if (dib) DestroyDIB(dib);
  return pixels;
}

// Runs a received gift the way its receiver does (a double click: no
// arguments) and waits for the player it starts: its window and process.
struct Player {
  HWND window = nullptr;
  HANDLE process = nullptr;
  ~Player() {
    if (process) {
      TerminateProcess(process, 1);
      CloseHandle(process);
    }
  }
};

bool Unpack(const std::string& gift, Player* player) {
  SaverProcess unpacker("", Received(gift));
  EXPECT_TRUE(unpacker.started());
  EXPECT_EQ(unpacker.WaitExit(30000), 0) << "the self-extracting program reports success";
  if (!PumpUntil([&] { return (player->window = FindWindowA(kGiftClass, nullptr)) != nullptr; }, 20000))
    return false;
  DWORD id = 0;
  GetWindowThreadProcessId(player->window, &id);
  player->process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
  return player->process != nullptr;
}

// A close ends a running effect first, the next one the player.
void Close(Player& player) {
  if (Ask(player.window, kPlaying)) {
    PostMessageA(player.window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return Ask(player.window, kPlaying) == 0; }, 10000));
  }
  PostMessageA(player.window, WM_CLOSE, 0, 0);
  PumpMessages(10000, player.process);
  EXPECT_EQ(WaitForSingleObject(player.process, 0), WAIT_OBJECT_0) << "the player ends";
  CloseHandle(player.process);
  player.process = nullptr;
}

// The files of the package folder are the studio's own, under the gift's
// name where they belong to it.
void ExpectUnpacked(const std::string& name, bool saver) {
  const std::string p = "_" + name;
  for (const char* member : {"POSY.R", "BXDIB3.DLL", "BXUI.DLL", "BXCOMM.DLL", "Qlo12.PL1", "Qlo12.R"})
    EXPECT_EQ(Bytes(PackageFile(member)), Bytes(ProgramDir() + "\\" + (member == std::string("POSY.R") ? "Posy.R" : member)))
        << member;
  EXPECT_EQ(Bytes(PackageFile(p + ".EXE")), Bytes(ProgramDir() + "\\GiftUtil.EXE"));
  for (const char* extension : {".SSD", ".bexa", ".Prm"}) EXPECT_TRUE(Exists(PackageFile(p + extension))) << extension;
  EXPECT_EQ(Exists(PackageFile("MailSaver.scr")), saver);
  EXPECT_EQ(Exists(PackageFile("PkgSaver.dll")), saver);
}

TEST(GiftRoundTrip, TheReceiverUnpacksPlaysAndInstallsTheSaverOnlyWhenTheEffectIsOne) {
  CoInitialize(nullptr);  // the shortcut is read through the shell's link object
  ASSERT_TRUE(Exists(Received("WaterGift")) && Exists(Received("PlainGift")))
      << "the studio's Pack tests leave the gifts to receive";
  ASSERT_FALSE(Exists(Folder(GetWindowsDirectoryA) + "\\Bexa")) << "the receiver's machine is fresh";
  const std::string installed = Folder(GetSystemDirectoryA) + "\\MailSaver.scr";
  EXPECT_EQ(Ini("system.ini", "boot", "SCRNSAVE.EXE"), "<none>");

  {
    SCOPED_TRACE("the gift of a screen-saver effect");
    Player player;
    ASSERT_TRUE(Unpack("WaterGift", &player));
    ExpectUnpacked("WaterGift", true);
    ASSERT_TRUE(PumpUntil([&] { return Ask(player.window, kPlaying) != 0; }, 10000));
    EXPECT_EQ(Ask(player.window, kRuns), 1);
    // The water moves: two looks a moment apart differ, and neither is blank.
    PumpMessages(500);
    const std::vector<uint8_t> first = Shot(player.window);
    PumpMessages(300);
    const std::vector<uint8_t> second = Shot(player.window);
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_NE(std::count(first.begin(), first.end(), first[0]), std::ptrdiff_t(first.size()));
    quillo::test::SaveWindowShot(player.window, "gift-received.png");

    const std::string shortcut = Desktop() + "\\_WaterGift.lnk";
    std::string target;
    EXPECT_TRUE(PumpUntil([&] { return !(target = GiftFixture::ShortcutTarget(shortcut)).empty(); })) << shortcut;
    EXPECT_EQ(lstrcmpiA(target.c_str(), PackageFile("_WaterGift.EXE").c_str()), 0) << target;
    char shortPath[MAX_PATH] = {};
    EXPECT_TRUE(PumpUntil([&] { return Exists(installed); }));
    GetShortPathNameA(installed.c_str(), shortPath, sizeof shortPath);
    EXPECT_TRUE(PumpUntil([&] { return Ini("system.ini", "boot", "SCRNSAVE.EXE") == shortPath; }));
    EXPECT_EQ(Ini("bexadbms.ini", "Saver", "Default"), "_WaterGift");
    BOOL active = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    EXPECT_TRUE(active);
    Close(player);
  }
  {
    SCOPED_TRACE("the gift of an effect that is no screen saver");
    const std::string saverBefore = Ini("system.ini", "boot", "SCRNSAVE.EXE");
    Player player;
    ASSERT_TRUE(Unpack("PlainGift", &player));
    ASSERT_TRUE(PumpUntil([&] { return Ask(player.window, kPlaying) != 0; }, 10000));
    EXPECT_TRUE(Exists(PackageFile("_PlainGift.SSD")));
    EXPECT_EQ(Bytes(PackageFile("_PlainGift.EXE")), Bytes(ProgramDir() + "\\GiftUtil.EXE"));
    EXPECT_TRUE(PumpUntil([] { return Exists(Desktop() + "\\_PlainGift.lnk"); }));
    PumpMessages(500);
    EXPECT_EQ(Ini("system.ini", "boot", "SCRNSAVE.EXE"), saverBefore);
    EXPECT_EQ(Ini("bexadbms.ini", "Saver", "Default"), "_WaterGift");
    Close(player);
  }
}

}  // namespace
