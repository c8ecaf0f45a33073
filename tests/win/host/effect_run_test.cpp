// Effects run through the real studio frame in this process: what the host
// hands the effect function, the panel beside the run, how the undo history
// looks after accepting or cancelling, and the fitting of big pictures.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/host/effect_fit.h"
#include "app/host/win/effect_host.h"
#include "app/host/win/effect_panel.h"
#include "app/shell/app_state.h"
#include "app/shell/document_window.h"
#include "app/shell/resource_ids.h"
#include "app/shell/win/document_record.h"
#include "app/shell/win/open_image.h"
#include "app/shell/win/studio.h"
#include "contracts/dib_services.h"
#include "contracts/plugin_contract.h"
#include "contracts/ui_controls.h"
#include "message_box_watcher.h"
#include "probe_plugin.h"
#include "screenshot.h"
#include "studio_fixture.h"
#include "win_test_support.h"

using namespace quillo;
using namespace quillo::test;

namespace {

EffectRecord ProbeRecord(int32_t optionFlags = 0x1, int32_t catalogFlags = 0,
                         const char* function = "ProcessProbe", const char* module = "HostProbe.DLL") {
  EffectRecord r;
  EffectInfoEntry entry{0x1, 0, catalogFlags, 42, 100, 0, optionFlags, function, "N/A"};
  EXPECT_EQ(BuildEffectRecord(entry, module, "Probe", std::nullopt, r), RecordBuildResult::kOk);
  return r;
}

struct History {
  UndoSlot slots[kUndoSlotCount];
};

History Snapshot(HWND document) {
  History h;
  std::memcpy(h.slots, RecordOf(document)->slots, sizeof h.slots);
  return h;
}

bool SameHistory(const History& a, const History& b) {
  for (int i = 0; i < kUndoSlotCount; ++i) {
    const UndoSlot &x = a.slots[i], &y = b.slots[i];
    // Display copies are rebuilt after every run; everything else must match.
    if (x.image != y.image || x.palette != y.palette || x.mask != y.mask || x.width != y.width ||
        x.height != y.height || x.colours != y.colours)
      return false;
  }
  return true;
}

class EffectRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    started_ = StartStudioOnce();
    probeModule_ = LoadLibraryA((ProgramDir() + "\\HostProbe.DLL").c_str());
    Pump();
  }
  static void TearDownTestSuite() {
    if (probeModule_) FreeLibrary(probeModule_);
  }
  void SetUp() override {
    ASSERT_EQ(started_, -1);
    ASSERT_NE(probeModule_, nullptr);
    probe_ = reinterpret_cast<ProbeStateFunction>(
        reinterpret_cast<void*>(GetProcAddress(probeModule_, "ProbeStateOf")))();
    *probe_ = ProbeState{};
  }
  void TearDown() override {
    g_app.activeEffect = 0;
    while (HWND document = ActiveDocument()) SendMessageA(g_app.mdiClient, WM_MDIDESTROY, WPARAM(document), 0);
    Pump();
  }
  static void Pump() { PumpMessages(5); }
  static HWND Open(int width, int height) {
    HWND document = OpenImageHandle(MakeTestPicture(width, height), "effect target");
    Pump();
    return document;
  }
  static void Select(HWND document, int left, int top, int right, int bottom) {
    INT32* s = RecordOf(document)->selection;
    s[0] = left, s[1] = top, s[2] = right, s[3] = bottom;
  }
  static inline int started_ = 0;
  static inline HMODULE probeModule_ = nullptr;
  ProbeState* probe_ = nullptr;
};

