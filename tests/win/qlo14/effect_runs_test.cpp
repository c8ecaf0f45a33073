// Gloop and Lake run as a user would: each plays at once and ignores OK
// while it plays; Stop then OK keeps the last frame, Stop then Cancel gives
// the picture back exactly; the slider changes the setting, its label and
// the block the item queries hand out; stored blocks are taken (hidden runs
// too) or, when hostile, ignored or clamped; a mouse report over the view
// pokes the jelly where it points.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "contracts/ui_controls.h"
#include "plugins/qlo14/kernels/gloop.h"
#include "plugins/qlo14/kernels/lake.h"
#include "tests/win/qlo12/animation_steps.h"

namespace quillo::test {
namespace {

constexpr int kW = 96, kH = 72;
constexpr int64_t kStride = (kW * 24 + 31) / 32 * 4;

std::vector<uint8_t> Original(int w = kW, int h = kH) { return TestPicturePixels(w, h); }

// Lake's frame after `frames` frames of one play with `period`.
std::vector<uint8_t> LakeAfter(int frames, int period) {
  const std::vector<uint8_t> source = Original();
  std::vector<uint8_t> out = source;
  qlo14::LakeState s;
  qlo14::SetLakePeriod(s, period);
  for (int k = 0; k < frames; ++k) qlo14::LakeFrame(s, source.data(), out.data(), kW, kH, kStride);
  return out;
}

std::vector<uint8_t> Block(uint32_t magic, int32_t size, int32_t value) {
  std::vector<uint8_t> block(12);
  std::memcpy(block.data(), &magic, 4);
  std::memcpy(block.data() + 4, &size, 4);
  std::memcpy(block.data() + 8, &value, 4);
  return block;
}


// The block the item queries hand out, read while the effect runs.

TEST(Qlo14Runs, EachPlaysAtOnceIgnoresOkWhilePlayingAndStopThenOkOrCancelSettles) {
  PluginModule plugin("Qlo14.PL1");
  const std::vector<uint8_t> original = Original();
  for (const char* function : {"ProcessGloop", "ProcessLake"}) {
    const bool lake = std::string(function) == "ProcessLake";
    for (const bool accept : {true, false}) {
      SCOPED_TRACE(std::string(function) + (accept ? " OK" : " Cancel"));
      EffectRun run;
      run.image = MakeTestPicture(kW, kH);
      std::vector<uint8_t> lastFrame;
      int frames = 0, redrawn = 0;
      bool playingAfterOk = false;
      run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 3);
        user.Then([&] { return IsPlaying(r); });
        user.Command(&r.dialog, IDC_EFFECT_OK);
        WaitFrames(user, r, 8);
        user.Then([&] {
          playingAfterOk = IsPlaying(r);
          redrawn = r.host.Count(VM_REDRAW);
          return true;
        });
        StopAndNoteFrame(user, r, lastFrame, frames);
        user.Then([&] {
          redrawn = r.host.Count(VM_REDRAW) - redrawn;
          return true;
        });
        Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
      });
      EXPECT_EQ(run.result, accept ? 1 : 0);
      EXPECT_TRUE(playingAfterOk) << "OK while playing is ignored";
      EXPECT_GE(redrawn, 1) << "the view redraws the frame playing stopped at";
      EXPECT_NE(lastFrame, original);
      if (lake) {
        EXPECT_EQ(lastFrame, LakeAfter(frames, qlo14::kLakeDefaultPeriod));
      }
      ASSERT_NE(run.image, nullptr);
      EXPECT_EQ(DibPixels(run.image), accept ? lastFrame : original);
      // Gloop shows the hand over the view and takes it back at the end.
      int cursorsSet = 0, cursorsCleared = 0;
      for (const auto& m : run.host.messages())
        if (m.message == VM_SET_CURSOR) (m.wParam ? cursorsSet : cursorsCleared)++;
      EXPECT_EQ(cursorsSet, lake ? 0 : 1);
      EXPECT_EQ(cursorsCleared, lake ? 0 : 1);
      GlobalFree(run.image);
    }
  }
}

TEST(Qlo14Runs, TheSliderChangesTheSettingItsLabelAndTheHandedBlock) {
  PluginModule plugin("Qlo14.PL1");
  struct Case { const char* function; uint32_t magic; int start, position; };
  for (const Case& c : {Case{"ProcessLake", qlo14::kLakeBlobMagic, 15, 5},
                        Case{"ProcessGloop", qlo14::kGloopBlobMagic, 250, 120}}) {
    SCOPED_TRACE(c.function);
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    int startSlider = 0, firstPlay = 0, both = 0;
    std::string startLabel, label;
    HandedBlock before, after;
    std::vector<uint8_t> lastFrame;
    run.Run(plugin.Effect(c.function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      user.Then([&] {
        startSlider = SliderAt(r, 501);
        startLabel = ItemText(r, 701);
        before = AskForBlock(r);
        return true;
      });
      StopPlaying(user, r);
      user.Then([&] {
        firstPlay = r.host.Count(EM_NEW_FRAME);
        return true;
      });
      MoveSlider(user, r, 501, c.position);
      user.Then([&] {
        label = ItemText(r, 701);
        after = AskForBlock(r);
        return true;
      });
      PlayOnAndNoteFrame(user, r, 7, lastFrame, both);
      Press(user, r, IDC_EFFECT_OK);
    });
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(startSlider, c.start);
    EXPECT_EQ(startLabel, std::to_string(c.start));
    EXPECT_EQ(label, std::to_string(c.position));
    EXPECT_EQ(before.supported, 1u);
    EXPECT_EQ(before.count, 1u);
    EXPECT_EQ(before.kind, 1u);
    EXPECT_EQ(before.bytes, Block(c.magic, 12, c.start));
    EXPECT_EQ(after.bytes, Block(c.magic, 12, c.position));
    if (c.function == std::string("ProcessLake")) {
      EXPECT_EQ(lastFrame, LakeAfter(both - firstPlay, c.position)) << "the second play starts at frame 0";
      EXPECT_NE(LakeAfter(both - firstPlay, c.position), LakeAfter(both - firstPlay, c.start));
    }
    EXPECT_EQ(DibPixels(run.image), lastFrame);
    GlobalFree(run.image);
  }
}

