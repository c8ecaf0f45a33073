// Storm run as a user would: it plays at once on a cleared picture, the
// cloud turning as the mouse's place on the screen asks (SetCursorPos
// steers it), Stop then OK keeps the last frame (the kernel's frame for
// one of the seconds the run spanned, with the module's own sprites), Stop
// then Cancel gives the picture back exactly; the slider makes a new cloud
// of its count for the next play; hidden runs play and neither the saver's
// ticks nor the item queries are answered; tiny pictures play; a module
// with a damaged sprite refuses the run with the picture untouched.
#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <string>

#include "win_test_support.h"

#include "plugins/qlo17/kernels/storm.h"
#include "run_helpers.h"

namespace quillo::test {
namespace {

using namespace qlo17;
using namespace qlo17_runs;

StormSprites ModuleSprites(const PluginModule& plugin) {
  StormSprites sprites;
  for (int k = 0; k < kStormSpriteKinds; ++k) {
    HRSRC found = FindResourceA(plugin.module(), kStormSpriteNames[k], "HDIB");
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(plugin.module(), found)));
    EXPECT_TRUE(ReadStormSprite(data, SizeofResource(plugin.module(), found), sprites[size_t(k)]));
  }
  return sprites;
}

StormCursor CursorNow() {
  POINT at;
  GetCursorPos(&at);
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), int(at.x), int(at.y)};
}

struct StormFixture : ::testing::Test {
  PluginModule plugin{"Qlo17.PL1"};
  StormSprites sprites = ModuleSprites(plugin);
  EffectRun run;

  void SetUp() override { run.image = MakeTestPicture(kW, kH); }
  void TearDown() override {
    if (run.image) GlobalFree(run.image);
  }

  // The frame `frames` frames into a play seeded with `seed`, the cursor
  // where it is now.
  std::vector<uint8_t> Replay(uint32_t seed, int frames, int count, int w = kW, int h = kH) const {
    const std::vector<uint8_t> source = Original(w, h);
    std::vector<uint8_t> out = source;
    const int64_t stride = (int64_t(w) * 24 + 31) / 32 * 4;
    RuntimeRandom random(seed);
    auto storm = std::make_unique<StormState>();
    AllocateStormGlow(*storm, w, h);
    SetStormCount(*storm, count);
    StartStorm(*storm, out.data(), stride, random);
    for (int k = 0; k < frames; ++k)
      StormFrame(*storm, sprites, source.data(), out.data(), stride, CursorNow(), random);
    return out;
  }
  bool SomeSecondGives(time_t from, time_t to, int frames, int count, const std::vector<uint8_t>& frame,
                       int w = kW, int h = kH) const {
    for (time_t t = from; t <= to; ++t)
      if (Replay(uint32_t(t), frames, count, w, h) == frame) return true;
    return false;
  }
};

TEST_F(StormFixture, PlaysAtOnceSteeredByTheCursorAndStopThenOkOrCancelSettles) {
  const std::vector<uint8_t> original = Original();
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  // At the centre the cloud spins about its third axis; up and to the left
  // it tumbles too.
  for (const POINT cursor : {POINT{sw / 2, sh / 2}, POINT{sw / 8, sh / 5}}) {
    for (const bool accept : {true, false}) {
      SCOPED_TRACE(std::to_string(cursor.x) + (accept ? " OK" : " Cancel"));
      SetCursorPos(cursor.x, cursor.y);
      EffectRun r0;
      r0.image = MakeTestPicture(kW, kH);
      std::vector<uint8_t> lastFrame;
      int frames = 0, notified = 0;
      bool playingAfterOk = false, progressShown = true;
      std::string stopLabel, cancelLabel;
      const time_t from = time(nullptr);
      r0.Run(plugin.Effect("ProcessStorm"), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 2);
        user.Command(&r.dialog, IDC_EFFECT_OK);
        WaitFrames(user, r, 4);
        user.Then([&] {
          playingAfterOk = IsPlaying(r);
          stopLabel = ItemText(r, IDC_EFFECT_CANCEL);
          progressShown = IsWindowVisible(r.Item(IDC_EFFECT_PROGRESS)) != FALSE;
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
      EXPECT_EQ(r0.result, accept ? 1 : 0);
      EXPECT_TRUE(playingAfterOk) << "OK while playing is ignored";
      EXPECT_FALSE(progressShown);
      EXPECT_EQ(stopLabel, "&Stop");
      EXPECT_EQ(cancelLabel, "Cancel");
      EXPECT_EQ(notified, 1);
      EXPECT_EQ(r0.host.Count(VM_SHARE_RECT), 1);
      EXPECT_NE(lastFrame, original);
      EXPECT_TRUE(SomeSecondGives(from, to, frames, kStormDefaultCount, lastFrame));
      // The same seconds with the cursor elsewhere give other frames.
      const POINT other = cursor.x == sw / 2 ? POINT{sw - 1, 0} : POINT{sw / 2, sh / 2};
      SetCursorPos(other.x, other.y);
      EXPECT_FALSE(SomeSecondGives(from, to, frames, kStormDefaultCount, lastFrame));
      ASSERT_NE(r0.image, nullptr);
      EXPECT_EQ(DibPixels(r0.image), accept ? lastFrame : original);
      GlobalFree(r0.image);
    }
  }
}

TEST_F(StormFixture, TheSliderMakesANewCloudOfItsCountForTheNextPlay) {
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 3, GetSystemMetrics(SM_CYSCREEN) / 2);
  int firstPlay = 0, both = 0, position = 0;
  std::string label;
  std::vector<uint8_t> lastFrame;
  time_t from = 0;
  run.Run(plugin.Effect("ProcessStorm"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      position = SliderAt(r, 501);
      return true;
    });
    StopPlaying(user, r);
    MoveSlider(user, r, 501, 7);
    user.Then([&] {
      label = ItemText(r, 701);
      firstPlay = r.host.Count(EM_NEW_FRAME);
      from = time(nullptr);
      return true;
    });
    PlayOnAndNoteFrame(user, r, 4, lastFrame, both);
    Press(user, r, IDC_EFFECT_OK);
  });
  const time_t to = time(nullptr);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(position, kStormDefaultCount);
  EXPECT_EQ(label, "7");
  EXPECT_EQ(DibPixels(run.image), lastFrame);
  EXPECT_TRUE(SomeSecondGives(from, to, both - firstPlay, 7, lastFrame));
}