TEST_F(EffectRun, TheEffectGetsTheHostsWindowsAContextAndACopyOnANewStep) {
  HWND document = Open(60, 40);
  ASSERT_NE(document, nullptr);
  HGLOBAL before = CurrentImage(document);
  Select(document, 5, 6, 16, 17);  // 11 x 11: passed on
  struct Seen {
    bool panel = false, panelVisible = false, browserHidden = true;
    int panelWidth = 0, panelHeight = 0;
    const EffectRecord* current = nullptr;
  } seen;
  probe_->duringRun = [](void* p) {
    auto* s = static_cast<Seen*>(p);
    HWND panel = EffectPanel();
    s->panel = panel != nullptr;
    s->panelVisible = panel && IsWindowVisible(panel);
    RECT r = {};
    if (panel) GetWindowRect(panel, &r);
    s->panelWidth = r.right - r.left;
    s->panelHeight = r.bottom - r.top;
    s->current = CurrentEffect();
  };
  probe_->duringRunContext = &seen;
  probe_->invert = true;

  EXPECT_EQ(RunEffect(ProbeRecord()), 1);
  ASSERT_EQ(probe_->calls, 1);
  EXPECT_EQ(probe_->owner, g_app.frame);
  EXPECT_EQ(probe_->view, ViewOf(document));
  EXPECT_EQ(probe_->notify, 2053u);
  EXPECT_EQ(probe_->effectValue, 42);
  EXPECT_EQ(probe_->context[0], UINT_PTR(g_app.frame));
  EXPECT_EQ(probe_->context[1], UINT_PTR(ViewOf(document)));
  EXPECT_EQ(probe_->context[9], UINT_PTR(before));
  for (int word : {2, 3, 4, 5, 6, 7, 8, 10, 11}) EXPECT_EQ(probe_->context[word], 0u) << word;
  EXPECT_TRUE(probe_->selectionGiven);
  EXPECT_EQ(probe_->selection[0], 5);
  EXPECT_EQ(probe_->selection[3], 17);
  EXPECT_NE(probe_->image, before) << "the effect works on a copy";
  EXPECT_TRUE(seen.panel && seen.panelVisible);
  EXPECT_EQ(seen.panelWidth, 90);
  EXPECT_EQ(seen.panelHeight, 67);
  EXPECT_NE(seen.current, nullptr);

  // Accepted: one new step holding the inverted copy; the panel is gone.
  EXPECT_TRUE(HasUndoStep(document));
  EXPECT_EQ(CurrentImage(document), probe_->image);
  uint8_t a[3], b[3];
  DibPixel(before, 3, 4, a);
  DibPixel(CurrentImage(document), 3, 4, b);
  EXPECT_EQ(b[0], 255 - a[0]);
  EXPECT_EQ(EffectPanel(), nullptr);
  EXPECT_EQ(CurrentEffect(), nullptr);
  EXPECT_EQ(g_app.activeEffect, 0);
  EXPECT_EQ(g_app.effectDialog, nullptr);
}

TEST_F(EffectRun, SmallSelectionsAreNotPassedAndSaverEffectsGetTheWidePanel) {
  HWND document = Open(60, 60);
  Select(document, 0, 0, 10, 50);  // 10 wide: the whole image
  int width = 0;
  probe_->duringRun = [](void* p) {
    RECT r = {};
    GetWindowRect(EffectPanel(), &r);
    *static_cast<int*>(p) = r.right - r.left;
  };
  probe_->duringRunContext = &width;
  RunEffect(ProbeRecord(0x1 | 0x8));
  EXPECT_FALSE(probe_->selectionGiven);
  EXPECT_EQ(width, 175);
}

TEST_F(EffectRun, CancellingLeavesTheHistoryExactlyAsBeforeEvenWhenFull) {
  HWND document = Open(30, 20);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(PushDocumentImage(document, MakeTestPicture(30 + i, 20), nullptr));
  const History before = Snapshot(document);
  probe_->result = 0;
  probe_->invert = true;
  EXPECT_EQ(RunEffect(ProbeRecord()), 0);
  EXPECT_EQ(probe_->calls, 1);
  EXPECT_TRUE(SameHistory(before, Snapshot(document)));
  // The oldest edit is still readable: nothing was freed by the cancel.
  EXPECT_TRUE(IsValidDIB(HGLOBAL(before.slots[1].image)));

  // Accepting with a full history drops the oldest edit instead.
  probe_->result = 1;
  EXPECT_EQ(RunEffect(ProbeRecord()), 1);
  const History after = Snapshot(document);
  EXPECT_EQ(after.slots[0].image, before.slots[0].image);
  EXPECT_EQ(after.slots[1].image, before.slots[2].image);
  EXPECT_EQ(after.slots[4].image, before.slots[5].image);
  EXPECT_EQ(after.slots[5].image, uintptr_t(probe_->image));
}

