// The browser window: its remembered place, its smallest size, running an
// effect on a double click, and a photograph for the documentation.
#include "app/host/win/effect_browser.h"
#include "app/host/win/effect_host.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/open_image.h"
#include "browser_fixture.h"
#include "contracts/dib_services.h"
#include "contracts/image_codecs.h"
#include "contracts/plugin_contract.h"
#include "contracts/ui_controls.h"
#include "screenshot.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

std::string Setting(const char* key) {
  char text[64] = {};
  GetPrivateProfileStringA("Meridian", key, "", text, sizeof text, "bexadbms.ini");
  return text;
}

RECT WindowRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

// A two-frame animation for a document, as the GIF loader would hand over.
struct TestAnimation {
  HGLOBAL frames[2];
};
const AnimationAccess kTestAnimationAccess = {
    [](void*) { return 2; },
    [](void* a, int i) { return static_cast<TestAnimation*>(a)->frames[i & 1]; },
    [](void* a) {
      auto* animation = static_cast<TestAnimation*>(a);
      DestroyDIB(animation->frames[0]);
      DestroyDIB(animation->frames[1]);
      delete animation;
    }};

}  // namespace

TEST_F(BrowserTest, PlaceIsAppliedWithTheClampingRulesAndWrittenBackOnClose) {
  WriteCatalogue({MakeRecord(0x1, "Blur")});
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  WritePrivateProfileStringA("Meridian", "Pos", "30,40,501,401", "bexadbms.ini");
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  RECT r = WindowRect(Dialog());
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 500);
  EXPECT_EQ(r.bottom - r.top, 400);
  MoveWindow(Dialog(), 50, 60, 450, 380, TRUE);
  Command(CMD_EFFECT_BROWSER);  // toggles it closed
  ASSERT_EQ(Dialog(), nullptr);
  EXPECT_EQ(Setting("Pos"), "50,60,451,381");

  // A left beyond the screen comes back 20 pixels inside; a top above -5
  // becomes 0. The full list keeps its own key.
  WritePrivateProfileStringA("Meridian", "FavorPos",
                             (std::to_string(screenWidth - 9) + ",-6,420,360").c_str(), "bexadbms.ini");
  Command(CMD_FULL_EFFECT_LIST_2);
  ASSERT_NE(Dialog(), nullptr);
  r = WindowRect(Dialog());
  EXPECT_EQ(r.left, screenWidth - 20);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 419);
  Command(CMD_FULL_EFFECT_LIST_2);
  EXPECT_EQ(Setting("FavorPos"), std::to_string(screenWidth - 20) + ",0,420,360");
  EXPECT_EQ(Setting("Pos"), "50,60,451,381");

  // A size wider than the screen keeps the template's place and size.
  WritePrivateProfileStringA("Meridian", "Pos", ("5,5," + std::to_string(screenWidth + 1) + ",400").c_str(),
                             "bexadbms.ini");
  Command(CMD_BROWSER_1);
  r = WindowRect(Dialog());
  EXPECT_NE(r.right - r.left, screenWidth);
}

