// Every effect of the module run as a user would: it plays by itself, Stop
// and OK keep the last frame, Stop and Cancel give the picture back; then
// what particular effects add: the worm hole's fixed size, the water's
// mouse drops, stored settings and the package item answers, pictures too
// small to animate, OK while the lens moves.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "animation_steps.h"
#include "plugins/qlo12/kernels/kale_blob.h"
#include "plugins/qlo12/kernels/water_blob.h"

namespace quillo::test {
namespace {

struct Row {
  const char* function;
  int value;
};
const Row kRows[] = {{"ProcessWorm", 0},   {"ProcessWater", 0}, {"ProcessTunnel", 0},
                     {"ProcessTunnel", 1}, {"ProcessTunnel", 2}, {"ProcessBlob", 0},
                     {"ProcessWarp", 0},   {"ProcessKale", 0},  {"ProcessIllusion", 0},
                     {"ProcessDistort", 0}, {"ProcessDawa", 0}};

int DibSide(HGLOBAL dib, bool wantWidth) {
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  const int side = wantWidth ? header->biWidth : header->biHeight;
  GlobalUnlock(dib);
  return side;
}

TEST(Qlo12Runs, EveryRowPlaysThenOkKeepsTheLastFrameAndCancelGivesThePictureBack) {
  PluginModule plugin("Qlo12.PL1");
  for (const Row& row : kRows) {
    SCOPED_TRACE(std::string(row.function) + " " + std::to_string(row.value));
    for (const bool accept : {true, false}) {
      EffectRun run;
      run.effectValue = row.value;
      run.image = MakeTestPicture(96, 72);
      std::vector<uint8_t> before, lastFrame;
      run.Run(plugin.Effect(row.function), [&](ScriptedUser& user, EffectRun& r) {
        WaitFrames(user, r, 12);
        StopPlaying(user, r);
        user.Then([&] {
          // What the caller's handle holds now: the last frame, and the
          // picture the run started from (the worm hole's is 640 x 480).
          lastFrame = DibPixels(r.image);
          return true;
        });
        Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
      });
      EXPECT_EQ(run.result, accept ? 1 : 0);
      ASSERT_NE(run.image, nullptr);
      const std::vector<uint8_t> after = DibPixels(run.image);
      if (accept) {
        EXPECT_EQ(after, lastFrame);
      } else {
        EXPECT_NE(after, lastFrame) << "twelve frames changed nothing";
        if (std::strcmp(row.function, "ProcessWorm") != 0) {
          HGLOBAL fresh = MakeTestPicture(96, 72);
          EXPECT_EQ(after, DibPixels(fresh));
          GlobalFree(fresh);
        }
      }
      GlobalFree(run.image);
    }
  }
}

TEST(Qlo12Runs, WormHoleAlwaysGivesBackA640By480PictureTurnedWhenTall) {
  PluginModule plugin("Qlo12.PL1");
  for (const bool accept : {true, false}) {
    EffectRun run;
    run.image = MakeTestPicture(50, 90);
    HGLOBAL passed = run.image;
    run.Run(plugin.Effect("ProcessWorm"), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      StopPlaying(user, r);
      Press(user, r, accept ? IDC_EFFECT_OK : IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(run.result, accept ? 1 : 0);
    EXPECT_NE(run.image, passed);
    EXPECT_EQ(DibSide(run.image, true), 640);
    EXPECT_EQ(DibSide(run.image, false), 480);
    // The view hears of the new size when the dialog opens, after the first
    // frame and after the run.
    EXPECT_EQ(run.host.Count(VM_RELAYOUT), 3);
    GlobalFree(run.image);
  }
}

TEST(Qlo12Runs, StillWaterKeepsThePictureAndAPressRipplesItWherePressed) {
  PluginModule plugin("Qlo12.PL1");
  EffectRun run;
  run.image = MakeTestPicture(96, 72);
  const std::vector<uint8_t> original = DibPixels(run.image);
  // Stored settings without surfer, rain or swirl: nothing disturbs the water.
  const double settings[qlo12::kWaterFieldCount] = {5, 400, 30, 0, 0, 0x4000, 3};
  const std::vector<uint8_t> block = animation::WriteParamBlob(
      qlo12::kWaterBlobMagic, qlo12::kWaterBlobFields, qlo12::kWaterFieldCount, settings);
  run.context[kHostParameters] = UINT_PTR(block.data());
  std::vector<uint8_t> still;
  bool surferBox = true;
  run.Run(plugin.Effect("ProcessWater"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 4);
    user.Then([&] {
      still = DibPixels(r.image);
      surferBox = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
      PostMessageA(r.dialog, TOOL_MOUSE_MESSAGE, TOOL_LBUTTON_DOWN, MAKELPARAM(48, 36));
      return true;
    });
    WaitFrames(user, r, 10);
    user.Then([&] {
      PostMessageA(r.dialog, TOOL_MOUSE_MESSAGE, TOOL_LBUTTON_UP, MAKELPARAM(48, 36));
      return true;
    });
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(still, original);
  EXPECT_FALSE(surferBox) << "the check boxes show the stored flags";
  const std::vector<uint8_t> after = DibPixels(run.image);
  ASSERT_EQ(after.size(), original.size());
  const int64_t stride = (96 * 24 + 31) / 32 * 4;
  int changedNear = 0, changedFar = 0;
  for (int y = 0; y < 72; ++y)
    for (int x = 0; x < 96; ++x) {
      const size_t at = size_t((71 - y) * stride + x * 3);
      const bool changed = std::memcmp(&after[at], &original[at], 3) != 0;
      const bool nearPress = (x - 48) * (x - 48) + (y - 36) * (y - 36) < 30 * 30;
      (nearPress ? changedNear : changedFar) += changed;
    }
  EXPECT_GT(changedNear, 20);
  EXPECT_LT(changedFar, changedNear);
}

TEST(Qlo12Runs, StoredSettingsAreTakenAndHandedOutAgain) {
  PluginModule plugin("Qlo12.PL1");
  qlo12::KaleParameters p;
  p.segments = 3;
  p.centreX = 10;
  p.centreY = 20;
  p.mirror = 0;
  std::vector<uint8_t> block = qlo12::WriteKaleBlob(p, 96, 72);
  EffectRun run;
  run.image = MakeTestPicture(96, 72);
  run.context[kHostParameters] = UINT_PTR(block.data());
  int slider = 0;
  bool mirror = true;
  PackageItemQuery query = {}, item = {};
  std::vector<uint8_t> handed;
  run.Run(plugin.Effect("ProcessKale"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      slider = int(SendMessageA(r.Item(503), 0x402 /* SL_GETPOS */, 0, 0));
      mirror = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
      SendMessageA(r.dialog, EM_PACKAGE_QUERY, 0, LPARAM(query));
      SendMessageA(r.dialog, EM_PACKAGE_ITEM, 0, LPARAM(item));
      const auto* data = reinterpret_cast<const uint8_t*>(item[kQueryItemData]);
      if (data) handed.assign(data, data + item[kQueryItemSize]);
      return true;
    });
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(slider, 3);
  EXPECT_FALSE(mirror);
  EXPECT_EQ(query[kQuerySupported], 1u);
  EXPECT_EQ(query[kQueryItemCount], 1u);
  EXPECT_EQ(item[kQueryItemKind], 1u);
  EXPECT_EQ(handed, block);
  GlobalFree(run.image);
}

TEST(Qlo12Runs, AWaterBlockOfAnotherEffectIsIgnored) {
  PluginModule plugin("Qlo12.PL1");
  qlo12::KaleParameters p;
  std::vector<uint8_t> foreign = qlo12::WriteKaleBlob(p, 96, 72);
  EffectRun run;
  run.image = MakeTestPicture(96, 72);
  run.context[kHostParameters] = UINT_PTR(foreign.data());
  int damping = 0;
  PackageItemQuery item = {};
  uint32_t magic = 0;
  run.Run(plugin.Effect("ProcessWater"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 1);
    user.Then([&] {
      damping = int(SendMessageA(r.Item(501), 0x402 /* SL_GETPOS */, 0, 0));
      SendMessageA(r.dialog, EM_PACKAGE_ITEM, 0, LPARAM(item));
      // The block belongs to the effect: read it while the effect runs.
      if (item[kQueryItemData]) std::memcpy(&magic, reinterpret_cast<const void*>(item[kQueryItemData]), 4);
      return true;
    });
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(damping, 5);
  ASSERT_NE(item[kQueryItemData], 0u);
  EXPECT_EQ(magic, qlo12::kWaterBlobMagic);
  EXPECT_EQ(item[kQueryItemSize], 36u);
  GlobalFree(run.image);
}

TEST(Qlo12Runs, PicturesTooSmallToAnimateAreRefusedUntouched) {
  PluginModule plugin("Qlo12.PL1");
  struct Case { const char* function; int w, h; };
  for (const Case& c : {Case{"ProcessWarp", 1, 1}, Case{"ProcessWater", 8, 2},
                        Case{"ProcessBlob", 2, 2}, Case{"ProcessDistort", 59, 80},
                        Case{"ProcessDawa", 1, 3}}) {
    SCOPED_TRACE(c.function);
    EffectRun run;
    run.image = MakeTestPicture(c.w, c.h);
    HGLOBAL passed = run.image;
    const std::vector<uint8_t> before = DibPixels(run.image);
    run.Run(plugin.Effect(c.function), [](ScriptedUser&, EffectRun&) {});
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.image, passed);
    EXPECT_EQ(DibPixels(run.image), before);
    EXPECT_EQ(run.dialog, nullptr);
    GlobalFree(run.image);
  }
}

TEST(Qlo12Runs, OkWhileTheLensMovesClosesWithTheLastFrame) {
  PluginModule plugin("Qlo12.PL1");
  EffectRun run;
  run.image = MakeTestPicture(96, 72);
  run.Run(plugin.Effect("ProcessDistort"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 3);
    user.Command(&r.dialog, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  HGLOBAL fresh = MakeTestPicture(96, 72);
  EXPECT_NE(DibPixels(run.image), DibPixels(fresh));
  GlobalFree(fresh);
  GlobalFree(run.image);
}

}  // namespace
}  // namespace quillo::test