TEST_F(EffectRun, CancellingNeverBringsBackADroppedOrInvertedMask) {
  HWND document = Open(30, 20);
  LPBYTE mask = AllocAlpha(CurrentImage(document));
  ASSERT_NE(mask, nullptr);
  std::memset(mask, 0, 600);
  CurrentSlot(document)->mask = uintptr_t(mask);
  SendMessageA(g_app.frame, WM_COMMAND, CMD_MASK_DROP, 0);
  ASSERT_TRUE(HasUndoStep(document));
  ASSERT_EQ(CurrentSlot(document)->mask, 0u);
  History before = Snapshot(document);
  probe_->result = 0;
  EXPECT_EQ(RunEffect(ProbeRecord()), 0);
  EXPECT_TRUE(SameHistory(before, Snapshot(document)));
  EXPECT_EQ(CurrentSlot(document)->mask, 0u) << "the dropped mask came back";

  // The inverse of an empty mask selects everything, and stays so.
  UndoDocument(document);
  SendMessageA(g_app.frame, WM_COMMAND, CMD_MASK_INVERT, 0);
  const auto* inverted = reinterpret_cast<const BYTE*>(CurrentSlot(document)->mask);
  ASSERT_NE(inverted, nullptr);
  ASSERT_EQ(inverted[0], 255);
  before = Snapshot(document);
  EXPECT_EQ(RunEffect(ProbeRecord()), 0);
  EXPECT_TRUE(SameHistory(before, Snapshot(document)));
  EXPECT_EQ(reinterpret_cast<const BYTE*>(CurrentSlot(document)->mask)[599], 255);
}

// A plug-in that tells only the frame it is active (never the view) still
// owns its document for the whole run: the document and the studio stay
// open, the history is left alone, the mouse goes to its tool window, and
// its frames and their size are followed.
TEST_F(EffectRun, TheRunOwnsItsDocumentWhateverThePluginSignals) {
  HWND other = Open(20, 20);
  HWND document = Open(60, 40);
  struct Seen {
    HWND document = nullptr;
    ProbeState* probe = nullptr;
    bool documentOpen = false, frameOpen = false, stepKept = false;
    WPARAM forwarded = 0, forwardedWhileBusy = 0;
    LRESULT frameHit = 0, viewHit = 0;
    bool wParamFrame = false, lParamFrame = false;
    int widthAfterFrame = 0;
  } seen;
  seen.document = document;
  seen.probe = probe_;
  probe_->activeOnFrameOnly = true;
  probe_->duringRunContext = &seen;
  probe_->duringRun = [](void* p) {
    auto& s = *static_cast<Seen*>(p);
    HWND view = ViewOf(s.document);
    HWND tool = s.probe->dialog;
    SendMessageA(view, 2057, 5120, LPARAM(tool));
    SendMessageA(s.document, WM_CLOSE, 0, 0);
    SendMessageA(s.document, 2087, 0, LPARAM(view));
    SendMessageA(g_app.frame, WM_CLOSE, 0, 0);
    s.documentOpen = IsWindow(s.document) != FALSE;
    s.frameOpen = IsWindow(g_app.frame) != FALSE;
    SendMessageA(g_app.frame, WM_COMMAND, CMD_UNDO, 0);
    s.stepKept = CurrentSlot(s.document)->image == uintptr_t(*s.probe->imageAddress);

    auto click = [&] {
      SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 6));
      SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(4, 6));
      MSG m = {};
      const WPARAM code = PeekMessageA(&m, tool, 5120, 5120, PM_REMOVE) ? m.wParam : 0;
      while (PeekMessageA(&m, tool, 5120, 5120, PM_REMOVE)) {
      }
      return code;
    };
    s.forwarded = click();
    // Busy: the frame lets the mouse through; the view still hears it.
    s.probe->runContext[7] = 1;
    POINT at{5, 5};
    ClientToScreen(view, &at);
    s.frameHit = SendMessageA(g_app.frame, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    s.viewHit = SendMessageA(view, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    s.forwardedWhileBusy = click();
    s.probe->runContext[7] = 0;

    // A frame named in wParam, or in lParam by older senders.
    HGLOBAL frame = *s.probe->imageAddress;
    SendMessageA(g_app.frame, 2118, WPARAM(frame), 0);
    s.wParamFrame = g_app.effectFrame == frame;
    HGLOBAL resized = CreateDIB(7, 5, 24);
    DestroyDIB(*s.probe->imageAddress);
    *s.probe->imageAddress = resized;
    SendMessageA(g_app.frame, 2118, 0, LPARAM(resized));
    s.lParamFrame = g_app.effectFrame == resized;
    s.widthAfterFrame = CurrentSlot(s.document)->width;
  };
  EXPECT_EQ(RunEffect(ProbeRecord()), 1);
  ASSERT_TRUE(IsWindow(g_app.frame));
  EXPECT_TRUE(seen.documentOpen);
  EXPECT_TRUE(seen.frameOpen);
  EXPECT_TRUE(seen.stepKept);
  EXPECT_EQ(seen.forwarded, 22222u);
  EXPECT_EQ(seen.frameHit, HTTRANSPARENT);
  EXPECT_EQ(seen.viewHit, HTCLIENT);
  EXPECT_EQ(seen.forwardedWhileBusy, 22222u);
  EXPECT_TRUE(seen.wParamFrame);
  EXPECT_TRUE(seen.lParamFrame);
  EXPECT_EQ(seen.widthAfterFrame, 7);
  EXPECT_EQ(g_app.effectFrame, nullptr) << "frames belong to the run";
  EXPECT_FALSE(HasSelection(document)) << "the clicks went to the effect";
  // After the run the document closes again.
  SendMessageA(document, WM_CLOSE, 0, 0);
  PumpMessages(3);
  EXPECT_FALSE(IsWindow(document));
  EXPECT_TRUE(IsWindow(other));
}