TEST_F(BrowserTest, CannotBeMadeSmallerThanItsMinimum) {
  WriteCatalogue({MakeRecord(0x1, "Blur")});
  for (int command : {CMD_BROWSER_1, CMD_FULL_EFFECT_LIST}) {
    Command(command);
    ASSERT_NE(Dialog(), nullptr);
    SetWindowPos(Dialog(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    const RECT r = WindowRect(Dialog());
    EXPECT_EQ(r.right - r.left, kBrowserMinWidth);
    EXPECT_EQ(r.bottom - r.top, kBrowserMinHeight);
    // The lists and the preview stay inside the window.
    RECT client, list;
    GetClientRect(Dialog(), &client);
    GetWindowRect(EffectList(), &list);
    MapWindowPoints(nullptr, Dialog(), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_GT(list.right - list.left, 20);
    EXPECT_LE(list.right, client.right);
    CloseEffectBrowser();
    Pump();
  }
}

TEST_F(BrowserTest, DoubleClickRunsTheEffectOnTheActivePicture) {
  const std::vector<EffectRecord> records = Bxcomm1Records();
  ASSERT_FALSE(records.empty());
  WriteCatalogue(records);
  HWND document = OpenImageHandle(MakeTestPicture(64, 48), "double click");
  ASSERT_NE(document, nullptr);
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  int balance = -1;
  for (int i = 0, n = Count(EffectList()); i < n; ++i)
    if (FunctionName(*EffectAt(EffectList(), i)) == "ProcessBalance") balance = i;
  ASSERT_GE(balance, 0);
  Select(EffectList(), balance);
  HWND browser = Dialog();
  bool dialogSeen = false, browserHidden = false;
  {
    ScriptedUser user;
    user.Then([&] {
      if (!g_app.effectDialog || !IsWindowVisible(g_app.effectDialog)) return false;
      dialogSeen = true;
      browserHidden = !IsWindowVisible(browser);
      return true;
    });
    // Cancel once the dialog runs no pass (the apply button is enabled again).
    user.Then([&] {
      HWND apply = GetDlgItem(g_app.effectDialog, IDC_EFFECT_APPLY);
      if (apply && !IsWindowEnabled(apply)) return false;
      PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return true;
    });
    SendMessageA(browser, WM_COMMAND, MAKEWPARAM(kBrowserEffectList, LBN_DBLCLK), LPARAM(EffectList()));
    EXPECT_TRUE(user.finished());
  }
  EXPECT_TRUE(dialogSeen);
  EXPECT_TRUE(browserHidden);
  // Cancelled: the picture has no new step, and the browser is back.
  EXPECT_FALSE(HasUndoStep(document));
  EXPECT_EQ(Dialog(), browser);
  EXPECT_TRUE(IsWindowVisible(browser));
  EXPECT_EQ(g_app.effectDialog, nullptr);

  // Again, as a user who likes the result: a slider moved, applied, OK.
  const std::vector<uint8_t> before = DibPixels(CurrentImage(document));
  {
    auto idle = [] {
      HWND d = g_app.effectDialog;
      return d && IsWindowVisible(d) && IsWindowEnabled(GetDlgItem(d, IDC_EFFECT_APPLY));
    };
    auto press = [](int id) {
      return [id] {
        PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return true;
      };
    };
    ScriptedUser user;
    user.Then(idle)
        .Then([] {
          SendDlgItemMessageA(g_app.effectDialog, 503, SL_SETPOS, 70, 1);
          PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(503, 0), 0);
          return true;
        })
        .Then(idle)
        .Then(press(IDC_EFFECT_APPLY))
        .WaitTicks(2)
        .Then(idle)
        .Then(press(IDOK));
    SendMessageA(browser, WM_COMMAND, MAKEWPARAM(kBrowserEffectList, LBN_DBLCLK), LPARAM(EffectList()));
    EXPECT_TRUE(user.finished());
  }
  ASSERT_TRUE(HasUndoStep(document));
  EXPECT_NE(DibPixels(CurrentImage(document)), before);
  UndoDocument(document);
  EXPECT_FALSE(HasUndoStep(document)) << "exactly one step was added";
  EXPECT_EQ(DibPixels(CurrentImage(document)), before);
}

TEST_F(BrowserTest, NoEffectRunsOnAnAnimatedPicture) {
  WriteCatalogue(Bxcomm1Records());
  HWND document = CreateDocumentWindow("animated");
  ASSERT_NE(document, nullptr);
  auto* animation = new TestAnimation{{MakeTestPicture(32, 24), MakeTestPicture(32, 24)}};
  ASSERT_TRUE(SetDocumentAnimation(document, animation, &kTestAnimationAccess));
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  Select(EffectList(), 0);
  std::vector<std::string> texts;
  {
    MessageBoxWatcher watcher;
    SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(kBrowserEffectList, LBN_DBLCLK), LPARAM(EffectList()));
    texts = TextsOf(watcher);
  }
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], LoadResString(IDS_ANIMATION_NO_EFFECT));
  EXPECT_EQ(g_app.effectDialog, nullptr);
  EXPECT_FALSE(HasUndoStep(document));
}

// With QUILLO_SHOWCASE_BROWSER set to a PNG path, photographs the family
// browser with its example pictures over the studio (for the docs).
TEST_F(BrowserTest, Showcase) {
  char target[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("QUILLO_SHOWCASE_BROWSER", target, sizeof target)) GTEST_SKIP();
  WriteCatalogue(Bxcomm1Records());  // the effects that exist, nothing made up
  ShowWindow(g_app.frame, SW_SHOWNORMAL);
  MoveWindow(g_app.frame, 0, 0, 1100, 760, TRUE);
  ASSERT_NE(OpenImageFile(g_app.frame, (ProgramDir() + "\\Samples\\coffee.png").c_str()), nullptr);
  WritePrivateProfileStringA("Meridian", "Pos", "420,180,581,421", "bexadbms.ini");
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  for (int i = 0, n = Count(FamilyList()); i < n; ++i)
    if (FamilyAt(FamilyList(), i)->kind == 1) Select(FamilyList(), i);
  for (int i = 0, n = Count(EffectList()); i < n; ++i)
    if (FunctionName(*EffectAt(EffectList(), i)) == "ProcessModulate") Select(EffectList(), i);
  SetFocus(EffectList());
  RedrawWindow(g_app.frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RedrawWindow(Dialog(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  Sleep(300);
  Pump();
  EXPECT_TRUE(SaveWindowShot(g_app.frame, target));
}
