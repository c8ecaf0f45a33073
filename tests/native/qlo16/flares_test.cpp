// Flares: the palette from its shifts, the emitters' places and ray
// lengths (measured for at most 20 emitters), rays drawn only when both
// ends are inside, their anti-aliased fading heat, the blend, the time and
// phase steps, tiny pictures written only inside and frames that reproduce.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo16/kernels/flares.h"

namespace {

using namespace quillo;
using namespace quillo::qlo16;

bool Same(const FireColour& a, int r, int g, int b) { return a.red == r && a.green == g && a.blue == b; }

TEST(Qlo16Flares, PaletteIsAWarmRampMovedByItsShifts) {
  const FirePalette256 plain = FlaresPalette(0, 0, 0);
  EXPECT_TRUE(Same(plain[0], 0, 0, 0));
  // (0.8, 0.8, 0.4): lightness 0.6, saturation 0.5, hue a sixth.
  EXPECT_TRUE(Same(plain[255], 204, 204, 102));
  EXPECT_TRUE(Same(FlaresPalette(0, 0, 1)[128], 255, 255, 255)) << "lightness clamped to 1";
  EXPECT_TRUE(Same(FlaresPalette(0, 0, -1)[200], 0, 0, 0));
  for (const FireColour& c : FlaresPalette(0.3, -1, 0)) EXPECT_TRUE(c.red == c.green && c.green == c.blue);
  // Half a turn makes the yellow ramp blue; black, having no hue, stays.
  const FirePalette256 turned = FlaresPalette(0.5, 0, 0);
  EXPECT_TRUE(Same(turned[255], 102, 102, 204));
  EXPECT_TRUE(Same(turned[0], 0, 0, 0));
  EXPECT_TRUE(Same(FlaresPalette(1, 0, 0)[255], 204, 204, 102)) << "a whole turn wraps back";
}

TEST(Qlo16Flares, EmittersWanderOnCosinesAndRayLengthsCountAtMostTwentyEmitters) {
  FlaresState state;
  ResetFlares(state, 300, 200);
  state.time = 1.7;
  state.phase = 0.4;
  for (int i : {0, 3, 19}) {
    const double c = i * 0.62831855;
    SetFlaresEmitters(state, 20);
    const FlaresEmitter e = FlaresEmitterAt(state, i);
    EXPECT_EQ(e.x, int((std::cos(c + 2 * 1.7 + 0.4) * 0.8 + 1) * 150));
    EXPECT_EQ(e.y, int((std::cos(0.4 + 1.4 * 1.7 + i * 1.1309733552923256) * 0.8 + 1) * 100));
    EXPECT_EQ(e.length, std::max(int((std::sin(c + 1.7) + 1.3) * 10), 10));
    SetFlaresEmitters(state, 100);
    EXPECT_EQ(FlaresEmitterAt(state, i).length, e.length) << "100 emitters measure like 20";
    SetFlaresEmitters(state, 5);
    EXPECT_EQ(FlaresEmitterAt(state, i).length, std::max(int((std::sin(c + 1.7) + 1.3) * 40), 10));
  }
  // Short rays are drawn 10 long: a picture 20 rows high gives H div 20 = 1.
  ResetFlares(state, 40, 20);
  SetFlaresEmitters(state, 100);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(FlaresEmitterAt(state, i).length, 10);
  SetFlaresEmitters(state, 0);
  EXPECT_EQ(state.emitters, 1);
  SetFlaresEmitters(state, 1000);
  EXPECT_EQ(state.emitters, 100);
}

TEST(Qlo16Flares, RaysWithAnEndOutsideAreNotDrawnAtAll) {
  constexpr int W = 30, H = 20;
  FlaresState state;
  ResetFlares(state, W, H);
  const std::vector<uint8_t> cold(size_t(W) * H, 0);
  // Each ray reaches one cell past a limit: column -1 or W, row 1 or H - 1.
  for (const auto& [x1, y1] : {std::pair{-1, 10}, {W, 10}, {15, 1}, {15, H - 1}}) {
    EXPECT_FALSE(AddFlaresRay(state, 15, 10, x1, y1)) << x1 << ", " << y1;
    EXPECT_FALSE(AddFlaresRay(state, x1, y1, 15, 10));
    EXPECT_EQ(state.heat, cold) << "not clipped either";
  }
  // The limits themselves are inside.
  for (const auto& [x1, y1] : {std::pair{0, 10}, {W - 1, 10}, {15, 2}, {15, H - 2}})
    EXPECT_TRUE(AddFlaresRay(state, 15, 10, x1, y1)) << x1 << ", " << y1;
  EXPECT_NE(state.heat, cold);
}

TEST(Qlo16Flares, RaysFadeFromTheEmitterAndShareEachStepBetweenTwoPixels) {
  constexpr int W = 40, H = 30;
  FlaresState state;
  ResetFlares(state, W, H);
  // Horizontal: one pixel a step, 255 at the emitter falling by 255 / len.
  ASSERT_TRUE(AddFlaresRay(state, 5, 10, 14, 10));
  const int64_t fade = (int64_t(255) << 16) / 10;
  for (int k = 0; k < 10; ++k) EXPECT_EQ(state.heat[size_t(10 * W + 5 + k)], ((int64_t(255) << 16) - k * fade) >> 16);
  EXPECT_EQ(std::accumulate(state.heat.begin(), state.heat.end(), 0),
            std::accumulate(state.heat.begin() + 10 * W + 5, state.heat.begin() + 10 * W + 15, 0));
  // A shallow line upwards and to the left: each step's two pixels share
  // its intensity (each share rounded down on its own).
  ResetFlares(state, W, H);
  ASSERT_TRUE(AddFlaresRay(state, 30, 20, 10, 13));
  for (int k = 0; k <= 20; ++k) {
    const int x = 30 - k;
    const int64_t intensity = (int64_t(255) << 16) - k * ((int64_t(255) << 16) / 21);
    // The line's row at this step and the next row up share the heat.
    const int near = 20 - (k * 7) / 20;
    int sum = 0;
    for (int y = 0; y < H; ++y) {
      const int heat = state.heat[size_t(y * W + x)];
      sum += heat;
      if (heat) {
        EXPECT_TRUE(y == near || y == near - 1) << k << ": row " << y;
      }
    }
    EXPECT_GE(sum, (intensity >> 16) - 1) << k;
    EXPECT_LE(sum, intensity >> 16) << k;
  }
  // A ray of one point heats that point fully; heat saturates at 255.
  ResetFlares(state, W, H);
  ASSERT_TRUE(AddFlaresRay(state, 3, 3, 3, 3));
  EXPECT_EQ(state.heat[size_t(3 * W + 3)], 255);
  ASSERT_TRUE(AddFlaresRay(state, 3, 3, 3, 3));
  EXPECT_EQ(state.heat[size_t(3 * W + 3)], 255);
}

TEST(Qlo16Flares, FramesBlendHeatOverThePictureAndStepTimeAndPhase) {
  constexpr int W = 64, H = 48;
  NoisePicture in(W, H), out(W, H, -1, 9);
  FlaresState state;
  ResetFlares(state, W, H);
  const FirePalette256 palette = FlaresPalette(0.1, 0.2, 0);
  RuntimeRandom random(4);
  FlaresFrame(state, palette, in.Pixels(), out.Pixels(), in.stride, random);
  EXPECT_TRUE(out.GuardsIntact());
  int heated = 0;
  for (int i = 0; i < H; ++i)
    for (int j = 0; j < W; ++j) {
      const uint8_t h = state.heat[size_t(i * W + j)];
      const uint8_t* s = in.At(j, H - 1 - i);
      const uint8_t* d = out.At(j, H - 1 - i);
      const FireColour& p = palette[h];
      const int comp[3] = {p.blue, p.green, p.red};
      heated += h > 0;
      for (int c = 0; c < 3; ++c) {
        ASSERT_EQ(d[c], h ? uint8_t(comp[c] + ((255 - comp[c]) * s[c] >> 8)) : s[c]) << i << ", " << j;
      }
    }
  EXPECT_GT(heated, 0);
  EXPECT_DOUBLE_EQ(state.time, 0.02);
  EXPECT_DOUBLE_EQ(state.phase, 0.001);
  state.phase = std::numbers::pi - 0.0005;
  FlaresFrame(state, palette, in.Pixels(), out.Pixels(), in.stride, random);
  EXPECT_NEAR(state.phase, 0.0005, 1e-12) << "the phase comes back by pi once past it";
}

TEST(Qlo16Flares, TinyPicturesAreWrittenOnlyInsideAndFramesReproduce) {
  for (int w = 1; w <= 6; ++w)
    for (int h = 1; h <= 6; ++h) {
      NoisePicture in(w, h), out(w, h, -1, 2);
      FlaresState state;
      ASSERT_TRUE(ResetFlares(state, w, h));
      SetFlaresEmitters(state, 100);
      RuntimeRandom random(8);
      for (int frame = 0; frame < 10; ++frame)
        FlaresFrame(state, FlaresPalette(0, 0, 0), in.Pixels(), out.Pixels(), in.stride, random);
      ASSERT_TRUE(out.GuardsIntact()) << w << " x " << h;
      // No row lies in 2 ... H - 2 below four rows: no ray, the picture.
      if (h < 4) {
        for (int y = 0; y < h; ++y)
          EXPECT_TRUE(std::equal(in.At(0, y), in.At(w, y), out.At(0, y))) << w << " x " << h << " row " << y;
      }
    }
  auto run = [](uint32_t seed) {
    NoisePicture in(80, 60), out(80, 60);
    FlaresState state;
    ResetFlares(state, 80, 60);
    RuntimeRandom random(seed);
    for (int frame = 0; frame < 5; ++frame)
      FlaresFrame(state, FlaresPalette(0, 0, 0), in.Pixels(), out.Pixels(), in.stride, random);
    return out.Rows();
  };
  EXPECT_EQ(run(21), run(21));
  EXPECT_NE(run(21), run(22));
}

}  // namespace
