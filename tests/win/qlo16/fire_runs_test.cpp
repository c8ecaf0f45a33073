// Flamme and Flares run as a user would: each plays at once with the
// generator seeded from the clock, ignores OK while it plays, and Stop then
// OK keeps the last frame (the kernels' frame for one of the seconds the
// run spanned), Stop then Cancel gives the picture back exactly. F2 asks
// the host to save. The Flares sliders change the emitter count and the
// palette for the next play and show their values; neither effect answers
// the saver's ticks or the item queries, and a stored block, hostile or
// not, changes nothing. Tiny pictures play; a missing one is refused.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "contracts/ui_controls.h"
#include "plugins/qlo16/kernels/flamme.h"
#include "plugins/qlo16/kernels/flares.h"
#include "tests/win/qlo12/animation_steps.h"

namespace quillo::test {
namespace {

using namespace qlo16;

constexpr int kW = 96, kH = 72;
constexpr int64_t kStride = (kW * 24 + 31) / 32 * 4;

std::vector<uint8_t> Original() { return TestPicturePixels(kW, kH); }

// The Flares settings of a replay.
struct FlaresSettings {
  int emitters = kFlaresDefaultEmitters, hue = 0, saturation = 0, lightness = 0;
  int earlierFrames = 0;  // frames of earlier plays: the time and phase live on
};

// The frame `frames` frames into a play seeded with `seed`.
std::vector<uint8_t> Replay(const std::string& function, uint32_t seed, int frames, const FlaresSettings& s) {
  const std::vector<uint8_t> source = Original();
  std::vector<uint8_t> out = source;
  RuntimeRandom random(seed);
  if (function == "ProcessFlamme") {
    FlammeState flamme;
    ResetFlamme(flamme, kW, kH);
    for (int k = 0; k < frames; ++k) {
      StepFlamme(flamme, random);
      DrawFlamme(flamme, FlammePalette(), source.data(), out.data(), kStride);
    }
  } else {
    FlaresState flares;
    ResetFlares(flares, kW, kH);
    RuntimeRandom earlier(1);
    for (int k = 0; k < s.earlierFrames; ++k)
      FlaresFrame(flares, FlaresPalette(0, 0, 0), source.data(), out.data(), kStride, earlier);
    SetFlaresEmitters(flares, s.emitters);
    const FirePalette256 palette = FlaresPalette(s.hue / 255.0, s.saturation / 255.0, s.lightness / 255.0);
    for (int k = 0; k < frames; ++k) FlaresFrame(flares, palette, source.data(), out.data(), kStride, random);
  }
  return out;
}

bool SomeSecondGives(const std::string& function, time_t from, time_t to, int frames, const FlaresSettings& s,
                     const std::vector<uint8_t>& frame) {
  for (time_t t = from; t <= to; ++t)
    if (Replay(function, uint32_t(t), frames, s) == frame) return true;
  return false;
}

TEST(Qlo16FireRuns, EachPlaysAtOnceIgnoresOkWhilePlayingAndStopThenOkOrCancelSettles) {
  PluginModule plugin("Qlo16.PL1");
  const std::vector<uint8_t> original = Original();
  for (const char* function : {"ProcessFlamme", "ProcessFlares"}) {
    const bool flamme = std::string(function) == "ProcessFlamme";
    for (const bool accept : {true, false}) {
      SCOPED_TRACE(std::string(function) + (accept ? " OK" : " Cancel"));
      EffectRun run;
      run.image = MakeTestPicture(kW, kH);
      std::vector<uint8_t> lastFrame;
      int frames = 0, notified = 0;
      bool playingAfterOk = false;
      std::string stopLabel, cancelLabel;
      const time_t from = time(nullptr);
      run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 3);
        user.Command(&r.dialog, IDC_EFFECT_OK);
        if (accept) user.Then([&] { return PostMessageA(r.dialog, WM_KEYDOWN, VK_F2, 0) != FALSE; });
        WaitFrames(user, r, 8);
        user.Then([&] {
          playingAfterOk = IsPlaying(r);
          stopLabel = ItemText(r, IDC_EFFECT_CANCEL);
          return true;
        });
        StopAndNoteFrame(user, r, lastFrame, frames);
        user.Then([&] {
          notified = r.host.Count(HOST_NOTIFY_MESSAGE);
          cancelLabel = ItemText(r, IDC_EFFECT_CANCEL);
          return true;
        });
        Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
      });
      const time_t to = time(nullptr);
      EXPECT_EQ(run.result, accept ? 1 : 0);
      EXPECT_TRUE(playingAfterOk) << "OK while playing is ignored";
      EXPECT_EQ(stopLabel, "&Stop");
      EXPECT_EQ(cancelLabel, "Cancel");
      EXPECT_EQ(notified, 1) << "the host hears when playing stops";
      EXPECT_NE(lastFrame, original);
      EXPECT_TRUE(SomeSecondGives(function, from, to, frames, {}, lastFrame));
      // Flamme has the view laid out again when its dialog opens.
      EXPECT_EQ(run.host.Count(VM_RELAYOUT), flamme ? 1 : 0);
      EXPECT_EQ(run.host.CountCommand(28930), accept ? 1 : 0) << "F2 asks the host to save";
      ASSERT_NE(run.image, nullptr);
      EXPECT_EQ(DibPixels(run.image), accept ? lastFrame : original);
      GlobalFree(run.image);
    }
  }
}


