// The cursor path and the frame names: interpolation between keys, and the
// file contents and patterns that must be refused.
#include <gtest/gtest.h>

#include "tools/render/cursor_script.h"
#include "tools/render/frame_names.h"

namespace {

using quillo::render::CursorPoint;
using quillo::render::CursorScript;
using quillo::render::FramePattern;

TEST(CursorScript, MovesStraightFromKeyToKeyAndRestsOutsideThem) {
  CursorScript script(CursorPoint{800, 600, 400, 300});
  std::string error;
  ASSERT_TRUE(script.ReadKeys("# a sweep\n5 100 100\r\n\n 9\t-100  300\n12 -100 300\n", error)) << error;
  const int expected[][3] = {{1, 100, 100}, {5, 100, 100}, {6, 50, 150}, {7, 0, 200},
                             {8, -50, 250}, {9, -100, 300}, {40, -100, 300}};
  for (const auto& [frame, x, y] : expected) {
    const CursorPoint c = script.At(frame);
    EXPECT_EQ(c.x, x) << frame;
    EXPECT_EQ(c.y, y) << frame;
    EXPECT_EQ(c.screenWidth, 800);
  }
  // Thirds round to the nearest pixel, both ways.
  ASSERT_TRUE(script.ReadKeys("1 0 0\n4 1 -1\n", error));
  EXPECT_EQ(script.At(2).x, 0);
  EXPECT_EQ(script.At(3).x, 1);
  EXPECT_EQ(script.At(3).y, -1);
  // Without keys the cursor stays where it was put.
  EXPECT_EQ(CursorScript(CursorPoint{800, 600, 7, 8}).At(3).x, 7);
}

TEST(CursorScript, RefusesLinesThatAreNotKeys) {
  for (const char* text : {"", "# only a comment\n", "1 2\n", "1 2 3 4\n", "0 1 1\n", "2 1 1\n2 5 5\n",
                           "3 1 1\n1 5 5\n", "1 x 2\n", "1 2 200000\n", "99999999999 1 1\n"}) {
    CursorScript script;
    std::string error;
    EXPECT_FALSE(script.ReadKeys(text, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
  CursorScript script;
  std::string error;
  EXPECT_FALSE(script.ReadKeys("1 1 1\n\n3 oops 1\n", error));
  EXPECT_NE(error.find("line 3"), std::string::npos) << error;
}

TEST(FramePattern, NumbersTheOneFieldAndRefusesOthers) {
  FramePattern pattern;
  std::string error;
  ASSERT_TRUE(pattern.Parse("out/100%%-%04d.png", error)) << error;
  EXPECT_EQ(pattern.Name(7), "out/100%-0007.png");
  EXPECT_EQ(pattern.Name(123456), "out/100%-123456.png");
  ASSERT_TRUE(pattern.Parse("%d", error));
  EXPECT_EQ(pattern.Name(12), "12");
  for (const char* bad : {"frame.png", "%s.png", "%d-%d", "%", "f%", "%5d", "%00d", "%x", "%%d"})
    EXPECT_FALSE(pattern.Parse(bad, error)) << bad;
}

}  // namespace