struct DialogSearch {
  int id;
  HWND found = nullptr;
};

BOOL CALLBACK MatchDialogWithControl(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<DialogSearch*>(p);
  char name[16] = {};
  GetClassNameA(w, name, sizeof name);
  if (IsWindowVisible(w) && lstrcmpA(name, "#32770") == 0 && GetDlgItem(w, s->id)) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// The first visible dialog of this thread that has control `id`.
HWND FindDialogWithControl(int id) {
  DialogSearch search{id};
  EnumThreadWindows(GetCurrentThreadId(), MatchDialogWithControl, LPARAM(&search));
  return search.found;
}

// Saving while an effect runs: the effect's dialog and panel step aside for
// the modal dialog and come back after it; the browser stays away until
// the run ends.
TEST_F(EffectRun, ModalStepsDuringARunHideTheEffectAndKeepTheBrowserAway) {
  Open(30, 20);
  HWND browser = CreateWindowA("STATIC", "browser", WS_POPUP | WS_VISIBLE, 0, 0, 30, 30, nullptr,
                               nullptr, nullptr, nullptr);
  g_app.effectBrowser = browser;
  struct Seen {
    ProbeState* probe = nullptr;
    bool saveShown = false, dialogDuring = true, panelDuring = true, browserDuring = true;
    bool dialogAfter = false, panelAfter = false, browserAfter = true;
  } seen;
  seen.probe = probe_;
  probe_->duringRunContext = &seen;
  probe_->duringRun = [](void* p) {
    auto& s = *static_cast<Seen*>(p);
    ShowWindow(s.probe->dialog, SW_SHOWNA);
    ScriptedUser user;
    user.Then([] { return FindDialogWithControl(105) != nullptr; }).Then([&s] {
      HWND save = FindDialogWithControl(105);
      s.saveShown = true;
      s.dialogDuring = IsWindowVisible(s.probe->dialog) != FALSE;
      s.panelDuring = IsWindowVisible(EffectPanel()) != FALSE;
      s.browserDuring = IsWindowVisible(g_app.effectBrowser) != FALSE;
      PostMessageA(save, WM_COMMAND, IDCANCEL, 0);
      return true;
    });
    SendMessageA(g_app.frame, WM_COMMAND, CMD_SAVE, 0);
    s.dialogAfter = IsWindowVisible(s.probe->dialog) != FALSE;
    s.panelAfter = IsWindowVisible(EffectPanel()) != FALSE;
    s.browserAfter = IsWindowVisible(g_app.effectBrowser) != FALSE;
  };
  RunEffect(ProbeRecord());
  EXPECT_TRUE(seen.saveShown);
  EXPECT_FALSE(seen.dialogDuring);
  EXPECT_FALSE(seen.panelDuring);
  EXPECT_FALSE(seen.browserDuring);
  EXPECT_TRUE(seen.dialogAfter);
  EXPECT_TRUE(seen.panelAfter);
  EXPECT_FALSE(seen.browserAfter) << "the browser came back over a running effect";
  EXPECT_TRUE(IsWindowVisible(browser)) << "the browser returns when the run ends";
  g_app.effectBrowser = nullptr;
  DestroyWindow(browser);
}

TEST_F(EffectRun, MissingModuleFunctionOrMaskStopBeforeTheHistoryChanges) {
  HWND document = Open(30, 20);
  const History before = Snapshot(document);
  MessageBoxWatcher boxes;
  EXPECT_EQ(RunEffect(ProbeRecord(0x1, 0, "ProcessMissing")), 0);
  EXPECT_EQ(RunEffect(ProbeRecord(0x1, 0, "ProcessProbe", "Nowhere.PL1")), 0);
  // Needs a mask; the picture has none: only a beep and the status text.
  EXPECT_EQ(RunEffect(ProbeRecord(0x1, kCatalogNeedsMask)), 0);
  EXPECT_EQ(probe_->calls, 0);
  EXPECT_TRUE(SameHistory(before, Snapshot(document)));
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 2u) << boxes.Describe();
  EXPECT_EQ(shown[0].text, LoadResString(IDS_EFFECT_LOAD_FAILED));
  EXPECT_EQ(shown[1].text, LoadResString(IDS_EFFECT_LOAD_FAILED));
  EXPECT_EQ(shown[1].caption, ProgramDir() + "\\Nowhere.PL1");
  char status[200] = {};
  GetWindowTextA(g_app.statusLine, status, sizeof status);
  EXPECT_STREQ(status, LoadResString(IDS_EFFECT_NEEDS_MASK));
}

