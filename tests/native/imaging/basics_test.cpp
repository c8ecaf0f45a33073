// The portable basics: which area a selection gives, how that area lands on
// the preview, and the runtime's random generator.
#include <gtest/gtest.h>

#include "imaging/basics/effect_area.h"
#include "imaging/basics/runtime_random.h"

using quillo::EffectArea;

TEST(SettleArea, InvalidOrEmptySelectionsMeanTheWholePicture) {
  const EffectArea whole{0, 100, 0, 50};
  const int32_t empty[4] = {10, 10, 10, 30};
  const int32_t emptyRows[4] = {10, 30, 40, 30};
  const int32_t negative[4] = {-1, 0, 20, 20};
  const int32_t pastRight[4] = {0, 0, 101, 50};
  const int32_t pastBottom[4] = {0, 0, 100, 51};
  const int32_t reversed[4] = {30, 10, 20, 20};
  EXPECT_EQ(quillo::SettleArea(nullptr, 100, 50), whole);
  for (const int32_t* s : {empty, emptyRows, negative, pastRight, pastBottom, reversed})
    EXPECT_EQ(quillo::SettleArea(s, 100, 50), whole) << s[0] << "," << s[1] << "," << s[2] << "," << s[3];
}

TEST(SettleArea, ValidSelectionBecomesBottomUpRows) {
  const int32_t exactEdges[4] = {0, 0, 100, 50};
  EXPECT_EQ(quillo::SettleArea(exactEdges, 100, 50), (EffectArea{0, 100, 0, 50}));
  // Rows 5..14 from the top of a 50-row picture are memory rows 35..44.
  const int32_t band[4] = {3, 5, 20, 15};
  EXPECT_EQ(quillo::SettleArea(band, 100, 50), (EffectArea{3, 20, 35, 45}));
  const int32_t pixel[4] = {99, 49, 100, 50};
  EXPECT_EQ(quillo::SettleArea(pixel, 100, 50), (EffectArea{99, 100, 0, 1}));
}

TEST(ScaleArea, BoundsScaleOnTheirOwnWithRounding) {
  EXPECT_EQ(quillo::MulDivRound(5, 3, 2), 8);    // 7.5 rounds up
  EXPECT_EQ(quillo::MulDivRound(-5, 3, 2), -8);  // and away from zero
  EXPECT_EQ(quillo::MulDivRound(10, 3, 4), 8);   // 7.5
  EXPECT_EQ(quillo::MulDivRound(1, 1, 3), 0);
  EXPECT_EQ(quillo::MulDivRound(1, 1, 0), -1);
  EXPECT_EQ(quillo::MulDivRound(2000000000, 3, 4), 1500000000);  // no overflow
  const EffectArea area{10, 990, 100, 700};
  EXPECT_EQ(quillo::ScaleArea(area, 1000, 800, 200, 160), (EffectArea{2, 198, 20, 140}));
  EXPECT_EQ(quillo::ScaleArea(EffectArea{0, 1000, 0, 800}, 1000, 800, 137, 110),
            (EffectArea{0, 137, 0, 110}));
}

TEST(RuntimeRandom, FollowsTheRuntimesSequence) {
  // The runtime's first draws after seeding with 1, and with 0.
  quillo::RuntimeRandom one(1);
  for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(one.Next(), expected);
  quillo::RuntimeRandom zero(0);
  EXPECT_EQ(zero.Next(), 38);
  EXPECT_EQ(zero.state(), 2531011u);
  // The state wraps at 32 bits and draws stay within 0..32767.
  quillo::RuntimeRandom high(0xFFFFFFFFu);
  EXPECT_EQ(high.Next(), int(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
  for (int i = 0; i < 1000; ++i) {
    const int v = high.Next();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, quillo::RuntimeRandom::kMax);
  }
  // "rand mod n" takes one draw; a non-positive n gives 0 but still draws.
  quillo::RuntimeRandom a(7), b(7);
  EXPECT_EQ(a.Below(10), b.Next() % 10);
  EXPECT_EQ(a.Below(0), 0);
  b.Next();
  EXPECT_EQ(a.state(), b.state());
}
