// BXSaver.SCR and EffSaver.DLL run as the system runs a screen saver: full
// screen with random or fixed effects, and the configuration dialog with its
// two choosers, driven the way a user's clicks drive them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>

#include "app/host/catalogue_file.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "effsaver_fixture.h"
#include "saver_process.h"
#include "savers/effsaver/kernels/saver_catalogue.h"
#include "screenshot.h"
#include "win_test_support.h"

namespace quillo::test {
namespace {

constexpr char kChildClass[] = "Saver Child";
constexpr char kSetupTitle[] = "Quillo Effect Saver Setup";
constexpr char kChooserTitle[] = "Choose an Effect";

LRESULT AskStage(HWND saver, WPARAM question) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(saver, RegisterWindowMessageA("QuilloSaverStageQuery"), question, 0, SMTO_ABORTIFHUNG,
                           2000, &answer))
    return -1;
  return LRESULT(answer);
}
constexpr WPARAM kAskPaints = 0, kAskEffectRuns = 2;

std::string Text(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The visible top-level window of `saver` with this title, within `ms`.
HWND WaitTitled(SaverProcess& saver, const char* title, DWORD ms = 8000) {
  HWND found = nullptr;
  PumpUntil([&] {
    for (HWND w : saver.Windows())
      if (Text(w) == title) found = w;
    return found != nullptr;
  }, ms);
  return found;
}

// A visible top-level window of `saver` other than `besides`.
HWND WaitOther(SaverProcess& saver, HWND besides, DWORD ms = 8000) {
  HWND found = nullptr;
  PumpUntil([&] {
    for (HWND w : saver.Windows())
      if (w != besides) found = w;
    return found != nullptr;
  }, ms);
  return found;
}

// Waits until the dialog's thread has handled everything sent before.
void Settle(HWND dialog) {
  DWORD_PTR ignored;
  SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<uint8_t> ShotOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  HGLOBAL shot = CaptureScreenArea(r);
  std::vector<uint8_t> pixels = shot ? DibPixels(shot) : std::vector<uint8_t>();
  if (shot) DestroyDIB(shot);
  return pixels;
}

bool AllBlack(const RECT& area) {
  HGLOBAL shot = CaptureScreenArea(area);
  if (!shot) return false;
  const std::vector<uint8_t> pixels = DibPixels(shot);
  DestroyDIB(shot);
  return !pixels.empty() && std::all_of(pixels.begin(), pixels.end(), [](uint8_t b) { return b == 0; });
}

class EffSaverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(fixture_.qlo12().empty()) << "Qlo12.PL1 gave no rows";
    ASSERT_TRUE(fixture_.WritePicture(160, 120));
    fixture_.WriteCatalogue(fixture_.MixedCatalogue());
    fixture_.Set("Engine", EffSaverFixture::InBin("EffSaver.DLL").c_str());
    fixture_.Set("Time", "1");
    fixture_.Set("Random", "1");
    fixture_.Set("Modual", "Qlo12.PL1");
    fixture_.Set("Function", "ProcessWater");
    fixture_.Set("ID", "0");
    fixture_.Set("Pos", nullptr, "Meridian");
  }

  // Starts the full-screen saver and returns its window.
  HWND StartSaver(SaverProcess& saver) {
    EXPECT_TRUE(saver.started());
    return saver.WaitWindow(nullptr, 8000);
  }

  EffSaverFixture fixture_;
};

TEST_F(EffSaverTest, RandomModePlaysOnlyTheCatalogueEffectsMeantForItAndSwitches) {
  SaverProcess saver("/s", fixture_.saverProgram());
  HWND window = StartSaver(saver);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return fixture_.Trace().size() >= 6; }, 30000))
      << fixture_.Trace().size() << " effects started, " << AskStage(window, 1) << " ticks, running "
      << AskStage(window, 3) << ", exit code " << saver.WaitExit(0);
  HWND child = FindWindowExA(window, nullptr, kChildClass, nullptr);
  ASSERT_NE(child, nullptr);
  const std::vector<uint8_t> first = ShotOf(child);
  std::vector<uint8_t> later;
  EXPECT_TRUE(PumpUntil([&] { return (later = ShotOf(child)) != first; }, 5000)) << "the picture does not move";
  EXPECT_FALSE(first.empty());

  // Only the two playable rows; never kind 1, flag 0x10, a module outside
  // the folder, nor the missing module (it cannot start).
  const std::set<std::string> playable = {"Qlo12.PL1 ProcessWater 0", "Qlo12.PL1 ProcessTunnel 1"};
  for (const std::string& line : fixture_.Trace()) EXPECT_TRUE(playable.count(line)) << line;
  EXPECT_GE(AskStage(window, kAskEffectRuns), 6);

  PostMessageA(window, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(saver.WaitExit(8000), 0);
}

