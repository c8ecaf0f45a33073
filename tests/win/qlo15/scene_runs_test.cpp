// Aquarium, Quake and Light run as a user would: each plays at once, OK is
// ignored while it plays, Stop then OK keeps the last frame (the kernels'
// frame), Stop then Cancel gives the picture back. Aquarium's sliders and a
// click in the view place the wave; its stored centre is carried over to
// the picture's size. Light's one-pixel spot adds nothing; Quake's slider
// changes nothing, and a Stop in its rest ends the run at once. Stored
// blocks, hostile ones, saver ticks and tiny pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <ctime>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "plugins/qlo15/kernels/aquarium.h"
#include "plugins/qlo15/kernels/light.h"
#include "plugins/qlo15/kernels/quake.h"
#include "tests/win/qlo12/animation_steps.h"
#include "tests/win/qlo15/qlo15_runs.h"

namespace quillo::test {
namespace {

using namespace qlo15;

constexpr int kW = 96, kH = 72;

std::vector<uint8_t> Original(int w = kW, int h = kH) { return TestPicturePixels(w, h); }

int64_t Stride(int w) { return (int64_t(w) * 24 + 31) / 32 * 4; }

// Aquarium's block: the wavelength is a double.
std::vector<uint8_t> AquariumBlock(double lambda, std::vector<int32_t> rest, int32_t size = 44) {
  std::vector<uint8_t> b = Block(kAquariumBlobMagic, {0, 0}, size);
  std::memcpy(b.data() + 8, &lambda, 8);
  for (int32_t v : rest) {
    uint8_t bytes[4];
    std::memcpy(bytes, &v, 4);
    b.insert(b.end(), bytes, bytes + 4);
  }
  return b;
}

// Aquarium's frame `frames` frames into a play (before its first rest).
std::vector<uint8_t> AquariumReplay(int frames, double lambda, int b, int speed, int cx, int cy) {
  const std::vector<uint8_t> source = Original();
  std::vector<uint8_t> out = source;
  AquariumState state;
  StartAquarium(state, kW, kH);
  SetAquariumWave(state, lambda, b, speed);
  SetAquariumCentre(state, cx, cy);
  for (int k = 0; k < frames; ++k) AquariumFrame(state, source.data(), out.data(), Stride(kW));
  return out;
}

std::vector<uint8_t> LightReplay(int frames, int size, int intensity, bool separate) {
  const std::vector<uint8_t> source = Original();
  std::vector<uint8_t> out = source;
  LightState state;
  SetLight(state, size, size, intensity, separate);
  for (int k = 0; k < frames; ++k) LightFrame(state, source.data(), out.data(), kW, kH, Stride(kW));
  return out;
}

// Quake's frame `frames` frames into a play seeded with `seed`, drawn over
// `start`.
std::vector<uint8_t> QuakeReplay(uint32_t seed, int frames, const std::vector<uint8_t>& start) {
  const std::vector<uint8_t> source = Original();
  std::vector<uint8_t> out = start;
  auto state = std::make_unique<QuakeState>();
  StartQuake(*state, kW, kH);
  CaptureQuakeBlocks(*state, source.data(), Stride(kW));
  RuntimeRandom random(seed);
  for (int k = 0; k < frames; ++k) QuakeFrame(*state, out.data(), Stride(kW), random);
  return out;
}

bool SomeSecondGivesQuake(time_t from, time_t to, int frames, const std::vector<uint8_t>& start,
                          const std::vector<uint8_t>& frame) {
  for (time_t t = from; t <= to; ++t)
    if (QuakeReplay(uint32_t(t), frames, start) == frame) return true;
  return false;
}

TEST(Qlo15SceneRuns, EachPlaysAtOnceIgnoresOkWhilePlayingAndStopThenOkOrCancelSettles) {
  PluginModule plugin("Qlo15.PL1");
  const std::vector<uint8_t> original = Original();
  for (const char* function : {"ProcessAquarium", "ProcessQuake", "ProcessLight"}) {
    for (const bool accept : {true, false}) {
      SCOPED_TRACE(std::string(function) + (accept ? " OK" : " Cancel"));
      const std::string f = function;
      EffectRun run;
      run.image = MakeTestPicture(kW, kH);
      std::vector<uint8_t> lastFrame;
      int frames = 0;
      bool playingAfterOk = false;
      const time_t from = time(nullptr);
      run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 3);
        user.Then([&] { return IsPlaying(r); });
        user.Command(&r.dialog, IDC_EFFECT_OK);
        WaitFrames(user, r, 8);
        user.Then([&] {
          playingAfterOk = IsPlaying(r);
          return true;
        });
        StopAndNoteFrame(user, r, lastFrame, frames);
        Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
      });
      const time_t to = time(nullptr);
      EXPECT_EQ(run.result, accept ? 1 : 0);
      EXPECT_TRUE(playingAfterOk);
      EXPECT_NE(lastFrame, original);
      ASSERT_LT(frames, 50) << "Aquarium's replay holds until its first rest";
      if (f == "ProcessAquarium")
        EXPECT_EQ(lastFrame, AquariumReplay(frames, 40, 50, 40, kW / 2, kH / 2));
      else if (f == "ProcessLight")
        EXPECT_EQ(lastFrame, LightReplay(frames, 300, 60, true));
      else
        EXPECT_TRUE(SomeSecondGivesQuake(from, to, frames, original, lastFrame));
      ASSERT_NE(run.image, nullptr);
      EXPECT_EQ(DibPixels(run.image), accept ? lastFrame : original);
      GlobalFree(run.image);
    }
  }
}