TEST_F(StormFixture, HiddenRunsPlayTicksAndItemQueriesAreNotAnsweredAndTinyPicturesPlay) {
  run.context[kHostNoDialog] = 1;
  bool visible = true;
  Unanswered answers;
  run.Run(plugin.Effect("ProcessStorm"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      visible = IsWindowVisible(r.dialog) != FALSE;
      answers = AskWhatIsNotAnswered(r);
      return true;
    });
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(run.result, 0);
  EXPECT_FALSE(visible);
  ExpectUnanswered(answers);
  EXPECT_EQ(DibPixels(run.image), Original());

  SetCursorPos(3, 3);
  for (const char* function : {"ProcessStorm", "ProcessStar"})
    for (const auto& [w, h] : {std::pair{1, 1}, {3, 2}}) {
      SCOPED_TRACE(std::string(function) + " " + std::to_string(w) + "x" + std::to_string(h));
      EffectRun tiny;
      tiny.image = MakeTestPicture(w, h);
      int frames = 0;
      std::vector<uint8_t> last;
      const time_t from = time(nullptr);
      tiny.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 4);
        StopAndNoteFrame(user, r, last, frames);
        Press(user, r, IDC_EFFECT_OK);
      });
      EXPECT_EQ(tiny.result, 1);
      EXPECT_EQ(PictureWidth(tiny.image), w);
      if (std::string(function) == "ProcessStorm") {
        EXPECT_TRUE(SomeSecondGives(from, time(nullptr), frames, kStormDefaultCount, last, w, h));
      }
      GlobalFree(tiny.image);
    }
}

// A copy of the module whose "Flare" sprite is damaged (four bytes),
// beside its resource module, refuses the run: result 0, no dialog, the
// picture as it was.
// Notes the first language a resource is stored in (the callback keeps the
// system's calling convention, which 32-bit builds need).
BOOL CALLBACK FirstLanguage(HMODULE, LPCSTR, LPCSTR, WORD found, LONG_PTR out) {
  *reinterpret_cast<WORD*>(out) = found;
  return FALSE;
}

TEST_F(StormFixture, ADamagedSpriteRefusesTheRun) {
  const std::string folder = ProgramDir() + "\\nosprite";
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((ProgramDir() + "\\Qlo17.PL1").c_str(), (folder + "\\Qlo17x.PL1").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((ProgramDir() + "\\Qlo17.R").c_str(), (folder + "\\Qlo17.R").c_str(), FALSE));
  WORD language = 0;
  EnumResourceLanguagesA(plugin.module(), "HDIB", "Flare", FirstLanguage, LONG_PTR(&language));
  HANDLE update = BeginUpdateResourceA((folder + "\\Qlo17x.PL1").c_str(), FALSE);
  ASSERT_NE(update, nullptr);
  char junk[4] = {1, 2, 3, 4};
  ASSERT_TRUE(UpdateResourceA(update, "HDIB", "Flare", language, junk, sizeof junk));
  ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
  {
    PluginModule lacking("nosprite\\Qlo17x.PL1");
    ASSERT_NE(lacking.module(), nullptr);
    ASSERT_NE(lacking.module(), plugin.module());
    EXPECT_EQ(SizeofResource(lacking.module(), FindResourceA(lacking.module(), "Flare", "HDIB")), 4u) << language;
    HGLOBAL passed = run.image;
    run.Run(lacking.Effect("ProcessStorm"), [](ScriptedUser&, EffectRun&) {});
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.image, passed);
    EXPECT_EQ(run.dialog, nullptr);
    EXPECT_EQ(run.host.Count(EM_NEW_FRAME), 0);
    EXPECT_EQ(DibPixels(run.image), Original());
  }
  DeleteFileA((folder + "\\Qlo17x.PL1").c_str());
  DeleteFileA((folder + "\\Qlo17.R").c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace quillo::test
