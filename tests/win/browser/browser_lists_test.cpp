// What the browsers list: families, categories, order, refills, and the
// commands that open and close them.
#include <set>

#include "app/shell/app_state.h"
#include "app/shell/resource_ids.h"
#include "browser_fixture.h"

using namespace quillo;
using namespace quillo::test;

namespace {

std::vector<const FamilyEntry*> FamilyRows(HWND list) {
  std::vector<const FamilyEntry*> rows;
  for (int i = 0, n = int(SendMessageA(list, LB_GETCOUNT, 0, 0)); i < n; ++i) rows.push_back(FamilyAt(list, i));
  return rows;
}

}  // namespace

TEST_F(BrowserTest, WarpOnlyCatalogueShowsOneFamilyFollowedByItsCategories) {
  WriteCatalogue({MakeRecord(kWarpKind, "Ripple", 0x100, "Water"),
                  MakeRecord(kWarpKind, "Twist", 0x200, "Twirls"),
                  MakeRecord(kWarpKind, "Pond", 0x100, "Water"),
                  MakeRecord(kWarpKind, "Wobble", 0, "MISC")});
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(g_app.effectBrowser, Dialog());
  const auto rows = FamilyRows(FamilyList());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0]->name, LoadResString(IDS_FAMILY_MOVING));
  EXPECT_EQ(rows[0]->categoryId, 0);
  EXPECT_EQ(rows[0]->effectCount, 4);
  std::set<int32_t> categories;
  for (size_t i = 1; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i]->kind, kWarpKind);
    categories.insert(rows[i]->categoryId);
    EXPECT_EQ(rows[i]->name, rows[i]->categoryId == 0x100 ? "Water" : "Twirls");
    EXPECT_EQ(rows[i]->effectCount, rows[i]->categoryId == 0x100 ? 2 : 1);
  }
  EXPECT_EQ(categories, (std::set<int32_t>{0x100, 0x200}));
  // The first row is selected, and the list still holds every effect.
  EXPECT_EQ(SendMessageA(FamilyList(), LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Count(EffectList()), 4);
  // Choosing a category lists only its effects, in catalogue order.
  for (int i = 1; i < 3; ++i) {
    if (FamilyAt(FamilyList(), i)->categoryId != 0x100) continue;
    Select(FamilyList(), i);
    EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Ripple", "Pond"}));
  }
}

TEST_F(BrowserTest, EffectsOfOneKindAreListedByNameWithoutRegardToCase) {
  const std::vector<EffectRecord> records = {
      MakeRecord(0x2, "Emboss"), MakeRecord(kWarpKind, "Attract", 0x100, "Water"),
      MakeRecord(0x2, "blur"), MakeRecord(0x1, "Chalk"), MakeRecord(0x2, "Crayon")};
  WriteCatalogue(records);
  // The family browser gathers every kind but the warp family under kind 1.
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"blur", "Chalk", "Crayon", "Emboss", "Attract"}));
  const EffectRecord* first = EffectAt(EffectList(), 0);
  EXPECT_EQ(first->kind, 1);
  EXPECT_EQ(first->iconColumn, 150);
  EXPECT_EQ(first->categoryId, 0);
  const auto rows = FamilyRows(FamilyList());
  ASSERT_EQ(rows.size(), 3u);  // the warp family and its category, then the filters
  EXPECT_EQ(rows[2]->name, LoadResString(IDS_FAMILY_FILTERS));
  EXPECT_EQ(rows[2]->effectCount, 4);
  // The full list keeps the kinds, each with its icon.
  Command(CMD_FULL_EFFECT_LIST);
  EXPECT_EQ(Dialog(), nullptr);
  Command(CMD_FULL_EFFECT_LIST);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(FamilyList(), nullptr);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Chalk", "blur", "Crayon", "Emboss", "Attract"}));
  const EffectRecord* blur = EffectAt(EffectList(), 1);
  EXPECT_EQ(blur->iconColumn, 50);
  EXPECT_EQ(blur->iconRow, 25);
  EXPECT_EQ(blur->kindCopy, 0x2);
}

TEST_F(BrowserTest, NegativeOptionFlagsDisappearOnceAFamilyIsSelected) {
  WriteCatalogue({MakeRecord(0x1, "Shown"), MakeRecord(0x1, "Hidden", 0, "MISC", "ProcessHidden", "N/A",
                                                       int32_t(0x80000000u)),
                  MakeRecord(0x1, "Also shown", 0, "MISC", "ProcessOther", "N/A", 0x8)});
  Command(CMD_BROWSER_2);
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(Count(EffectList()), 3);
  Select(FamilyList(), 0);
  EXPECT_EQ(ListedNames(), (std::vector<std::string>{"Shown", "Also shown"}));
}

TEST_F(BrowserTest, MissingCatalogueGivesTheMessageAndAnEmptyBrowser) {
  DeleteFileA(ProgramPath("BXFun.inf").c_str());
  std::vector<std::string> texts;
  {
    MessageBoxWatcher watcher;
    Command(CMD_BROWSER_1);
    texts = TextsOf(watcher);
  }
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], LoadResString(IDS_NO_CATALOGUE));
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_EQ(Count(EffectList()), 0);
  EXPECT_EQ(Count(FamilyList()), 0);
}

TEST_F(BrowserTest, CommandsOpenToggleAndSelect) {
  WriteCatalogue({MakeRecord(kWarpKind, "Swirl", 0x100, "Twirls"), MakeRecord(0x2, "Pencil"),
                  MakeRecord(0x1, "Blur")});
  // Opening commands leave an open browser alone.
  Command(CMD_BROWSER_3);
  HWND first = Dialog();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(IsWindowVisible(first));
  Command(CMD_BROWSER_9);
  EXPECT_EQ(Dialog(), first);
  // The toggling commands close it, then open it at the first effect of kind 1.
  Command(CMD_EFFECT_BROWSER);
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_FALSE(IsWindow(first));
  Command(CMD_EFFECT_BROWSER_4);
  ASSERT_NE(Dialog(), nullptr);
  const int selected = int(SendMessageA(EffectList(), LB_GETCURSEL, 0, 0));
  ASSERT_GE(selected, 0);
  EXPECT_EQ(DisplayName(*EffectAt(EffectList(), selected)), "Blur");
  // The close button closes too.
  SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_EQ(Dialog(), nullptr);
}
