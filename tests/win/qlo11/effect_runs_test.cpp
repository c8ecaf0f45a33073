// Bump, Flash, Envmap, Star and FTrace run as a user would: each plays at
// once, Stop then OK keeps the last frame (checked against the kernels:
// Bump's wandering light, the frame of one of the seconds the run spanned
// for the seeded Flash and Star, a shift of the traced texture for FTrace,
// the torus replayed over the same scaled texture for Envmap), Stop then
// Cancel gives the picture back exactly (Envmap gives back its torus either
// way). Bump follows a forwarded mouse move; Star's OK only stops a running
// field, its restart button plays it anew, its slider, stored and hostile
// blocks and item queries; FTrace's sliders, windows and saver ticks; tiny
// pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "contracts/dib_services.h"
#include "contracts/imaging_library.h"
#include "contracts/ui_controls.h"
#include "plugins/animation/kernels/seamless.h"
#include "plugins/qlo11/kernels/bump.h"
#include "plugins/qlo11/kernels/envmap.h"
#include "plugins/qlo11/kernels/flash.h"
#include "plugins/qlo11/kernels/ftrace.h"
#include "plugins/qlo11/kernels/star.h"
#include "tests/win/qlo12/animation_steps.h"

namespace quillo::test {
namespace {

using namespace qlo11;

constexpr int kW = 96, kH = 72;
constexpr int64_t kStride = (kW * 24 + 31) / 32 * 4;

std::vector<uint8_t> Original(int w = kW, int h = kH) { return TestPicturePixels(w, h); }

std::vector<uint8_t> Block(std::vector<int32_t> fields, uint32_t magic = kStarBlobMagic, int32_t size = -1) {
  if (size < 0) size = int32_t(8 + 4 * fields.size());
  std::vector<uint8_t> b(8 + 4 * fields.size());
  std::memcpy(b.data(), &magic, 4);
  std::memcpy(b.data() + 4, &size, 4);
  std::memcpy(b.data() + 8, fields.data(), 4 * fields.size());
  return b;
}

// The one block an effect hands out to the item queries, or nothing.
std::vector<uint8_t> BlockBytes(EffectRun& run) {
  const HandedBlock handed = AskForBlock(run);
  return handed.count == 1 ? handed.bytes : std::vector<uint8_t>();
}

StarSprites ModuleSprites(const PluginModule& plugin) {
  HINSTANCE resources = plugin.Export<GetResInstFunction>("GetResInst")();
  std::array<std::vector<uint8_t>, kStarSpriteKinds> stored;
  for (int k = 0; k < kStarSpriteKinds; ++k) {
    HRSRC found = FindResourceA(resources, kStarSpriteNames[k], "HDIB");
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(resources, found)));
    ReadPackedSprite(data, SizeofResource(resources, found), kStarSpriteSizes[k], stored[size_t(k)]);
  }
  StarSprites sprites;
  PrepareStarSprites(stored, sprites);
  return sprites;
}

// The frame `frames` frames into a play of `function` seeded with `seed`.
std::vector<uint8_t> Replay(const std::string& function, uint32_t seed, int frames,
                            const StarSprites& sprites) {
  const std::vector<uint8_t> source = Original();
  std::vector<uint8_t> out = source;
  RuntimeRandom random(seed);
  if (function == "ProcessFlash") {
    auto flash = std::make_unique<FlashState>();
    for (int k = 0; k < frames; ++k) FlashFrame(*flash, source.data(), out.data(), kW, kH, kStride, random);
  } else if (function == "ProcessStar") {
    auto field = std::make_unique<StarState>();
    StartStars(*field, kW, kH, random);
    for (int k = 0; k < frames; ++k)
      StarFrame(*field, sprites, source.data(), out.data(), kW, kH, kStride, random);
  } else {
    // Bump with the mouse never moved: the light's path depends only on the
    // frame count.
    BumpState bump;
    StartBump(bump, kW, kH, 0);
    for (int k = 0; k < frames; ++k) BumpFrame(bump, source.data(), out.data(), kW, kH, kStride, 0);
  }
  return out;
}

