#include <gtest/gtest.h>

#include "savers/effsaver/kernels/chooser_placement.h"

namespace quillo::effsaver {
namespace {

TEST(ChooserPlacement, CommasBlanksOrBothSeparateTheNumbers) {
  for (const char* text : {"10,20,401,351", "10 20 401 351", "10, 20, 401, 351", " 10 ,20 401,,351 "}) {
    SCOPED_TRACE(text);
    const auto p = ParseChooserPlacement(text, 1024, 768);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->left, 10);
    EXPECT_EQ(p->top, 20);
    EXPECT_EQ(p->width, 400);  // the stored size is one more than the window's
    EXPECT_EQ(p->height, 350);
  }
}

// The studio's rule decides after the separators: a missing number or a
// size beyond the screen keeps the template position; a place beyond the
// screen is pulled back.
TEST(ChooserPlacement, TheStudioRuleThenApplies) {
  EXPECT_FALSE(ParseChooserPlacement(nullptr, 1024, 768));
  EXPECT_FALSE(ParseChooserPlacement("10 20 400", 1024, 768));
  EXPECT_FALSE(ParseChooserPlacement("10 20 1025 300", 1024, 768));
  const auto p = ParseChooserPlacement("1015 -6 300 300", 1024, 768);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->left, 1004);
  EXPECT_EQ(p->top, 0);
}

}  // namespace
}  // namespace quillo::effsaver
