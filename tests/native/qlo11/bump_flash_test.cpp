// Bump and Flash: the light map, the light's timing around the two-second
// mouse hold, the lighting against a plain re-working of its arithmetic
// (edges, a light off the picture), the sparks' wrap-around including
// negative coordinates, the ring's wrap, and tiny pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo11/kernels/bump.h"
#include "plugins/qlo11/kernels/flash.h"

namespace {

using namespace quillo;
using namespace quillo::qlo11;

// The lighting as written: picture row i from the top, neighbours clamped
// to the picture, every byte through the light map inside the square.
std::vector<uint8_t> LitByHand(const NoisePicture& p, int lx, int ly) {
  std::vector<uint8_t> out = p.Rows();
  const auto& light = BumpLight();
  auto byte = [&](int i, int j, int k) {
    i = std::clamp(i, 0, p.height - 1);
    j = std::clamp(j, 0, p.width - 1);
    return int(p.At(j, p.height - 1 - i)[k]);
  };
  for (int i = 0; i < p.height; ++i)
    for (int j = 0; j < p.width; ++j)
      for (int k = 0; k < 3; ++k) {
        const int src = byte(i, j, k);
        int v;
        if (std::abs(i - ly) < 256 && std::abs(j - lx) < 256) {
          const int gx = std::clamp(128 + byte(i, j + 1, k) - byte(i, j - 1, k) - (j - lx), 0, 255);
          const int gy = std::clamp(128 + byte(i + 1, j, k) - byte(i - 1, j, k) - (i - ly), 0, 255);
          v = std::clamp(light[size_t(gy * 256 + gx)] + src - 128, 0, 255);
        } else {
          v = std::clamp(src - 128, 0, 255);
        }
        out[size_t((p.height - 1 - i) * p.stride + j * 3 + k)] = uint8_t(v);
      }
  return out;
}

TEST(Qlo11Bump, LightMapIsAConeOfRadius128) {
  const auto& light = BumpLight();
  EXPECT_EQ(light[128 * 256 + 128], 255);
  EXPECT_EQ(light[128 * 256 + 192], 127);  // half way out: trunc(0.5 x 255)
  EXPECT_EQ(light[0], 0);
  EXPECT_EQ(light[128 * 256 + 0], 0);  // exactly on the rim
  EXPECT_EQ(light[255 * 256 + 255], 0);
}

TEST(Qlo11Bump, MouseHoldsTheLightForTwoSecondsThenItWandersAgain) {
  BumpState s;
  StartBump(s, 200, 100, 50000);
  EXPECT_EQ(s.lightX, 100);
  EXPECT_EQ(s.lightY, 50);
  // The last move lies 3001 ms back: the first frame takes the path.
  ASSERT_TRUE(StepBumpLight(s, 200, 100, 50000));
  EXPECT_FLOAT_EQ(s.a, 0.04f);
  EXPECT_EQ(s.lightX, int(std::cos(double(0.04f)) * 100) + 100);
  EXPECT_EQ(s.lightY, int(std::sin(double(0.03f)) * 50) + 50);
  BumpMouse(s, 200, 100, 200, 10, 50010);  // outside: ignored
  EXPECT_FALSE(s.newPosition);
  BumpMouse(s, 200, 100, 17, 33, 50010);
  ASSERT_TRUE(StepBumpLight(s, 200, 100, 50020));
  EXPECT_EQ(s.lightX, 17);
  EXPECT_EQ(s.lightY, 33);
  EXPECT_FALSE(StepBumpLight(s, 200, 100, 50030)) << "no new move: nothing drawn";
  EXPECT_FALSE(StepBumpLight(s, 200, 100, 52009)) << "1999 ms after the move";
  const float a = s.a;
  ASSERT_TRUE(StepBumpLight(s, 200, 100, 52010)) << "exactly 2000 ms: the path again";
  EXPECT_FLOAT_EQ(s.a, a + 0.04f);
  // The tick count wrapping past 2^32 changes nothing.
  StartBump(s, 200, 100, 0xFFFFFF00u);
  BumpMouse(s, 200, 100, 5, 6, 0xFFFFFF00u);
  EXPECT_TRUE(StepBumpLight(s, 200, 100, 0x20));
  EXPECT_EQ(s.lightX, 5);
}

TEST(Qlo11Bump, LightingMatchesTheArithmeticAtEdgesAndOffThePicture) {
  struct Case {
    int w, h, lx, ly;
  };
  for (const Case c : {Case{37, 23, 10, 5}, Case{37, 23, 0, 22}, Case{600, 9, 520, 4}, Case{40, 30, -300, 10},
                       Case{1, 1, 0, 0}, Case{2, 1, 1, 0}, Case{5, 3, 600, -400}}) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " light " << c.lx << "," << c.ly);
    const NoisePicture source(c.w, c.h, 5);  // odd padding: rows are not 4-byte aligned
    NoisePicture out(c.w, c.h, 5, 99);
    BumpState s;
    s.lightX = c.lx;
    s.lightY = c.ly;
    DrawBump(s, source.Pixels(), out.Pixels(), c.w, c.h, source.stride);
    const std::vector<uint8_t> expected = LitByHand(source, c.lx, c.ly);
    for (int y = 0; y < c.h; ++y)
      ASSERT_TRUE(std::equal(out.At(0, y), out.At(0, y) + c.w * 3, expected.data() + y * source.stride)) << y;
    EXPECT_TRUE(out.GuardsIntact());
  }
}