bool SomeSecondGives(const std::string& function, time_t from, time_t to, int frames,
                     const StarSprites& sprites, const std::vector<uint8_t>& frame) {
  for (time_t t = from; t <= to; ++t)
    if (Replay(function, uint32_t(t), frames, sprites) == frame) return true;
  return false;
}

// True when `frame` is the traced map over the seamless texture at some
// drift (the drift follows the cursor, wherever it lies).
bool SomeShiftGives(const std::vector<uint8_t>& frame, double xr, double yr, int steps) {
  const std::vector<uint8_t> source = Original();
  std::vector<uint8_t> texture(source.size()), out(source.size());
  animation::MakeSeamless(source.data(), texture.data(), kW, kH, kStride);
  std::vector<animation::MapEntry> map(size_t(kW) * kH);
  BuildFTraceMap(kW, kH, xr, yr, steps, map.data());
  for (int oy = 0; oy < kH; ++oy)
    for (int ox = 0; ox < kW; ++ox) {
      out.assign(source.size(), 0);
      DrawTracedFrame(texture.data(), out.data(), kW, kH, kStride, map.data(), ox, oy);
      if (out == frame) return true;
    }
  return false;
}

double BlackShare(const std::vector<uint8_t>& frame, int w = kW, int h = kH) {
  const int64_t stride = (int64_t(w) * 24 + 31) / 32 * 4;
  int black = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &frame[size_t(y * stride + x * 3)];
      black += p[0] == 0 && p[1] == 0 && p[2] == 0;
    }
  return double(black) / (w * h);
}

TEST(Qlo11Runs, EachPlaysAtOnceStopThenOkKeepsTheLastFrameAndCancelGivesThePictureBack) {
  PluginModule plugin("Qlo11.PL1");
  const StarSprites sprites = ModuleSprites(plugin);
  const std::vector<uint8_t> original = Original();
  for (const char* function : {"ProcessBump", "ProcessFlash", "ProcessStar", "ProcessFTrace"}) {
    const std::string f = function;
    for (const bool accept : {true, false}) {
      SCOPED_TRACE(f + (accept ? " OK" : " Cancel"));
      EffectRun run;
      run.image = MakeTestPicture(kW, kH);
      std::vector<uint8_t> lastFrame;
      int frames = 0;
      bool playingAfterOk = false, hint = false;
      std::string stopLabel;
      const time_t from = time(nullptr);
      run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 3);
        user.Then([&] { return IsPlaying(r); });
        // Star's OK stops the field (its own test); the others ignore it.
        if (f != "ProcessStar") user.Command(&r.dialog, IDC_EFFECT_OK);
        WaitFrames(user, r, 8);
        user.Then([&] {
          playingAfterOk = IsPlaying(r);
          stopLabel = ItemText(r, IDC_EFFECT_CANCEL);
          hint = IsWindowVisible(r.Item(IDC_EFFECT_PROGRESS)) != FALSE;
          return true;
        });
        StopAndNoteFrame(user, r, lastFrame, frames);
        Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
      });
      const time_t to = time(nullptr);
      EXPECT_EQ(run.result, accept ? 1 : 0);
      EXPECT_TRUE(playingAfterOk);
      EXPECT_EQ(stopLabel, "&Stop");
      EXPECT_EQ(hint, f == "ProcessFlash" || f == "ProcessFTrace");
      EXPECT_NE(lastFrame, original);
      if (f == "ProcessFTrace")
        EXPECT_TRUE(SomeShiftGives(lastFrame, 1, 1, kFTraceDefaultSteps));
      else
        EXPECT_TRUE(SomeSecondGives(f, from, to, frames, sprites, lastFrame));
      // Bump tells the host it ended only when cancelled.
      const int notified = run.host.Count(HOST_NOTIFY_MESSAGE);
      EXPECT_EQ(notified, f == "ProcessBump" ? (accept ? 0 : 1) : 1);
      ASSERT_NE(run.image, nullptr);
      EXPECT_EQ(DibPixels(run.image), accept ? lastFrame : original);
      GlobalFree(run.image);
    }
  }
}

