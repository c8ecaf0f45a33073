// The plug-in framework's portable rules: which remembered dialog
// positions are taken, and the resizing presets' bounds.
#include <gtest/gtest.h>

#include "plugins/framework/dialog_position.h"
#include "plugins/framework/zoom_presets.h"

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

TEST(ZoomPresets, StayWithinTwoTo16382) {
  int w = 0, h = 0;
  EXPECT_FALSE(quillo::ZoomPresetSize(10000, 10, 2, false, &w, &h));
  EXPECT_TRUE(quillo::ZoomPresetSize(8191, 10, 2, false, &w, &h));
  EXPECT_EQ(w, 16382);
  EXPECT_FALSE(quillo::ZoomPresetSize(20, 40, 16, true, &w, &h)) << "20 / 16 = 1 is too small";
  EXPECT_TRUE(quillo::ZoomPresetSize(40, 33, 16, true, &w, &h));
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
}
