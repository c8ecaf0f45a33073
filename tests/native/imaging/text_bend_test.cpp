// Mapping text outline points between guide lines.
#include <gtest/gtest.h>

#include <vector>

#include "text_bend.h"

namespace quillo::imaging {
namespace {

std::vector<GuidePoint> Line(int count, int x0, int y0, int x1, int y1) {
  std::vector<GuidePoint> line;
  for (int i = 0; i < count; ++i)
    line.push_back({x0 + (x1 - x0) * i / (count - 1), y0 + (y1 - y0) * i / (count - 1)});
  return line;
}

TEST(TextBendTest, StraightGuidesMoveAndScaleTheBox) {
  // Box 100 x 20; top guide y = 50, bottom y = 90, both x 200..400 in 11 steps.
  const auto top = Line(11, 200, 50, 400, 50), bottom = Line(11, 200, 90, 400, 90);
  const std::vector<GuidePoint> points = {{0, 0}, {50, 10}, {100, 20}, {35, 5}};
  std::vector<GuidePoint> out(points.size());
  ASSERT_TRUE(BendTextPoints(points.data(), points.size(), 100, 20, top.data(), 11,
                             bottom.data(), 11, out.data()));
  EXPECT_EQ(out[0].x, 200);
  EXPECT_EQ(out[0].y, 50);
  EXPECT_EQ(out[1].x, 300);  // u 0.5 -> guide point 5
  EXPECT_EQ(out[1].y, 70);   // halfway between the guides
  EXPECT_EQ(out[2].x, 400);
  EXPECT_EQ(out[2].y, 90);
  EXPECT_EQ(out[3].x, 260);  // u 0.35 -> trunc(3.5) = point 3, not 3.5 of the way
  EXPECT_EQ(out[3].y, 60);
}

TEST(TextBendTest, PointsBeyondTheExtentWidenTheBox) {
  const auto top = Line(3, 0, 0, 100, 0), bottom = Line(3, 0, 10, 100, 10);
  const std::vector<GuidePoint> points = {{40, 30}, {20, 15}};  // box 40 x 30
  std::vector<GuidePoint> out(2);
  ASSERT_TRUE(BendTextPoints(points.data(), 2, 10, 10, top.data(), 3, bottom.data(), 3, out.data()));
  EXPECT_EQ(out[0].x, 100);
  EXPECT_EQ(out[0].y, 10);
  EXPECT_EQ(out[1].x, 50);
  EXPECT_EQ(out[1].y, 5);
}

TEST(TextBendTest, RefusesWhatWouldIndexOutsideTheGuides) {
  const auto top = Line(5, 0, 0, 100, 0), bottom = Line(5, 0, 10, 100, 10);
  const GuidePoint ok[] = {{1, 1}};
  GuidePoint out[2];
  EXPECT_FALSE(BendTextPoints(ok, 0, 10, 10, top.data(), 5, bottom.data(), 5, out));
  EXPECT_FALSE(BendTextPoints(ok, 1, 10, 10, top.data(), 0, bottom.data(), 5, out));
  EXPECT_FALSE(BendTextPoints(ok, 1, 10, 10, top.data(), 5, bottom.data(), -2, out));
  EXPECT_FALSE(BendTextPoints(ok, 1, 10, 10, nullptr, 5, bottom.data(), 5, out));
  // The box may come from the points alone, but not be empty.
  EXPECT_TRUE(BendTextPoints(ok, 1, 0, 0, top.data(), 5, bottom.data(), 5, out));
  const GuidePoint origin[] = {{0, 0}};
  EXPECT_FALSE(BendTextPoints(origin, 1, 0, 0, top.data(), 5, bottom.data(), 5, out));
  // A point left of the origin by more than a guide step: index -1.
  const GuidePoint left[] = {{5, 2}, {-30, 2}};
  EXPECT_FALSE(BendTextPoints(left, 2, 100, 10, top.data(), 5, bottom.data(), 5, out));
  // Slightly left still maps to guide point 0.
  const GuidePoint nearLeft[] = {{-10, 2}};
  EXPECT_TRUE(BendTextPoints(nearLeft, 1, 100, 10, top.data(), 5, bottom.data(), 5, out));
  EXPECT_EQ(out[0].x, 0);
  // A single guide point is a valid (degenerate) line.
  EXPECT_TRUE(BendTextPoints(ok, 1, 10, 10, top.data(), 1, bottom.data(), 1, out));
}

}  // namespace
}  // namespace quillo::imaging
