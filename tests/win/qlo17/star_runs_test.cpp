// Star run as a user would: it plays at once with the generator seeded
// from the clock, OK is disabled while it plays, Stop then OK keeps the
// last frame (the kernel's frame for one of the seconds the run spanned),
// Stop then Cancel gives the picture back exactly; the slider sets the
// count for the next play; F2 asks the host to save; a hidden run plays
// without the dialog and neither the saver's ticks nor the item queries
// are answered; a 1 x 1 picture plays.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "plugins/qlo17/kernels/twinkle.h"
#include "run_helpers.h"

namespace quillo::test {
namespace {

using namespace qlo17;
using namespace qlo17_runs;

// The frame `frames` frames into a play seeded with `seed`.
std::vector<uint8_t> Replay(uint32_t seed, int frames, int count) {
  const std::vector<uint8_t> source = Original();
  std::vector<uint8_t> out = source;
  RuntimeRandom random(seed);
  auto stars = std::make_unique<TwinkleState>();
  SetTwinkleCount(*stars, count);
  StartTwinkle(*stars, random);
  for (int k = 0; k < frames; ++k) TwinkleFrame(*stars, source.data(), out.data(), kW, kH, kStride, random);
  return out;
}

bool SomeSecondGives(time_t from, time_t to, int frames, int count, const std::vector<uint8_t>& frame) {
  for (time_t t = from; t <= to; ++t)
    if (Replay(uint32_t(t), frames, count) == frame) return true;
  return false;
}

TEST(Qlo17StarRuns, PlaysAtOnceOkWaitsAndStopThenOkOrCancelSettles) {
  PluginModule plugin("Qlo17.PL1");
  const std::vector<uint8_t> original = Original();
  for (const bool accept : {true, false}) {
    SCOPED_TRACE(accept ? "OK" : "Cancel");
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    std::vector<uint8_t> lastFrame;
    int frames = 0, redrawn = 0, notified = -1;
    bool okEnabledWhilePlaying = true, playingAfterOk = false, okEnabledAfter = false;
    std::string stopLabel, cancelLabel;
    const time_t from = time(nullptr);
    run.Run(plugin.Effect("ProcessStar"), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 3);
      user.Then([&] { return IsPlaying(r); });
      user.Command(&r.dialog, IDC_EFFECT_OK);
      WaitFrames(user, r, 6);
      user.Then([&] {
        okEnabledWhilePlaying = IsWindowEnabled(r.Item(IDC_EFFECT_OK)) != FALSE;
        playingAfterOk = IsPlaying(r);
        stopLabel = ItemText(r, IDC_EFFECT_CANCEL);
        redrawn = r.host.Count(VM_REDRAW);
        notified = r.host.Count(HOST_NOTIFY_MESSAGE);
        return true;
      });
      StopAndNoteFrame(user, r, lastFrame, frames);
      user.Then([&] {
        redrawn = r.host.Count(VM_REDRAW) - redrawn;
        notified = r.host.Count(HOST_NOTIFY_MESSAGE) - notified;
        cancelLabel = ItemText(r, IDC_EFFECT_CANCEL);
        okEnabledAfter = IsWindowEnabled(r.Item(IDC_EFFECT_OK)) != FALSE;
        return true;
      });
      Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
    });
    const time_t to = time(nullptr);
    EXPECT_EQ(run.result, accept ? 1 : 0);
    EXPECT_FALSE(okEnabledWhilePlaying);
    EXPECT_TRUE(playingAfterOk) << "OK while playing is ignored";
    EXPECT_TRUE(okEnabledAfter);
    EXPECT_EQ(stopLabel, "&Stop");
    EXPECT_EQ(cancelLabel, "Cancel");
    EXPECT_GE(redrawn, 1) << "the view redraws the frame playing stopped at";
    EXPECT_EQ(notified, 1) << "the owner hears that playing stopped";
    EXPECT_EQ(run.host.Count(VM_SHARE_RECT), 1);
    EXPECT_EQ(run.host.Count(VM_EFFECT_ACTIVE), 2);
    EXPECT_NE(lastFrame, original);
    EXPECT_TRUE(SomeSecondGives(from, to, frames, kTwinkleDefaultCount, lastFrame));
    ASSERT_NE(run.image, nullptr);
    EXPECT_EQ(DibPixels(run.image), accept ? lastFrame : original);
    GlobalFree(run.image);
  }
}

TEST(Qlo17StarRuns, TheSliderSetsTheCountForTheNextPlayAndF2AsksTheHostToSave) {
  PluginModule plugin("Qlo17.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  int firstPlay = 0, both = 0, position = 0;
  std::string label;
  std::vector<uint8_t> lastFrame;
  time_t from = 0;
  run.Run(plugin.Effect("ProcessStar"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      position = SliderAt(r, 501);
      PostMessageA(r.dialog, WM_KEYDOWN, VK_F2, 0);
      return true;
    });
    user.Then([&] { return r.host.CountCommand(28930) > 0; });
    StopPlaying(user, r);
    MoveSlider(user, r, 501, 900);
    user.Then([&] {
      label = ItemText(r, 701);
      firstPlay = r.host.Count(EM_NEW_FRAME);
      from = time(nullptr);
      return true;
    });
    PlayOnAndNoteFrame(user, r, 5, lastFrame, both);
    Press(user, r, IDC_EFFECT_OK);
  });
  const time_t to = time(nullptr);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(position, kTwinkleDefaultCount);
  EXPECT_EQ(label, "900");
  EXPECT_EQ(run.host.CountCommand(28930), 1);
  EXPECT_EQ(DibPixels(run.image), lastFrame);
  EXPECT_TRUE(SomeSecondGives(from, to, both - firstPlay, 900, lastFrame));
  GlobalFree(run.image);
}

TEST(Qlo17StarRuns, HiddenRunsPlayAndTicksAndItemQueriesAreNotAnswered) {
  PluginModule plugin("Qlo17.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  run.context[kHostNoDialog] = 1;
  bool visible = true;
  Unanswered answers;
  run.Run(plugin.Effect("ProcessStar"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 3);
    user.Then([&] {
      visible = IsWindowVisible(r.dialog) != FALSE;
      answers = AskWhatIsNotAnswered(r);
      return true;
    });
    WaitFrames(user, r, 5);
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(run.result, 0);
  EXPECT_FALSE(visible);
  ExpectUnanswered(answers);
  EXPECT_EQ(DibPixels(run.image), Original());
  GlobalFree(run.image);
}

}  // namespace
}  // namespace quillo::test