TEST_F(EffectRun, WithoutAPictureNothingRunsAndExampleEffectsRunWithoutOne) {
  EXPECT_EQ(RunEffect(ProbeRecord()), 0);
  EXPECT_EQ(probe_->calls, 0);
  char status[200] = {};
  GetWindowTextA(g_app.statusLine, status, sizeof status);
  EXPECT_STREQ(status, LoadResString(IDS_NO_ACTIVE_PICTURE));

  EXPECT_EQ(RunEffectOnExample(ProbeRecord()), 1);
  ASSERT_EQ(probe_->calls, 1);
  EXPECT_FALSE(probe_->imageGiven);
  EXPECT_FALSE(probe_->maskGiven);
  EXPECT_EQ(probe_->view, nullptr);
  EXPECT_EQ(probe_->context[0], UINT_PTR(g_app.frame));
  EXPECT_EQ(probe_->context[1], 0u);
  EXPECT_EQ(EffectPanel(), nullptr);
}

TEST_F(EffectRun, MasksAreCopiedUnlessTheEffectIgnoresThem) {
  HWND document = Open(20, 10);
  UndoSlot* slot = CurrentSlot(document);
  LPBYTE mask = AllocAlpha(HGLOBAL(slot->image));
  ASSERT_NE(mask, nullptr);
  std::memset(mask, 200, 200);
  slot->mask = uintptr_t(mask);
  RunEffect(ProbeRecord());
  ASSERT_TRUE(probe_->maskGiven);
  EXPECT_NE(probe_->mask, nullptr);
  EXPECT_NE(probe_->mask, mask) << "the step gets its own copy";
  EXPECT_EQ(probe_->mask[57], 200);

  // An effect that ignores masks starts without one, with the mask hidden.
  int modeDuring = -1;
  probe_->duringRun = [](void* p) { *static_cast<int*>(p) = MaskDisplayMode(ActiveDocument()); };
  probe_->duringRunContext = &modeDuring;
  const int modeBefore = MaskDisplayMode(document);
  RunEffect(ProbeRecord(0x1, kCatalogIgnoresMask));
  EXPECT_EQ(probe_->mask, nullptr);
  EXPECT_EQ(modeDuring, 1);
  EXPECT_EQ(MaskDisplayMode(document), modeBefore);
}

