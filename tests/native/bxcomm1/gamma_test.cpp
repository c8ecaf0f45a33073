// Gamma: slider-to-exponent mapping, the power tables, and the mode and
// channel switches.
#include "gamma.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "brightness_contrast.h"

#include "colour_test_support.h"

namespace quillo {
namespace {

TEST(Gamma, SliderToExponent) {
  struct Case {
    int v;
    double channel, master;
  } cases[] = {
      {1, 0.01, 0.01}, {50, 0.5, 0.5}, {99, 0.99, 0.99}, {100, 1, 1},
      {150, 6, 1.5},   {200, 11, 2},   {1000, 11, 10},  // channel sliders stop at 200
      {0, 0.01, 0.01},                                  // below range: clamped
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(GammaChannelExponent(c.v), c.channel) << c.v;
    EXPECT_DOUBLE_EQ(GammaMasterExponent(c.v), c.master) << c.v;
  }
}

TEST(Gamma, TablesFollowThePowerCurve) {
  for (double e : {0.01, 0.37, 1.0, 1.4, 2.2, 10.0, 11.0}) {
    const ByteTable t = GammaTable(e);
    for (int i = 0; i < 256; ++i) {
      ASSERT_EQ(t[i], int(255 * std::pow(i / 255.0, e))) << "e=" << e << " i=" << i;
    }
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[255], 255);
  }
  for (int i = 0; i < 256; ++i) EXPECT_EQ(GammaTable(1.0)[i], i);
}

TEST(Gamma, ModeAndChannelSwitches) {
  struct Case {
    bool perChannel, redOn, greenOn, blueOn;
    int master, red, green, blue;
  } cases[] = {
      // Master mode ignores the channel sliders and switches.
      {false, false, false, false, 140, 10, 20, 30},
      {false, true, true, true, 60, 100, 100, 100},
      // Per-channel mode: a switched-off channel is copied even with its slider moved.
      {true, true, true, true, 500, 10, 150, 200},
      {true, false, true, true, 500, 10, 150, 200},
      {true, true, false, false, 100, 30, 180, 5},
  };
  for (const Case& c : cases) {
    GammaSettings s;
    s.perChannel = c.perChannel;
    s.master = c.master, s.red = c.red, s.green = c.green, s.blue = c.blue;
    s.redOn = c.redOn, s.greenOn = c.greenOn, s.blueOn = c.blueOn;
    GammaKernel kernel;
    kernel.Prepare(s);
    test::TestPicture pic(37, 11);
    test::FillNoise(pic, 99);
    kernel.Run(pic.FullPass(), 0, pic.height);

    ByteTable want[3];  // blue, green, red
    if (!c.perChannel) {
      want[0] = want[1] = want[2] = GammaTable(GammaMasterExponent(c.master));
    } else {
      want[0] = c.blueOn ? GammaTable(GammaChannelExponent(c.blue)) : IdentityTable();
      want[1] = c.greenOn ? GammaTable(GammaChannelExponent(c.green)) : IdentityTable();
      want[2] = c.redOn ? GammaTable(GammaChannelExponent(c.red)) : IdentityTable();
    }
    for (int row = 0; row < pic.height; ++row)
      for (int x = 0; x < pic.width; ++x)
        for (int k = 0; k < 3; ++k)
          ASSERT_EQ(pic.TargetPixel(x, row)[k], want[k][pic.SourcePixel(x, row)[k]])
              << "case master=" << c.master << " byte " << k;
  }
}

}  // namespace
}  // namespace quillo

namespace quillo {
namespace {

// The power tables of every slider position, hashed. The figures were taken
// from the native build; the Windows builds use another maths library, and
// this holds them to the same bytes.
uint64_t HashTables(const std::vector<ByteTable>& tables) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (const ByteTable& t : tables)
    for (uint8_t b : t) h = (h ^ b) * 1099511628211ull;
  return h;
}

TEST(ColourTables, SameBytesOnEveryBuild) {
  std::vector<ByteTable> gamma, contrast;
  for (int v = 1; v <= 1000; ++v) gamma.push_back(GammaTable(GammaMasterExponent(v)));
  for (int v = 1; v <= 200; ++v) gamma.push_back(GammaTable(GammaChannelExponent(v)));
  for (int c = -127; c <= 127; ++c) contrast.push_back(ContrastTable(c));
  EXPECT_EQ(HashTables(gamma), 14947472638769597739ull);
  EXPECT_EQ(HashTables(contrast), 17120391746562706571ull);
}

}  // namespace
}  // namespace quillo