TEST(Qlo11Flash, SparksWrapAroundEveryEdgeNegativeCoordinatesIncluded) {
  EXPECT_EQ(WrapInto(-1, 7), 6);
  EXPECT_EQ(WrapInto(-7, 7), 0);
  EXPECT_EQ(WrapInto(-15, 7), 6);
  EXPECT_EQ(WrapInto(23, 7), 2);
  EXPECT_EQ(WrapInto(5, 0), 0) << "a zero modulus gives 0 instead of dividing";
  FlashSpark s;
  s.startX = -3;
  s.startY = 2;
  s.speedX = -80;
  s.speedY = -79;
  s.age = 0.5f;
  // x = trunc(-40 - 3) = -43; y = trunc(82.5 - 39.5 + 2) = 45.
  SparkPixel p = FlashSparkPixel(s, 10, 8);
  EXPECT_EQ(p.column, 7);
  EXPECT_EQ(p.row, 5);
  s.speedY = -300;  // y = trunc(82.5 - 150 + 2) = -65
  EXPECT_EQ(FlashSparkPixel(s, 10, 8).row, 7);
  s.speedX = NAN;  // never converted: counts as column 0
  EXPECT_EQ(FlashSparkPixel(s, 10, 8).column, 0);
}

TEST(Qlo11Flash, FrameDrawsLiveSparksOverTheBackupAndThrowsFortyFromTheRing) {
  for (const auto& [w, h] : {std::pair{1, 1}, {3, 2}, {64, 48}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    const NoisePicture source(w, h);
    NoisePicture out(w, h, -1, 3);
    auto state = std::make_unique<FlashState>();
    state->ring = kFlashSparks - 10;
    FlashSpark& live = state->sparks[100];  // beyond the 40 the ring reuses
    live = {-1, -1, 30, 60, 10, 0.25f, -40, -20};
    RuntimeRandom random(11);
    FlashFrame(*state, source.Pixels(), out.Pixels(), w, h, source.stride, random);
    EXPECT_TRUE(out.GuardsIntact());
    EXPECT_EQ(state->ring, 30) << "the ring wraps from 4999 to 0";
    // The hand-made spark: x = trunc(-10 - 1), y = trunc(20.625 - 5 - 1).
    const int column = WrapInto(-11, w), row = WrapInto(14, h);
    const uint8_t* was = source.At(column, row);
    const uint8_t* now = out.At(column, row);
    EXPECT_EQ(now[0], uint8_t(was[0] + int(0.75f * 10) * 8));
    EXPECT_EQ(now[1], uint8_t(was[1] + int(0.75f * 60) * 4));
    EXPECT_EQ(now[2], uint8_t(was[2] + int(0.75f * 30) * 8));
    EXPECT_FLOAT_EQ(state->sparks[100].age, 0.257f);
    // The first spark thrown: two draws for angle and speed, then the
    // position draws; weights from the phases at 0.
    RuntimeRandom replay(11);
    const int r1 = replay.Next(), r2 = replay.Next(), dx = replay.Next() & 3, dy = replay.Next() & 3;
    const FlashSpark& thrown = state->sparks[kFlashSparks - 10];
    EXPECT_EQ(thrown.startX, int(std::cos(0.0) * (w / 4) + w / 2) + dx);
    EXPECT_EQ(thrown.startY, int(0.0 * (h / 4) + h / 2) + dy);
    const double speed = r2 * 0.0009155552842799158 + 50;
    EXPECT_EQ(thrown.speedX, float(std::cos(2 * r1 * 0.00009587672516830327) * speed));
    EXPECT_EQ(thrown.speedY, float(std::sin(2 * r1 * 0.00009587672516830327) * speed));
    EXPECT_EQ(thrown.age, 0.01f);
    EXPECT_EQ(thrown.red, 30);
    EXPECT_EQ(thrown.green, 60);
    EXPECT_EQ(thrown.blue, 30);
    EXPECT_FLOAT_EQ(state->a, 0.05f);
  }
}

TEST(Qlo11Flash, FixedSeedFramesReproduceAndSparksStayInsideTinyPictures) {
  auto run = [](int w, int h) {
    NoisePicture source(w, h), out(w, h);
    auto state = std::make_unique<FlashState>();
    RuntimeRandom random(2024);
    for (int k = 0; k < 300; ++k)
      FlashFrame(*state, source.Pixels(), out.Pixels(), w, h, source.stride, random);
    EXPECT_TRUE(out.GuardsIntact());
    return out.Rows();
  };
  EXPECT_EQ(run(50, 40), run(50, 40));
  EXPECT_NE(run(50, 40), NoisePicture(50, 40).Rows());
  run(1, 1);
  run(1, 7);
}

}  // namespace