// The effect's hidden window takes the activation as it starts; the saver
// takes it back instead of closing, and the fixed effect is never switched.
TEST_F(EffSaverTest, TheConfiguredEffectPlaysUntilTheSaverCloses) {
  fixture_.Set("Random", "0");
  fixture_.Set("Function", "ProcessTunnel");
  fixture_.Set("ID", "1");
  SaverProcess saver("/s", fixture_.saverProgram());
  HWND window = StartSaver(saver);
  ASSERT_NE(window, nullptr);
  // Two switch periods of 60 ticks.
  ASSERT_TRUE(PumpUntil([&] { return AskStage(window, 1) > 130; }, 20000)) << AskStage(window, 1);
  EXPECT_EQ(AskStage(window, kAskEffectRuns), 1);
  EXPECT_EQ(AskStage(window, 3), 1);
  EXPECT_EQ(fixture_.Trace(), std::vector<std::string>{"Qlo12.PL1 ProcessTunnel 1"});
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window; }));
  PostMessageA(window, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(saver.WaitExit(8000), 0);
}

// A module name of fewer than four characters stands for the default
// effect, the mirrored torus, whatever the function says.
TEST_F(EffSaverTest, AShortModuleNamePlaysTheDefaultTorus) {
  fixture_.Set("Random", "0");
  fixture_.Set("Modual", "Q.P");
  fixture_.Set("Function", "ProcessWater");
  fixture_.Set("ID", "0");
  SaverProcess saver("/s", fixture_.saverProgram());
  HWND window = StartSaver(saver);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return AskStage(window, kAskEffectRuns) == 1; }, 20000));
  EXPECT_EQ(fixture_.Trace(), std::vector<std::string>{"Qlo11.PL1 ProcessEnvmap 0"});
  PostMessageA(window, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(saver.WaitExit(8000), 0);
}

TEST_F(EffSaverTest, NothingToPlayLeavesTheStillPictureCentred) {
  enum Catalogue { kMixed, kKindOneOnly, kMissingModulesOnly };
  const struct {
    const char* random;
    const char* module;
    const char* function;
    Catalogue catalogue;
  } cases[] = {
      {"0", "Missing.PL1", "ProcessWater", kMixed},
      {"0", "Qlo12.PL1", "ProcessNothing", kMixed},
      {"1", "Missing.PL1", "ProcessWater", kKindOneOnly},  // an empty catalogue plays the configured effect
      {"1", "Qlo12.PL1", "ProcessWater", kMissingModulesOnly},  // ten failed picks, then the picture
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.module) + " " + c.function);
    fixture_.ClearTrace();
    fixture_.Set("Random", c.random);
    fixture_.Set("Modual", c.module);
    fixture_.Set("Function", c.function);
    EffectRecord row = fixture_.Row("ProcessWater");
    if (c.catalogue == kKindOneOnly) {
      row.kind = 1;
      fixture_.WriteCatalogue({row});
    } else if (c.catalogue == kMissingModulesOnly) {
      std::strcpy(row.module, "Missing.PL1");
      EffectRecord other = row;
      std::strcpy(other.module, "Gone.PL1");
      fixture_.WriteCatalogue({row, other});
    }
    SaverProcess saver("/s", fixture_.saverProgram());
    HWND window = StartSaver(saver);
    ASSERT_NE(window, nullptr);
    // The play loop runs before the picture is centred; once it is, nothing
    // has started.
    RECT screen, shown = {};
    GetWindowRect(window, &screen);
    const RECT centred = {screen.left + (screen.right - screen.left - 160) / 2,
                          screen.top + (screen.bottom - screen.top - 120) / 2, 0, 0};
    HWND child = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
      child = FindWindowExA(window, nullptr, kChildClass, nullptr);
      if (child) GetWindowRect(child, &shown);
      return child && shown.left == centred.left && shown.top == centred.top;
    })) << shown.left << "," << shown.top;
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(shown.right - shown.left, 160);
    EXPECT_EQ(shown.bottom - shown.top, 120);
    Settle(window);
    EXPECT_EQ(AskStage(window, kAskEffectRuns), 0);
    EXPECT_TRUE(fixture_.Trace().empty());
    EXPECT_TRUE(PumpUntil([&] { return ShotOf(child) == DibPixels(fixture_.picture()); }))
        << "the still picture is not shown";

    PostMessageA(window, WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(saver.WaitExit(8000), 0);
  }
}