// The torus is drawn into a new 640 x 480 picture, given back on OK and on
// Cancel alike; a picture taller than wide is turned a quarter turn before
// it is scaled into the texture.
TEST(Qlo11Runs, EnvmapGivesBackTheTorusAt640By480OverTheTurnedPicture) {
  PluginModule plugin("Qlo11.PL1");
  for (const auto& [w, h, accept] : {std::tuple{50, 90, true}, {50, 90, false}, {96, 72, true}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h << (accept ? " OK" : " Cancel"));
    EffectRun run;
    run.image = MakeTestPicture(w, h);
    // The texture the torus mirrors, made the same way.
    HGLOBAL turned = w < h ? DuplicateDIB(run.image, 16) : nullptr;
    HGLOBAL shaped = ZoomDIBEx(turned ? turned : run.image, kEnvmapWidth, kEnvmapHeight);
    HGLOBAL scaled = ZoomDIBEx(shaped, kEnvmapTextureWidth, kEnvmapTextureHeight);
    const std::vector<uint8_t> texture = DibPixels(scaled);
    for (HGLOBAL dib : {turned, shaped, scaled})
      if (dib) DestroyDIB(dib);
    std::vector<uint8_t> lastFrame;
    int frames = 0;
    run.Run(plugin.Effect("ProcessEnvmap"), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 30);
      StopAndNoteFrame(user, r, lastFrame, frames);
      Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(run.result, accept ? 1 : 0);
    ASSERT_NE(run.image, nullptr);
    EXPECT_EQ(PictureWidth(run.image), kEnvmapWidth);
    EXPECT_EQ(PictureHeight(run.image), kEnvmapHeight);
    EXPECT_EQ(DibPixels(run.image), lastFrame);
    EnvmapState torus;
    StartEnvmap(torus);
    std::vector<uint8_t> replay(lastFrame.size());
    for (int k = 0; k < frames; ++k)
      EnvmapFrame(torus, texture.data(), replay.data(), kEnvmapWidth, kEnvmapHeight, kEnvmapWidth * 3);
    EXPECT_EQ(lastFrame, replay);
    EXPECT_LT(BlackShare(lastFrame, kEnvmapWidth, kEnvmapHeight), 0.97) << "some of the torus shows";
    GlobalFree(run.image);
  }
}

