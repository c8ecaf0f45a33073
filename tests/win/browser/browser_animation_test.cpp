// Animated effects run from the effect browser over a picture, as a user
// would: each plays on screen, Stop, and OK leaves one undo step.
#include <cstring>
#include <vector>

#include "app/host/win/effect_browser.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/open_image.h"
#include "browser_fixture.h"
#include "contracts/dib_services.h"
#include "contracts/plugin_contract.h"
#include "screenshot.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

// What the screen shows of a window's client area.
std::vector<uint8_t> ClientPixels(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  HGLOBAL shot = CaptureScreenArea(r);
  std::vector<uint8_t> pixels = shot ? DibPixels(shot) : std::vector<uint8_t>();
  if (shot) DestroyDIB(shot);
  return pixels;
}

bool Playing() {
  HWND d = g_app.effectDialog;
  HWND play = d ? GetDlgItem(d, IDC_EFFECT_APPLY) : nullptr;
  return play && IsWindowVisible(d) && !IsWindowEnabled(play);
}

// Runs the catalogued effect `function` (with `value`) of `module` from the
// browser over one of the studio's sample pictures (`picture`): it plays on screen, Stop, OK, and exactly
// one undo step is left. `showcaseVariable` names an environment variable
// that, when set, asks for a picture of the studio while the effect plays:
// of all the frames shown during `showcaseTicks` ticks after the first ones
// were compared, the one that differs most from the picture.
class BrowserAnimationTest : public BrowserTest {
 protected:
  static void RunFromBrowser(const char* module, const char* function, int value,
                             const char* showcaseVariable = nullptr, int showcaseTicks = 0,
                             const char* picture = "coffee.png");
};

void BrowserAnimationTest::RunFromBrowser(const char* module, const char* function, int value,
                                          const char* showcaseVariable, int showcaseTicks, const char* picture) {
  SCOPED_TRACE(function);
  WriteCatalogue(ModuleRecords(module));
  ShowWindow(g_app.frame, SW_SHOWNORMAL);
  MoveWindow(g_app.frame, 0, 0, 1000, 720, TRUE);
  // The cursor far to the left: the fastest drift for the map-driven effects.
  SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) / 2);
  HWND document = OpenImageFile(g_app.frame, (ProgramDir() + "\\Samples\\" + picture).c_str());
  ASSERT_NE(document, nullptr);
  SendMessageA(g_app.mdiClient, WM_MDIMAXIMIZE, WPARAM(document), 0);
  Pump();
  const std::vector<uint8_t> before = DibPixels(CurrentImage(document));
  const std::vector<uint8_t> shownBefore = ClientPixels(ViewOf(document));

  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  // The effect's family: the one of the warp kind whose list holds it.
  int row = -1;
  for (int f = 0, families = Count(FamilyList()); f < families && row < 0; ++f) {
    if (FamilyAt(FamilyList(), f)->kind != 32) continue;
    Select(FamilyList(), f);
    for (int i = 0, n = Count(EffectList()); i < n; ++i) {
      const EffectRecord* record = EffectAt(EffectList(), i);
      if (FunctionName(*record) == function && record->effectValue == value) row = i;
    }
  }
  ASSERT_GE(row, 0);
  Select(EffectList(), row);

  std::vector<uint8_t> shot1, shot2;
  char showcase[MAX_PATH] = {};
  const bool photograph =
      showcaseVariable && GetEnvironmentVariableA(showcaseVariable, showcase, sizeof showcase) > 0;
  {
    ScriptedUser user;
    user.Then(Playing).WaitTicks(8).Then([&] {
      shot1 = ClientPixels(ViewOf(document));
      return true;
    });
    user.WaitTicks(4).Then([&] {
      shot2 = ClientPixels(ViewOf(document));
      return true;
    });
    size_t mostChanged = 0;
    int ticksLeft = showcaseTicks;
    if (photograph) user.Then([&] {
      const std::vector<uint8_t> shown = ClientPixels(ViewOf(document));
      size_t changed = 0;
      for (size_t i = 0; i < shown.size() && i < shownBefore.size(); ++i) changed += shown[i] != shownBefore[i];
      if (changed > mostChanged || mostChanged == 0) {
        mostChanged = changed;
        SaveWindowShot(g_app.frame, showcase);
      }
      return --ticksLeft <= 0;
    });
    user.Then([] {
      PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return true;
    });
    user.Then([] { return g_app.effectDialog && !Playing(); });
    user.Then([] {
      PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return true;
    });
    SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(kBrowserEffectList, LBN_DBLCLK), LPARAM(EffectList()));
    EXPECT_TRUE(user.finished());
  }
  ASSERT_FALSE(shot1.empty());
  EXPECT_NE(shot1, shownBefore) << "the first frames reached the screen";
  EXPECT_NE(shot1, shot2) << "the frames move on screen";
  ASSERT_TRUE(HasUndoStep(document));
  EXPECT_NE(DibPixels(CurrentImage(document)), before);
  UndoDocument(document);
  EXPECT_FALSE(HasUndoStep(document)) << "exactly one step was added";
  EXPECT_EQ(DibPixels(CurrentImage(document)), before);
  SendMessageA(Dialog(), WM_CLOSE, 0, 0);
  SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
  Pump();
}

}  // namespace

TEST_F(BrowserAnimationTest, TunnelFromTheBrowserFliesOnScreenAndOkLeavesOneUndoStep) {
  RunFromBrowser("Qlo12.PL1", "ProcessTunnel", 0, "QUILLO_SHOWCASE_TUNNEL");
}

TEST_F(BrowserAnimationTest, EveryLightEffectPlaysFromTheBrowserAndOkLeavesOneUndoStep) {
  for (const char* function : {"ProcessPool", "ProcessMagic", "ProcessWavy", "ProcessDisco", "ProcessGradient"})
    RunFromBrowser("Qlo13.PL1", function, 0);
}

TEST_F(BrowserAnimationTest, JellyAndLakePlayFromTheBrowserAndOkLeavesOneUndoStep) {
  for (const char* function : {"ProcessGloop", "ProcessLake"}) RunFromBrowser("Qlo14.PL1", function, 0);
}

TEST_F(BrowserAnimationTest, WeatherEffectsPlayFromTheBrowserAndOkLeavesOneUndoStep) {
  for (const char* function : {"ProcessFireWork", "ProcessRain", "ProcessCloud", "ProcessSnow"}) {
    // The fireworks go up in the evening sky over a launch pad.
    const bool fireworks = std::strcmp(function, "ProcessFireWork") == 0;
    RunFromBrowser("Qlo15.PL1", function, 0, fireworks ? "QUILLO_SHOWCASE_FIREWORK" : nullptr, 150,
                   fireworks ? "rocket.jpg" : "coffee.png");
  }
}