TEST_F(EffectRun, FittingShrinksBigPicturesOrOnlyResetsTheZoom) {
  HWND document = Open(2400, 1800);
  ZoomDocument(document, -1);
  const float zoomed = DocumentZoom(document);
  ASSERT_NE(zoomed, 1.0f);
  // 0x8000: zoom back to actual size only.
  RunEffect(ProbeRecord(0x8000));
  Pump();
  EXPECT_EQ(probe_->imageWidth, 2400);
  EXPECT_EQ(probe_->imageHeight, 1800);
  EXPECT_FLOAT_EQ(DocumentZoom(document), 1.0f);

  // 0x1000: the copy is shrunk into the screen area before the effect sees it.
  const EffectFit fit = FitForEffect(1, 0x1000, 2400, 1800, GetSystemMetrics(SM_CXSCREEN),
                                     GetSystemMetrics(SM_CYSCREEN));
  ASSERT_EQ(fit.action, EffectFitAction::kResample);
  Select(document, 100, 100, 900, 700);  // in the big picture's pixels
  RunEffect(ProbeRecord(0x1000));
  EXPECT_FALSE(probe_->selectionGiven) << "a selection does not fit the resized copy";
  EXPECT_EQ(probe_->imageWidth, fit.width);
  EXPECT_EQ(probe_->imageHeight, fit.height);
  EXPECT_EQ(CurrentSlot(document)->width, fit.width);
}

TEST_F(EffectRun, AnImageTheEffectReplacesIsKeptWithItsOwnSize) {
  HWND document = Open(30, 20);
  probe_->replaceImage = true;
  RunEffect(ProbeRecord());
  EXPECT_EQ(CurrentSlot(document)->width, 7);
  EXPECT_EQ(CurrentSlot(document)->height, 5);
  UndoDocument(document);
  EXPECT_EQ(CurrentSlot(document)->width, 30);
}

// The real Balance effect of BXCOMM1 through the frame: a slider moved,
// applied and accepted changes the picture with one undo step; cancelled,
// the history is as before.
TEST_F(EffectRun, BalanceAcceptedAddsOneStepCancelledAddsNone) {
  HWND document = Open(64, 48);
  EffectRecord balance;
  EffectInfoEntry entry{0x1, 0, 0, 0, 10013, 13503, 0x1, "ProcessBalance", "Balance.jpg"};
  ASSERT_EQ(BuildEffectRecord(entry, "BXCOMM1.PL1", "Balance", "Colour", balance), RecordBuildResult::kOk);
  auto script = [](ScriptedUser& user, int closeId) {
    auto idle = [] {
      HWND d = g_app.effectDialog;
      return d && IsWindow(d) && IsWindowEnabled(GetDlgItem(d, IDC_EFFECT_APPLY));
    };
    user.Then(idle)
        .Then([] {
          HWND d = g_app.effectDialog;
          SendMessageA(GetDlgItem(d, 501), SL_SETPOS, 60, 1);
          PostMessageA(d, WM_COMMAND, MAKEWPARAM(501, 0), 0);
          return true;
        })
        .Then(idle)
        .Then([] {
          PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDC_EFFECT_APPLY, BN_CLICKED), 0);
          return true;
        })
        .WaitTicks(2)
        .Then(idle)
        .Then([closeId] {
          PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(closeId, BN_CLICKED), 0);
          return true;
        });
  };
  const History before = Snapshot(document);
  {
    ScriptedUser user;
    script(user, IDC_EFFECT_CANCEL);
    EXPECT_EQ(RunEffect(balance), 0);
    EXPECT_TRUE(user.finished());
  }
  EXPECT_TRUE(SameHistory(before, Snapshot(document)));
  EXPECT_FALSE(HasUndoStep(document));
  {
    ScriptedUser user;
    script(user, IDC_EFFECT_OK);
    EXPECT_NE(RunEffect(balance), 0);
    EXPECT_TRUE(user.finished());
  }
  ASSERT_TRUE(HasUndoStep(document));
  const History after = Snapshot(document);
  EXPECT_EQ(after.slots[0].image, before.slots[0].image);
  EXPECT_NE(after.slots[1].image, 0u);
  EXPECT_EQ(after.slots[2].image, 0u);
  EXPECT_NE(DibPixels(CurrentImage(document)), DibPixels(HGLOBAL(before.slots[0].image)));
}

