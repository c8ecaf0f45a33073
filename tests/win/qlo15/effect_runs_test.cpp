// Snow, Rain, Cloud and FireWork run as a user would: each plays at once
// with the generator seeded from the clock, ignores OK while it plays, and
// Stop then OK keeps the last frame (the kernels' frame for one of the
// seconds the run spanned), Stop then Cancel gives the picture back
// exactly. Sliders and the sky box change the setting, its label and the
// block the item queries hand out; stored blocks are taken (hidden runs
// too) or, when hostile, ignored or clamped; the saver's 20th ticks draw
// new counts for Snow and Rain.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "contracts/ui_controls.h"
#include "plugins/qlo15/kernels/cloud.h"
#include "plugins/qlo15/kernels/firework.h"
#include "plugins/qlo15/kernels/rain.h"
#include "plugins/qlo15/kernels/snow.h"
#include "tests/win/qlo12/animation_steps.h"
#include "tests/win/qlo15/qlo15_runs.h"

namespace quillo::test {
namespace {

using namespace qlo15;

constexpr int kW = 96, kH = 72;
constexpr int64_t kStride = (kW * 24 + 31) / 32 * 4;

std::vector<uint8_t> Original(int w = kW, int h = kH) { return TestPicturePixels(w, h); }

// The settings a replay uses: two or three slider values and the sky box.
struct Settings {
  int a = 0, b = 0, c = 0;
  int scrolled = 0;  // Cloud: frames of earlier plays (the scroll lives on)
};

// The frame `frames` frames into a play seeded with `seed`.
std::vector<uint8_t> Replay(const std::string& function, uint32_t seed, int frames, Settings s) {
  const std::vector<uint8_t> source = Original();
  std::vector<uint8_t> out = source;
  RuntimeRandom random(seed);
  if (function == "ProcessSnow") {
    auto snow = std::make_unique<SnowState>();
    SetSnowCounts(*snow, s.a, s.b);
    for (int k = 0; k < frames; ++k) SnowFrame(*snow, source.data(), out.data(), kW, kH, kStride, random);
  } else if (function == "ProcessRain") {
    auto rain = std::make_unique<RainState>();
    SetRainDrops(*rain, s.a, false);
    StartRain(*rain);
    for (int k = 0; k < frames; ++k) RainFrame(*rain, source.data(), out.data(), kW, kH, kStride, random);
  } else if (function == "ProcessCloud") {
    auto cloud = std::make_unique<CloudState>();
    SetCloudShape(*cloud, s.a, s.b);
    cloud->sky = s.c != 0;
    cloud->s0 = (2 * s.scrolled) & 255;
    cloud->s1 = (3 * s.scrolled) & 255;
    for (int k = 0; k < frames; ++k) CloudFrame(*cloud, source.data(), out.data(), kW, kH, kStride, random);
  } else {
    auto fire = std::make_unique<FireworkState>();
    SetFirework(*fire, s.a, s.b, s.c);
    for (int k = 0; k < frames; ++k) FireworkFrame(*fire, source.data(), out.data(), kW, kH, kStride, random);
  }
  return out;
}

// True when a seed of the seconds [from, to] gives `frame`.
bool SomeSecondGives(const std::string& function, time_t from, time_t to, int frames, Settings s,
                     const std::vector<uint8_t>& frame) {
  for (time_t t = from; t <= to; ++t)
    if (Replay(function, uint32_t(t), frames, s) == frame) return true;
  return false;
}

struct Effect {
  const char* function;
  Settings defaults;
};
// FireWork's launch height for a picture 72 rows high is 10.
const Effect kEffects[] = {{"ProcessSnow", {1000, 5, 0}},
                           {"ProcessRain", {100, 0, 0}},
                           {"ProcessCloud", {4, 2, 0}},
                           {"ProcessFireWork", {20, 20, 10}}};

TEST(Qlo15Runs, EachPlaysAtOnceIgnoresOkWhilePlayingAndStopThenOkOrCancelSettles) {
  PluginModule plugin("Qlo15.PL1");
  const std::vector<uint8_t> original = Original();
  for (const Effect& e : kEffects) {
    const bool snow = std::string(e.function) == "ProcessSnow";
    const bool firework = std::string(e.function) == "ProcessFireWork";
    for (const bool accept : {true, false}) {
      SCOPED_TRACE(std::string(e.function) + (accept ? " OK" : " Cancel"));
      EffectRun run;
      run.image = MakeTestPicture(kW, kH);
      std::vector<uint8_t> lastFrame;
      int frames = 0, redrawn = 0;
      bool playingAfterOk = false, hintWhilePlaying = false, hintAfter = true;
      std::string stopLabel, cancelLabel;
      const time_t from = time(nullptr);
      run.Run(plugin.Effect(e.function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 3);
        user.Then([&] { return IsPlaying(r); });
        user.Command(&r.dialog, IDC_EFFECT_OK);
        // Some seeds draw nothing for a while (Rain's first drop still
        // waiting to land, a rocket launched at the picture's edge).
        user.Then([&] {
          const int n = r.host.Count(EM_NEW_FRAME);
          return n >= 8 && (DibPixels(r.image) != original || n > 80);
        });
        user.Then([&] {
          playingAfterOk = IsPlaying(r);
          stopLabel = ItemText(r, IDC_EFFECT_CANCEL);
          hintWhilePlaying = IsWindowVisible(r.Item(IDC_EFFECT_PROGRESS)) != FALSE;
          redrawn = r.host.Count(VM_REDRAW);
          return true;
        });
        StopAndNoteFrame(user, r, lastFrame, frames);
        user.Then([&] {
          redrawn = r.host.Count(VM_REDRAW) - redrawn;
          cancelLabel = ItemText(r, IDC_EFFECT_CANCEL);
          hintAfter = IsWindowVisible(r.Item(IDC_EFFECT_PROGRESS)) != FALSE;
          return true;
        });
        Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
      });
      const time_t to = time(nullptr);
      EXPECT_EQ(run.result, accept ? 1 : 0);
      EXPECT_TRUE(playingAfterOk) << "OK while playing is ignored";
      EXPECT_EQ(stopLabel, "&Stop");
      EXPECT_EQ(cancelLabel, "Cancel");
      EXPECT_EQ(hintWhilePlaying, snow);
      EXPECT_FALSE(hintAfter);
      EXPECT_GE(redrawn, 1) << "the view redraws the frame playing stopped at";
      // Rockets launched by some seeds burst above this small picture for
      // a long while; the frame is still checked against the kernel below.
      if (!firework) EXPECT_NE(lastFrame, original);
      EXPECT_TRUE(SomeSecondGives(e.function, from, to, frames, e.defaults, lastFrame));
      // Snow lays the view out again at the start.
      EXPECT_EQ(run.host.Count(VM_RELAYOUT), snow ? 1 : 0);
      ASSERT_NE(run.image, nullptr);
      EXPECT_EQ(DibPixels(run.image), accept ? lastFrame : original);
      GlobalFree(run.image);
    }
  }
}

// Each slider (and the sky box) as a user moves it: the label follows, the
// handed block holds it, and the next play draws with it.
TEST(Qlo15Runs, SlidersAndTheSkyBoxChangeTheSettingsLabelsBlocksAndFrames) {
  PluginModule plugin("Qlo15.PL1");
  struct Move { int id, position; };
  struct Case {
    const char* function;
    std::vector<Move> moves;
    Settings after;
    std::vector<uint8_t> blockBefore, blockAfter;  // empty: no block handed out
    bool sky;
  };
  const Case cases[] = {
      {"ProcessSnow", {{501, 40}, {502, 17}}, {40, 17, 0}, Block(kSnowBlobMagic, {1000, 5}),
       Block(kSnowBlobMagic, {40, 17}), false},
      {"ProcessRain", {{501, 7}}, {7, 0, 0}, Block(kRainBlobMagic, {100}), Block(kRainBlobMagic, {7}), false},
      {"ProcessCloud", {{501, 30}, {502, 9}}, {30, 9, 1}, Block(kCloudBlobMagic, {4, 2, 0}),
       Block(kCloudBlobMagic, {30, 9, 1}), true},
      {"ProcessFireWork", {{501, 3}, {502, 50}, {503, 200}}, {3, 50, 200}, {}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.function);
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    int firstPlay = 0, both = 0;
    std::vector<std::string> labels;
    HandedBlock before, after;
    std::vector<uint8_t> lastFrame;
    time_t from = 0;
    run.Run(plugin.Effect(c.function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      user.Then([&] {
        before = AskForBlock(r);
        return true;
      });
      StopPlaying(user, r);
      for (const Move& m : c.moves) MoveSlider(user, r, m.id, m.position);
      if (c.sky) ClickButton(user, r, 601);
      user.Then([&] {
        for (const Move& m : c.moves) labels.push_back(ItemText(r, m.id + 200));
        after = AskForBlock(r);
        firstPlay = r.host.Count(EM_NEW_FRAME);
        from = time(nullptr);
        return true;
      });
      PlayOnAndNoteFrame(user, r, 7, lastFrame, both);
      Press(user, r, IDC_EFFECT_OK);
    });
    const time_t to = time(nullptr);
    EXPECT_EQ(run.result, 1);
    for (size_t k = 0; k < c.moves.size(); ++k) EXPECT_EQ(labels[k], std::to_string(c.moves[k].position));
    EXPECT_EQ(before.bytes, c.blockBefore);
    EXPECT_EQ(after.bytes, c.blockAfter);
    EXPECT_EQ(before.count, c.blockBefore.empty() ? 0u : 1u);
    EXPECT_EQ(before.kind, c.blockBefore.empty() ? 0u : 1u);
    EXPECT_EQ(DibPixels(run.image), lastFrame);
    // Snow's flakes live on from the first play; the others start anew.
    if (std::string(c.function) != "ProcessSnow") {
      Settings s = c.after;
      s.scrolled = firstPlay;
      EXPECT_TRUE(SomeSecondGives(c.function, from, to, both - firstPlay, s, lastFrame));
    }
    if (c.sky) {
      int blue = 0;
      for (int x = 0; x < kW; ++x) blue += lastFrame[size_t(x * 3)] == 255;
      EXPECT_EQ(blue, kW) << "the sky is blue";
    }
    GlobalFree(run.image);
  }
}

// Stored blocks are taken with the dialog hidden or shown; another
// effect's block or a wrong size fall back to the defaults, out-of-range
// values are clamped. Every 20th saver tick draws Snow's and Rain's counts
// anew; Cloud and FireWork ignore ticks and FireWork hands out no block.
TEST(Qlo15Runs, StoredBlocksHiddenRunsTicksAndHostileBlocks) {
  PluginModule plugin("Qlo15.PL1");
  struct Case {
    const char* function;
    std::vector<uint8_t> block;
    bool hidden;
    std::vector<int> sliders;  // expected positions of 501, 502, ...
    bool ticks;
  };
  const Case cases[] = {
      {"ProcessSnow", Block(kSnowBlobMagic, {300, 7}), true, {300, 7}, true},
      {"ProcessRain", Block(kRainBlobMagic, {2000}), true, {2000}, true},
      {"ProcessCloud", Block(kCloudBlobMagic, {10, 5, 1}), true, {10, 5}, false},
      {"ProcessSnow", Block(kRainBlobMagic, {300, 7}), false, {1000, 5}, true},
      {"ProcessSnow", Block(kSnowBlobMagic, {300, 7}, 12), false, {1000, 5}, true},
      {"ProcessSnow", Block(kSnowBlobMagic, {0x7FFFFFFF, -1}), true, {5000, 0}, true},
      {"ProcessRain", Block(kRainBlobMagic, {-5}), false, {1}, true},
      {"ProcessRain", Block(kRainBlobMagic, {50}, 0x7FFFFFFF), false, {100}, true},
      {"ProcessCloud", Block(kCloudBlobMagic, {0, 1000, 77}), false, {1, 10}, false},
      {"ProcessFireWork", Block(kSnowBlobMagic, {3, 3}), true, {20, 20, 10}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.function) + " " + std::to_string(c.sliders[0]));
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    run.context[kHostNoDialog] = c.hidden ? 1 : 0;
    run.context[kHostParameters] = UINT_PTR(c.block.data());
    bool visible = !c.hidden;
    std::vector<int> sliders, afterTick19, afterTick20;
    LRESULT tickAnswer = -1;
    HandedBlock handed;
    bool sky = false;
    auto read = [&](EffectRun& r) {
      std::vector<int> v;
      for (size_t k = 0; k < c.sliders.size(); ++k) v.push_back(SliderAt(r, int(501 + k)));
      return v;
    };
    run.Run(plugin.Effect(c.function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 3);
      user.Then([&] {
        visible = IsWindowVisible(r.dialog) != FALSE;
        sliders = read(r);
        sky = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
        handed = AskForBlock(r);
        tickAnswer = SendMessageA(r.dialog, EM_SAVER_TICK, 0, 19);
        afterTick19 = read(r);
        SendMessageA(r.dialog, EM_SAVER_TICK, 0, 20);
        afterTick20 = read(r);
        return true;
      });
      WaitFrames(user, r, 6);
      StopPlaying(user, r);
      Press(user, r, IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(visible, !c.hidden);
    EXPECT_EQ(sliders, c.sliders);
    EXPECT_EQ(tickAnswer, c.ticks ? 1 : 0);
    EXPECT_EQ(afterTick19, c.sliders) << "only every 20th tick counts";
    const std::string f = c.function;
    if (f == "ProcessSnow") {
      EXPECT_GE(afterTick20[0], 200);
      EXPECT_LT(afterTick20[0], 1200);
      EXPECT_GE(afterTick20[1], 2);
      EXPECT_LT(afterTick20[1], 12);
    } else if (f == "ProcessRain") {
      EXPECT_GE(afterTick20[0], 30);
      EXPECT_LT(afterTick20[0], 230);
    } else {
      EXPECT_EQ(afterTick20, c.sliders);
    }
    if (f == "ProcessCloud") {
      EXPECT_TRUE(sky);
      EXPECT_EQ(handed.bytes, Block(kCloudBlobMagic, {c.sliders[0], c.sliders[1], 1}));
    } else if (f == "ProcessFireWork") {
      EXPECT_EQ(handed.answer, 0);
      EXPECT_TRUE(handed.bytes.empty());
    } else {
      EXPECT_EQ(handed.count, 1u);
      ASSERT_GE(handed.bytes.size(), 12u);
      int32_t first = 0;
      std::memcpy(&first, handed.bytes.data() + 8, 4);
      EXPECT_EQ(first, c.sliders[0]) << "the block is handed out as stored";
    }
    EXPECT_EQ(DibPixels(run.image), Original());
    GlobalFree(run.image);
  }
}

// Rain refuses pictures two rows high or less with result 0 and the
// picture untouched; a 5 x 3 picture plays.
TEST(Qlo15Runs, RainRefusesPicturesTwoRowsHighAndPlaysTinyOnes) {
  PluginModule plugin("Qlo15.PL1");
  for (const auto& [w, h] : {std::pair{40, 2}, {1, 1}}) {
    EffectRun run;
    run.image = MakeTestPicture(w, h);
    HGLOBAL passed = run.image;
    const std::vector<uint8_t> before = DibPixels(run.image);
    run.Run(plugin.Effect("ProcessRain"), [](ScriptedUser&, EffectRun&) {});
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.image, passed);
    EXPECT_EQ(DibPixels(run.image), before);
    EXPECT_EQ(run.dialog, nullptr);
    GlobalFree(run.image);
  }
  for (const char* function : {"ProcessRain", "ProcessSnow", "ProcessCloud", "ProcessFireWork"}) {
    SCOPED_TRACE(function);
    EffectRun run;
    run.image = MakeTestPicture(5, 3);
    run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 25);
      StopPlaying(user, r);
      Press(user, r, IDC_EFFECT_OK);
    });
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(PictureWidth(run.image), 5);
    GlobalFree(run.image);
  }
}

}  // namespace
}  // namespace quillo::test