// A move over the view takes the light there at once; the picture then
// stays lit there while the mouse rests (less than two seconds).
TEST(Qlo11Runs, BumpLightFollowsAForwardedMouseMove) {
  PluginModule plugin("Qlo11.PL1");
  const std::vector<uint8_t> original = Original();
  std::vector<uint8_t> expected(original.size());
  BumpState lit;
  lit.lightX = 20;
  lit.lightY = 15;
  DrawBump(lit, original.data(), expected.data(), kW, kH, kStride);
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  bool seen = false;
  int tries = 0, notifiedWhileOpen = -1;
  run.Run(plugin.Effect("ProcessBump"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 3);
    ForwardMouse(user, r, TOOL_MOUSE_MOVE, 20, 15);
    user.Then([&] {
      seen = DibPixels(r.image) == expected;
      return seen || ++tries > 50;
    });
    StopPlaying(user, r);
    user.Then([&] {
      notifiedWhileOpen = r.host.Count(HOST_NOTIFY_MESSAGE);
      return true;
    });
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_TRUE(seen) << "the light moved to the mouse";
  EXPECT_EQ(notifiedWhileOpen, 0) << "stopping does not notify";
  EXPECT_EQ(run.host.Count(HOST_NOTIFY_MESSAGE), 1);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(DibPixels(run.image), original);
  GlobalFree(run.image);
}

// OK while the field runs only stops it; Restart plays it anew; the slider
// sets the count, its label and the block the item queries hand out. The
// saver's ticks mean nothing to Star.
TEST(Qlo11Runs, StarOkStopsTheFieldRestartPlaysAgainAndTheSliderStoresTheCount) {
  PluginModule plugin("Qlo11.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  bool openAfterOk = false, playingAfterOk = true, playingAgain = false;
  int stopsBeforeRestart = 0, stopsAfterRestart = 0;
  LRESULT tickAnswer = -1;
  std::vector<uint8_t> before, after, lastFrame;
  std::string label;
  run.Run(plugin.Effect("ProcessStar"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 3);
    user.Then([&] {
      before = BlockBytes(r);
      tickAnswer = SendMessageA(r.dialog, EM_SAVER_TICK, 0, 30);
      stopsBeforeRestart = r.host.Count(HOST_NOTIFY_MESSAGE);
      return true;
    });
    user.Command(&r.dialog, 801);
    user.Then([&] { return r.host.Count(HOST_NOTIFY_MESSAGE) > stopsBeforeRestart; });
    user.Then([&] {
      stopsAfterRestart = r.host.Count(HOST_NOTIFY_MESSAGE);
      return IsPlaying(r);
    });
    user.Then([&] {
      playingAgain = true;
      return true;
    });
    WaitFrames(user, r, 12);
    user.Command(&r.dialog, IDC_EFFECT_OK);
    user.Then([&] { return r.dialog && !IsPlaying(r); });
    user.Then([&] {
      openAfterOk = IsWindow(r.dialog) != FALSE;
      playingAfterOk = IsPlaying(r);
      return true;
    });
    MoveSlider(user, r, 501, 7);
    user.Then([&] {
      label = ItemText(r, 701);
      after = BlockBytes(r);
      lastFrame = DibPixels(r.image);
      return true;
    });
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(tickAnswer, 0);
  EXPECT_EQ(stopsAfterRestart, stopsBeforeRestart + 1) << "Restart stops the field once";
  EXPECT_TRUE(playingAgain);
  EXPECT_TRUE(openAfterOk);
  EXPECT_FALSE(playingAfterOk);
  EXPECT_EQ(before, Block({50}));
  EXPECT_EQ(label, "7");
  EXPECT_EQ(after, Block({7}));
  EXPECT_EQ(DibPixels(run.image), lastFrame);
  GlobalFree(run.image);
}

// Stored blocks set the count (hidden runs too); another effect's magic or
// a wrong size fall back to 50; out-of-range counts are clamped.
TEST(Qlo11Runs, StarTakesStoredBlocksAndClampsOrIgnoresHostileOnes) {
  PluginModule plugin("Qlo11.PL1");
  struct Case {
    std::vector<uint8_t> block;
    bool hidden;
    int count;
  };
  const Case cases[] = {
      {Block({120}), true, 120},
      {Block({120}, 0x35F0AB34), false, 50},
      {Block({120}, kStarBlobMagic, 16), false, 50},
      {Block({0x7FFFFFFF}), true, 300},
      {Block({-5}), false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    run.context[kHostNoDialog] = c.hidden ? 1 : 0;
    run.context[kHostParameters] = UINT_PTR(c.block.data());
    int slider = -1;
    bool visible = !c.hidden;
    std::vector<uint8_t> handed;
    run.Run(plugin.Effect("ProcessStar"), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      user.Then([&] {
        slider = int(SendMessageA(r.Item(501), SL_GETPOS, 0, 0));
        visible = IsWindowVisible(r.dialog) != FALSE;
        handed = BlockBytes(r);
        return true;
      });
      StopPlaying(user, r);
      Press(user, r, IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(slider, c.count);
    EXPECT_EQ(visible, !c.hidden);
    EXPECT_EQ(handed, Block({c.count}));
    EXPECT_EQ(DibPixels(run.image), Original());
    GlobalFree(run.image);
  }
}

// A small window and one step keep most points; a large one and ten steps
// lose most, so the picture is mostly black. The labels show the window
// in units and the step count; the saver's 30th ticks swap the texture
// between plain and seamless, starting with plain.
TEST(Qlo11Runs, FTraceSlidersSetTheWindowAndStepsAndTicksSwapTheTexture) {
  PluginModule plugin("Qlo11.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  run.context[kHostNoDialog] = 1;
  std::vector<std::string> labels;
  std::vector<uint8_t> small, large;
  LRESULT tick29 = -1, tick30 = -1;
  bool afterTick29 = false, afterTick30 = true, afterTick60 = false, visible = true;
  int firstPlay = 0;
  run.Run(plugin.Effect("ProcessFTrace"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      visible = IsWindowVisible(r.dialog) != FALSE;
      tick29 = SendMessageA(r.dialog, EM_SAVER_TICK, 0, 29);
      afterTick29 = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
      tick30 = SendMessageA(r.dialog, EM_SAVER_TICK, 0, 30);
      afterTick30 = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
      SendMessageA(r.dialog, EM_SAVER_TICK, 0, 60);
      afterTick60 = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
      return true;
    });
    StopPlaying(user, r);
    for (int id : {501, 502, 503}) MoveSlider(user, r, id, 1);
    user.Then([&] {
      for (int id : {701, 702, 703}) labels.push_back(ItemText(r, id));
      firstPlay = r.host.Count(EM_NEW_FRAME);
      return true;
    });
    user.Command(&r.dialog, IDC_EFFECT_APPLY);
    user.Then([&] { return r.host.Count(EM_NEW_FRAME) >= firstPlay + 3; });
    StopPlaying(user, r);
    user.Then([&] {
      small = DibPixels(r.image);
      return true;
    });
    MoveSlider(user, r, 501, 100);
    MoveSlider(user, r, 502, 100);
    MoveSlider(user, r, 503, 10);
    user.Then([&] {
      for (int id : {701, 702, 703}) labels.push_back(ItemText(r, id));
      firstPlay = r.host.Count(EM_NEW_FRAME);
      return true;
    });
    user.Command(&r.dialog, IDC_EFFECT_APPLY);
    user.Then([&] { return r.host.Count(EM_NEW_FRAME) >= firstPlay + 3; });
    StopPlaying(user, r);
    user.Then([&] {
      large = DibPixels(r.image);
      return true;
    });
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_FALSE(visible);
  EXPECT_EQ(tick29, 1);
  EXPECT_EQ(tick30, 1);
  EXPECT_TRUE(afterTick29) << "only every 30th tick counts";
  EXPECT_FALSE(afterTick30) << "the first swap makes the plain copy";
  EXPECT_TRUE(afterTick60);
  EXPECT_EQ(labels, (std::vector<std::string>{"0.10", "0.10", "1", "10.00", "10.00", "10"}));
  EXPECT_LT(BlackShare(small), 0.1);
  EXPECT_GT(BlackShare(large), 0.9);
  EXPECT_EQ(DibPixels(run.image), Original());
  GlobalFree(run.image);
}

// One-pixel pictures play in every effect (Star draws its largest sprite
// clipped to the pixel); Envmap still gives back 640 x 480.
TEST(Qlo11Runs, OnePixelPicturesPlay) {
  PluginModule plugin("Qlo11.PL1");
  for (const char* function :
       {"ProcessBump", "ProcessFlash", "ProcessEnvmap", "ProcessStar", "ProcessFTrace"}) {
    SCOPED_TRACE(function);
    EffectRun run;
    run.image = MakeTestPicture(1, 1);
    run.Run(plugin.Effect(function), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 5);
      StopPlaying(user, r);
      Press(user, r, IDC_EFFECT_OK);
    });
    EXPECT_EQ(run.result, 1);
    const bool torus = std::string(function) == "ProcessEnvmap";
    EXPECT_EQ(PictureWidth(run.image), torus ? kEnvmapWidth : 1);
    EXPECT_EQ(PictureHeight(run.image), torus ? kEnvmapHeight : 1);
    GlobalFree(run.image);
  }
}

}  // namespace
}  // namespace quillo::test
