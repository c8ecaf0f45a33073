// Zoom and the warp brush through their real dialogs. Zoom: each apply hands the caller a new picture
// at once (and a mask of its size), the view hears of the new size, OK
// keeps the last one and Cancel brings back the picture and mask passed in.
#include <gtest/gtest.h>

#include <cstring>

#include "contracts/dib_services.h"
#include "contracts/ui_controls.h"
#include "plugin_harness.h"
#include "plugins/bxcomm1/kernels/bilinear_zoom.h"
#include "plugins/bxcomm1/kernels/warp_brush.h"

using namespace quillo;
using namespace quillo::test;

namespace {

constexpr int kW = 37, kH = 29;

// Picks combo box entry `index` as a user's click does.
ScriptedUser& ChoosePreset(ScriptedUser& user, EffectRun& run, int index) {
  return user.Then([&run, index] {
    if (!run.dialog) return false;
    HWND box = run.Item(1101);
    SendMessageA(box, CB_SETCURSEL, WPARAM(index), 0);
    PostMessageA(run.dialog, WM_COMMAND, MAKEWPARAM(1101, CBN_SELCHANGE), LPARAM(box));
    return true;
  });
}

TEST(Zoom, AnApplyHandsANewPictureAtOnceAndOkKeepsIt) {
  PluginModule plugin("BXCOMM1.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  HGLOBAL passed = run.image;
  const std::vector<uint8_t> original = DibPixels(run.image);
  bool okBeforeApply = true, replacedAtOnce = false;
  run.Run(plugin.Effect("ProcessZoom"), [&](ScriptedUser& user, EffectRun& r) {
    user.Then([&] {
      if (!r.dialog) return false;
      okBeforeApply = IsWindowEnabled(r.Item(IDC_EFFECT_OK)) != FALSE;
      return true;
    });
    MoveSlider(user, r, 501, 50);
    MoveSlider(user, r, 502, 40);
    Press(user, r, IDC_EFFECT_APPLY);
    WaitIdle(user, r);
    user.Then([&] {
      replacedAtOnce = r.image != passed && PictureWidth(r.image) == 50 && PictureHeight(r.image) == 40;
      return true;
    });
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_FALSE(okBeforeApply);
  EXPECT_TRUE(replacedAtOnce);
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(PictureWidth(run.image), 50);
  const int64_t stride = (kW * 24 + 31) / 32 * 4, newStride = (50 * 24 + 31) / 32 * 4;
  std::vector<uint8_t> expect(size_t(newStride) * 40);
  BilinearZoomRows({original.data(), kW, kH, stride, 3}, {expect.data(), 50, 40, newStride}, 0, 40);
  EXPECT_EQ(DibPixels(run.image), expect);
  EXPECT_GE(run.host.Count(VM_RELAYOUT), 1);
  int sizeNotices = 0;
  for (const auto& m : run.host.messages())
    if (m.message == HOST_NOTIFY_MESSAGE && m.wParam == 1) ++sizeNotices;
  EXPECT_EQ(sizeNotices, 2) << "after the apply and after the dialog closed";
  GlobalFree(run.image);
}

TEST(Zoom, CancelBringsBackThePictureAndMaskPassedIn) {
  PluginModule plugin("BXCOMM1.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  run.mask = AllocAlpha(run.image);
  ASSERT_NE(run.mask, nullptr);
  for (int i = 0; i < kW * kH; ++i) run.mask[i] = uint8_t(i * 7);
  HGLOBAL passed = run.image;
  BYTE* passedMask = run.mask;
  const std::vector<uint8_t> original = DibPixels(run.image);
  int maskedWidth = 0;
  run.Run(plugin.Effect("ProcessZoom"), [&](ScriptedUser& user, EffectRun& r) {
    ChoosePreset(user, r, 8);  // "By 2"
    WaitIdle(user, r);
    Press(user, r, IDC_EFFECT_APPLY);
    WaitIdle(user, r);
    user.Then([&] {
      maskedWidth = r.mask != passedMask && r.mask ? PictureWidth(r.image) : 0;
      return true;
    });
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(maskedWidth, 2 * kW) << "the new picture came with a mask of its own";
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.image, passed);
  EXPECT_EQ(run.mask, passedMask);
  EXPECT_EQ(DibPixels(run.image), original);
  EXPECT_EQ(run.mask[5], uint8_t(35));
  FreeAlpha(run.mask);
  GlobalFree(run.image);
}

TEST(Warp, AMoveStrokeWarpsPictureAndMaskAndCancelPutsBothBack) {
  PluginModule plugin("BXCOMM1.PL1");
  for (const bool accept : {true, false}) {
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    run.mask = AllocAlpha(run.image);
    for (int i = 0; i < kW * kH; ++i) run.mask[i] = uint8_t(i);
    const std::vector<uint8_t> original = DibPixels(run.image);
    const std::vector<uint8_t> originalMask(run.mask, run.mask + kW * kH);
    run.Run(plugin.Effect("ProcessWarp"), [&](ScriptedUser& user, EffectRun& r) {
      ClickButton(user, r, 803);  // move
      WaitIdle(user, r);
      ForwardMouse(user, r, TOOL_LBUTTON_DOWN, 18, 14);
      ForwardMouse(user, r, TOOL_MOUSE_MOVE, 24, 14);
      ForwardMouse(user, r, TOOL_LBUTTON_UP, 24, 14);
      user.WaitTicks(1);
      Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(run.result, accept ? 1 : 0);
    ASSERT_NE(run.mask, nullptr);
    std::vector<uint8_t> expect = original, expectMask = originalMask;
    if (accept) {
      WarpBrush brush;
      ASSERT_TRUE(brush.Start(kW, kH));
      brush.Stroke(WarpMode::kMove, 40, 0.5, 18, 14, 24, 14,
                   {original.data(), expect.data(), kW, kH, (kW * 24 + 31) / 32 * 4,
                    originalMask.data(), expectMask.data()});
      ASSERT_NE(expect, original);
    }
    EXPECT_EQ(DibPixels(run.image), expect);
    EXPECT_EQ(std::vector<uint8_t>(run.mask, run.mask + kW * kH), expectMask);
    EXPECT_GE(run.host.Count(VM_SET_CURSOR), 1);
    FreeAlpha(run.mask);
    GlobalFree(run.image);
  }
}

}  // namespace
