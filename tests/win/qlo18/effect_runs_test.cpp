// Rock and Magic run as a user would: each plays at once with OK disabled;
// Stop then OK keeps the last frame, Stop then Cancel gives the picture back
// exactly; the sliders change the settings, their labels and (Rock) the
// block the item queries hand out; stored blocks are taken in hidden runs
// fed with the saver's ticks, and hostile ones fall back or clamp; Magic
// refuses pictures below 50 x 50.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "contracts/ui_controls.h"
#include "plugins/qlo18/kernels/rock.h"
#include "tests/win/qlo12/animation_steps.h"

namespace quillo::test {
namespace {

constexpr int kW = 96, kH = 72;

std::vector<uint8_t> Original(int w = kW, int h = kH) { return TestPicturePixels(w, h); }

std::vector<uint8_t> RockBlock(uint32_t magic, int32_t size, int32_t count, int32_t speed) {
  std::vector<uint8_t> block(16);
  std::memcpy(block.data(), &magic, 4);
  std::memcpy(block.data() + 4, &size, 4);
  std::memcpy(block.data() + 8, &count, 4);
  std::memcpy(block.data() + 12, &speed, 4);
  return block;
}



TEST(Qlo18Runs, EachPlaysAtOnceWithOkDisabledAndStopThenOkOrCancelSettles) {
  PluginModule plugin("Qlo18.PL1");
  const std::vector<uint8_t> original = Original();
  for (const char* function : {"ProcessRock", "ProcessMagic"}) {
    const bool magic = std::string(function) == "ProcessMagic";
    for (const bool accept : {true, false}) {
      SCOPED_TRACE(std::string(function) + (accept ? " OK" : " Cancel"));
      EffectRun run;
      run.image = MakeTestPicture(kW, kH);
      std::vector<uint8_t> lastFrame;
      bool okEnabled = true, playingAfterOk = false;
      std::string stopLabel, idleLabel;
      int notifiedWhilePlaying = -1, notifiedAfterStop = -1;
      run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 3);
        user.Then([&] {
          okEnabled = IsWindowEnabled(r.Item(IDC_EFFECT_OK)) != FALSE;
          stopLabel = ItemText(r, IDC_EFFECT_CANCEL);
          notifiedWhilePlaying = r.host.Count(HOST_NOTIFY_MESSAGE);
          return true;
        });
        user.Command(&r.dialog, IDC_EFFECT_OK);
        WaitFrames(user, r, 40);
        user.Then([&] {
          playingAfterOk = IsPlaying(r);
          return true;
        });
        StopPlaying(user, r);
        user.Then([&] {
          lastFrame = DibPixels(r.image);
          idleLabel = ItemText(r, IDC_EFFECT_CANCEL);
          notifiedAfterStop = r.host.Count(HOST_NOTIFY_MESSAGE);
          return true;
        });
        Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
      });
      EXPECT_EQ(run.result, accept ? 1 : 0);
      EXPECT_FALSE(okEnabled);
      EXPECT_TRUE(playingAfterOk) << "OK while playing is ignored";
      EXPECT_EQ(stopLabel, "&Stop");
      EXPECT_EQ(idleLabel, "Cancel");
      EXPECT_EQ(notifiedWhilePlaying, 0);
      // Magic tells the host when a run ends; Rock only when cancelled.
      EXPECT_EQ(notifiedAfterStop, magic ? 1 : 0);
      // Rocks born in the first 40 frames are on the picture.
      if (!magic) {
        EXPECT_NE(lastFrame, original);
      }
      EXPECT_EQ(run.host.Count(VM_SHARE_RECT), magic ? 1 : 0);
      ASSERT_NE(run.image, nullptr);
      EXPECT_EQ(DibPixels(run.image), accept ? lastFrame : original);
      GlobalFree(run.image);
    }
  }
}

