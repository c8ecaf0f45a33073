// Every effect of every plug-in in the program folder, run from the effect
// browser over a sample picture as a user would: the dialog comes up, an
// animation plays and is stopped, and the dialog is closed once with OK and
// once with Cancel. A crash ends the program; a hang, a missing or empty
// picture, a box nobody asked for or a window left behind fails the row.
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/host/win/effect_browser.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/open_image.h"
#include "browser_fixture.h"
#include "contracts/plugin_contract.h"
#include "message_box_watcher.h"
#include "plugin_harness.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

// 20 ms ticks of the scripted user: ten seconds for a dialog to come up or
// for an animation to stop.
constexpr int kPatienceTicks = 500;

std::vector<std::string> PluginFiles() {
  std::vector<std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(ProgramPath("*.PL1").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do files.emplace_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return files;
}

BOOL CALLBACK AddWindow(HWND window, LPARAM set) {
  if (IsWindowVisible(window)) reinterpret_cast<std::set<HWND>*>(set)->insert(window);
  return TRUE;
}

// The visible top-level windows of this thread.
std::set<HWND> ShownWindows() {
  std::set<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), AddWindow, LPARAM(&windows));
  return windows;
}

bool DialogShown() { return g_app.effectDialog && IsWindowVisible(g_app.effectDialog); }

// Playing disables the Play button of the animated effects' dialogs.
bool Playing() {
  HWND play = g_app.effectDialog ? GetDlgItem(g_app.effectDialog, IDC_EFFECT_APPLY) : nullptr;
  return DialogShown() && play && IsWindowVisible(play) && !IsWindowEnabled(play);
}

void Click(int id) { PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

class BrowserEveryEffectTest : public BrowserTest {
 protected:
  // Finds `record`'s row in the browser and selects its family and row.
  static bool SelectRow(const EffectRecord& record) {
    for (int f = 0, families = Count(FamilyList()); f < families; ++f) {
      Select(FamilyList(), f);
      for (int i = 0, n = Count(EffectList()); i < n; ++i) {
        const EffectRecord* listed = EffectAt(EffectList(), i);
        if (listed && FunctionName(*listed) == FunctionName(record) && listed->effectValue == record.effectValue &&
            ModuleName(*listed) == ModuleName(record)) {
          Select(EffectList(), i);
          return true;
        }
      }
    }
    return false;
  }
};

}  // namespace

TEST_F(BrowserEveryEffectTest, EveryCataloguedEffectRunsFromTheBrowserAndClosesWithOkAndWithCancel) {
  std::vector<EffectRecord> records;
  for (const std::string& file : PluginFiles())
    for (const EffectRecord& r : ModuleRecords(file.c_str())) records.push_back(r);
  ASSERT_GE(records.size(), 40u) << "the plug-ins beside the program";
  // The browser groups a family's rows by category number and names the
  // group after its first row, so every module must call a number the same.
  std::map<std::pair<int32_t, int32_t>, std::string> categories;
  for (const EffectRecord& r : records) {
    if (!r.categoryId) continue;
    const std::string name(FieldText(r.category, kCategoryFieldChars));
    const auto [it, first] = categories.emplace(std::pair(r.kind, r.categoryId), name);
    EXPECT_EQ(it->second, name) << ModuleName(r) << " calls category " << r.categoryId << " otherwise";
  }
  // Every row with an example ("N/A": none) shows it in the browser.
  for (const EffectRecord& r : records) {
    const std::string example(FieldText(r.example, kExampleFieldChars));
    if (example != "N/A")
      EXPECT_TRUE(FileExists(ProgramDir() + "\\Examples\\" + example)) << ModuleName(r) << " " << example;
  }
  WriteCatalogue(records);
  ShowWindow(g_app.frame, SW_SHOWNORMAL);
  MoveWindow(g_app.frame, 0, 0, 1000, 720, TRUE);
  HWND document = OpenImageFile(g_app.frame, (ProgramDir() + "\\Samples\\chelsea.png").c_str());
  ASSERT_NE(document, nullptr);
  SendMessageA(g_app.mdiClient, WM_MDIMAXIMIZE, WPARAM(document), 0);
  Pump();
  const std::vector<uint8_t> original = DibPixels(CurrentImage(document));
  Command(CMD_BROWSER_1);
  ASSERT_NE(Dialog(), nullptr);
  MessageBoxWatcher boxes;

  for (const EffectRecord& record : records) {
    for (const bool accept : {true, false}) {
      SCOPED_TRACE(std::string(ModuleName(record)) + " " + std::string(FunctionName(record)) + " " +
                   std::to_string(record.effectValue) + (accept ? " OK" : " Cancel"));
      ASSERT_TRUE(SelectRow(record));
      const std::set<HWND> before = ShownWindows();
      bool dialogCameUp = false, stopped = true;
      int patience = kPatienceTicks;
      {
        ScriptedUser user;
        user.Then([&] { return (dialogCameUp = DialogShown()) || --patience <= 0; });
        user.WaitTicks(5).Then([&] {
          if (Playing()) Click(IDCANCEL);
          patience = kPatienceTicks;
          return true;
        });
        user.Then([&] {
          stopped = !Playing();
          return stopped || --patience <= 0;
        });
        user.Then([&] {
          if (DialogShown()) Click(accept ? IDOK : IDCANCEL);
          return true;
        });
        SendMessageA(Dialog(), WM_COMMAND, MAKEWPARAM(kBrowserEffectList, LBN_DBLCLK), LPARAM(EffectList()));
        EXPECT_TRUE(user.finished()) << "the effect returned before it was closed";
      }
      Pump();
      EXPECT_TRUE(dialogCameUp);
      EXPECT_TRUE(stopped) << "Stop ended the animation";
      EXPECT_EQ(g_app.effectDialog, nullptr);
      EXPECT_EQ(ShownWindows(), before) << "every window the effect opened is gone";
      EXPECT_TRUE(boxes.boxes().empty()) << boxes.Describe();
      boxes.Clear();
      HGLOBAL picture = CurrentImage(document);
      ASSERT_NE(picture, nullptr);
      EXPECT_GT(PictureWidth(picture), 0);
      EXPECT_GT(PictureHeight(picture), 0);
      if (accept) {
        EXPECT_TRUE(HasUndoStep(document));
        while (HasUndoStep(document)) UndoDocument(document);
      } else {
        EXPECT_FALSE(HasUndoStep(document));
      }
      ASSERT_EQ(DibPixels(CurrentImage(document)), original) << "the picture is back for the next row";
    }
  }
  SendMessageA(Dialog(), WM_CLOSE, 0, 0);
  SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
  Pump();
}
