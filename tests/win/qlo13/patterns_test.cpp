// The magic patterns and the colour gradient, run as a user would: the
// pattern radios load each pattern's sliders (only those it uses enabled),
// stored settings choose the pattern and come back from the item queries,
// the saver's ticks change pattern and texture; the gradient list holds the
// shipped gradients, its frames are the kernel's for the chosen gradient
// and sliders, strength 0 leaves the picture, Cancel gives it back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "contracts/ui_controls.h"
#include "plugins/qlo13/kernels/gradient_frame.h"
#include "plugins/qlo13/kernels/gradient_text.h"
#include "tests/win/qlo12/animation_steps.h"

namespace quillo::test {
namespace {

constexpr int kW = 96, kH = 72;

std::vector<uint8_t> Original() { return TestPicturePixels(kW, kH); }

int SliderPos(EffectRun& r, int id) { return int(SendMessageA(r.Item(id), SL_GETPOS, 0, 0)); }

std::vector<uint8_t> MagicBlock(int s1, int s2, int s3, int mode, int seamless) {
  const int32_t words[] = {0x0A411755, 28, s1, s2, s3, mode, seamless};
  std::vector<uint8_t> block(sizeof words);
  std::memcpy(block.data(), words, sizeof words);
  return block;
}

TEST(Qlo13Patterns, PatternRadiosLoadTheirSlidersAndCancelGivesThePictureBack) {
  PluginModule plugin("Qlo13.PL1");
  const std::vector<uint8_t> original = Original();
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  bool opening = false, thirdOffAtFirst = false, thirdOnForRipples = false;
  int rippleThird = -1;
  std::string rippleLabel;
  std::vector<uint8_t> playing;
  run.Run(plugin.Effect("ProcessMagic"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 3);
    user.Then([&] {
      opening = IsDlgButtonChecked(r.dialog, 803) == BST_CHECKED &&
                IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
      thirdOffAtFirst = !IsWindowEnabled(r.Item(503)) && IsWindowEnabled(r.Item(502));
      playing = DibPixels(r.image);
      return true;
    });
    ClickWhilePlaying(user, r, 806);  // "Ripples" uses three sliders
    user.Then([&] { return IsWindowEnabled(r.Item(503)); });
    user.Then([&] {
      thirdOnForRipples = true;
      rippleThird = SliderPos(r, 503);
      rippleLabel = ItemText(r, 703);
      return true;
    });
    WaitFrames(user, r, 8);
    StopPlaying(user, r);
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(run.result, 0);
  EXPECT_TRUE(opening) << "the dialog opens on the third pattern with the seamless texture";
  EXPECT_TRUE(thirdOffAtFirst);
  EXPECT_TRUE(thirdOnForRipples);
  EXPECT_EQ(rippleThird, 2);
  EXPECT_EQ(rippleLabel, "2");
  EXPECT_NE(playing, original);
  EXPECT_EQ(DibPixels(run.image), original);
  GlobalFree(run.image);
}

TEST(Qlo13Patterns, StoredSettingsChooseThePatternAndTicksChangeIt) {
  PluginModule plugin("Qlo13.PL1");
  const std::vector<uint8_t> block = MagicBlock(0, 100, 7, 9, 0);
  const std::vector<uint8_t> outOfRange = MagicBlock(5, 5, 5, 11, 1);
  for (const bool good : {true, false}) {
    SCOPED_TRACE(good ? "pattern 9" : "pattern 11 refused");
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    run.context[kHostParameters] = UINT_PTR(good ? block.data() : outOfRange.data());
    // A saver replays the stored pattern without showing the dialog.
    run.context[kHostNoDialog] = good ? 1 : 0;
    bool radio = false, seamless = true, seamlessAfterTick = false, visible = !good;
    int first = -1, second = -1;
    PackageItemQuery query = {}, item = {};
    std::vector<uint8_t> handed;
    LRESULT tickAnswer = 0;
    run.Run(plugin.Effect("ProcessMagic"), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      user.Then([&] {
        visible = IsWindowVisible(r.dialog) != FALSE;
        radio = IsDlgButtonChecked(r.dialog, good ? 810 : 803) == BST_CHECKED;
        seamless = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
        first = SliderPos(r, 501);
        second = SliderPos(r, 502);
        SendMessageA(r.dialog, EM_PACKAGE_QUERY, 0, LPARAM(query));
        SendMessageA(r.dialog, EM_PACKAGE_ITEM, 0, LPARAM(item));
        const auto* data = reinterpret_cast<const uint8_t*>(item[kQueryItemData]);
        if (data) handed.assign(data, data + item[kQueryItemSize]);
        // The 30th tick: another pattern and the other texture.
        tickAnswer = SendMessageA(r.dialog, EM_SAVER_TICK, 0, 30);
        seamlessAfterTick = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
        return true;
      });
      WaitFrames(user, r, 5);
      StopPlaying(user, r);
      Press(user, r, IDC_EFFECT_OK);
    });
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(visible, !good);
    EXPECT_TRUE(radio);
    EXPECT_EQ(seamless, !good);
    if (good) {
      EXPECT_EQ(first, 0);
      EXPECT_EQ(second, 100);  // the pattern's range goes to 128
      EXPECT_EQ(handed, block);
    } else {
      EXPECT_EQ(first, 3);
      EXPECT_EQ(second, 2);
    }
    EXPECT_EQ(query[kQueryItemCount], 1u);
    EXPECT_EQ(tickAnswer, 1);
    EXPECT_NE(seamlessAfterTick, seamless);
    GlobalFree(run.image);
  }
}

TEST(Qlo13Patterns, GradientFramesAreTheKernelsAndStrengthZeroLeavesThePicture) {
  PluginModule plugin("Qlo13.PL1");
  const std::vector<uint8_t> original = Original();
  const std::vector<qlo13::Gradient> shipped = qlo13::BuiltInGradients();
  ASSERT_GE(shipped.size(), 4u);
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  int listed = 0;
  int firstPlay = 0, secondPlay = 0;
  std::vector<uint8_t> faded, coloured;
  run.Run(plugin.Effect("ProcessGradient"), [&](ScriptedUser& user, EffectRun& r) {
    WaitFrames(user, r, 2);
    user.Then([&] {
      listed = int(SendMessageA(r.Item(1001), LB_GETCOUNT, 0, 0));
      return true;
    });
    StopPlaying(user, r);
    // No colour at all: the picture stays as it was.
    MoveSlider(user, r, 502, 0);
    user.Command(&r.dialog, IDC_EFFECT_APPLY);
    user.Then([&] { return r.host.Count(EM_NEW_FRAME) >= 6; });
    StopPlaying(user, r);
    user.Then([&] {
      faded = DibPixels(r.image);
      return true;
    });
    // The fourth gradient at 60 percent, the hue turning 7 degrees a frame.
    ChooseListItem(user, r, 1001, shipped[3].name.c_str());
    MoveSlider(user, r, 502, 60);
    MoveSlider(user, r, 501, 7);
    user.Then([&] {
      firstPlay = r.host.Count(EM_NEW_FRAME);
      return true;
    });
    user.Command(&r.dialog, IDC_EFFECT_APPLY);
    user.Then([&] { return r.host.Count(EM_NEW_FRAME) >= firstPlay + 5; });
    StopPlaying(user, r);
    user.Then([&] {
      secondPlay = r.host.Count(EM_NEW_FRAME) - firstPlay;
      coloured = DibPixels(r.image);
      return true;
    });
    Press(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(listed, int(shipped.size()));
  EXPECT_EQ(faded, original);
  // The same frames drawn by the kernel.
  const int64_t stride = (kW * 24 + 31) / 32 * 4;
  std::vector<uint8_t> level(size_t(kW) * kH), expected = original;
  qlo13::BuildBrightness(original.data(), kW, kH, stride, level.data());
  qlo13::GradientRun kernel;
  kernel.strength = 60;
  kernel.speed = 7;
  const qlo13::GradientPalette palette = qlo13::PaletteOf(shipped[3]);
  for (int k = 0; k < secondPlay; ++k)
    qlo13::GradientFrame(kernel, palette, level.data(), original.data(), expected.data(), kW, kH, stride);
  EXPECT_EQ(coloured, expected);
  EXPECT_EQ(DibPixels(run.image), coloured);
  GlobalFree(run.image);
}

TEST(Qlo13Patterns, GradientBlocksComeBackFromTheItemQueriesAndHostileOnesAreClamped) {
  PluginModule plugin("Qlo13.PL1");
  const size_t count = qlo13::BuiltInGradients().size();
  auto block = [](int32_t size, int32_t gradient, int32_t speed, int32_t strength, int32_t flowing) {
    const int32_t words[] = {int32_t(0x6C3A9D21), size, gradient, speed, strength, flowing};
    std::vector<uint8_t> bytes(sizeof words);
    std::memcpy(bytes.data(), words, sizeof words);
    return bytes;
  };
  struct Case {
    std::vector<uint8_t> stored;
    int gradient, speed, strength;
    bool flowing;
  };
  const Case cases[] = {
      {block(24, 2, 11, 40, 1), 2, 11, 40, true},
      {block(24, 9999, -5, 500, 0), int(count) - 1, 0, 100, false},  // clamped
      {block(16, 2, 11, 40, 1), 0, 4, 100, false},                    // wrong size: the defaults
  };
  for (const Case& c : cases) {
    EffectRun run;
    run.image = MakeTestPicture(kW, kH);
    run.context[kHostParameters] = UINT_PTR(c.stored.data());
    int selected = -1, speed = -1, strength = -1;
    bool flowing = false;
    PackageItemQuery item = {};
    std::vector<uint8_t> handed;
    run.Run(plugin.Effect("ProcessGradient"), [&](ScriptedUser& user, EffectRun& r) {
      WaitFrames(user, r, 2);
      user.Then([&] {
        selected = int(SendMessageA(r.Item(1001), LB_GETCURSEL, 0, 0));
        speed = SliderPos(r, 501);
        strength = SliderPos(r, 502);
        flowing = IsDlgButtonChecked(r.dialog, 601) == BST_CHECKED;
        SendMessageA(r.dialog, EM_PACKAGE_ITEM, 0, LPARAM(item));
        const auto* data = reinterpret_cast<const uint8_t*>(item[kQueryItemData]);
        if (data) handed.assign(data, data + item[kQueryItemSize]);
        return true;
      });
      StopPlaying(user, r);
      Press(user, r, IDC_EFFECT_CANCEL);
    });
    EXPECT_EQ(selected, c.gradient);
    EXPECT_EQ(speed, c.speed);
    EXPECT_EQ(strength, c.strength);
    EXPECT_EQ(flowing, c.flowing);
    EXPECT_EQ(handed, block(24, c.gradient, c.speed, c.strength, c.flowing ? 1 : 0));
    GlobalFree(run.image);
  }
}

}  // namespace
}  // namespace quillo::test