TEST_F(EffSaverTest, AMissingPictureGivesABlackScreen) {
  fixture_.RemovePicture();
  SaverProcess saver("/s", fixture_.saverProgram());
  HWND window = StartSaver(saver);
  ASSERT_NE(window, nullptr);
  RECT screen;
  GetWindowRect(window, &screen);
  const RECT middle = {(screen.left + screen.right) / 2 - 40, (screen.top + screen.bottom) / 2 - 40,
                       (screen.left + screen.right) / 2 + 40, (screen.top + screen.bottom) / 2 + 40};
  EXPECT_TRUE(PumpUntil([&] { return AllBlack(middle); }));
  Settle(window);
  EXPECT_EQ(FindWindowExA(window, nullptr, kChildClass, nullptr), nullptr);
  EXPECT_EQ(AskStage(window, kAskEffectRuns), 0);
  EXPECT_TRUE(fixture_.Trace().empty());
  PostMessageA(window, WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(saver.WaitExit(8000), 0);
}

// The file dialog of the picture chooser, given `path` and OK.
void PickFile(SaverProcess& saver, HWND setup, const std::string& path) {
  PostMessageA(setup, WM_COMMAND, 100, 0);
  HWND files = WaitOther(saver, setup);
  ASSERT_NE(files, nullptr) << "no file dialog";
  // The file name box of the dialog, then its OK button.
  HWND name = GetDlgItem(files, 0x47C);
  if (!name) name = GetDlgItem(files, 0x480);
  ASSERT_NE(name, nullptr);
  SendMessageA(name, WM_SETTEXT, 0, LPARAM(path.c_str()));
  PostMessageA(files, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(files) || !IsWindowVisible(files); })) << "file dialog stays";
  Settle(setup);
}

TEST_F(EffSaverTest, SetupChangesPictureAndEffectAndOkWritesTheSettings) {
  fixture_.Set("Pos", "30 40 501 401", "Meridian");
  const std::string goodPicture = EffSaverFixture::InBin("effsaver_pick.png");
  const std::string badPicture = EffSaverFixture::InBin("effsaver_bad.png");
  fixture_.RemoveLater(goodPicture);
  fixture_.RemoveLater(badPicture);
  HGLOBAL chosen = MakeTestPicture(96, 64);
  ASSERT_TRUE(SaveDIB(chosen, goodPicture.c_str()));
  std::ofstream(badPicture, std::ios::binary) << "\x89PNG but nothing a decoder could read";

  SaverProcess saver("/c", fixture_.saverProgram());
  HWND setup = WaitTitled(saver, kSetupTitle);
  ASSERT_NE(setup, nullptr);
  // The texts come from EffSaver.R, the values from the settings.
  EXPECT_EQ(Text(GetDlgItem(setup, 104)), "Choose &Effect...");
  EXPECT_EQ(Text(GetDlgItem(setup, 100)), "Choose &Picture...");
  EXPECT_EQ(IsDlgButtonChecked(setup, 101), BST_CHECKED);
  EXPECT_EQ(SendDlgItemMessageA(setup, 202, CB_GETCOUNT, 0, 0), 30);
  EXPECT_EQ(SendDlgItemMessageA(setup, 202, CB_GETCURSEL, 0, 0), 0);

  // A picture in another format becomes the 24-bit Saver.bmp.
  PickFile(saver, setup, goodPicture);
  const std::string saverPicture = EffSaverFixture::InBin("Saver\\Saver.bmp");
  HGLOBAL stored = LoadDIB(saverPicture.c_str());
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(DibPixels(stored), DibPixels(chosen));
  DestroyDIB(stored);
  // One that cannot be read keeps it, byte for byte, and leaves nothing behind.
  const std::vector<uint8_t> before = FileBytes(saverPicture);
  PickFile(saver, setup, badPicture);
  EXPECT_EQ(FileBytes(saverPicture), before);
  EXPECT_FALSE(Exists(EffSaverFixture::InBin("Saver\\Saver.new.bmp")));

  // The chooser lists the warp family by name, at the browser's place.
  PostMessageA(setup, WM_COMMAND, 104, 0);
  HWND chooser = WaitTitled(saver, kChooserTitle);
  ASSERT_NE(chooser, nullptr);
  RECT placed;
  GetWindowRect(chooser, &placed);
  EXPECT_EQ(placed.left, 30);
  EXPECT_EQ(placed.top, 40);
  EXPECT_EQ(placed.right - placed.left, 500);
  EXPECT_EQ(placed.bottom - placed.top, 400);
  const std::vector<uint8_t> catalogue = WriteEffectRecords(fixture_.MixedCatalogue());
  const std::vector<EffectRecord> listed = effsaver::ChooserRecords(catalogue.data(), catalogue.size());
  HWND list = GetDlgItem(chooser, 1501);
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), LRESULT(listed.size()));
  size_t sphere = listed.size();
  for (size_t i = 0; i < listed.size(); ++i)
    if (FunctionName(listed[i]) == "ProcessTunnel" && listed[i].effectValue == 1) sphere = i;
  ASSERT_LT(sphere, listed.size());
  // A double click chooses and closes.
  SendMessageA(list, LB_SETCURSEL, sphere, 0);
  SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(1501, LBN_DBLCLK), LPARAM(list));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(chooser); }));
  Settle(setup);
  EXPECT_EQ(Text(GetDlgItem(setup, 103)), std::string(DisplayName(listed[sphere])));
  EXPECT_EQ(IsDlgButtonChecked(setup, 102), BST_CHECKED);

  SendDlgItemMessageA(setup, 202, CB_SETCURSEL, 6, 0);
  PostMessageA(setup, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(saver.WaitExit(8000), 0);
  EXPECT_EQ(fixture_.Get("Random"), "0");
  EXPECT_EQ(fixture_.Get("Modual"), "Qlo12.PL1");
  EXPECT_EQ(fixture_.Get("Function"), "ProcessTunnel");
  EXPECT_EQ(fixture_.Get("ID"), "1");
  EXPECT_EQ(fixture_.Get("Time"), "7");

  DestroyDIB(chosen);
}