// The sliders as a user moves them between plays: labels follow, and the
// next play draws with the new count and palette, the time going on.
TEST(Qlo16FireRuns, FlaresSlidersSetTheEmittersAndTurnThePalette) {
  PluginModule plugin("Qlo16.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  std::vector<int> startPositions;
  std::vector<std::string> startLabels, labels;
  int firstPlay = 0, both = 0;
  std::vector<uint8_t> lastFrame;
  time_t from = 0;
  run.Run(plugin.Effect("ProcessFlares"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      for (int id : {501, 1604, 1605, 1606}) startPositions.push_back(SliderAt(r, id));
      for (int id : {701, 1607, 1608, 1609}) startLabels.push_back(ItemText(r, id));
      return true;
    });
    StopPlaying(user, r);
    MoveSlider(user, r, 501, 100);
    MoveSlider(user, r, 1604, 128);
    MoveSlider(user, r, 1605, -60);
    MoveSlider(user, r, 1606, 40);
    user.Then([&] {
      for (int id : {701, 1607, 1608, 1609}) labels.push_back(ItemText(r, id));
      firstPlay = r.host.Count(EM_NEW_FRAME);
      from = time(nullptr);
      return true;
    });
    PlayOnAndNoteFrame(user, r, 6, lastFrame, both);
    Press(user, r, IDC_EFFECT_OK);
  });
  const time_t to = time(nullptr);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(startPositions, (std::vector<int>{20, 0, 0, 0}));
  EXPECT_EQ(startLabels, (std::vector<std::string>{"20", "0", "0", "0"}));
  EXPECT_EQ(labels, (std::vector<std::string>{"100", "128", "-60", "40"}));
  EXPECT_EQ(DibPixels(run.image), lastFrame);
  EXPECT_TRUE(SomeSecondGives("ProcessFlares", from, to, both - firstPlay, {100, 128, -60, 40, firstPlay}, lastFrame));
  GlobalFree(run.image);
}

std::vector<uint8_t> Block(uint32_t magic, int32_t size, std::vector<int32_t> fields) {
  std::vector<uint8_t> b(8 + 4 * fields.size());
  std::memcpy(b.data(), &magic, 4);
  std::memcpy(b.data() + 4, &size, 4);
  std::memcpy(b.data() + 8, fields.data(), 4 * fields.size());
  return b;
}

// Hidden runs from a stored block: the block (even one claiming to reach
// far past its end) changes no setting, the ticks and item queries go
// unanswered, and Cancel gives the picture back.
TEST(Qlo16FireRuns, HiddenRunsIgnoreBlocksTicksAndItemQueries) {
  PluginModule plugin("Qlo16.PL1");
  const std::vector<uint8_t> blocks[] = {Block(0x31534C46, 12, {3}), Block(0xFFFFFFFF, 8, {})};
  for (const char* function : {"ProcessFlamme", "ProcessFlares"})
    for (const auto& block : blocks) {
      SCOPED_TRACE(function);
      EffectRun run;
      run.image = MakeTestPicture(kW, kH);
      run.context[kHostNoDialog] = 1;
      run.context[kHostParameters] = UINT_PTR(block.data());
      bool visible = true;
      int emitters = -1;
      LRESULT tick = -1, query = -1;
      run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 3);
        user.Then([&] {
          visible = IsWindowVisible(r.dialog) != FALSE;
          emitters = r.Item(501) ? SliderAt(r, 501) : 0;
          tick = SendMessageA(r.dialog, EM_SAVER_TICK, 0, 20);
          PackageItemQuery q = {};
          query = SendMessageA(r.dialog, EM_PACKAGE_QUERY, 0, LPARAM(q));
          return true;
        });
        StopPlaying(user, r);
        Press(user, r, IDC_EFFECT_CANCEL);
      });
      EXPECT_EQ(run.result, 0);
      EXPECT_FALSE(visible);
      EXPECT_EQ(emitters, std::string(function) == "ProcessFlares" ? 20 : 0);
      EXPECT_EQ(tick, 0);
      EXPECT_EQ(query, 0);
      EXPECT_EQ(DibPixels(run.image), Original());
      GlobalFree(run.image);
    }
}

TEST(Qlo16FireRuns, TinyPicturesPlayAndAMissingPictureIsRefused) {
  PluginModule plugin("Qlo16.PL1");
  for (const char* function : {"ProcessFlamme", "ProcessFlares"}) {
    for (const auto& [w, h] : {std::pair{1, 1}, {3, 2}}) {
      SCOPED_TRACE(std::string(function) + " " + std::to_string(w) + " x " + std::to_string(h));
      EffectRun run;
      run.image = MakeTestPicture(w, h);
      run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 12);
        StopPlaying(user, r);
        Press(user, r, IDC_EFFECT_OK);
      });
      EXPECT_EQ(run.result, 1);
      EXPECT_EQ(PictureWidth(run.image), w);
      EXPECT_EQ(PictureHeight(run.image), h);
      GlobalFree(run.image);
    }
    EffectRun none;
    none.Run(plugin.Effect(function), [](ScriptedUser&, EffectRun&) {});
    EXPECT_EQ(none.result, 0);
    EXPECT_EQ(none.dialog, nullptr);
    EXPECT_EQ(none.image, nullptr);
  }
}

}  // namespace
}  // namespace quillo::test