// Stored blocks are taken with the dialog hidden or shown; another
// effect's block, a wrong size or out-of-range values fall back to the
// default or are clamped.
TEST(Qlo14Runs, StoredBlocksAreTakenHiddenOrShownAndHostileOnesFallBackOrClamp) {
  PluginModule plugin("Qlo14.PL1");
  using qlo14::kGloopBlobMagic, qlo14::kLakeBlobMagic;
  struct Case {
    const char* function;
    std::vector<uint8_t> block;
    bool hidden;
    int expected;
  };
  const Case cases[] = {
      {"ProcessLake", Block(kLakeBlobMagic, 12, 7), true, 7},
      {"ProcessGloop", Block(kGloopBlobMagic, 12, 77), true, 77},
      {"ProcessLake", Block(kGloopBlobMagic, 12, 40), false, 15},
      {"ProcessLake", Block(kLakeBlobMagic, 0x7FFFFFFF, 40), false, 15},
      {"ProcessLake", Block(kLakeBlobMagic, 12, -3), true, 5},
      {"ProcessGloop", Block(kGloopBlobMagic, 8, 100), false, 250},
      {"ProcessGloop", Block(kGloopBlobMagic, 12, 100000), false, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.function) + " " + std::to_string(c.expected));
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    run.context[kHostNoDialog] = c.hidden ? 1 : 0;
    run.context[kHostParameters] = UINT_PTR(c.block.data());
    bool visible = !c.hidden;
    int slider = 0, frames = 0;
    LRESULT tickAnswer = -1;
    std::vector<uint8_t> lastFrame;
    run.Run(plugin.Effect(c.function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 4);
      user.Then([&] {
        visible = IsWindowVisible(r.dialog) != FALSE;
        slider = SliderAt(r, 501);
        tickAnswer = SendMessageA(r.dialog, EM_SAVER_TICK, 0, 1);
        return true;
      });
      StopAndNoteFrame(user, r, lastFrame, frames);
      Press(user, r, IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(visible, !c.hidden);
    EXPECT_EQ(slider, c.expected);
    EXPECT_EQ(tickAnswer, 0) << "neither effect uses the saver's ticks";
    if (c.function == std::string("ProcessLake")) {
      EXPECT_EQ(lastFrame, LakeAfter(frames, c.expected));
    }
    EXPECT_EQ(DibPixels(run.image), Original());
    GlobalFree(run.image);
  }
}

// With the mouse still the jelly comes to rest on the exact picture (some
// 40 frames, 1.5 s) before the wandering poke starts (3 idle seconds); a
// mouse report then pokes the cell it points at, and only the cells
// touching that cell's nodes move.
TEST(Qlo14Runs, GloopSettlesThenAMouseReportPokesWhereItPoints) {
  PluginModule plugin("Qlo14.PL1");
  constexpr int w = 300, h = 200;
  const int64_t stride = (w * 24 + 31) / 32 * 4;
  const std::vector<uint8_t> original = Original(w, h);
  const std::vector<uint8_t> block = Block(qlo14::kGloopBlobMagic, 12, 50);
  EffectRun run;
  run.image = MakeTestPicture(w, h);
  run.context[kHostParameters] = UINT_PTR(block.data());
  bool settled = false;
  int pokedAt = 0, equalSince = -1;
  std::vector<uint8_t> poked;
  run.Run(plugin.Effect("ProcessGloop"), [&](ScriptedUser& user, EffectRun& r) {
    // The nodes swing nearly together, so the picture passes through the
    // exact one now and then before it rests: it must stay for 6 frames.
    user.Then([&] {
      const int frames = r.host.Count(EM_NEW_FRAME);
      if (DibPixels(r.image) != original)
        equalSince = -1;
      else if (equalSince < 0)
        equalSince = frames;
      settled = equalSince >= 0 && frames - equalSince >= 6;
      return settled || frames > 120;
    });
    // View pixel (10, 189) from the top is memory row 10: the lower left cell.
    ForwardMouse(user, run, TOOL_MOUSE_MOVE, 10, 189);
    user.Then([&] {
      pokedAt = r.host.Count(EM_NEW_FRAME);
      return true;
    });
    user.Then([&] {
      if (r.host.Count(EM_NEW_FRAME) < pokedAt + 3) return false;
      poked = DibPixels(r.image);
      return true;
    });
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  ASSERT_TRUE(settled) << "the jelly did not come to rest on the picture";
  ASSERT_EQ(poked.size(), original.size());
  int nearPoke = 0, farFromPoke = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t at = size_t(y * stride + x * 3);
      const bool changed = std::memcmp(&poked[at], &original[at], 3) != 0;
      // The poked nodes (0 and 50 on both axes) reach the cells below 100.
      (x <= 100 && y <= 100 ? nearPoke : farFromPoke) += changed;
    }
  EXPECT_GT(nearPoke, 100);
  EXPECT_EQ(farFromPoke, 0);
  EXPECT_EQ(DibPixels(run.image), original);
  GlobalFree(run.image);
}

}  // namespace
}  // namespace quillo::test