// Answers the message boxes `saver` shows while `done` does not hold; their
// "caption|text", oldest first.
std::vector<std::string> AnswerBoxesUntil(SaverProcess& saver, const std::function<bool()>& done, DWORD ms) {
  std::vector<std::string> boxes;
  std::set<HWND> answered;
  PumpUntil([&] {
    for (HWND w : saver.Windows()) {
      HWND text = GetDlgItem(w, 0xFFFF);
      if (!text || answered.count(w)) continue;
      answered.insert(w);
      boxes.push_back(Text(w) + "|" + Text(text));
      PostMessageA(w, WM_COMMAND, IDOK, 0);
    }
    return done();
  }, ms);
  return boxes;
}

// With no catalogue the chooser builds one from the plug-ins beside the
// engine: Qlo12's rows as the studio's scan makes them; names that do not
// fit their fields are reported and left out, never cut.
TEST_F(EffSaverTest, TheChooserBuildsAMissingCatalogueFromThePlugins) {
  fixture_.RemoveCatalogue();
  const std::string longName = EffSaverFixture::InBin("FakeWithLongName.PL1");
  const std::string longExample = EffSaverFixture::InBin("FakeLongEx.PL1");
  fixture_.RemoveLater(longName);
  fixture_.RemoveLater(longExample);
  ASSERT_TRUE(CopyFileA(EffSaverFixture::InBin("scan_plugins\\Fake.PL1").c_str(), longName.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(EffSaverFixture::InBin("scan_plugins\\FakeLongEx.PL1").c_str(), longExample.c_str(), FALSE));

  SaverProcess saver("/c", fixture_.saverProgram());
  HWND setup = WaitTitled(saver, kSetupTitle);
  ASSERT_NE(setup, nullptr);
  PostMessageA(setup, WM_COMMAND, 104, 0);
  HWND chooser = nullptr;
  std::vector<std::string> boxes = AnswerBoxesUntil(saver, [&] {
    for (HWND w : saver.Windows())
      if (Text(w) == kChooserTitle) chooser = w;
    return chooser != nullptr;
  }, 20000);
  ASSERT_NE(chooser, nullptr);
  std::sort(boxes.begin(), boxes.end());
  EXPECT_EQ(boxes, (std::vector<std::string>{
                       "Error|A Bad Plug info:\nName = FakeLongEx.PL1\nFunction : ProcessSecond\n",
                       "Error|A Bad Plug info:\nName = FakeWithLongName.PL1\nFunction : ProcessFirst\n",
                       "Error|A Bad Plug info:\nName = FakeWithLongName.PL1\nFunction : ProcessSecond\n",
                       "Not Filter Founded !!!|FakeWithLongName.PL1"}));

  const std::vector<uint8_t> built = FileBytes(EffSaverFixture::InBin("Plug.inf"));
  ASSERT_EQ(built.size() % kEffectRecordSize, 0u);
  std::vector<EffectRecord> qlo12Rows;
  std::vector<std::string> fakeRows;
  for (const EffectRecord& r : ReadEffectRecords(built.data(), built.size())) {
    if (ModuleName(r) == "Qlo12.PL1") qlo12Rows.push_back(r);
    if (ModuleName(r).substr(0, 4) == "Fake") fakeRows.push_back(std::string(ModuleName(r)) + " " + std::string(FunctionName(r)));
  }
  EXPECT_EQ(WriteEffectRecords(qlo12Rows), WriteEffectRecords(fixture_.qlo12()));
  EXPECT_EQ(fakeRows, std::vector<std::string>{"FakeLongEx.PL1 ProcessFirst"});
  EXPECT_GE(SendDlgItemMessageA(chooser, 1501, LB_GETCOUNT, 0, 0), LRESULT(fixture_.qlo12().size()));
  PostMessageA(chooser, WM_COMMAND, 1504, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(chooser); }));
  PostMessageA(setup, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(saver.WaitExit(8000), 0);
  EXPECT_EQ(fixture_.Get("Time"), "1");  // Cancel writes nothing
}

