// The neighbourhood filters through their real dialogs: what the sliders
// and boxes do to the picture (checked against the kernels run here on the
// same pixels), the selection as the area, and how each one starts.
#include <gtest/gtest.h>

#include <functional>

#include "contracts/ui_controls.h"
#include "plugin_harness.h"
#include "plugins/bxcomm1/kernels/bleed.h"
#include "plugins/bxcomm1/kernels/contrast_stretch.h"
#include "plugins/bxcomm1/kernels/hulling.h"
#include "plugins/bxcomm1/kernels/edge_filter.h"
#include "plugins/bxcomm1/kernels/gauss_blur.h"
#include "plugins/bxcomm1/kernels/sharpen.h"
#include "plugins/bxcomm1/kernels/unsharp.h"

using namespace quillo;
using namespace quillo::test;

namespace {

constexpr int kW = 37, kH = 29;

// The kernel's result on a copy of `original` over the area (bottom-up rows).
std::vector<uint8_t> Expected(const std::vector<uint8_t>& original, int c0, int c1, int r0, int r1,
                              const std::function<void(const PixelPass&)>& kernel) {
  std::vector<uint8_t> target = original;
  PixelPass pass;
  pass.source = original.data();
  pass.target = target.data();
  pass.width = kW;
  pass.height = kH;
  pass.stride = ((kW * 24 + 31) / 32) * 4;
  pass.colBegin = c0, pass.colEnd = c1, pass.rowBegin = r0, pass.rowEnd = r1;
  kernel(pass);
  return target;
}

// Moves slider `id` to `position` (a finished drag), applies, accepts.
void SlideApplyAccept(ScriptedUser& user, EffectRun& run, int id, int position) {
  MoveSlider(user, run, id, position);
  WaitIdle(user, run);
  ApplyThenClose(user, run, IDC_EFFECT_OK);
}

struct FilterTest : ::testing::Test {
  PluginModule plugin{"BXCOMM1.PL1"};
  EffectRun run;
  std::vector<uint8_t> original;
  void SetUp() override {
    run.image = MakeTestPicture(kW, kH);
    original = DibPixels(run.image);
  }
  void TearDown() override { GlobalFree(run.image); }
};

TEST_F(FilterTest, UnsharpSharpensTheSelectionOnly) {
  // Selection rows 4 .. 20 from the top are memory rows 9 .. 25.
  run.selectionGiven = true;
  const INT32 selection[4] = {3, 4, 30, 20};
  std::copy(selection, selection + 4, run.selection);
  run.Run(plugin.Effect("ProcessUnsharp"), [](ScriptedUser& user, EffectRun& r) {
    SlideApplyAccept(user, r, 502, 30);  // amount 3.0
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(DibPixels(run.image), Expected(original, 3, 30, kH - 20, kH - 4, [](const PixelPass& p) {
              const UnsharpKernel kernel(5.0);
              kernel.BlurRows(p, 0, kH);
              kernel.BlurColumns(p, 0, kW);
              UnsharpKernel::Combine(p, 3.0, 0, 0, kH);
            }));
}

TEST_F(FilterTest, GaussianBlurAlongColumnsOnlyWhenRowsAreOff) {
  run.Run(plugin.Effect("ProcessGaussrle"), [](ScriptedUser& user, EffectRun& r) {
    ClickButton(user, r, 601);  // rows off
    WaitIdle(user, r);
    SlideApplyAccept(user, r, 501, 25);  // radius 2.5
  });
  EXPECT_EQ(DibPixels(run.image), Expected(original, 0, kW, 0, kH, [](const PixelPass& p) {
              CopyPassSource(p);
              BlurAreaColumns(p, GaussCurve(2.5), 0, kW);
            }));
}

TEST_F(FilterTest, BleedFullyTowardGreyOnRedAndGreen) {
  run.Run(plugin.Effect("ProcessBleed"), [](ScriptedUser& user, EffectRun& r) {
    ClickButton(user, r, 603);  // blue off
    WaitIdle(user, r);
    SlideApplyAccept(user, r, 501, 100);
  });
  EXPECT_EQ(DibPixels(run.image), Expected(original, 0, kW, 0, kH, [](const PixelPass& p) {
              RunBleed(p, {1.0, true, true, false}, 0, kH);
            }));
}

TEST_F(FilterTest, EdgeRunsAsSoonAsItOpensAndAgainAfterTheDivisorMoves) {
  std::vector<uint8_t> atOpen;
  run.Run(plugin.Effect("ProcessEdge"), [&](ScriptedUser& user, EffectRun& r) {
    user.Then([&] { return r.host.Count(VM_REDRAW) > 0; });
    WaitIdle(user, r);
    user.Then([&] {
      atOpen = DibPixels(r.image);
      return true;
    });
    MoveSlider(user, r, 501, 1);
    WaitIdle(user, r);
    user.Then([&] { return r.host.Count(VM_REDRAW) > 1; });
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(atOpen, Expected(original, 0, kW, 0, kH, [](const PixelPass& p) { RunEdge(p, 6, 0, kH); }));
  EXPECT_EQ(DibPixels(run.image),
            Expected(original, 0, kW, 0, kH, [](const PixelPass& p) { RunEdge(p, 1, 0, kH); }));
}

TEST_F(FilterTest, DespeckleWaitsForApplyAndCancelGivesThePictureBack) {
  std::vector<uint8_t> beforeApply, afterApply;
  run.Run(plugin.Effect("ProcessDespeckle2"), [&](ScriptedUser& user, EffectRun& r) {
    MoveSlider(user, r, 501, 7);
    WaitIdle(user, r);
    user.Then([&] {
      beforeApply = DibPixels(r.image);
      return true;
    });
    Press(user, r, IDC_EFFECT_APPLY);
    WaitIdle(user, r);
    user.WaitTicks(1).Then([&] {
      afterApply = DibPixels(r.image);
      return true;
    });
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(beforeApply, original);
  EXPECT_EQ(afterApply, Expected(original, 0, kW, 0, kH, [](const PixelPass& p) {
              DespeckleGrids grids;
              ASSERT_TRUE(grids.Load(p));
              for (int c = 0; c < 3; ++c) grids.Run(c);
              grids.Store(p);
            }));
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(DibPixels(run.image), original);
}

TEST_F(FilterTest, SharpenAtItsStrongestLeavesFlatAreasAndSharpensEdges) {
  run.Run(plugin.Effect("ProcessSharpen"), [](ScriptedUser& user, EffectRun& r) {
    SlideApplyAccept(user, r, 501, 100);
  });
  EXPECT_EQ(DibPixels(run.image),
            Expected(original, 0, kW, 0, kH, [](const PixelPass& p) { RunSharpen(p, 100, 0, kH); }));
}

TEST_F(FilterTest, ContrastStretchRunsAtOnceAndAgainForEachMethod) {
  std::vector<uint8_t> atOpen;
  run.Run(plugin.Effect("ProcessCStretch"), [&](ScriptedUser& user, EffectRun& r) {
    user.Then([&] { return r.host.Count(VM_REDRAW) > 0; });
    WaitIdle(user, r);
    user.Then([&] {
      atOpen = DibPixels(r.image);
      return true;
    });
    ClickButton(user, r, 802);
    WaitIdle(user, r);
    user.Then([&] { return r.host.Count(VM_REDRAW) > 1; });
    Press(user, r, IDC_EFFECT_OK);
  });
  auto stretched = [](StretchMethod method) {
    return [method](const PixelPass& p) {
      ContrastStretch s(method);
      s.Measure(p);
      s.Write(p);
    };
  };
  EXPECT_EQ(atOpen, Expected(original, 0, kW, 0, kH, stretched(StretchMethod::kSaturationValue)));
  EXPECT_EQ(DibPixels(run.image), Expected(original, 0, kW, 0, kH, stretched(StretchMethod::kPerChannel)));
}

}  // namespace
