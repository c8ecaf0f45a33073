// Rotate and shear through their real dialogs: the background colour comes
// from the colour dialog and shows in the swatch, each apply hands the
// caller a new picture of the turned size (mask along), OK keeps it and
// Cancel brings back the picture and mask passed in.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "contracts/dib_services.h"
#include "plugin_harness.h"
#include "plugins/bxcomm2/kernels/shear_rotate.h"

using namespace quillo;
using namespace quillo::test;

namespace {

constexpr int kW = 37, kH = 29;

bxcomm2::Picture AsPicture(HGLOBAL dib, const BYTE* mask) {
  const int w = PictureWidth(dib), h = PictureHeight(dib);
  bxcomm2::Picture p = *bxcomm2::Picture::Make(w, h, mask != nullptr);
  const std::vector<uint8_t> bytes = DibPixels(dib);
  p.pixels.assign(bytes.begin(), bytes.end());
  if (mask) p.mask.assign(mask, mask + size_t(w) * h);
  return p;
}

BOOL CALLBACK FindOwnedDialog(HWND w, LPARAM param) {
  auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(param);
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") == 0 && GetWindow(w, GW_OWNER) == search->first && IsWindowVisible(w)) {
    search->second = w;
    return FALSE;
  }
  return TRUE;
}

// The visible dialog box owned by `owner` (the common colour dialog the
// button opened), or null while it is not up.
HWND OwnedDialog(HWND owner) {
  std::pair<HWND, HWND> search(owner, nullptr);
  EnumThreadWindows(GetCurrentThreadId(), FindOwnedDialog, LPARAM(&search));
  return search.second;
}

// Opens the colour dialog with button 1001, types red, green and blue into
// its fields and presses OK, as a user does.
ScriptedUser& ChooseBackground(ScriptedUser& user, EffectRun& run, int red, int green, int blue) {
  Press(user, run, 1001);
  return user.Then([&run, red, green, blue] {
    HWND colours = OwnedDialog(run.dialog);
    if (!colours) return false;
    // The red, green and blue fields of the full colour dialog.
    SetDlgItemInt(colours, 706, UINT(red), FALSE);
    SetDlgItemInt(colours, 707, UINT(green), FALSE);
    SetDlgItemInt(colours, 708, UINT(blue), FALSE);
    PostMessageA(colours, WM_COMMAND, IDOK, LPARAM(GetDlgItem(colours, IDOK)));
    return true;
  });
}

TEST(Rotate, ColourDialogBackgroundAndAppliedTurnWithMask) {
  PluginModule plugin("BXCOMM2.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  run.mask = AllocAlpha(run.image);
  for (int i = 0; i < kW * kH; ++i) run.mask[i] = uint8_t(i * 3);
  HGLOBAL passed = run.image;
  const bxcomm2::Picture original = AsPicture(run.image, run.mask);
  run.Run(plugin.Effect("ProcessRotate"), [&](ScriptedUser& user, EffectRun& r) {
    ChooseBackground(user, r, 200, 40, 10);
    MoveSlider(user, r, 501, 30);
    ApplyThenClose(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  ASSERT_NE(run.image, passed);
  const auto expect = bxcomm2::RotatePicture(original, 30, {10, 40, 200});
  ASSERT_TRUE(expect);
  ASSERT_EQ(PictureWidth(run.image), expect->width);
  ASSERT_EQ(PictureHeight(run.image), expect->height);
  const bxcomm2::Picture got = AsPicture(run.image, run.mask);
  EXPECT_EQ(got.pixels, expect->pixels);
  EXPECT_EQ(got.mask, expect->mask);
  // A corner of the canvas shows the chosen background.
  uint8_t corner[3];
  DibPixel(run.image, 0, 0, corner);
  EXPECT_EQ(corner[0], 10);
  EXPECT_EQ(corner[1], 40);
  EXPECT_EQ(corner[2], 200);
  EXPECT_GE(run.host.Count(VM_RELAYOUT), 1);
  FreeAlpha(run.mask);
  GlobalFree(run.image);
}

TEST(Rotate, QuarterTurnThenCancelBringsBackPictureAndMask) {
  PluginModule plugin("BXCOMM2.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  run.mask = AllocAlpha(run.image);
  for (int i = 0; i < kW * kH; ++i) run.mask[i] = uint8_t(i);
  HGLOBAL passed = run.image;
  BYTE* passedMask = run.mask;
  const std::vector<uint8_t> pixels = DibPixels(run.image);
  int turnedWidth = 0;
  run.Run(plugin.Effect("ProcessRotate"), [&](ScriptedUser& user, EffectRun& r) {
    MoveSlider(user, r, 501, -270);
    Press(user, r, IDC_EFFECT_APPLY);
    WaitIdle(user, r);
    user.Then([&] {
      turnedWidth = PictureWidth(r.image);
      return true;
    });
    Press(user, r, IDC_EFFECT_CANCEL);
  });
  EXPECT_EQ(turnedWidth, kH) << "a quarter turn swaps the sides exactly";
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(run.image, passed);
  EXPECT_EQ(run.mask, passedMask);
  EXPECT_EQ(DibPixels(run.image), pixels);
  FreeAlpha(run.mask);
  GlobalFree(run.image);
}

TEST(Shear, BothSlidersShapeTheNewPicture) {
  PluginModule plugin("BXCOMM2.PL1");
  EffectRun run;
  run.image = MakeTestPicture(kW, kH);
  const bxcomm2::Picture original = AsPicture(run.image, nullptr);
  run.Run(plugin.Effect("ProcessShear"), [&](ScriptedUser& user, EffectRun& r) {
    MoveSlider(user, r, 502, 20);
    MoveSlider(user, r, 503, -10);
    ApplyThenClose(user, r, IDC_EFFECT_OK);
  });
  EXPECT_EQ(run.result, 1);
  const auto expect = bxcomm2::ShearPicture(original, 20, -10, {255, 255, 255});
  ASSERT_TRUE(expect);
  ASSERT_EQ(PictureWidth(run.image), expect->width);
  ASSERT_EQ(PictureHeight(run.image), expect->height);
  EXPECT_EQ(AsPicture(run.image, nullptr).pixels, expect->pixels);
  EXPECT_EQ(run.mask, nullptr);
  GlobalFree(run.image);
}

}  // namespace
