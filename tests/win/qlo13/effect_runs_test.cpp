// Pool, Wavy and Disco run as a user would: each plays by itself, Stop and
// OK keep the last frame, Cancel gives the picture back; the last frame is
// the one the kernels draw from a fresh start for as many frames as the
// host heard of, with the sliders' values; OK while Wavy or Disco plays
// only stops; F2 asks the host to save.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "contracts/ui_controls.h"
#include "plugins/qlo13/kernels/disco.h"
#include "plugins/qlo13/kernels/pool.h"
#include "plugins/qlo13/kernels/wavy.h"
#include "tests/win/qlo12/animation_steps.h"

namespace quillo::test {
namespace {

constexpr int kW = 96, kH = 72;
constexpr int64_t kStride = (kW * 24 + 31) / 32 * 4;

// What the kernels draw in `frames` frames from the start of playing, with
// the two slider values (unused by Pool).
std::vector<uint8_t> KernelFrame(const std::string& function, int frames, int first, int second) {
  HGLOBAL picture = MakeTestPicture(kW, kH);
  const std::vector<uint8_t> backup = DibPixels(picture);
  GlobalFree(picture);
  std::vector<uint8_t> out = backup;
  if (function == "ProcessPool") {
    qlo13::PoolState s;
    qlo13::StartPool(s, kW, kH);
    for (int k = 0; k < frames; ++k) qlo13::PoolFrame(s, backup.data(), out.data(), kStride);
  } else if (function == "ProcessWavy") {
    qlo13::WavyState s;
    s.amplitude1 = first;
    s.amplitude2 = second;
    qlo13::StartWavy(s, kW, kH);
    for (int k = 0; k < frames; ++k) qlo13::WavyFrame(s, backup.data(), out.data(), kW, kH, kStride);
  } else {
    qlo13::DiscoState s;
    s.brightness = first;
    s.speed = second;
    qlo13::StartDisco(s, kW, kH);
    for (int k = 0; k < frames; ++k) qlo13::DiscoFrame(s, backup.data(), out.data(), kStride);
  }
  return out;
}

struct Effect {
  const char* function;
  int first, second;  // the sliders' start values
};
const Effect kEffects[] = {{"ProcessPool", 0, 0}, {"ProcessWavy", 4, 3}, {"ProcessDisco", 70, 20}};

// Moves a slider while the animation plays: the position, then the
// notification the dialog hears.
ScriptedUser& MoveSliderWhilePlaying(ScriptedUser& user, EffectRun& run, int id, int position) {
  return user.Then([&run, id, position] {
    if (!IsPlaying(run)) return false;
    SendMessageA(run.Item(id), SL_SETPOS, WPARAM(position), 1);
    PostMessageA(run.dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
  });
}

TEST(Qlo13Runs, EachPlaysAtOnceStopAndOkKeepTheLastFrameCancelGivesThePictureBack) {
  PluginModule plugin("Qlo13.PL1");
  HGLOBAL fresh = MakeTestPicture(kW, kH);
  const std::vector<uint8_t> original = DibPixels(fresh);
  GlobalFree(fresh);
  for (const Effect& effect : kEffects) {
    for (const bool accept : {true, false}) {
      SCOPED_TRACE(std::string(effect.function) + (accept ? " OK" : " Cancel"));
      EffectRun run;
      run.image = MakeTestPicture(kW, kH);
      std::vector<uint8_t> lastFrame;
      int frames = 0;
      bool hintShown = true;
      run.Run(plugin.Effect(effect.function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 5);
        user.Then([&] {
          hintShown = IsWindowVisible(r.Item(IDC_EFFECT_PROGRESS)) != FALSE;
          return true;
        });
        StopAndNoteFrame(user, r, lastFrame, frames);
        Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
      });
      EXPECT_EQ(run.result, accept ? 1 : 0);
      EXPECT_FALSE(hintShown);
      ASSERT_NE(run.image, nullptr);
      EXPECT_GE(frames, 5);
      EXPECT_EQ(lastFrame, KernelFrame(effect.function, frames, effect.first, effect.second));
      EXPECT_NE(lastFrame, original);
      EXPECT_EQ(DibPixels(run.image), accept ? lastFrame : original);
      GlobalFree(run.image);
    }
  }
}

TEST(Qlo13Runs, PlayAfterStopStartsAfreshWithTheSlidersValues) {
  PluginModule plugin("Qlo13.PL1");
  struct Case { const char* function; int first, second; };
  for (const Case& c : {Case{"ProcessWavy", 10, 1}, Case{"ProcessDisco", 200, 100}}) {
    SCOPED_TRACE(c.function);
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    int firstPlay = 0, both = 0;
    std::vector<uint8_t> lastFrame;
    std::string firstLabel, secondLabel;
    run.Run(plugin.Effect(c.function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      StopPlaying(user, r);
      user.Then([&] {
        firstPlay = r.host.Count(EM_NEW_FRAME);
        return true;
      });
      MoveSlider(user, r, 501, c.first);
      MoveSlider(user, r, 502, c.second);
      user.Then([&] {
        firstLabel = ItemText(r, 701);
        secondLabel = ItemText(r, 702);
        return true;
      });
      PlayOnAndNoteFrame(user, r, 4, lastFrame, both);
      Press(user, r, IDC_EFFECT_OK);
    });
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(firstLabel, std::to_string(c.first));
    EXPECT_EQ(secondLabel, std::to_string(c.second));
    const int frames = both - firstPlay;
    EXPECT_EQ(lastFrame, KernelFrame(c.function, frames, c.first, c.second));
    const int defaults[2] = {c.function == std::string("ProcessWavy") ? 4 : 70,
                             c.function == std::string("ProcessWavy") ? 3 : 20};
    EXPECT_NE(lastFrame, KernelFrame(c.function, frames, defaults[0], defaults[1]));
    EXPECT_EQ(DibPixels(run.image), lastFrame);
    GlobalFree(run.image);
  }
}

TEST(Qlo13Runs, SlidersMovedWhilePlayingChangeTheNextFrames) {
  PluginModule plugin("Qlo13.PL1");
  struct Case { const char* function; int id, position; };
  for (const Case& c : {Case{"ProcessWavy", 501, 10}, Case{"ProcessDisco", 501, 0}}) {
    SCOPED_TRACE(c.function);
    HGLOBAL fresh = MakeTestPicture(kW, kH);
    const std::vector<uint8_t> original = DibPixels(fresh);
    GlobalFree(fresh);
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    int frames = 0;
    std::vector<uint8_t> lastFrame;
    run.Run(plugin.Effect(c.function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      MoveSliderWhilePlaying(user, r, c.id, c.position);
      user.Then([&] { return ItemText(r, c.id + 200) == std::to_string(c.position); });
      WaitFrames(user, r, 8);
      StopAndNoteFrame(user, r, lastFrame, frames);
      Press(user, r, IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(run.result, 0);
    if (c.function == std::string("ProcessWavy"))
      EXPECT_EQ(lastFrame, KernelFrame(c.function, frames, 10, 3));
    else
      EXPECT_EQ(lastFrame, original) << "brightness 0 leaves the picture";
    EXPECT_EQ(DibPixels(run.image), original);
    GlobalFree(run.image);
  }
}

TEST(Qlo13Runs, OkWhileWavyOrDiscoPlaysOnlyStopsAndF2AsksTheHostToSave) {
  PluginModule plugin("Qlo13.PL1");
  for (const char* function : {"ProcessWavy", "ProcessDisco"}) {
    SCOPED_TRACE(function);
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    bool openAfterOk = false;
    std::vector<uint8_t> stopped;
    run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      user.Then([&] {
        if (!IsPlaying(r)) return false;
        PostMessageA(r.dialog, WM_KEYDOWN, VK_F2, 0);
        return true;
      });
      WaitFrames(user, r, 4);
      user.Then([&] { return IsPlaying(r); });
      user.Command(&r.dialog, IDC_EFFECT_OK);
      user.Then([&] { return r.dialog && !IsPlaying(r); });
      user.Then([&] {
        openAfterOk = r.dialog && IsWindow(r.dialog);
        stopped = DibPixels(r.image);
        return true;
      });
      Press(user, r, IDC_EFFECT_OK);
    });
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(DibPixels(run.image), stopped);
    EXPECT_GE(run.host.CountCommand(28930), 1);
    GlobalFree(run.image);
  }
}

}  // namespace
}  // namespace quillo::test
