// The effect call contract and dialog mechanics every plug-in shares, seen
// through the real Colour Balance dialog: a user's actions are posted from a
// timer while the plug-in runs its own message loop.
#include <gtest/gtest.h>

#include <vector>

#include "contracts/ui_controls.h"
#include "plugin_harness.h"
#include "plugins/bxcomm1/kernels/balance.h"

using namespace quillo::test;

namespace {

int Stride24(int width) { return ((width * 24 + 31) / 32) * 4; }

// Pixels of `original` after Balance with red at `red` over memory rows
// [rowBegin, rowEnd) and columns [colBegin, colEnd).
std::vector<uint8_t> ExpectedBalance(const std::vector<uint8_t>& original, int width, int height,
                                     double red, int colBegin, int colEnd, int rowBegin, int rowEnd) {
  std::vector<uint8_t> out = original;
  quillo::BalanceSettings settings;
  settings.value[2] = red;
  quillo::BalanceKernel kernel;
  kernel.Prepare(settings);
  quillo::PixelPass pass;
  pass.source = original.data();
  pass.target = out.data();
  pass.width = width;
  pass.height = height;
  pass.stride = Stride24(width);
  pass.colBegin = colBegin;
  pass.colEnd = colEnd;
  pass.rowBegin = rowBegin;
  pass.rowEnd = rowEnd;
  kernel.Run(pass, rowBegin, rowEnd);
  return out;
}

class EffectDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(plugin.module(), nullptr);
    balance = plugin.Effect("ProcessBalance");
    ASSERT_NE(balance, nullptr);
    WriteDialogPosition(nullptr);
  }
  PluginModule plugin{"BXCOMM1.PL1"};
  EffectFunction balance = nullptr;
};

}  // namespace

