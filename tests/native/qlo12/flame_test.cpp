// The flame: the fire palette survives its trip through hue, saturation and
// lightness unchanged, a full hue turn comes back to the same colours, the
// heat slider at 0 starts sparks at 70, and steps and drawing stay inside
// the field and the burning rows.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "plugins/qlo12/kernels/flame.h"

namespace {

using namespace quillo::qlo12;

// The fire ramp before any turn, from its piecewise definition.
FireColour Raw(int k) {
  FireColour c;
  c.red = k <= 7 ? 0 : k <= 31 ? uint8_t(10 * k - 70) : 255;
  c.green = k >= 57 ? 255 : k >= 33 ? uint8_t(10 * k - 64) : 0;
  c.blue = k <= 7 ? uint8_t(8 * k) : k <= 16 ? uint8_t(-8 * k - 128) : k >= 82 ? 255 : k >= 58 ? uint8_t(10 * k - 58) : 0;
  return c;
}

bool Same(const FireColour& a, const FireColour& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

TEST(FirePalette, UnturnedTurnedFullyAndGreyed) {
  const std::vector<FireColour> plain = FirePalette(0, 0);
  ASSERT_EQ(plain.size(), 256u);
  for (int k = 0; k < 256; ++k) EXPECT_TRUE(Same(plain[size_t(k)], Raw(k))) << k;
  EXPECT_TRUE(Same(plain[10], (FireColour{30, 0, 48})));  // 10k - 70; (-8k - 128) mod 256
  const std::vector<FireColour> forward = FirePalette(1.0, 0), back = FirePalette(-1.0, 0);
  for (int k = 0; k < 256; ++k) {
    EXPECT_TRUE(Same(forward[size_t(k)], plain[size_t(k)])) << k;
    EXPECT_TRUE(Same(back[size_t(k)], plain[size_t(k)])) << k;
  }
  // A half turn moves the orange of k = 40 (255, 80, 0) to a blue.
  const std::vector<FireColour> half = FirePalette(0.5, 0);
  EXPECT_GT(half[40].blue, half[40].red);
  // No saturation left: every entry is grey.
  for (const FireColour& c : FirePalette(0, -1.0)) {
    EXPECT_EQ(c.red, c.green);
    EXPECT_EQ(c.green, c.blue);
  }
}

TEST(Flame, SparksHeatTheFieldAndStayInside) {
  EXPECT_FALSE(FlameSizeWorkable(1, 40));
  EXPECT_FALSE(FlameSizeWorkable(40, 3));
  EXPECT_TRUE(FlameSizeWorkable(2, 4));
  // With the heat slider at 0 a new spark starts with heat 70; all but the
  // newest have burnt once (70 - 70 / 16 - 1 = 65) by the end of the frame.
  FlameState state;
  ResetFlame(state, 80, 60);
  quillo::RuntimeRandom random(5);
  StepFlame(state, 0, random);
  ASSERT_EQ(state.sparks.size(), 64u);
  EXPECT_EQ(state.sparks.back().heat, 70);
  EXPECT_EQ(state.sparks.back().age, 0);
  for (size_t i = 0; i + 1 < state.sparks.size(); ++i) {
    EXPECT_EQ(state.sparks[i].heat, 65);
    EXPECT_EQ(state.sparks[i].age, 1);
    EXPECT_GE(state.sparks[i].speedX, -16);
    EXPECT_LE(state.sparks[i].speedX, 15);
  }
  EXPECT_NEAR(state.time, 0.08, 1e-12);
  // Same seed, same flame.
  FlameState again;
  ResetFlame(again, 80, 60);
  quillo::RuntimeRandom same(5);
  StepFlame(again, 0, same);
  EXPECT_EQ(again.heat, state.heat);
  // Many frames at full heat on tiny and odd fields (run under the address
  // checker): sparks come and go, no write leaves the field.
  for (const auto& [w, h] : {std::pair{2, 4}, std::pair{3, 5}, std::pair{81, 61}}) {
    FlameState small;
    ResetFlame(small, w, h);
    quillo::RuntimeRandom r(w * 100 + h);
    for (int frame = 0; frame < 300; ++frame) StepFlame(small, 300, r);
    EXPECT_LT(small.sparks.size(), 64u * 300u);
  }
}

TEST(Flame, DrawingLightensOnlyTheBurningRows) {
  FlameState state;
  ResetFlame(state, 4, 6);
  state.heat.assign(24, 255);
  const int64_t stride = 12;
  std::vector<uint8_t> backup(size_t(stride * 6), 100), out(backup.size(), 7);
  DrawFlame(state, FirePalette(0, 0), backup.data(), out.data(), stride);
  for (int row = 0; row < 6; ++row)
    for (int b = 0; b < 12; ++b) {
      const uint8_t expected = row >= 2 && row <= 4 ? 255 : 7;  // white heat: 255 + 0
      EXPECT_EQ(out[size_t(row * stride + b)], expected) << row << " " << b;
    }
  // No heat: black palette entry, so each byte becomes 255 x byte >> 8.
  state.heat.assign(24, 0);
  DrawFlame(state, FirePalette(0, 0), backup.data(), out.data(), stride);
  EXPECT_EQ(out[size_t(2 * stride)], (255 * 100) >> 8);
}

}  // namespace
