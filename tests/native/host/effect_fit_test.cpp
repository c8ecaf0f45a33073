#include <gtest/gtest.h>

#include "effect_fit.h"

namespace quillo {
namespace {

TEST(EffectFit, ShrinksIntoTheScreenAreaKeepingTheAspectRatio) {
  // Area 889 x 628: MulDiv(889, 3000, 4000) = 667 is too tall, so the
  // width becomes MulDiv(628, 4000, 3000) = 837.
  EffectFit fit = FitForEffect(1, 0x1000, 4000, 3000, 1024, 768);
  EXPECT_EQ(fit.action, EffectFitAction::kResample);
  EXPECT_EQ(fit.width, 837);
  EXPECT_EQ(fit.height, 628);
  // A wide picture is limited by the width.
  fit = FitForEffect(1, 0x1000, 4000, 1000, 1024, 768);
  EXPECT_EQ(fit.width, 889);
  EXPECT_EQ(fit.height, 222);  // 222.25
  // Half height and half width.
  fit = FitForEffect(1, 0x4000, 4000, 3000, 1024, 768);
  EXPECT_EQ(fit.height, 314);
  EXPECT_EQ(fit.width, 419);  // MulDiv(314, 4000, 3000) = 418.67
  fit = FitForEffect(1, 0x2000, 4000, 3000, 1024, 768);
  EXPECT_EQ(fit.width, 444);
  EXPECT_EQ(fit.height, 333);
  // A picture that fits stays; so does one exactly the area's size.
  EXPECT_EQ(FitForEffect(1, 0x1000, 800, 600, 1024, 768).action, EffectFitAction::kNone);
  EXPECT_EQ(FitForEffect(1, 0x1000, 889, 628, 1024, 768).action, EffectFitAction::kNone);
  EXPECT_EQ(FitForEffect(1, 0x1000, 890, 628, 1024, 768).action, EffectFitAction::kResample);
}

TEST(EffectFit, ZoomOnlyAndNoFitting) {
  EXPECT_EQ(FitForEffect(1, 0x8000, 4000, 3000, 1024, 768).action, EffectFitAction::kResetZoom);
  EXPECT_EQ(FitForEffect(1, 0x9000, 4000, 3000, 1024, 768).action, EffectFitAction::kResetZoom);
  EXPECT_EQ(FitForEffect(1, 0x1, 4000, 3000, 1024, 768).action, EffectFitAction::kNone);
  EXPECT_EQ(FitForEffect(0x20, 0x10000 & 0, 4000, 3000, 1024, 768).action,
            EffectFitAction::kResetZoom);  // warp family without fitting bits
  EXPECT_EQ(FitForEffect(0x20, 0x1000, 100, 100, 1024, 768).action, EffectFitAction::kNone);
}

TEST(EffectFit, ExtremeShapesAndScreensStaySane) {
  EffectFit fit = FitForEffect(1, 0x1000, 1, 100000, 1024, 768);
  EXPECT_EQ(fit.action, EffectFitAction::kResample);
  EXPECT_EQ(fit.width, 1);
  EXPECT_EQ(fit.height, 628);
  fit = FitForEffect(1, 0x1000, 2000000000, 2000000000, 1024, 768);
  EXPECT_EQ(fit.width, 628);
  EXPECT_EQ(fit.height, 628);
  EXPECT_EQ(FitForEffect(1, 0x1000, 4000, 3000, 100, 100).action, EffectFitAction::kNone);
}

}  // namespace
}  // namespace quillo