// The engine named by the settings, else the one beside the saver program;
// without one the saver is black and its dialog empty, and silent.
TEST_F(EffSaverTest, TheEngineIsFoundByItsFullPathOrBesideTheProgram) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string alone = std::string(temp) + "bxsaver_alone";
  const std::string aloneProgram = alone + "\\BXSaver.SCR";
  CreateDirectoryA(alone.c_str(), nullptr);
  fixture_.RemoveLater(alone);
  fixture_.RemoveLater(aloneProgram);
  ASSERT_TRUE(CopyFileA(fixture_.saverProgram().c_str(), aloneProgram.c_str(), FALSE));

  const struct {
    const char* what;
    std::string program;
    std::optional<std::string> engine;
    bool found;
  } cases[] = {
      {"key, program elsewhere", aloneProgram, EffSaverFixture::InBin("EffSaver.DLL"), true},
      {"no key, engine beside", fixture_.saverProgram(), std::nullopt, true},
      {"key names another module", fixture_.saverProgram(), EffSaverFixture::InBin("BXDIB3.DLL"), true},
      {"relative key", aloneProgram, "EffSaver.DLL", false},
      {"no key, no engine beside", aloneProgram, std::nullopt, false},
      {"key to a missing engine", aloneProgram, "C:\\nowhere\\EffSaver.DLL", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fixture_.Set("Engine", c.engine ? c.engine->c_str() : nullptr);
    {
      SaverProcess saver("/c", c.program);
      HWND setup = WaitTitled(saver, kSetupTitle);
      ASSERT_NE(setup, nullptr);
      EXPECT_EQ(Text(GetDlgItem(setup, 104)), c.found ? "Choose &Effect..." : "");
      EXPECT_EQ(saver.Windows().size(), 1u) << "a message box?";
      fixture_.Set("Time", "1");
      SendDlgItemMessageA(setup, 202, CB_SETCURSEL, 2, 0);
      PostMessageA(setup, WM_COMMAND, IDOK, 0);
      EXPECT_EQ(saver.WaitExit(8000), 0);
      EXPECT_EQ(fixture_.Get("Time"), c.found ? "3" : "1");
    }
    {
      SaverProcess saver("/s", c.program);
      HWND window = StartSaver(saver);
      ASSERT_NE(window, nullptr);
      EXPECT_EQ(PumpUntil([&] { return FindWindowExA(window, nullptr, kChildClass, nullptr) != nullptr; },
                          c.found ? 5000 : 500),
                c.found);
      PostMessageA(window, WM_KEYDOWN, 'A', 1);
      EXPECT_EQ(saver.WaitExit(8000), 0);
    }
  }
}

}  // namespace
}  // namespace quillo::test
