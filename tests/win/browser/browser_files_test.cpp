// The browsers' files: favourites, example pictures and the remembered
// window place.
#include "app/host/catalogue_file.h"
#include "app/host/win/effect_browser_placement.h"
#include "app/shell/app_state.h"
#include "app/shell/resource_ids.h"
#include "browser_fixture.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "contracts/plugin_contract.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

class FavouritesTest : public BrowserTest {
 protected:
  // Selects the effect named `name` and presses "Add to Favourites".
  static void AddFavourite(const char* name) {
    for (int i = 0, n = Count(EffectList()); i < n; ++i)
      if (DisplayName(*EffectAt(EffectList(), i)) == name) Select(EffectList(), i);
    SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(kBrowserAddFavourite, BN_CLICKED),
                 LPARAM(GetDlgItem(Dialog(), kBrowserAddFavourite)));
  }
};

// Warp effects keep their family; everything else is rewritten to kind 1 in
// the family browser, but favourites get the record as catalogued.
const EffectRecord kSwirl = MakeRecord(kWarpKind, "Swirl", 0x100, "Twirls", "ProcessSwirl");
const EffectRecord kPencil = MakeRecord(0x2, "Pencil", 0x300, "Drawing", "ProcessPencil", "Pencil.jpg", 0x8);

}  // namespace

TEST_F(FavouritesTest, AddingTheSameEffectTwiceLeavesOneRecordAtTheEnd) {
  WriteCatalogue({kSwirl, kPencil});
  const EffectRecord older = MakeRecord(0x1, "Older", 0, "MISC", "ProcessOlder");
  WriteFileBytes(ProgramPath("Favor.INF"), WriteEffectRecords({older}));
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  MessageBoxWatcher watcher;
  AddFavourite("Pencil");
  EXPECT_EQ(ReadFileBytes(ProgramPath("Favor.INF")), WriteEffectRecords({older, kPencil}));
  AddFavourite("Swirl");
  AddFavourite("Pencil");
  EXPECT_EQ(ReadFileBytes(ProgramPath("Favor.INF")), WriteEffectRecords({older, kSwirl, kPencil}));
  EXPECT_FALSE(FileExists(ProgramPath("Favor.INF.new")));
  EXPECT_TRUE(watcher.boxes().empty());
}

TEST_F(FavouritesTest, AFileThatCannotBeWrittenGivesTheMessageAndStaysAsItWas) {
  WriteCatalogue({kSwirl, kPencil});
  const std::vector<uint8_t> old = WriteEffectRecords({kSwirl});
  const std::string path = ProgramPath("Favor.INF");
  WriteFileBytes(path, old);
  // The new contents cannot be written where they must go first.
  ASSERT_TRUE(CreateDirectoryA((path + ".new").c_str(), nullptr));
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  std::vector<std::string> texts;
  {
    MessageBoxWatcher watcher;
    AddFavourite("Pencil");
    texts = TextsOf(watcher);
  }
  RemoveDirectoryA((path + ".new").c_str());
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], LoadResString(IDS_FAVOURITES_FAILED));
  EXPECT_EQ(ReadFileBytes(path), old);
}

TEST_F(FavouritesTest, AnUnreadableOldFileIsNeverReplaced) {
  WriteCatalogue({kSwirl, kPencil});
  const std::string path = ProgramPath("Favor.INF");
  const std::vector<uint8_t> old = WriteEffectRecords({kSwirl});
  WriteFileBytes(path, old);
  // Held open without sharing: the old records cannot be read.
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Command(CMD_BROWSER_1);
  std::vector<std::string> texts;
  {
    MessageBoxWatcher watcher;
    AddFavourite("Pencil");
    texts = TextsOf(watcher);
  }
  CloseHandle(held);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], LoadResString(IDS_FAVOURITES_FAILED));
  EXPECT_EQ(ReadFileBytes(path), old);
}

TEST_F(BrowserTest, AMissingExampleLeavesThePreviewOnBasic) {
  WriteCatalogue({MakeRecord(0x1, "Balance", 0, "MISC", "ProcessBalance", "Balance.jpg"),
                  MakeRecord(0x1, "Ghost", 0, "MISC", "ProcessGhost", "Ghost.jpg"),
                  MakeRecord(0x1, "Sneaky", 0, "MISC", "ProcessSneaky", "..\\Examples\\Basic.jpg")});
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  BrowserState* state = Browser();
  ASSERT_NE(state->basicPicture, nullptr);
  Select(EffectList(), 0);
  EXPECT_NE(state->example, nullptr);
  Select(EffectList(), 1);
  EXPECT_EQ(state->example, nullptr);
  // A name that leads out of the Examples folder is not followed.
  Select(EffectList(), 2);
  EXPECT_EQ(state->example, nullptr);
  EXPECT_NE(state->basicPicture, nullptr);
}