// The real Rotate effect of BXCOMM2 through the frame: a quarter turn
// accepted gives the document the turned size in one undo step, and undo
// brings back the size and pixels it had.
TEST_F(EffectRun, RotateAcceptedChangesTheSizeInOneUndoStep) {
  HWND document = Open(64, 48);
  const std::vector<uint8_t> pixels = DibPixels(CurrentImage(document));
  EffectRecord rotate;
  EffectInfoEntry entry{0x4, 0, 0, 0, 7033, 0, 0x1, "ProcessRotate", "Rotate.jpg"};
  ASSERT_EQ(BuildEffectRecord(entry, "BXCOMM2.PL1", "Rotate", "", rotate), RecordBuildResult::kOk);
  auto idle = [] {
    HWND d = g_app.effectDialog;
    return d && IsWindow(d) && IsWindowEnabled(GetDlgItem(d, IDC_EFFECT_APPLY));
  };
  ScriptedUser user;
  user.Then(idle)
      .Then([] {
        HWND d = g_app.effectDialog;
        SendMessageA(GetDlgItem(d, 501), SL_SETPOS, WPARAM(90), 1);
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(501, 0), 0);
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_EFFECT_APPLY, BN_CLICKED), 0);
        return true;
      })
      .WaitTicks(2)
      .Then(idle)
      .Then([] {
        PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDC_EFFECT_OK, BN_CLICKED), 0);
        return true;
      });
  EXPECT_NE(RunEffect(rotate), 0);
  EXPECT_TRUE(user.finished());
  ASSERT_TRUE(HasUndoStep(document));
  EXPECT_EQ(CurrentSlot(document)->width, 48);
  EXPECT_EQ(CurrentSlot(document)->height, 64);
  UndoDocument(document);
  EXPECT_EQ(CurrentSlot(document)->width, 64);
  EXPECT_EQ(CurrentSlot(document)->height, 48);
  EXPECT_EQ(DibPixels(CurrentImage(document)), pixels);
}

}  // namespace

