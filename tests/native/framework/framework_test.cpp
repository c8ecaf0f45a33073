// The plug-in framework's portable rules: which area a selection gives, how
// that area lands on the preview, and which remembered dialog positions are
// taken.
#include <gtest/gtest.h>

#include "plugins/framework/dialog_position.h"
#include "plugins/framework/effect_area.h"

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

TEST(DialogPosition, TakenOnlyWhenBothNumbersLieOnTheScreen) {
  struct Case { const char* text; bool taken; int x, y; };
  const Case cases[] = {
      {"10,20", true, 10, 20},
      {" 10 , 20 ", true, 10, 20},
      {"10 20", true, 10, 20},
      {"0,0", true, 0, 0},
      {"1018,20", true, 1018, 20},
      {"1019,20", false, 0, 0},   // x must stay below width - 5
      {"5000,20", false, 0, 0},
      {"10,763", false, 0, 0},    // y must stay below height - 5
      {"-1,20", false, 0, 0},
      {"10", false, 0, 0},
      {"", false, 0, 0},
      {",,,", false, 0, 0},
      {"99999999999999999999,5", false, 0, 0},
  };
  for (const Case& c : cases) {
    const auto pos = quillo::ParseDialogPosition(c.text, 1024, 768);
    EXPECT_EQ(pos.has_value(), c.taken) << c.text;
    if (pos && c.taken) {
      EXPECT_EQ(pos->x, c.x) << c.text;
      EXPECT_EQ(pos->y, c.y) << c.text;
    }
  }
  EXPECT_FALSE(quillo::ParseDialogPosition(nullptr, 1024, 768));
  EXPECT_EQ(quillo::FormatDialogPosition(-3, 40), "-3,40");
}
