// Tex runs as a user would: it scales the picture to 640 x 480 (turning a
// tall one a quarter turn first), plays at once, ignores OK while playing;
// Stop then OK keeps the last frame (the box at frame n - 1 over the
// scaled picture), Stop then Cancel gives back the untouched scaled copy
// and tells the host. The mode buttons switch to the front face while
// playing, the slider shows its value and starts a play when moved while
// idle, F2 asks the host to save, and a hidden run answers neither the
// saver's ticks nor the item queries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contracts/ui_controls.h"
#include "plugins/qlo16/kernels/tex_box.h"
#include "tests/win/qlo12/animation_steps.h"

namespace quillo::test {
namespace {

using namespace qlo16;

constexpr int64_t kStride = (kTexWidth * 24 + 31) / 32 * 4;

// The frame the box draws at frame t over `backup` (the scaled picture).
std::vector<uint8_t> BoxFrame(const std::vector<uint8_t>& backup, int t, bool frontOnly) {
  std::vector<uint8_t> out(backup.size(), 0xEE);
  TexCanvas canvas;
  PrepareTexCanvas(canvas, kTexWidth, kTexHeight, kStride);
  TexFrame(canvas, TexFaces(kTexWidth, kTexHeight), t, frontOnly, backup.data(), out.data());
  return out;
}

struct TexOutcome {
  int result = -1, frames = 0, relayouts = 0, saves = 0;
  int notifiedAtStop = -1, notifiedAtEnd = -1;
  int width = 0, height = 0;
  bool playingAfterOk = false, hintWhilePlaying = false, hintAfter = true;
  std::vector<uint8_t> lastFrame, final;
};

TexOutcome RunTex(PluginModule& plugin, int w, int h, bool accept, bool frontWhilePlaying = false) {
  TexOutcome o;
  EffectRun run;
  run.image = MakeTestPicture(w, h);
  run.Run(plugin.Effect("ProcessTex"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 3);
    user.Command(&r.dialog, IDC_EFFECT_OK);
    if (frontWhilePlaying) ClickWhilePlaying(user, r, 802);
    user.Then([&] { return PostMessageA(r.dialog, WM_KEYDOWN, VK_F2, 0) != FALSE; });
    WaitFrames(user, r, 8);
    user.Then([&] {
      o.playingAfterOk = IsPlaying(r);
      o.hintWhilePlaying = IsWindowVisible(r.Item(IDC_EFFECT_PROGRESS)) != FALSE;
      return true;
    });
    StopPlaying(user, r);
    user.Then([&] {
      o.lastFrame = DibPixels(r.image);
      o.frames = r.host.Count(EM_NEW_FRAME);
      o.notifiedAtStop = r.host.Count(HOST_NOTIFY_MESSAGE);
      o.hintAfter = IsWindowVisible(r.Item(IDC_EFFECT_PROGRESS)) != FALSE;
      return true;
    });
    Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
  });
  o.result = run.result;
  o.relayouts = run.host.Count(VM_RELAYOUT);
  o.saves = run.host.CountCommand(28930);
  o.notifiedAtEnd = run.host.Count(HOST_NOTIFY_MESSAGE);
  if (run.image) {
    o.width = PictureWidth(run.image);
    o.height = PictureHeight(run.image);
    o.final = DibPixels(run.image);
    GlobalFree(run.image);
  }
  return o;
}

TEST(Qlo16TexRuns, OkKeepsTheLastFrameAndCancelGivesBackTheScaledCopy) {
  PluginModule plugin("Qlo16.PL1");
  for (const auto& [w, h] : {std::pair{96, 72}, {60, 90}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    const TexOutcome cancelled = RunTex(plugin, w, h, false);
    const TexOutcome accepted = RunTex(plugin, w, h, true);
    for (const TexOutcome* o : {&cancelled, &accepted}) {
      EXPECT_EQ(o->width, kTexWidth);
      EXPECT_EQ(o->height, kTexHeight);
      EXPECT_TRUE(o->playingAfterOk) << "OK while playing is ignored";
      EXPECT_TRUE(o->hintWhilePlaying);
      EXPECT_FALSE(o->hintAfter);
      EXPECT_EQ(o->saves, 1) << "F2 asks the host to save";
      // Laid out when the dialog opens, after the first frame and at the end.
      EXPECT_EQ(o->relayouts, 3);
    }
    EXPECT_EQ(cancelled.result, 0);
    EXPECT_EQ(accepted.result, 1);
    // Stopping does not tell the host; the end of a cancelled run does.
    EXPECT_EQ(accepted.notifiedAtStop, 0);
    EXPECT_EQ(cancelled.notifiedAtStop, 0);
    EXPECT_EQ(accepted.notifiedAtEnd, 0);
    EXPECT_EQ(cancelled.notifiedAtEnd, 1);
    // The scaled copy is what Cancel gives back; both runs scale alike.
    const std::vector<uint8_t>& scaled = cancelled.final;
    ASSERT_EQ(scaled.size(), size_t(kStride) * kTexHeight);
    EXPECT_EQ(accepted.lastFrame, BoxFrame(scaled, accepted.frames - 1, false));
    EXPECT_EQ(accepted.final, accepted.lastFrame);
    EXPECT_EQ(cancelled.lastFrame, BoxFrame(scaled, cancelled.frames - 1, false));
  }
}

TEST(Qlo16TexRuns, TheSecondModeButtonShowsTheFrontFaceAloneWhilePlaying) {
  PluginModule plugin("Qlo16.PL1");
  const TexOutcome scaled = RunTex(plugin, 96, 72, false);
  const TexOutcome front = RunTex(plugin, 96, 72, true, true);
  EXPECT_EQ(front.result, 1);
  EXPECT_EQ(front.final, BoxFrame(scaled.final, front.frames - 1, true));
}

TEST(Qlo16TexRuns, SliderShowsItsValueAndStartsPlayingWhenMovedWhileIdle) {
  PluginModule plugin("Qlo16.PL1");
  EffectRun run;
  run.image = MakeTestPicture(96, 72);
  int low = 0, high = 0, position = 0, stopped = 0;
  std::string startLabel, label;
  bool wholeBox = false, playingAgain = false;
  run.Run(plugin.Effect("ProcessTex"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      position = int(SendMessageA(r.Item(501), SL_GETPOS, 0, 0));
      SendMessageA(r.Item(501), SL_SETPOS, WPARAM(-5), 0);
      low = int(SendMessageA(r.Item(501), SL_GETPOS, 0, 0));
      SendMessageA(r.Item(501), SL_SETPOS, WPARAM(9999), 0);
      high = int(SendMessageA(r.Item(501), SL_GETPOS, 0, 0));
      startLabel = ItemText(r, 701);
      wholeBox = IsDlgButtonChecked(r.dialog, 801) == BST_CHECKED;
      return true;
    });
    StopPlaying(user, r);
    user.Then([&] {
      stopped = r.host.Count(EM_NEW_FRAME);
      return true;
    });
    MoveSlider(user, r, 501, 77);
    user.Then([&] { return r.host.Count(EM_NEW_FRAME) > stopped + 2; });
    user.Then([&] {
      label = ItemText(r, 701);
      playingAgain = IsPlaying(r);
      return true;
    });
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(position, 10);
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 500);
  EXPECT_EQ(startLabel, "10");
  EXPECT_TRUE(wholeBox);
  EXPECT_EQ(label, "77");
  EXPECT_TRUE(playingAgain);
  GlobalFree(run.image);
}

TEST(Qlo16TexRuns, HiddenRunsPlayWithoutAnsweringTicksOrItemQueries) {
  PluginModule plugin("Qlo16.PL1");
  EffectRun run;
  run.image = MakeTestPicture(96, 72);
  run.context[kHostNoDialog] = 1;
  bool visible = true;
  LRESULT tick = -1, query = -1;
  run.Run(plugin.Effect("ProcessTex"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 3);
    user.Then([&] {
      visible = IsWindowVisible(r.dialog) != FALSE;
      tick = SendMessageA(r.dialog, EM_SAVER_TICK, 0, 20);
      PackageItemQuery q = {};
      query = SendMessageA(r.dialog, EM_PACKAGE_QUERY, 0, LPARAM(q));
      return true;
    });
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_FALSE(visible);
  EXPECT_EQ(tick, 0);
  EXPECT_EQ(query, 0);
  EXPECT_EQ(PictureWidth(run.image), kTexWidth);
  GlobalFree(run.image);
  // A 1 x 1 picture is scaled up and plays; no picture is refused.
  EffectRun tiny;
  tiny.image = MakeTestPicture(1, 1);
  tiny.Run(plugin.Effect("ProcessTex"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(tiny.result, 0);
  EXPECT_EQ(PictureWidth(tiny.image), kTexWidth);
  GlobalFree(tiny.image);
  EffectRun none;
  none.Run(plugin.Effect("ProcessTex"), [](ScriptedUser&, EffectRun&) {});
  EXPECT_EQ(none.result, 0);
  EXPECT_EQ(none.dialog, nullptr);
}

}  // namespace
}  // namespace quillo::test