namespace {

// Photographs the frame and the dialog of `record` running over the
// sample picture into the PNG named by `variable` (for the docs): `adjust`
// sets the dialog up once it is idle, then the picture is redrawn and shot
// and the run cancelled. Skipped when the variable is not set.
void Photograph(const char* variable, const EffectRecord& record, std::function<void(HWND)> adjust,
                bool apply = true) {
  char target[MAX_PATH] = {};
  if (!GetEnvironmentVariableA(variable, target, sizeof target)) GTEST_SKIP();
  ShowWindow(g_app.frame, SW_SHOWNORMAL);
  MoveWindow(g_app.frame, 0, 0, 1100, 760, TRUE);
  ASSERT_NE(OpenImageFile(g_app.frame, (ProgramDir() + "\\Samples\\coffee.png").c_str()), nullptr);
  auto idle = [] {
    HWND d = g_app.effectDialog;
    HWND apply = d ? GetDlgItem(d, IDC_EFFECT_APPLY) : nullptr;
    return d && IsWindow(d) && (!apply || IsWindowEnabled(apply));
  };
  bool shot = false;
  ScriptedUser user;
  user.Then(idle)
      .Then([&] {
        HWND d = g_app.effectDialog;
        SetWindowPos(d, nullptr, 640, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        adjust(d);
        return true;
      })
      .Then(idle)
      .Then([apply] {
        if (apply) PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDC_EFFECT_APPLY, BN_CLICKED), 0);
        return true;
      })
      .WaitTicks(3)
      .Then(idle)
      .WaitTicks(10)
      .Then([&] {
        RedrawWindow(g_app.frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RedrawWindow(g_app.effectDialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return true;
      })
      .WaitTicks(10)
      .Then([&] {
        RECT frame, dialog, area;
        GetWindowRect(g_app.frame, &frame);
        GetWindowRect(g_app.effectDialog, &dialog);
        UnionRect(&area, &frame, &dialog);
        shot = SaveScreenArea(area, target);
        PostMessageA(g_app.effectDialog, WM_COMMAND, MAKEWPARAM(IDC_EFFECT_CANCEL, BN_CLICKED), 0);
        return true;
      });
  RunEffect(record);
  EXPECT_TRUE(shot);
}

// Moves slider `id` of `dialog` to `position` as the end of a drag does,
// and waits for the dialog to have heard it (a change heard during a pass
// would be ignored).
void SetSliderNow(HWND dialog, int id, int position) {
  SendMessageA(GetDlgItem(dialog, id), SL_SETPOS, WPARAM(position), 1);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

TEST_F(EffectRun, Showcase) {
  EffectRecord balance;
  EffectInfoEntry entry{0x1, 0, 0, 0, 10013, 13503, 0x1 | 0x8, "ProcessBalance", "Balance.jpg"};
  ASSERT_EQ(BuildEffectRecord(entry, "BXCOMM1.PL1", "Balance", "Colour", balance), RecordBuildResult::kOk);
  Photograph("QUILLO_SHOWCASE_EFFECT", balance, [](HWND d) { SetSliderNow(d, 503, -45); });
}

// The unsharp mask's dialog with its preview, strongly sharpened.
TEST_F(EffectRun, FilterShowcase) {
  EffectRecord unsharp;
  EffectInfoEntry entry{0x1, 0, 0, 0, 12015, 13500, 0x1, "ProcessUnsharp", "Unsharp.jpg"};
  ASSERT_EQ(BuildEffectRecord(entry, "BXCOMM1.PL1", "Unsharp Mask", "Sharpen and Blur", unsharp),
            RecordBuildResult::kOk);
  Photograph("QUILLO_SHOWCASE_FILTER", unsharp, [](HWND d) {
    SetSliderNow(d, 501, 40);  // radius 4
    SetSliderNow(d, 502, 15);  // amount 1.5
  });
}

// The drag warp after three drags over the cup, as the view forwards them.
TEST_F(EffectRun, WarpShowcase) {
  EffectRecord warp;
  EffectInfoEntry entry{0x20, 0, 0, 1, 33138, 13541, 0x30000, "ProcessALWarp", "ALWARP.jpg"};
  ASSERT_EQ(BuildEffectRecord(entry, "BXCOMM2.PL1", "Drag Warp", "Warp", warp), RecordBuildResult::kOk);
  Photograph(
      "QUILLO_SHOWCASE_WARP", warp,
      [](HWND d) {
        const int drags[3][4] = {{250, 150, 290, 120}, {330, 330, 300, 370}, {170, 300, 130, 330}};
        for (const auto& g : drags) {
          PostMessageA(d, TOOL_MOUSE_MESSAGE, TOOL_LBUTTON_DOWN, MAKELPARAM(g[0], g[1]));
          PostMessageA(d, TOOL_MOUSE_MESSAGE, TOOL_MOUSE_MOVE, MAKELPARAM(g[2], g[3]));
          PostMessageA(d, TOOL_MOUSE_MESSAGE, TOOL_LBUTTON_UP, MAKELPARAM(g[2], g[3]));
        }
      },
      false);
}

}  // namespace

namespace {

// "Pack" needs a picture (a message says so); with one but no running
// effect, neither panel command does anything.
TEST_F(EffectRun, PanelCommandsNeedAPictureAndARunningEffect) {
  MessageBoxWatcher boxes;
  SendMessageA(g_app.frame, WM_COMMAND, CMD_PANEL_PACK, 0);
  SendMessageA(g_app.frame, WM_COMMAND, CMD_PANEL_SAVER, 0);
  HWND document = Open(20, 10);
  SendMessageA(g_app.frame, WM_COMMAND, CMD_PANEL_PACK, 0);
  SendMessageA(g_app.frame, WM_COMMAND, CMD_PANEL_SAVER, 0);
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 1u) << boxes.Describe();
  EXPECT_EQ(shown[0].text, LoadResString(IDS_PACK_NEEDS_PICTURE));
  EXPECT_FALSE(HasUndoStep(document));
}

}  // namespace