TEST(Qlo18Runs, SlidersChangeTheSettingsTheirLabelsAndRocksHandedBlock) {
  PluginModule plugin("Qlo18.PL1");
  {
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    int count = 0, speed = 0, both = 0;
    std::string countLabel, speedLabel;
    HandedBlock before, after;
    std::vector<uint8_t> lastFrame;
    run.Run(plugin.Effect("ProcessRock"), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      user.Then([&] {
        count = SliderAt(r, 501);
        speed = SliderAt(r, 502);
        before = AskForBlock(r);
        return true;
      });
      StopPlaying(user, r);
      MoveSlider(user, r, 501, 900);
      MoveSlider(user, r, 502, 250);
      user.Then([&] {
        countLabel = ItemText(r, 701);
        speedLabel = ItemText(r, 702);
        after = AskForBlock(r);
        return true;
      });
      PlayOnAndNoteFrame(user, r, 25, lastFrame, both);
      Press(user, r, IDC_EFFECT_OK);
    });
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(count, qlo18::kRockDefaultCount);
    EXPECT_EQ(speed, qlo18::kRockDefaultSpeed);
    EXPECT_EQ(before.supported, 1u);
    EXPECT_EQ(before.count, 1u);
    EXPECT_EQ(before.kind, 1u);
    EXPECT_EQ(before.bytes, RockBlock(qlo18::kRockBlobMagic, 16, 200, 100));
    EXPECT_EQ(countLabel, "900");
    EXPECT_EQ(speedLabel, "250");
    EXPECT_EQ(after.bytes, RockBlock(qlo18::kRockBlobMagic, 16, 900, 250));
    EXPECT_EQ(DibPixels(run.image), lastFrame);
    GlobalFree(run.image);
  }
  {
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    int glow = 0;
    std::string startLabel, label;
    HandedBlock handed;
    run.Run(plugin.Effect("ProcessMagic"), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      user.Then([&] {
        glow = SliderAt(r, 501);
        startLabel = ItemText(r, 701);
        handed = AskForBlock(r);
        return true;
      });
      StopPlaying(user, r);
      MoveSlider(user, r, 501, 321);
      user.Then([&] {
        label = ItemText(r, 701);
        return true;
      });
      Press(user, r, IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(glow, 150);
    EXPECT_EQ(startLabel, "1.50");
    EXPECT_EQ(label, "3.21");
    EXPECT_EQ(handed.supported, 0u) << "Magic stores no settings";
    EXPECT_EQ(DibPixels(run.image), Original());
    GlobalFree(run.image);
  }
}

// Hidden runs take a stored block and play on through the saver's ticks;
// another effect's block, a wrong size or values out of range fall back to
// the defaults or are clamped.
TEST(Qlo18Runs, HiddenRunsFromStoredBlocksPlayThroughTicksAndHostileBlocksFallBackOrClamp) {
  PluginModule plugin("Qlo18.PL1");
  using qlo18::kRockBlobMagic;
  struct Case {
    const char* function;
    std::vector<uint8_t> block;
    bool hidden;
    int count, speed;
  };
  const Case cases[] = {
      {"ProcessRock", RockBlock(kRockBlobMagic, 16, 350, 40), true, 350, 40},
      {"ProcessRock", RockBlock(kRockBlobMagic, 16, 2000000000, -5), true, 1000, 1},
      {"ProcessRock", RockBlock(kRockBlobMagic ^ 0x10, 16, 350, 40), false, 200, 100},
      {"ProcessRock", RockBlock(kRockBlobMagic, 12, 350, 40), false, 200, 100},
      {"ProcessRock", RockBlock(kRockBlobMagic, 0x7FFFFFFF, 350, 40), false, 200, 100},
      {"ProcessMagic", RockBlock(kRockBlobMagic, 16, 350, 40), true, 150, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.function) + " " + std::to_string(c.count));
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    run.context[kHostNoDialog] = c.hidden ? 1 : 0;
    run.context[kHostParameters] = UINT_PTR(c.block.data());
    bool visible = !c.hidden;
    int count = 0, speed = 0, framesAtTick = 0, framesAfterTicks = 0;
    LRESULT tickAnswer = -1;
    run.Run(plugin.Effect(c.function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 3);
      user.Then([&] {
        visible = IsWindowVisible(r.dialog) != FALSE;
        count = SliderAt(r, 501);
        speed = c.speed ? SliderAt(r, 502) : 0;
        framesAtTick = r.host.Count(EM_NEW_FRAME);
        for (int tick = 1; tick <= 20; ++tick) tickAnswer = SendMessageA(r.dialog, EM_SAVER_TICK, 0, tick);
        return true;
      });
      user.Then([&] { return r.host.Count(EM_NEW_FRAME) >= framesAtTick + 5; });
      user.Then([&] {
        framesAfterTicks = r.host.Count(EM_NEW_FRAME);
        return IsPlaying(r);
      });
      StopPlaying(user, r);
      Press(user, r, IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(visible, !c.hidden);
    EXPECT_EQ(count, c.count);
    EXPECT_EQ(speed, c.speed);
    EXPECT_EQ(tickAnswer, 0) << "the ticks are not used, the run plays on";
    EXPECT_GE(framesAfterTicks, framesAtTick + 5);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(DibPixels(run.image), Original());
    GlobalFree(run.image);
  }
}

TEST(Qlo18Runs, MagicRefusesPicturesBelowFiftyByFiftyAndLeavesThemAlone) {
  PluginModule plugin("Qlo18.PL1");
  for (auto [w, h] : {std::pair{49, 200}, std::pair{200, 49}, std::pair{1, 1}}) {
    EffectRun run;
    run.image = MakeTestPicture(w, h);
    const HGLOBAL given = run.image;
    run.Run(plugin.Effect("ProcessMagic"), [](ScriptedUser&, EffectRun&) {});
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.image, given);
    EXPECT_EQ(DibPixels(run.image), Original(w, h));
    EXPECT_EQ(run.host.Count(EM_NEW_FRAME), 0);
    GlobalFree(run.image);
  }
}

}  // namespace
}  // namespace quillo::test
