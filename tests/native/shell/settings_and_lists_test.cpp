#include <gtest/gtest.h>

#include <string>

#include "path_join.h"
#include "recent_files.h"
#include "settings_values.h"
#include "thumbnail_layout.h"

namespace quillo {
namespace {

TEST(WinPos, PlausibilityOnA1024x768Screen) {
  struct Case {
    const char* text;
    bool accepted;
    bool maximized;
  } cases[] = {
      {"10 20 800 600", true, false},
      {"10 20 800 600 1", true, true},
      {"10 20 800 600 0", true, false},
      {"10 20 800 600 2", true, false},
      {"10 20 0 600", false, false},       // zero width
      {"10 20 800 -600", false, false},
      {"10 20 800", false, false},         // three numbers
      {"1014 20 800 600", true, false},    // left = screen width - 10
      {"1015 20 800 600", false, false},
      {"10 759 800 600", false, false},
      {"0 0 1124 868", true, false},       // the +100 limits
      {"0 0 1125 868", false, false},
      {"-3000 0 800 600", false, false},   // wholly left of the screen
      {"99999999999 0 800 600", false, false},
      {"", false, false},
      {"a b c d", false, false},
  };
  for (const Case& c : cases) {
    const auto p = ParseWinPos(c.text, 1024, 768);
    EXPECT_EQ(p.has_value(), c.accepted) << c.text;
    if (p) {
      EXPECT_EQ(p->maximized, c.maximized) << c.text;
    }
  }
  const auto p = ParseWinPos(FormatWinPos({-4, 7, 640, 480, true}).c_str(), 1024, 768);
  ASSERT_TRUE(p);
  EXPECT_EQ(FormatWinPos(*p), "-4 7 640 480 1");
  EXPECT_FALSE(ParseWinPos(nullptr, 1024, 768));
}

TEST(Settings, IntervalAndFlags) {
  struct Case {
    const char* text;
    int interval;
  } cases[] = {
      {nullptr, 3000}, {"3000", 3000}, {"50", 1000}, {"40000", 1000}, {"", 1000},
      {"100", 100},    {"30000", 30000}, {"30001", 1000}, {"  250", 250},
      {"00000000012345", 1000},  // only ten characters read: "0000000001"
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseAnimationInterval(c.text), c.interval) << (c.text ? c.text : "(missing)");
  EXPECT_TRUE(ParseFlagSetting(nullptr, true));
  EXPECT_FALSE(ParseFlagSetting(nullptr, false));
  EXPECT_TRUE(ParseFlagSetting("1", false));
  EXPECT_FALSE(ParseFlagSetting("0", true));
  EXPECT_FALSE(ParseFlagSetting("-3", true));
}

TEST(RecentFiles, MoveToTopDuplicatesAndOverflow) {
  RecentFiles list;
  for (const char* p : {"C:\\a.bmp", "C:\\b.bmp", "C:\\c.bmp", "C:\\d.bmp", "C:\\e.bmp"})
    EXPECT_TRUE(EnterRecentFile(list, p));
  EXPECT_EQ(list, (RecentFiles{"C:\\e.bmp", "C:\\d.bmp", "C:\\c.bmp", "C:\\b.bmp", "C:\\a.bmp"}));
  EXPECT_TRUE(EnterRecentFile(list, "c:\\B.BMP"));  // listed: moves up, no loss
  EXPECT_EQ(list, (RecentFiles{"c:\\B.BMP", "C:\\e.bmp", "C:\\d.bmp", "C:\\c.bmp", "C:\\a.bmp"}));
  EXPECT_TRUE(EnterRecentFile(list, "C:\\f.bmp"));  // new: the oldest drops out
  EXPECT_EQ(list, (RecentFiles{"C:\\f.bmp", "c:\\B.BMP", "C:\\e.bmp", "C:\\d.bmp", "C:\\c.bmp"}));
  EXPECT_TRUE(EnterRecentFile(list, "C:\\f.bmp"));  // already first
  EXPECT_EQ(list[1], "c:\\B.BMP");
  const RecentFiles before = list;
  EXPECT_FALSE(EnterRecentFile(list, ""));
  EXPECT_FALSE(EnterRecentFile(list, " C:\\x.bmp"));
  EXPECT_FALSE(EnterRecentFile(list, std::string(299, 'x')));
  EXPECT_TRUE(EnterRecentFile(list, "C:\\" + std::string(295, 'y')));  // 298 characters
  EXPECT_EQ(list[1], before[0]);
  EXPECT_EQ(RecentKey(0), "i1");
  EXPECT_EQ(RecentKey(4), "i5");
  EXPECT_EQ(RecentValueFromSettings(std::string(400, 'z')).size(), 299u);
}

TEST(RecentFiles, MenuOrderAndStartFolder) {
  RecentFiles list{"C:\\pics\\new.bmp", "", "C:\\old.bmp", "", ""};
  EXPECT_EQ(RecentMenuOrderAtStart(list), (std::vector<int>{2, 0}));
  EXPECT_EQ(RecentMenuOrderAfterOpen(list), (std::vector<int>{0, 2}));
  EXPECT_TRUE(RecentMenuOrderAtStart(RecentFiles{}).empty());
  EXPECT_EQ(OpenDialogStartFolder(list, "D:\\Quillo"), "C:\\pics");
  EXPECT_EQ(OpenDialogStartFolder({"C:\\x.bmp"}, "D:\\Quillo"), "C:\\");
  EXPECT_EQ(OpenDialogStartFolder({"x.bmp"}, "D:\\Quillo"), "D:\\Quillo\\Samples");
  EXPECT_EQ(OpenDialogStartFolder({}, std::string(255, 'q')), "") << "too long for a path";
}

TEST(PathJoin, BoundedConcatenation) {
  EXPECT_EQ(JoinPath("C:\\dir", "f.ini").value(), "C:\\dir\\f.ini");
  EXPECT_EQ(JoinPath("C:\\", "f.ini").value(), "C:\\f.ini");
  EXPECT_EQ(JoinPath("", "f.ini").value(), "f.ini");
  EXPECT_TRUE(JoinPath(std::string(254, 'd'), "abcd").has_value());  // 259 characters
  EXPECT_FALSE(JoinPath(std::string(254, 'd'), "abcde").has_value());
  char buf[8];
  EXPECT_TRUE(JoinPathInto(buf, sizeof buf, "ab", "cde"));
  EXPECT_STREQ(buf, "ab\\cde");
  EXPECT_FALSE(JoinPathInto(buf, sizeof buf, "abc", "defg"));
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(DirectoryOf("C:\\Program\\Quillo.exe"), "C:\\Program");
  EXPECT_EQ(DirectoryOf("Quillo.exe"), "");
}

TEST(Thumbnail, BoxFittingOfWideTallAndTinyPictures) {
  const int box = ThumbnailBoxSize(1);  // 70 - 2 - 2 = 66
  ASSERT_EQ(box, 66);
  ASSERT_EQ(ThumbnailItemHeight(1), 68);
  struct Case {
    const char* name;
    int w, h;
    Rect expected;
  } cases[] = {
      {"square", 100, 100, {1, 1, 67, 67}},
      {"wide strip", 660, 66, {1, 31, 67, 38}},     // h 7, offset (66-7+1)/2+1
      {"tall column", 33, 660, {33, 1, 36, 67}},    // w MulDiv(33,66,660)=3, offset 64/2+1
      {"tiny, enlarged", 2, 1, {1, 18, 67, 51}},    // h 33, offset 34/2+1
      {"hair line", 10000, 1, {1, 34, 67, 35}},     // would round to 0: kept at 1
      {"empty", 0, 10, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(FitThumbnail(c.w, c.h, box), c.expected) << c.name;
}

TEST(Thumbnail, FrameLayoutAndSpinSteps) {
  const FrameLayout with = LayoutFrame(1000, 700, 20, true);
  EXPECT_EQ(with.mdiClient, (Rect{0, 54, 930, 680}));
  EXPECT_EQ(with.header, (Rect{930, 54, 1000, 84}));
  EXPECT_EQ(with.pane, (Rect{930, 84, 1000, 680}));
  EXPECT_EQ(with.statusLine, (Rect{0, 680, 1000, 700}));
  const FrameLayout without = LayoutFrame(1000, 700, 20, false);
  EXPECT_EQ(without.mdiClient, (Rect{0, 54, 1000, 680}));
  EXPECT_EQ(without.pane, Rect{});
  // Left half steps forward, clears after the last item, restarts at 0.
  EXPECT_EQ(SpinStep(1, 3, false), 2);
  EXPECT_EQ(SpinStep(2, 3, false), -1);
  EXPECT_EQ(SpinStep(-1, 3, false), 0);
  // Right half steps back and stops at the first item.
  EXPECT_EQ(SpinStep(2, 3, true), 1);
  EXPECT_EQ(SpinStep(0, 3, true), 0);
  EXPECT_EQ(SpinStep(-1, 3, true), -1);
  EXPECT_FALSE(SpinRightHalf(35, 70));
  EXPECT_TRUE(SpinRightHalf(36, 70));
}

}  // namespace
}  // namespace quillo
