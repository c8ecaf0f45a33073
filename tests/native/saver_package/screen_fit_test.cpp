// The fit of a package picture to the screen before replay.
#include <gtest/gtest.h>

#include "savers/package/screen_fit.h"

namespace quillo::package {
namespace {

// 800 x (600 - 20 - 20) = 800 x 560.
constexpr ScreenMetrics kScreen = {800, 600, 20, 20};

TEST(ScreenFit, NoFitBitsOrKeepSizeLeaveAnyPicture) {
  EXPECT_FALSE(FitToScreen(0x8, 4000, 3000, kScreen).resample);
  EXPECT_FALSE(FitToScreen(0x8000 | 0x1000, 4000, 3000, kScreen).resample);
}

TEST(ScreenFit, APictureInsideTheAreaIsNeverScaled) {
  for (int32_t flags : {0x1000, 0x2000, 0x4000, 0x6000}) {
    SCOPED_TRACE(flags);
    EXPECT_FALSE(FitToScreen(flags, 400, 280, kScreen).resample);
  }
  EXPECT_FALSE(FitToScreen(0x1000, 800, 560, kScreen).resample);
}

TEST(ScreenFit, WidePicturesTakeTheAreaWidthTallOnesItsHeight) {
  const ScreenFit wide = FitToScreen(0x1000, 1600, 600, kScreen);
  EXPECT_TRUE(wide.resample);
  EXPECT_EQ(wide.width, 800);
  EXPECT_EQ(wide.height, 300);
  const ScreenFit tall = FitToScreen(0x1000, 1000, 1400, kScreen);
  EXPECT_EQ(tall.width, 400);  // MulDiv(560, 1000, 1400)
  EXPECT_EQ(tall.height, 560);
  // Rounded as MulDiv rounds: 800 * 333 / 1001 = 266.1, 800 * 700 / 1001 = 559.4,
  // 560 * 999 / 1001 = 558.9.
  EXPECT_EQ(FitToScreen(0x1000, 1001, 333, kScreen).height, 266);
  EXPECT_EQ(FitToScreen(0x1000, 1001, 700, kScreen).height, 559);
  EXPECT_EQ(FitToScreen(0x1000, 999, 1001, kScreen).width, 559);
}

TEST(ScreenFit, HalvingBitsHalveTheArea) {
  // 400 x 560 with 0x2000: a 600 x 300 picture no longer fits.
  const ScreenFit halfWidth = FitToScreen(0x2000, 600, 300, kScreen);
  EXPECT_EQ(halfWidth.width, 400);
  EXPECT_EQ(halfWidth.height, 200);
  // 800 x 280 with 0x4000.
  const ScreenFit halfHeight = FitToScreen(0x4000, 500, 500, kScreen);
  EXPECT_EQ(halfHeight.width, 280);
  EXPECT_EQ(halfHeight.height, 280);
  // Both: 400 x 280; an odd area height shifts down.
  const ScreenFit both = FitToScreen(0x6000, 800, 800, {800, 601, 20, 20});
  EXPECT_EQ(both.width, 280);
  EXPECT_EQ(both.height, 280);
}

TEST(ScreenFit, DegenerateSizesStayOutOfTrouble) {
  EXPECT_FALSE(FitToScreen(0x1000, 0, 100, kScreen).resample);
  EXPECT_FALSE(FitToScreen(0x1000, 100, 100, {800, 30, 20, 20}).resample);
  const ScreenFit sliver = FitToScreen(0x1000, 100000, 1, kScreen);
  EXPECT_EQ(sliver.width, 800);
  EXPECT_EQ(sliver.height, 1);
}

}  // namespace
}  // namespace quillo::package
