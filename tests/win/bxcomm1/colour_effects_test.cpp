// The colour effects through their real dialogs: what each control does
// to the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "contracts/ui_controls.h"
#include "plugin_harness.h"
#include "plugins/bxcomm1/kernels/colour_pack.h"
#include "plugins/bxcomm1/kernels/gamma.h"
#include "plugins/bxcomm1/kernels/modulate.h"

using namespace quillo::test;

namespace {

int Stride24(int width) { return ((width * 24 + 31) / 32) * 4; }

// Applies `f` to every pixel triple of a 24-bit pixel copy.
template <class F>
std::vector<uint8_t> MapPixels(std::vector<uint8_t> pixels, int width, int height, F f) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) f(&pixels[size_t(y) * Stride24(width) + x * 3]);
  return pixels;
}

}  // namespace

TEST(BrightnessContrast, WorksOnTheLivePictureAndCancelRestoresIt) {
  PluginModule plugin("BXCOMM1.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  EffectRun run;
  run.image = MakeTestPicture(21, 13);
  const auto original = DibPixels(run.image);
  std::vector<uint8_t> afterBrightness, afterRedOff;
  int redrawsWhileOpen = 0;
  run.Run(plugin.Effect("ProcessBrightnessContrast"), [&](ScriptedUser& user, EffectRun& run) {
    MoveSlider(user, run, 501, 255);
    user.WaitTicks(2);
    user.Then([&] {
      afterBrightness = DibPixels(run.image);
      return true;
    });
    ClickButton(user, run, 601);  // red off: red comes back from the backup
    user.WaitTicks(2);
    user.Then([&] {
      afterRedOff = DibPixels(run.image);
      redrawsWhileOpen = run.host.Count(2099);
      return true;
    });
    Press(user, run, IDC_EFFECT_CANCEL);
  });
  // Brightness 255 maps every byte to 255 before the contrast table (c = 0
  // keeps 255).
  EXPECT_EQ(afterBrightness, MapPixels(original, 21, 13, [](uint8_t* p) { p[0] = p[1] = p[2] = 255; }));
  EXPECT_EQ(afterRedOff, MapPixels(original, 21, 13, [](uint8_t* p) { p[0] = p[1] = 255; }));
  EXPECT_GE(redrawsWhileOpen, 2);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(DibPixels(run.image), original);
  GlobalFree(run.image);
}

TEST(BrightnessContrast, ContrastMinusMaximumIsFlatGreyAndAcceptKeepsIt) {
  PluginModule plugin("BXCOMM1.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  EffectRun run;
  run.image = MakeTestPicture(10, 10);
  const auto original = DibPixels(run.image);
  run.Run(plugin.Effect("ProcessBrightnessContrast"), [](ScriptedUser& user, EffectRun& run) {
    MoveSlider(user, run, 502, -127);
    user.WaitTicks(2);
    Press(user, run, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(DibPixels(run.image), MapPixels(original, 10, 10, [](uint8_t* p) {
              for (int c = 0; c < 3; ++c) p[c] = p[c] <= 127 ? 127 : 128;
            }));
  GlobalFree(run.image);
}

TEST(Gamma, ModeButtonsEnableTheirControlsAndSwitchedOffChannelsAreCopied) {
  PluginModule plugin("BXCOMM1.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  EffectRun run;
  run.image = MakeTestPicture(33, 17);
  const auto original = DibPixels(run.image);
  bool masterAtStart = false, channelsAtStart = true, channelsLater = false, masterLater = true;
  run.Run(plugin.Effect("ProcessGamma"), [&](ScriptedUser& user, EffectRun& run) {
    user.Then([&] {
      if (!run.dialog) return false;
      masterAtStart = IsWindowEnabled(run.Item(504));
      channelsAtStart = IsWindowEnabled(run.Item(501)) || IsWindowEnabled(run.Item(601));
      return true;
    });
    ClickButton(user, run, 801);  // per channel
    user.Then([&] {
      channelsLater = IsWindowEnabled(run.Item(502)) && IsWindowEnabled(run.Item(602));
      masterLater = IsWindowEnabled(run.Item(504));
      return true;
    });
    MoveSlider(user, run, 502, 150);  // green 1 + 50/10 = 6.0
    MoveSlider(user, run, 503, 30);   // blue 0.3, but its switch goes off
    ClickButton(user, run, 603);
    ApplyThenClose(user, run, IDC_EFFECT_OK);
  });
  EXPECT_TRUE(masterAtStart);
  EXPECT_FALSE(channelsAtStart);
  EXPECT_TRUE(channelsLater);
  EXPECT_FALSE(masterLater);
  const auto green = quillo::GammaTable(quillo::GammaChannelExponent(150));
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(DibPixels(run.image), MapPixels(original, 33, 17, [&](uint8_t* p) { p[1] = green[p[1]]; }));
  GlobalFree(run.image);
}

TEST(Modulate, SharesAZeroRectangleWithTheViewAndAppliesTheShift) {
  PluginModule plugin("BXCOMM1.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  EffectRun run;
  run.image = MakeTestPicture(19, 11);
  const auto original = DibPixels(run.image);
  INT32 sharedAtStart[4] = {-1, -1, -1, -1};
  run.Run(plugin.Effect("ProcessModulate"), [&](ScriptedUser& user, EffectRun& run) {
    user.Then([&] {
      for (const auto& e : run.host.messages())
        if (e.message == 2064) std::copy_n(reinterpret_cast<INT32*>(e.lParam), 4, sharedAtStart);
      return true;
    });
    MoveSlider(user, run, 501, 60);
    MoveSlider(user, run, 503, -40);
    ApplyThenClose(user, run, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.host.Count(2064), 1);
  for (INT32 v : sharedAtStart) EXPECT_EQ(v, 0);
  // Same bytes as the kernel gives for those settings.
  std::vector<uint8_t> expected = original;
  quillo::ModulateSettings settings;
  settings.hue = 60;
  settings.lightness = -40;
  quillo::ModulateKernel kernel;
  kernel.Prepare(settings);
  quillo::PixelPass pass;
  pass.source = original.data();
  pass.target = expected.data();
  pass.width = 19;
  pass.height = 11;
  pass.stride = Stride24(19);
  pass.colEnd = 19;
  pass.rowEnd = 11;
  kernel.Run(pass, 0, 11);
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(DibPixels(run.image), expected);
  GlobalFree(run.image);
}

TEST(ColourPack, ListsThePresetsAndAPresetSetsItsSlidersCaptionsAndPixels) {
  PluginModule plugin("BXCOMM1.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  EffectRun run;
  run.image = MakeTestPicture(23, 15);
  const auto original = DibPixels(run.image);
  const auto presets = quillo::ColourPresets();
  int listed = -1, selected = -1;
  std::string firstName, caption2, caption3;
  bool secondEnabled = false, thirdEnabled = true, sixthCaptionEnabled = true;
  int slider1 = -1;
  std::vector<uint8_t> afterMaxRgb;
  run.Run(plugin.Effect("ProcessClrPack"), [&](ScriptedUser& user, EffectRun& run) {
    user.Then([&] {
      if (!run.dialog) return false;
      HWND list = run.Item(1301);
      listed = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
      selected = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
      char text[64] = {};
      SendMessageA(list, LB_GETTEXT, 0, LPARAM(text));
      firstName = text;
      return true;
    });
    ChooseListItem(user, run, 1301, "Two Level Contrast");
    WaitIdle(user, run);
    user.Then([&] {
      char text[64] = {};
      GetDlgItemTextA(run.dialog, 1502, text, sizeof text);
      caption2 = text;
      GetDlgItemTextA(run.dialog, 1503, text, sizeof text);
      caption3 = text;
      secondEnabled = IsWindowEnabled(run.Item(502)) && IsWindowEnabled(run.Item(702));
      thirdEnabled = IsWindowEnabled(run.Item(503)) || IsWindowEnabled(run.Item(703));
      sixthCaptionEnabled = IsWindowEnabled(run.Item(1506));
      slider1 = int(SendMessageA(run.Item(501), SL_GETPOS, 0, 0));
      return true;
    });
    ChooseListItem(user, run, 1301, "Max RGB");
    Press(user, run, IDC_EFFECT_APPLY);
    WaitIdle(user, run);
    user.WaitTicks(1).Then([&] {
      afterMaxRgb = DibPixels(run.image);
      return true;
    });
    ChooseListItem(user, run, 1301, "Darken");
    MoveSlider(user, run, 501, 255);
    ApplyThenClose(user, run, IDC_EFFECT_OK);
  });
  EXPECT_EQ(listed, int(presets.size()));
  EXPECT_EQ(selected, 0);
  EXPECT_EQ(firstName, presets.front().name);
  const auto* twoLevel = quillo::FindColourPreset("Two Level Contrast");
  ASSERT_NE(twoLevel, nullptr);
  EXPECT_EQ(caption2, twoLevel->labels[1]);
  EXPECT_EQ(caption3, "");
  EXPECT_TRUE(secondEnabled);
  EXPECT_FALSE(thirdEnabled);
  EXPECT_FALSE(sixthCaptionEnabled);
  EXPECT_EQ(slider1, twoLevel->defaults[0]);
  EXPECT_EQ(afterMaxRgb, MapPixels(original, 23, 15, [](uint8_t* p) {
              p[0] = p[1] = p[2] = std::max({p[0], p[1], p[2]});
            }));
  // Darken at 255: Y never exceeds 255, so every pixel turns black.
  EXPECT_EQ(run.result, 1);
  EXPECT_EQ(DibPixels(run.image), MapPixels(original, 23, 15, [](uint8_t* p) { p[0] = p[1] = p[2] = 0; }));
  GlobalFree(run.image);
}

TEST(ColourPack, CancelAfterApplyGivesThePictureBack) {
  PluginModule plugin("BXCOMM1.PL1");
  ASSERT_NE(plugin.module(), nullptr);
  EffectRun run;
  run.image = MakeTestPicture(17, 9);
  const auto original = DibPixels(run.image);
  run.Run(plugin.Effect("ProcessClrPack"), [](ScriptedUser& user, EffectRun& run) {
    ChooseListItem(user, run, 1301, "Red Channel");
    ApplyThenClose(user, run, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(DibPixels(run.image), original);
  GlobalFree(run.image);
}