// Every example the real plug-in names was made by the build, at browser size.
TEST_F(BrowserTest, TheBuildMadeAnExampleForEveryCataloguedEffect) {
  const std::vector<EffectRecord> records = Bxcomm1Records();
  ASSERT_FALSE(records.empty());
  std::vector<std::string> names = {"Basic.jpg"};
  for (const EffectRecord& r : records)
    if (ExampleName(r) != "N/A") names.emplace_back(ExampleName(r));
  ASSERT_GT(names.size(), 1u);
  for (const std::string& name : names) {
    HGLOBAL dib = LoadDIB((ProgramDir() + "\\Examples\\" + name).c_str());
    ASSERT_NE(dib, nullptr) << name;
    LPCSTR locked = static_cast<LPCSTR>(GlobalLock(dib));
    EXPECT_EQ(DIBWidth(locked), 160) << name;
    EXPECT_EQ(DIBHeight(locked), 120) << name;
    GlobalUnlock(dib);
    DestroyDIB(dib);
  }
}

TEST(BrowserPlacement, ReadsFourNumbersAndClampsToTheScreen) {
  struct Case {
    const char* text;
    bool accepted;
    int left = 0, top = 0, width = 0, height = 0;
  };
  const Case cases[] = {
      {"10,20,500,400", true, 10, 20, 499, 399},
      {" 10, 20, 500, 400", true, 10, 20, 499, 399},
      {"1015,759,500,400", true, 1004, 748, 499, 399},   // beyond the right and bottom edges
      {"1014,758,500,400", true, 1014, 758, 499, 399},   // still on screen
      {"-6,-6,500,400", true, 0, 0, 499, 399},
      {"-5,-5,500,400", true, -5, -5, 499, 399},
      {"0,0,1024,768", true, 0, 0, 1023, 767},
      {"0,0,1025,768", false},                           // wider than the screen
      {"0,0,500,769", false},
      {"0,0,0,400", false},
      {"0,0,-500,400", false},
      {"10,20,500", false},
      {"10 20 500 400", false},
      {"", false},
      {"a,b,c,d", false},
  };
  for (const Case& c : cases) {
    const auto placement = ParseBrowserPlacement(c.text, 1024, 768);
    ASSERT_EQ(placement.has_value(), c.accepted) << c.text;
    if (!placement) continue;
    EXPECT_EQ(placement->left, c.left) << c.text;
    EXPECT_EQ(placement->top, c.top) << c.text;
    EXPECT_EQ(placement->width, c.width) << c.text;
    EXPECT_EQ(placement->height, c.height) << c.text;
    // What is written back reads as the same place.
    const auto again = ParseBrowserPlacement(FormatBrowserPlacement(*placement).c_str(), 1024, 768);
    ASSERT_TRUE(again) << c.text;
    EXPECT_EQ(again->width, placement->width);
    EXPECT_EQ(again->height, placement->height);
  }
  EXPECT_EQ(FormatBrowserPlacement({-3, 7, 499, 399}), "-3,7,500,400");
}

TEST_F(BrowserTest, SetupInfoNamesTheEffectAndCollectsTheListedExamples) {
  WriteCatalogue({MakeRecord(0x1, "Balance", 0, "MISC", "ProcessBalance", "Balance.jpg"),
                  MakeRecord(0x1, "Gamma", 0, "MISC", "ProcessGamma", "Gamma2.jpg"),
                  MakeRecord(0x1, "Ghost", 0, "MISC", "ProcessGhost", "Ghost.jpg")});
  const std::string folder = "C:\\Example.png\\Fun\\";
  DeleteFileA((folder + "Balance.jpg").c_str());
  DeleteFileA((folder + "Gamma2.jpg").c_str());
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  char oldTitle[256] = {};
  GetWindowTextA(g_app.frame, oldTitle, sizeof oldTitle);
  g_app.getSetupInfo = true;
  Select(EffectList(), 1);
  g_app.getSetupInfo = false;
  char title[256] = {};
  GetWindowTextA(g_app.frame, title, sizeof title);
  SetWindowTextA(g_app.frame, oldTitle);
  EXPECT_STREQ(title, "Gamma2.jpg  BXCOMM1.PL1  ProcessGamma");
  for (const char* name : {"Balance.jpg", "Gamma2.jpg"}) {
    EXPECT_EQ(ReadFileBytes(folder + name), ReadFileBytes(ProgramDir() + "\\Examples\\" + name)) << name;
    DeleteFileA((folder + name).c_str());
  }
  EXPECT_FALSE(FileExists(folder + "Ghost.jpg"));
}