TEST_F(EffectDialogTest, AcceptAfterApplyKeepsTheAppliedPixelsAndTellsTheView) {
  EffectRun run;
  run.image = MakeTestPicture(37, 23);
  const HGLOBAL passedIn = run.image;
  const auto original = DibPixels(run.image);
  run.Run(balance, [](ScriptedUser& user, EffectRun& run) {
    MoveSlider(user, run, 503, 100);
    ApplyThenClose(user, run, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(run.image, passedIn) << "accepting keeps the live handle";
  EXPECT_EQ(DibPixels(run.image), ExpectedBalance(original, 37, 23, 100, 0, 37, 0, 23));

  // The view heard: effect active, tool window, a redraw per apply and one at
  // the end, then effect inactive; the owner heard a notification per pass.
  const auto& log = run.host.messages();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0].message, 2065u);
  EXPECT_EQ(log[0].lParam, 1);
  EXPECT_EQ(log[1].message, 2057u);
  EXPECT_EQ(log[1].wParam, 5120u);
  EXPECT_NE(log[1].lParam, 0);
  EXPECT_EQ(run.host.Count(2064), 0) << "Balance shares no rectangle";
  EXPECT_GE(run.host.Count(2053), 3);  // first preview, slider preview, apply
  EXPECT_EQ(run.host.Count(2099), 2);  // after the apply, after settling
  EXPECT_EQ(log.back().message, 2099u);
  GlobalFree(run.image);
}

TEST_F(EffectDialogTest, CancelAfterAppliesGivesADifferentHandleWithTheOriginalPixels) {
  EffectRun run;
  run.image = MakeTestPicture(40, 30);
  const HGLOBAL passedIn = run.image;
  const auto original = DibPixels(run.image);
  run.Run(balance, [](ScriptedUser& user, EffectRun& run) {
    MoveSlider(user, run, 501, -60);
    WaitIdle(user, run);
    Press(user, run, IDC_EFFECT_APPLY);
    WaitIdle(user, run);
    MoveSlider(user, run, 502, 80);
    ApplyThenClose(user, run, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(run.result, 0);
  EXPECT_NE(run.image, passedIn);
  EXPECT_EQ(DibPixels(run.image), original);
  GlobalFree(run.image);
}

// Watches the preview control (item 316) die: how many locks its picture
// still had at that moment, and whether the picture was there at all.
class PreviewDeathWatch {
 public:
  PreviewDeathWatch() {
    locks() = -1;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
  }
  ~PreviewDeathWatch() { UnhookWindowsHookEx(hook_); }
  static int& locks() {
    static int count = -1;
    return count;
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_DESTROY && GetDlgCtrlID(call->hwnd) == IDC_EFFECT_PREVIEW) {
      HGLOBAL picture = HGLOBAL(SendMessageA(call->hwnd, PV_GET_PICTURE, 0, 0));
      if (picture) locks() = int(GlobalFlags(picture) & GMEM_LOCKCOUNT);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_ = nullptr;
};

// The control frees its picture when it is destroyed; by then the effect
// has let go of it, so no lock outlives the picture.
TEST_F(EffectDialogTest, ThePreviewPictureIsUnlockedBeforeTheControlFreesIt) {
  for (int closeId : {IDC_EFFECT_OK, IDC_EFFECT_CANCEL}) {
    PreviewDeathWatch watch;
    EffectRun run;
    run.image = MakeTestPicture(48, 32);
    run.Run(balance, [closeId](ScriptedUser& user, EffectRun& run) {
      MoveSlider(user, run, 503, 40);
      WaitIdle(user, run);
      Press(user, run, closeId);
    });
    EXPECT_EQ(PreviewDeathWatch::locks(), 0) << closeId;
    GlobalFree(run.image);
  }
}

TEST_F(EffectDialogTest, AcceptWithoutApplyReturnsOneWithPixelsUnchanged) {
  EffectRun run;
  run.image = MakeTestPicture(16, 9);
  const auto original = DibPixels(run.image);
  run.Run(balance, [](ScriptedUser& user, EffectRun& run) {
    MoveSlider(user, run, 503, 100);  // changes only the preview
    WaitIdle(user, run);
    Press(user, run, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(DibPixels(run.image), original);
  GlobalFree(run.image);
}

TEST_F(EffectDialogTest, SelectionDecidesTheAreaAndAnOversizedOneMeansTheWholePicture) {
  struct Case { INT32 sel[4]; int colBegin, colEnd, rowBegin, rowEnd; };
  // 30 x 20 picture; rows are bottom-up in memory.
  const Case cases[] = {
      {{5, 2, 12, 9}, 5, 12, 11, 18},
      {{0, 0, 30, 20}, 0, 30, 0, 20},   // exactly the edges: valid
      {{0, 0, 31, 20}, 0, 30, 0, 20},   // one pixel too wide: whole picture
      {{4, 4, 4, 10}, 0, 30, 0, 20},    // empty: whole picture
  };
  for (const Case& c : cases) {
    EffectRun run;
    run.image = MakeTestPicture(30, 20);
    run.selectionGiven = true;
    std::copy(c.sel, c.sel + 4, run.selection);
    const auto original = DibPixels(run.image);
    run.Run(balance, [](ScriptedUser& user, EffectRun& run) {
      MoveSlider(user, run, 503, 100);
      ApplyThenClose(user, run, IDC_EFFECT_OK);
    });
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(DibPixels(run.image),
              ExpectedBalance(original, 30, 20, 100, c.colBegin, c.colEnd, c.rowBegin, c.rowEnd))
        << c.sel[0] << "," << c.sel[1] << "," << c.sel[2] << "," << c.sel[3];
    GlobalFree(run.image);
  }
}

TEST_F(EffectDialogTest, CancelDuringApplyStopsAtARowStepAndKeepsTheDialogOpen) {
  // Tall enough that the apply pass takes many 16-row steps.
  const int width = 400, height = 3000;
  EffectRun run;
  run.image = MakeTestPicture(width, height);
  const auto original = DibPixels(run.image);
  std::vector<uint8_t> afterStop;
  bool stillOpenAfterStop = false;
  run.Run(balance, [&](ScriptedUser& user, EffectRun& run) {
    MoveSlider(user, run, 503, 100);
    ClickButton(user, run, 601);  // preserve lightness: the slow path
    WaitIdle(user, run);
    Press(user, run, IDC_EFFECT_APPLY);
    // As soon as the pass runs (apply disabled), press cancel.
    user.Then([&run] {
      if (IsWindowEnabled(run.Item(IDC_EFFECT_APPLY))) return false;
      PostMessageA(run.dialog, WM_COMMAND, IDC_EFFECT_CANCEL, 0);
      return true;
    });
    WaitIdle(user, run);
    user.Then([&] {
      stillOpenAfterStop = IsWindow(run.dialog) && IsWindowVisible(run.dialog);
      afterStop = DibPixels(run.image);
      return true;
    });
    Press(user, run, IDC_EFFECT_CANCEL);
  });
  EXPECT_TRUE(stillOpenAfterStop);
  // The stop left a band of finished rows at the bottom, ending on a multiple
  // of 16, and the rows above untouched.
  const int stride = Stride24(width);
  int changedRows = 0;
  while (changedRows < height &&
         !std::equal(afterStop.begin() + changedRows * stride,
                     afterStop.begin() + (changedRows + 1) * stride,
                     original.begin() + changedRows * stride))
    ++changedRows;
  EXPECT_GT(changedRows, 0);
  EXPECT_LT(changedRows, height) << "the pass was not stopped";
  EXPECT_EQ(changedRows % 16, 0);
  EXPECT_TRUE(std::equal(afterStop.begin() + changedRows * stride, afterStop.end(),
                         original.begin() + changedRows * stride));
  // The second cancel closed the dialog and restored the picture.
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(DibPixels(run.image), original);
  GlobalFree(run.image);
}

TEST_F(EffectDialogTest, SliderLabelsFollowTheDragButThePreviewWaitsForTheEnd) {
  EffectRun run;
  run.image = MakeTestPicture(120, 90);
  std::vector<uint8_t> previewBefore, previewDuringDrag, previewAfter;
  char labelDuringDrag[16] = {};
  auto previewPixels = [&run] {
    HGLOBAL shown = HGLOBAL(SendMessageA(run.Item(IDC_EFFECT_PREVIEW), PV_GET_PICTURE, 0, 0));
    return shown ? DibPixels(shown) : std::vector<uint8_t>();
  };
  run.Run(balance, [&](ScriptedUser& user, EffectRun& run) {
    WaitIdle(user, run);
    user.WaitTicks(3);  // the first preview (posted at start) has run
    user.Then([&] {
      previewBefore = previewPixels();
      HWND slider = run.Item(503);
      SendMessageA(slider, SL_SETPOS, 70, 1);
      SendMessageA(run.dialog, WM_COMMAND, MAKEWPARAM(503, 0), LPARAM(slider));
      GetDlgItemTextA(run.dialog, 703, labelDuringDrag, sizeof labelDuringDrag);
      previewDuringDrag = previewPixels();
      SendMessageA(run.dialog, WM_COMMAND, MAKEWPARAM(503, 0), 0);
      previewAfter = previewPixels();
      return true;
    });
    Press(user, run, IDC_EFFECT_OK);
  });
  EXPECT_STREQ(labelDuringDrag, "70");
  ASSERT_FALSE(previewBefore.empty()) << "the dialog has no preview picture";
  EXPECT_EQ(previewDuringDrag, previewBefore);
  EXPECT_NE(previewAfter, previewBefore);
  GlobalFree(run.image);
}

TEST_F(EffectDialogTest, RemembersItsPositionOnlyWithinTheScreen) {
  struct Case { const char* saved; bool moved; };
  const Case cases[] = {{"10,20", true}, {"5000,20", false}, {"10", false}, {"-4,30", false}};
  for (const Case& c : cases) {
    WriteDialogPosition(c.saved);
    EffectRun run;
    run.image = MakeTestPicture(8, 8);
    RECT where = {};
    run.Run(balance, [&](ScriptedUser& user, EffectRun& run) {
      user.Then([&] {
        if (!run.dialog) return false;
        GetWindowRect(run.dialog, &where);
        return true;
      });
      Press(user, run, IDC_EFFECT_OK);
    });
    if (c.moved) {
      EXPECT_EQ(where.left, 10) << c.saved;
      EXPECT_EQ(where.top, 20) << c.saved;
    } else {
      EXPECT_FALSE(where.left == 5000 || where.left == -4) << c.saved;
    }
    // Closing writes where the dialog was.
    char expected[32];
    wsprintfA(expected, "%d,%d", where.left, where.top);
    EXPECT_EQ(ReadDialogPosition(), expected) << c.saved;
    GlobalFree(run.image);
  }
  WriteDialogPosition(nullptr);
}

TEST_F(EffectDialogTest, RefusesImagesItCannotWorkOn) {
  EffectRun run;
  run.image = GlobalAlloc(GHND, 16);  // not a DIB
  HostContext context = {};
  HWND dialog = HWND(1);
  EXPECT_EQ(balance(run.host.window(), run.host.window(), nullptr, 2053, 0, context, &run.image,
                    nullptr, &dialog, nullptr, 0),
            0);
  EXPECT_EQ(dialog, nullptr);
  EXPECT_EQ(run.host.messages().size(), 0u);
  GlobalFree(run.image);
  HGLOBAL none = nullptr;
  EXPECT_EQ(balance(nullptr, nullptr, nullptr, 2053, 0, context, &none, nullptr, nullptr, nullptr, 0), 0);
}
