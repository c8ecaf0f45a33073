// Brightness/contrast: the two tables at their extremes and fixed points,
// the channel switches, and the composed table against per-pixel TC[TB[x]].
#include "brightness_contrast.h"

#include <gtest/gtest.h>

#include <cmath>

#include "colour_test_support.h"

namespace quillo {
namespace {

TEST(BrightnessContrast, BrightnessTableExtremes) {
  const ByteTable up = BrightnessTable(255), down = BrightnessTable(-255),
                  none = BrightnessTable(0);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(up[i], 255) << i;
    EXPECT_EQ(down[i], 0) << i;
    EXPECT_EQ(none[i], i) << i;
  }
  // Integer division: 0 + (255 * 100) / 255 = 100; 100 + (155 * 100) / 255 = 160;
  // (200 * 155) / 255 = 121.
  EXPECT_EQ(BrightnessTable(100)[0], 100);
  EXPECT_EQ(BrightnessTable(100)[100], 160);
  EXPECT_EQ(BrightnessTable(-100)[200], 121);
  // Out-of-range values act as the nearest limit.
  EXPECT_EQ(BrightnessTable(1000), up);
  EXPECT_EQ(BrightnessTable(-1000), down);
}

TEST(BrightnessContrast, ContrastFixedPointsForEveryValue) {
  for (int c = -127; c <= 127; ++c) {
    const ByteTable tc = ContrastTable(c);
    EXPECT_EQ(tc[127], 127) << c;
    EXPECT_EQ(tc[128], 128) << c;
    if (c >= 0) {
      EXPECT_EQ(tc[0], 0) << c;
      EXPECT_EQ(tc[255], 255) << c;
    }
    for (int i = 1; i < 256; ++i) EXPECT_GE(tc[i], tc[i - 1]) << "c=" << c << " i=" << i;
  }
}

TEST(BrightnessContrast, ContrastExtremes) {
  const ByteTable flat = ContrastTable(-127), none = ContrastTable(0), hard = ContrastTable(127);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(flat[i], i <= 127 ? 127 : 128) << i;
    EXPECT_EQ(none[i], i) << i;
    // Exponent 127: all but a narrow band around the middle falls to the ends.
    if (i <= 100) {
      EXPECT_EQ(hard[i], 0) << i;
    }
    if (i >= 155) {
      EXPECT_EQ(hard[i], 255) << i;
    }
  }
  // Negative contrast lifts t = 0 to 1: exponent 0.5 gives trunc(127 * sqrt(1/127)) = 11.
  EXPECT_EQ(ContrastTable(-64)[0], 11);
  EXPECT_EQ(ContrastTable(-64)[255], 244);
}

TEST(BrightnessContrast, ChannelSwitchesAndComposition) {
  struct Case {
    int b, c;
    bool red, green, blue;
  } cases[] = {
      {0, 0, true, true, true},      {255, 0, true, true, true},    {-255, 50, true, false, true},
      {40, -127, true, true, false}, {-90, 60, false, true, false}, {120, -30, false, false, false},
      {17, 127, true, true, true},
  };
  for (const Case& c : cases) {
    // Reference tables straight from the formulas.
    int tb[256], tc[256];
    for (int i = 0; i < 256; ++i)
      tb[i] = c.b >= 0 ? i + ((255 - i) * c.b) / 255 : (i * (c.b + 255)) / 255;
    for (int i = 0; i < 256; ++i) {
      int t = i <= 127 ? i : 255 - i;
      double e;
      if (c.c >= 0) {
        e = c.c == 127 ? 127 : 127.0 / (127 - c.c);
      } else {
        e = (c.c + 127) / 127.0;
        if (t < 1) t = 1;
      }
      const int r = int(127 * std::pow(t / 127.0, e));
      tc[i] = i <= 127 ? r : 255 - r;
    }
    test::TestPicture pic(61, 19);
    test::FillNoise(pic, uint32_t(c.b * 1000 + c.c));
    BrightnessContrastKernel kernel;
    kernel.Prepare({c.b, c.c, c.red, c.green, c.blue});
    kernel.Run(pic.FullPass(), 0, pic.height);
    const bool on[3] = {c.blue, c.green, c.red};
    for (int row = 0; row < pic.height; ++row) {
      for (int x = 0; x < pic.width; ++x) {
        for (int k = 0; k < 3; ++k) {
          const int in = pic.SourcePixel(x, row)[k];
          ASSERT_EQ(pic.TargetPixel(x, row)[k], on[k] ? tc[tb[in]] : in)
              << "b=" << c.b << " c=" << c.c << " byte " << k << " in " << in;
        }
      }
    }
  }
}

}  // namespace
}  // namespace quillo
