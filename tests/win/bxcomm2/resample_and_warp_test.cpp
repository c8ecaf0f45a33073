// Resampling, the seamless tile and the drag warp through their real
// dialogs: the checked kernel decides the resampled pixels and mask, the
// tile is the animation kit's fold, a drag through the view's forwarded
// mouse events warps picture and mask, and undo, restore and Cancel bring
// back what they promise.
#include <gtest/gtest.h>

#include <vector>

#include "contracts/dib_services.h"
#include "imaging/zoom.h"
#include "plugin_harness.h"
#include "plugins/animation/kernels/seamless.h"
#include "plugins/bxcomm2/kernels/drag_warp.h"
#include "plugins/bxcomm2/kernels/resample_kernels.h"

using namespace quillo;
using namespace quillo::test;

namespace {

constexpr int kW = 37, kH = 29;
constexpr int64_t kStride = (kW * 24 + 31) / 32 * 4;

TEST(Resample, TheCheckedKernelResamplesPictureAndMask) {
  PluginModule plugin("BXCOMM2.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  run.mask = AllocAlpha(run.image);
  for (int i = 0; i < kW * kH; ++i) run.mask[i] = uint8_t(i * 5);
  std::vector<uint8_t> original = DibPixels(run.image);
  std::vector<uint8_t> originalMask(run.mask, run.mask + kW * kH);
  run.Run(plugin.Effect("ProcessZoom"), [&](ScriptedUser& user, EffectRun& r) {
    user.Then([&r] {
      if (!r.dialog) return false;
      CheckRadioButton(r.dialog, 461, 474, 472);  // Lanczos
      return true;
    });
    MoveSlider(user, r, 501, 20);
    MoveSlider(user, r, 502, 61);
    ApplyThenClose(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(PictureWidth(run.image), 20);
  ASSERT_EQ(PictureHeight(run.image), 61);
  const int64_t stride = (20 * 24 + 31) / 32 * 4;
  std::vector<uint8_t> expect(size_t(stride) * 61), expectMask(20 * 61);
  const auto filter = bxcomm2::ResampleFilterFor(472);
  ASSERT_EQ(imaging::ResampleBgr24({original.data(), kW, kH, kStride}, {expect.data(), 20, 61, stride}, filter),
            imaging::ZoomStatus::kDone);
  ASSERT_EQ(imaging::ResampleBgr24({originalMask.data(), kW, kH, kW, 1}, {expectMask.data(), 20, 61, 20, 1}, filter),
            imaging::ZoomStatus::kDone);
  EXPECT_EQ(DibPixels(run.image), expect);
  ASSERT_NE(run.mask, nullptr);
  EXPECT_EQ(std::vector<uint8_t>(run.mask, run.mask + 20 * 61), expectMask);
  FreeAlpha(run.mask);
  GlobalFree(run.image);
}

TEST(Resample, SlidersGoDownToOnePixel) {
  PluginModule plugin("BXCOMM2.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  run.Run(plugin.Effect("ProcessZoom"), [&](ScriptedUser& user, EffectRun& r) {
    MoveSlider(user, r, 501, 0);  // below the range: the slider stops at 1
    MoveSlider(user, r, 502, 1);
    ApplyThenClose(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(PictureWidth(run.image), 1);
  EXPECT_EQ(PictureHeight(run.image), 1);
  GlobalFree(run.image);
}

TEST(Tileable, ApplyFoldsThePictureAndCancelPutsItBack) {
  PluginModule plugin("BXCOMM2.PL1");
  for (const bool accept : {true, false}) {
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    const std::vector<uint8_t> original = DibPixels(run.image);
    run.Run(plugin.Effect("ProcessTileable"), [&](ScriptedUser& user, EffectRun& r) {
      ApplyThenClose(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
    });
    std::vector<uint8_t> expect(original.size());
    if (accept) animation::MakeSeamless(original.data(), expect.data(), kW, kH, kStride);
    else expect = original;
    EXPECT_EQ(DibPixels(run.image), expect) << (accept ? "OK" : "Cancel");
    GlobalFree(run.image);
  }
}

TEST(DragWarp, ADragWarpsUndoAndRestoreBringBackAndCancelPutsBack) {
  PluginModule plugin("BXCOMM2.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  run.mask = AllocAlpha(run.image);
  for (int i = 0; i < kW * kH; ++i) run.mask[i] = uint8_t(i * 11);
  BYTE* passedMask = run.mask;
  const std::vector<uint8_t> original = DibPixels(run.image);
  const std::vector<uint8_t> originalMask(run.mask, run.mask + kW * kH);
  std::vector<uint8_t> afterFirst, afterSecond, afterUndo, afterRestore, maskAfterFirst;
  bool undoOffAtStart = false, undoOffAfterUndo = false;
  auto grab = [&run](std::vector<uint8_t>& into) {
    return [&run, &into] {
      into = DibPixels(run.image);
      return true;
    };
  };
  run.Run(plugin.Effect("ProcessALWarp"), [&](ScriptedUser& user, EffectRun& r) {
    user.Then([&] {
      if (!r.dialog) return false;
      undoOffAtStart = !IsWindowEnabled(r.Item(325)) && !IsWindowEnabled(r.Item(313));
      return true;
    });
    ForwardMouse(user, r, TOOL_LBUTTON_DOWN, 10, 8);
    ForwardMouse(user, r, TOOL_MOUSE_MOVE, 13, 10);
    ForwardMouse(user, r, TOOL_MOUSE_MOVE, 200, 10);  // outside: the end stays
    ForwardMouse(user, r, TOOL_LBUTTON_UP, 14, 12);
    user.WaitTicks(1);
    user.Then(grab(afterFirst));
    user.Then([&] {
      maskAfterFirst.assign(r.mask, r.mask + kW * kH);
      return true;
    });
    ForwardMouse(user, r, TOOL_LBUTTON_DOWN, 30, 20);
    ForwardMouse(user, r, TOOL_LBUTTON_UP, 26, 20);
    user.WaitTicks(1);
    user.Then(grab(afterSecond));
    Press(user, r, 325);
    user.WaitTicks(1);
    user.Then(grab(afterUndo));
    user.Then([&] {
      undoOffAfterUndo = !IsWindowEnabled(r.Item(325));
      return true;
    });
    Press(user, r, 313);
    user.WaitTicks(1);
    user.Then(grab(afterRestore));
    ForwardMouse(user, r, TOOL_LBUTTON_DOWN, 5, 5);
    ForwardMouse(user, r, TOOL_LBUTTON_UP, 9, 5);
    user.WaitTicks(1);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_TRUE(undoOffAtStart);
  // The first drag, in memory rows (bottom-up): (10, 8) -> (14, 12) from the top.
  std::vector<uint8_t> expect = original, expectMask = originalMask;
  bxcomm2::DragWarp({original.data(), expect.data(), kW, kH, kStride, originalMask.data(), expectMask.data()},
                    {10, kH - 1 - 8}, {14, kH - 1 - 12});
  ASSERT_NE(expect, original);
  EXPECT_EQ(afterFirst, expect);
  EXPECT_EQ(maskAfterFirst, expectMask);
  EXPECT_NE(afterSecond, afterFirst);
  EXPECT_EQ(afterUndo, afterFirst) << "undo takes back the last drag only";
  EXPECT_TRUE(undoOffAfterUndo);
  EXPECT_EQ(afterRestore, original);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(DibPixels(run.image), original);
  EXPECT_EQ(run.mask, passedMask);
  EXPECT_EQ(std::vector<uint8_t>(run.mask, run.mask + kW * kH), originalMask);
  FreeAlpha(run.mask);
  GlobalFree(run.image);
}

}  // namespace