// After a first play: wavelength 20, amplitude 100 and the speed slider at
// 40 (speed 0); a click at (10, 5) from the top places the centre at
// memory row H - 6 and clears the wandering box. The next play's standing
// wave is the kernel's phase 512.
TEST(Qlo15SceneRuns, AquariumSlidersAndAClickInTheViewPlaceAStandingWave) {
  PluginModule plugin("Qlo15.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  HandedBlock before, after;
  std::vector<std::string> labels;
  bool boxBefore = false, boxAfter = true;
  std::vector<uint8_t> frameA, frameB;
  int frames = 0;
  run.Run(plugin.Effect("ProcessAquarium"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      before = AskForBlock(r);
      boxBefore = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
      return true;
    });
    StopPlaying(user, r);
    MoveSlider(user, r, 501, 20);
    MoveSlider(user, r, 502, 100);
    MoveSlider(user, r, 503, 40);
    ForwardMouse(user, r, TOOL_LBUTTON_DOWN, 10, 5);
    ForwardMouse(user, r, TOOL_LBUTTON_DOWN, kW, 5);  // outside: ignored
    user.Then([&] {
      frames = r.host.Count(EM_NEW_FRAME);
      return true;
    });
    user.Command(&r.dialog, IDC_EFFECT_APPLY);
    user.Then([&] { return r.host.Count(EM_NEW_FRAME) >= frames + 3; });
    user.Then([&] {
      frameA = DibPixels(r.image);
      frames = r.host.Count(EM_NEW_FRAME);
      return true;
    });
    user.Then([&] { return r.host.Count(EM_NEW_FRAME) >= frames + 5; });
    StopAndNoteFrame(user, r, frameB, frames);
    user.Then([&] {
      for (int id : {701, 702, 703}) labels.push_back(ItemText(r, id));
      after = AskForBlock(r);
      boxAfter = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
      return true;
    });
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_TRUE(boxBefore);
  EXPECT_FALSE(boxAfter);
  EXPECT_EQ(before.count, 1u);
  EXPECT_EQ(before.bytes, AquariumBlock(40, {50, kW / 2, kH / 2, 40, 1, kW, kH}));
  EXPECT_EQ(after.bytes, AquariumBlock(20, {100, 10, kH - 6, 0, 0, kW, kH}));
  EXPECT_EQ(labels, (std::vector<std::string>{"20", "100", "40"}));
  EXPECT_EQ(frameA, frameB) << "at speed 0 the wave stands";
  EXPECT_EQ(frameB, AquariumReplay(1, 20, 100, 0, 10, kH - 6));
  GlobalFree(run.image);
}

// Light with a one-pixel spot leaves the picture as it is; the block holds
// the size twice and the intensity twice. Quake's slider shows its value
// and nothing else: the frames are the kernel's, and no block is handed.
TEST(Qlo15SceneRuns, LightsOnePixelSpotAndQuakesIdleSlider) {
  PluginModule plugin("Qlo15.PL1");
  const std::vector<uint8_t> original = Original();
  {
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    HandedBlock before, after;
    std::vector<uint8_t> frame;
    int frames = 0;
    run.Run(plugin.Effect("ProcessLight"), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      user.Then([&] {
        before = AskForBlock(r);
        return true;
      });
      StopPlaying(user, r);
      MoveSlider(user, r, 501, 1);
      MoveSlider(user, r, 502, 200);
      ClickButton(user, r, 601);
      PlayOnAndNoteFrame(user, r, 4, frame, frames);
      user.Then([&] {
        after = AskForBlock(r);
        return true;
      });
      Press(user, r, IDC_EFFECT_OK);
    });
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(before.bytes, Block(kLightBlobMagic, {1, 300, 300, 60, 60}));
    EXPECT_EQ(after.bytes, Block(kLightBlobMagic, {0, 1, 1, 200, 200}));
    EXPECT_EQ(frame, original);
    GlobalFree(run.image);
  }
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  HandedBlock handed;
  std::string label;
  std::vector<uint8_t> start, frame;
  int first = 0, frames = 0;
  time_t from = 0;
  run.Run(plugin.Effect("ProcessQuake"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    StopPlaying(user, r);
    MoveSlider(user, r, 501, 90);
    user.Then([&] {
      label = ItemText(r, 701);
      handed = AskForBlock(r);
      start = DibPixels(r.image);
      first = r.host.Count(EM_NEW_FRAME);
      from = time(nullptr);
      return true;
    });
    user.Command(&r.dialog, IDC_EFFECT_APPLY);
    user.Then([&] { return r.host.Count(EM_NEW_FRAME) >= first + 6; });
    StopAndNoteFrame(user, r, frame, frames);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  const time_t to = time(nullptr);
  EXPECT_EQ(label, "90");
  EXPECT_EQ(handed.answer, 0);
  EXPECT_TRUE(handed.bytes.empty());
  // The second play draws over the streaks the first one left.
  EXPECT_TRUE(SomeSecondGivesQuake(from, to, frames - first, start, frame));
  EXPECT_EQ(DibPixels(run.image), original);
  GlobalFree(run.image);
}

// After 257 frames Quake rests in steps of 100 ms that keep the dialog
// answering: from the 25th the picture is the clean one, and a Stop then
// ends the run before the rest is over.
TEST(Qlo15SceneRuns, QuakeRestsShowingTheCleanPictureAndStopsDuringTheRest) {
  PluginModule plugin("Qlo15.PL1");
  const std::vector<uint8_t> original = Original();
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  std::vector<uint8_t> streaked, clean, stopped;
  int stoppedAt = 0;
  run.Run(plugin.Effect("ProcessQuake"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 200);
    user.Then([&] {
      streaked = DibPixels(r.image);
      return true;
    });
    WaitFrames(user, r, 257 + 26);
    user.Then([&] {
      clean = DibPixels(r.image);
      return true;
    });
    StopAndNoteFrame(user, r, stopped, stoppedAt);
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_NE(streaked, original);
  EXPECT_EQ(clean, original);
  EXPECT_LT(stoppedAt, 257 + 49) << "the Stop ended the rest";
  EXPECT_EQ(DibPixels(run.image), original);
  GlobalFree(run.image);
}

// Stored blocks with the dialog hidden or shown: Aquarium's centre is
// rescaled from the stored picture's size (MulDiv), hostile values are
// clamped (a stored size of 0 does not divide), other blocks ignored.
// Aquarium's 20th tick draws a wavelength; Quake answers ticks, Light not.
TEST(Qlo15SceneRuns, StoredBlocksRescaleTheCentreTicksAndHostileBlocks) {
  PluginModule plugin("Qlo15.PL1");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* function;
    std::vector<uint8_t> block;
    bool hidden;
    std::vector<int> sliders;
    bool box;
    std::vector<uint8_t> handed;  // empty: none
    LRESULT tick;
  };
  const Case cases[] = {
      {"ProcessAquarium", AquariumBlock(25, {60, 100, 50, 80, 0, 200, 100}), true, {25, 60, 80}, false,
       AquariumBlock(25, {60, MulDiv(100, kW, 200), MulDiv(50, kH, 100), 80, 0, kW, kH}), 1},
      {"ProcessAquarium", AquariumBlock(nan, {-7, 5, -9, 1000, 3, 0, -4}), false, {40, 1, 100}, true,
       AquariumBlock(40, {1, kW - 1, 0, 120, 1, kW, kH}), 1},
      {"ProcessAquarium", AquariumBlock(25, {60, 1, 1, 80, 0, 96, 72}, 40), false, {40, 50, 60}, true,
       AquariumBlock(40, {50, kW / 2, kH / 2, 40, 1, kW, kH}), 1},
      {"ProcessLight", Block(kLightBlobMagic, {0, 120, 120, 90, 90}), true, {120, 90}, false,
       Block(kLightBlobMagic, {0, 120, 120, 90, 90}), 0},
      {"ProcessLight", Block(kLightBlobMagic, {5, 0, 9999, -3, 7}), false, {1, 1}, true,
       Block(kLightBlobMagic, {1, 1, 500, 1, 1}), 0},
      {"ProcessLight", Block(kAquariumBlobMagic, {0, 120, 120, 90, 90}), false, {300, 60}, true,
       Block(kLightBlobMagic, {1, 300, 300, 60, 60}), 0},
      {"ProcessQuake", Block(kLightBlobMagic, {0, 120, 120, 90, 90}), true, {40}, false, {}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.function) + " " + std::to_string(c.sliders[0]));
    const std::string f = c.function;
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    run.context[kHostNoDialog] = c.hidden ? 1 : 0;
    run.context[kHostParameters] = UINT_PTR(c.block.data());
    bool visible = !c.hidden, box = !c.box;
    std::vector<int> sliders;
    int afterTick19 = 0, afterTick20 = 0;
    LRESULT tick = -1;
    HandedBlock handed;
    run.Run(plugin.Effect(c.function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 3);
      user.Then([&] {
        visible = IsWindowVisible(r.dialog) != FALSE;
        for (size_t k = 0; k < c.sliders.size(); ++k) sliders.push_back(SliderAt(r, int(501 + k)));
        box = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
        handed = AskForBlock(r);
        tick = SendMessageA(r.dialog, EM_SAVER_TICK, 0, 19);
        afterTick19 = SliderAt(r, 501);
        SendMessageA(r.dialog, EM_SAVER_TICK, 0, 20);
        afterTick20 = SliderAt(r, 501);
        return true;
      });
      WaitFrames(user, r, 6);
      StopPlaying(user, r);
      Press(user, r, IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(visible, !c.hidden);
    EXPECT_EQ(sliders, c.sliders);
    if (f != "ProcessQuake") {
      EXPECT_EQ(box, c.box);
    }
    EXPECT_EQ(handed.bytes, c.handed);
    EXPECT_EQ(tick, c.tick);
    EXPECT_EQ(afterTick19, c.sliders[0]);
    if (f == "ProcessAquarium") {
      EXPECT_GE(afterTick20, 10);
      EXPECT_LT(afterTick20, 100);
    } else {
      EXPECT_EQ(afterTick20, c.sliders[0]);
    }
    EXPECT_EQ(DibPixels(run.image), Original());
    GlobalFree(run.image);
  }
}

// Tiny pictures play; Quake's blocks are empty under 8 x 8, so the picture
// stays as it was.
TEST(Qlo15SceneRuns, TinyPicturesPlay) {
  PluginModule plugin("Qlo15.PL1");
  for (const char* function : {"ProcessAquarium", "ProcessQuake", "ProcessLight"}) {
    for (const auto& [w, h] : {std::pair{1, 1}, {7, 5}}) {
      SCOPED_TRACE(std::string(function) + " " + std::to_string(w));
      EffectRun run;
      run.image = MakeTestPicture(w, h);
      const std::vector<uint8_t> before = DibPixels(run.image);
      run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 12);
        StopPlaying(user, r);
        Press(user, r, IDC_EFFECT_OK);
      });
      EXPECT_EQ(run.result, 1);
      EXPECT_EQ(PictureWidth(run.image), w);
      if (std::string(function) == "ProcessQuake") {
        EXPECT_EQ(DibPixels(run.image), before);
      }
      GlobalFree(run.image);
    }
  }
}

}  // namespace
}  // namespace quillo::test
