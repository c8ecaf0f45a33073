// Aquarium, Quake and Light: the pulse against a plain re-working of its
// ray arithmetic (in 64-bit, on narrow and wide pictures), its rests and
// wandering centre; the falling blocks, their streaks and rests; the
// spotlights' spot, paths and saturating adds; tiny pictures throughout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo15/kernels/aquarium.h"
#include "plugins/qlo15/kernels/light.h"
#include "plugins/qlo15/kernels/quake.h"

namespace {

using namespace quillo;
using namespace quillo::qlo15;

struct CRand {
  uint32_t s;
  int operator()() {
    s = s * 214013u + 2531011u;
    return int((s >> 16) & 0x7FFF);
  }
};

// The pulse as written: D from the distance, f = D + b Tq[...], the source
// cx + ((j - cx) f) / D and cy + ((i - cy) f) / D in exact integers.
std::vector<uint8_t> ReferencePulse(const NoisePicture& in, double lambda, int b, int cx, int cy, int a) {
  std::vector<uint8_t> out(size_t(in.stride * in.height), 0);
  for (int i = 0; i < in.height; ++i)
    for (int j = 0; j < in.width; ++j) {
      const int64_t d = int64_t(std::sqrt(double((cy - i) * (cy - i) + (cx - j) * (cx - j))) * 1024 /
                                (lambda * 0.15915494309189535));
      uint8_t* o = out.data() + i * in.stride + j * 3;
      if (d == 0) {
        std::memcpy(o, in.At(j, i), 3);
        continue;
      }
      const int k = int((a + (d >> 10)) & 1023);
      const int64_t tq = int64_t(std::fabs(std::cos(k * 0.0030679615757712823)) * 1024);
      const int64_t f = d + b * tq;
      const int64_t sx = cx + (int64_t(j - cx) * f) / d, sy = cy + (int64_t(i - cy) * f) / d;
      if (sx >= 0 && sx < in.width && sy >= 0 && sy < in.height) std::memcpy(o, in.At(int(sx), int(sy)), 3);
    }
  return out;
}

std::vector<uint8_t> Rendered(AquariumState& state, const NoisePicture& in, int phase) {
  NoisePicture out(in.width, in.height);
  std::memset(out.Pixels(), 0, size_t(out.stride * out.height));
  BuildAquariumMap(state);
  RenderAquarium(state, phase, in.Pixels(), out.Pixels(), in.stride);
  EXPECT_TRUE(out.GuardsIntact());
  return out.Rows();
}

TEST(Qlo15Aquarium, WaveTable) {
  const auto& tq = AquariumWaveTable();
  EXPECT_EQ(tq[0], 1024);
  EXPECT_EQ(tq[256], 724);  // cos 45 degrees
  EXPECT_EQ(tq[512], 0);
  EXPECT_EQ(tq[1023], 1023);
  EXPECT_EQ(tq[682], 510);  // |cos(682 pi / 1024)| = 0.49805
}

TEST(Qlo15Aquarium, PulseFollowsTheRayArithmetic) {
  NoisePicture in(61, 47);
  AquariumState state;
  ASSERT_TRUE(StartAquarium(state, 61, 47));
  EXPECT_EQ(state.cx, 30);
  EXPECT_EQ(state.cy, 23);
  for (const auto& [lambda, b, cx, cy, a] :
       {std::tuple{40.0, 50, 30, 23, 512}, {5.0, 120, 3, 40, 17}, {100.0, 1, 60, 0, 1023}, {13.5, 77, 0, 46, 300}}) {
    SCOPED_TRACE(std::to_string(lambda) + " " + std::to_string(a));
    SetAquariumWave(state, lambda, b, 40);
    SetAquariumCentre(state, cx, cy);
    EXPECT_EQ(Rendered(state, in, a), ReferencePulse(in, lambda, b, cx, cy, a));
  }
  // A strong wave reaches past the picture: those pixels are black.
  SetAquariumWave(state, 5, 120, 40);
  SetAquariumCentre(state, 0, 0);
  const auto out = Rendered(state, in, 0);
  EXPECT_EQ(out[size_t(46 * in.stride + 60 * 3)], 0);
  EXPECT_EQ(out[0], in.At(0, 0)[0]) << "the centre keeps its own pixel";
}

// Past 17460 columns the products need 64 bits; both paths agree with the
// exact arithmetic.
TEST(Qlo15Aquarium, WidePicturesTakeExactProducts) {
  for (int w : {17000, 18000}) {
    NoisePicture in(w, 2);
    AquariumState state;
    ASSERT_TRUE(StartAquarium(state, w, 2));
    SetAquariumWave(state, 100, 120, 40);
    SetAquariumCentre(state, 0, 1);
    EXPECT_EQ(Rendered(state, in, 700), ReferencePulse(in, 100, 120, 0, 1, 700)) << w;
  }
}

TEST(Qlo15Aquarium, PhaseRestsAndWanderingCentre) {
  NoisePicture in(40, 30), out(40, 30);
  AquariumState state;
  ASSERT_TRUE(StartAquarium(state, 40, 30));
  SetAquariumWave(state, 40, 50, 40);
  std::vector<int> phases, rests;
  for (int frame = 0; frame < 200; ++frame) {
    if (AquariumRestDue(state)) rests.push_back(frame);
    AquariumFrame(state, in.Pixels(), out.Pixels(), in.stride);
    phases.push_back(state.phase);
  }
  EXPECT_EQ(phases[0], 512) << "a recompute restarts the wave at 512";
  EXPECT_EQ(phases[1], 552);
  EXPECT_EQ(phases[12], (512 + 12 * 40) & 1023);
  // Every third pass of 512 upward (the phase before the step at most 512,
  // after it beyond) rests.
  int passes = 0;
  std::vector<int> expected;
  for (int frame = 1; frame < 200; ++frame)
    if (phases[size_t(frame - 1)] <= 512 && phases[size_t(frame - 1)] + 40 > 512 && ++passes % 3 == 0)
      expected.push_back(frame);
  EXPECT_EQ(rests, expected);
  EXPECT_FALSE(rests.empty());
  // The wandering centre stays in the middle four fifths.
  RuntimeRandom random(9);
  CRand rand{9};
  AquariumWander(state, random);
  EXPECT_EQ(state.cx, (rand() % 160) / 5 + 4);
  EXPECT_EQ(state.cy, (rand() % 120) / 5 + 3);
  EXPECT_TRUE(state.recompute);
  state.wandering = false;
  const int cx = state.cx;
  AquariumWander(state, random);
  EXPECT_EQ(state.cx, cx);
}

// Speed 0 (the speed slider at 40): the phase stands, the picture stands,
// and the phase never passes 512, so no rest comes either.
TEST(Qlo15Aquarium, StandingWaveAtSpeedZero) {
  NoisePicture in(33, 21), out(33, 21);
  AquariumState state;
  ASSERT_TRUE(StartAquarium(state, 33, 21));
  SetAquariumWave(state, 20, 60, 2 * 40 - 80);
  AquariumFrame(state, in.Pixels(), out.Pixels(), in.stride);
  const auto first = out.Rows();
  EXPECT_NE(first, in.Rows());
  for (int frame = 0; frame < 100; ++frame) {
    ASSERT_FALSE(AquariumRestDue(state));
    AquariumFrame(state, in.Pixels(), out.Pixels(), in.stride);
    ASSERT_EQ(out.Rows(), first);
  }
  // Going backwards (speed -40) wraps below 0.
  SetAquariumWave(state, 20, 60, -40);
  for (int frame = 0; frame < 14; ++frame) AquariumFrame(state, in.Pixels(), out.Pixels(), in.stride);
  EXPECT_EQ(state.phase, (512 - 13 * 40) & 1023);
}

TEST(Qlo15Aquarium, TicksSettingsAndTinyPictures) {
  AquariumState state;
  ASSERT_TRUE(StartAquarium(state, 10, 10));
  RuntimeRandom random(3);
  CRand rand{3};
  state.recompute = false;
  EXPECT_FALSE(AquariumTick(state, 19, random));
  EXPECT_FALSE(state.recompute);
  EXPECT_TRUE(AquariumTick(state, 40, random));
  EXPECT_EQ(state.wavelength, rand() % 90 + 10);
  EXPECT_TRUE(state.recompute);
  SetAquariumWave(state, std::nan(""), 500, -1000);
  EXPECT_EQ(state.wavelength, 40);
  EXPECT_EQ(state.amplitude, 120);
  EXPECT_EQ(state.speed, -40);
  SetAquariumCentre(state, -5, 1 << 30);
  EXPECT_EQ(state.cx, 0);
  EXPECT_EQ(state.cy, 9);
  for (int w = 1; w <= 3; ++w)
    for (int h = 1; h <= 3; ++h) {
      SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
      NoisePicture in(w, h), out(w, h);
      AquariumState tiny;
      ASSERT_TRUE(StartAquarium(tiny, w, h));
      SetAquariumWave(tiny, 5, 120, 120);
      for (int frame = 0; frame < 20; ++frame) {
        if (AquariumRestDue(tiny)) AquariumWander(tiny, random);
        AquariumFrame(tiny, in.Pixels(), out.Pixels(), in.stride);
        ASSERT_TRUE(out.GuardsIntact());
      }
    }
}

// Quake as written: moves of blocks 63 ... 0, each drawn right after, rows
// y + k below H - 1, columns clipped.
void ReferenceQuake(std::vector<uint8_t>& image, const std::vector<uint8_t>& clean, int64_t stride, int w, int h,
                    std::vector<std::pair<int, int>>& at, CRand& rand) {
  const int bw = w / 8, bh = h / 8;
  for (int n = 63; n >= 0; --n) {
    auto& [x, y] = at[size_t(n)];
    const int hx = (n % 8) * w >> 3, hy = (n / 8) * h >> 3;
    x += rand() % 3 - 1;
    y += (rand() % 6 + 3) * (h - y + 50) / h;
    for (int k = 0; k < bh && y + k < h - 1; ++k)
      for (int c = 0; c < bw; ++c)
        if (x + c >= 0 && x + c < w)
          std::memcpy(&image[size_t((h - 1 - (y + k)) * stride + (x + c) * 3)],
                      &clean[size_t((h - 1 - (hy + k)) * stride + (hx + c) * 3)], 3);
  }
}

TEST(Qlo15Quake, BlocksFallAndStreakAsWritten) {
  constexpr int W = 83, H = 61;
  NoisePicture clean(W, H), image(W, H);
  std::memcpy(image.Pixels(), clean.Pixels(), size_t(clean.stride * H));
  QuakeState state;
  StartQuake(state, W, H);
  EXPECT_EQ(state.blockWidth, 10);
  EXPECT_EQ(state.blockHeight, 7);
  EXPECT_EQ(state.blocks[63].x, (7 * W) >> 3);
  EXPECT_EQ(state.blocks[63].y, (7 * H) >> 3);
  ASSERT_TRUE(CaptureQuakeBlocks(state, clean.Pixels(), clean.stride));
  std::vector<std::pair<int, int>> at;
  for (int n = 0; n < 64; ++n) at.push_back({(n % 8) * W >> 3, (n / 8) * H >> 3});
  auto expected = clean.Rows();
  RuntimeRandom random(11);
  CRand rand{11};
  for (int frame = 0; frame < 40; ++frame) {
    ASSERT_FALSE(QuakeFrame(state, image.Pixels(), image.stride, random));
    ReferenceQuake(expected, clean.Rows(), clean.stride, W, H, at, rand);
    ASSERT_EQ(image.Rows(), expected) << frame;
  }
  for (int n = 0; n < 64; ++n) EXPECT_EQ(state.blocks[size_t(n)].y, at[size_t(n)].second);
  EXPECT_TRUE(image.GuardsIntact());
  // The blocks settle about 50 rows below the picture and stop drawing.
  for (int frame = 0; frame < 150; ++frame) QuakeFrame(state, image.Pixels(), image.stride, random);
  for (const QuakeBlock& block : state.blocks) EXPECT_GE(block.y, H + 40);
}

TEST(Qlo15Quake, RestAfterEvery256FramesShowsTheCleanPicture) {
  constexpr int W = 40, H = 32;
  NoisePicture clean(W, H), image(W, H);
  QuakeState state;
  StartQuake(state, W, H);
  ASSERT_TRUE(CaptureQuakeBlocks(state, clean.Pixels(), clean.stride));
  RuntimeRandom random(2);
  int frames = 0;
  while (!QuakeFrame(state, image.Pixels(), image.stride, random)) ++frames;
  EXPECT_EQ(frames, 256) << "the rest follows frame 256 counted from 0";
  EXPECT_TRUE(state.resting);
  const uint32_t before = random.state();
  for (int step = 1; step < 25; ++step) ASSERT_TRUE(QuakeRestStep(state, clean.Pixels(), image.Pixels(), image.stride));
  EXPECT_NE(image.Rows(), clean.Rows());
  ASSERT_TRUE(QuakeRestStep(state, clean.Pixels(), image.Pixels(), image.stride));
  EXPECT_EQ(image.Rows(), clean.Rows());
  for (int step = 26; step < 49; ++step) ASSERT_TRUE(QuakeRestStep(state, clean.Pixels(), image.Pixels(), image.stride));
  EXPECT_FALSE(QuakeRestStep(state, clean.Pixels(), image.Pixels(), image.stride));
  EXPECT_FALSE(state.resting);
  EXPECT_EQ(random.state(), before) << "the rest draws nothing";
  EXPECT_EQ(state.blocks[9].x, W >> 3);
  EXPECT_EQ(state.blocks[9].y, H >> 3);
  // The blocks held stay for the next run until released.
  StartQuake(state, W, H);
  EXPECT_TRUE(state.captured);
  ReleaseQuakeBlocks(state);
  EXPECT_FALSE(state.captured);
  EXPECT_TRUE(state.pixels.empty());
}

// Under 8 pixels a side the blocks are empty: nothing is drawn, ever.
TEST(Qlo15Quake, PicturesUnderEightPixelsStayAsTheyAre) {
  for (const auto& [w, h] : {std::pair{1, 1}, {2, 3}, {3, 3}, {7, 7}, {7, 40}, {40, 7}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    NoisePicture clean(w, h), image(w, h, -1, 99);
    const auto before = image.Rows();
    QuakeState state;
    StartQuake(state, w, h);
    ASSERT_TRUE(CaptureQuakeBlocks(state, clean.Pixels(), clean.stride));
    RuntimeRandom random(4);
    for (int frame = 0; frame < 300; ++frame) QuakeFrame(state, image.Pixels(), image.stride, random);
    EXPECT_EQ(image.Rows(), before);
    EXPECT_TRUE(image.GuardsIntact());
    EXPECT_TRUE(clean.GuardsIntact());
  }
  // Just 8 pixels: one-pixel blocks, the bottom row never drawn.
  NoisePicture clean(8, 8), image(8, 8, -1, 99);
  const auto before = image.Rows();
  QuakeState state;
  StartQuake(state, 8, 8);
  ASSERT_TRUE(CaptureQuakeBlocks(state, clean.Pixels(), clean.stride));
  RuntimeRandom random(4);
  for (int frame = 0; frame < 50; ++frame) QuakeFrame(state, image.Pixels(), image.stride, random);
  EXPECT_TRUE(image.GuardsIntact());
  EXPECT_TRUE(std::equal(before.begin(), before.begin() + image.stride, image.Rows().begin()));
}

TEST(Qlo15Light, SpotImage) {
  LightState state;
  SetLight(state, 7, 5, 60, true);
  BuildLightSpot(state);
  auto spot = [&](int i, int j) { return int(state.spot[size_t(i * 7 + j)]); };
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 7; ++j) {
      const double f = 1 - std::cos(6.283185307179586 * i / 5);
      const double e = 1 - std::cos(6.283185307179586 * std::max(j, 6 - j) / 7);
      EXPECT_EQ(spot(i, j), std::min(255, int(f * e * 60))) << i << ", " << j;
    }
  EXPECT_EQ(spot(0, 3), 0) << "f(0) = 0: the first row is dark";
  EXPECT_EQ(spot(2, 3), 206) << "1.809 x 1.901 x 60";
  EXPECT_EQ(spot(2, 0), spot(2, 6)) << "j' mirrors the row";
  SetLight(state, 7, 5, 250, true);
  BuildLightSpot(state);
  EXPECT_EQ(spot(2, 3), 255) << "the middle saturates";
}

TEST(Qlo15Light, PathsForBothModes) {
  LightState state;
  SetLight(state, 300, 300, 60, true);
  BuildLightPaths(state, 1000, 800);
  const int ox = 500 - 150, oy = 400 - 150, px = 500 - 100, py = 400 - 100;
  for (int k : {0, 1, 45, 90, 181, 270, 359}) {
    const double a = k * 0.05235987755982989, b = k * 0.017453292519943295;
    EXPECT_EQ(state.paths[0][size_t(k)].x, ox + int(px * std::sin(a))) << k;
    EXPECT_EQ(state.paths[0][size_t(k)].y, oy + int(py * std::cos(b) * std::sin(b))) << k;
    EXPECT_EQ(state.paths[1][size_t(k)].x, ox + int(px * std::cos(a))) << k;
    EXPECT_EQ(state.paths[1][size_t(k)].y, oy + int(py * std::sin(b) * std::cos(a))) << k;
    EXPECT_EQ(state.paths[2][size_t(k)].x, ox + int(px * std::tan(b) * std::cos(b))) << k;
    EXPECT_EQ(state.paths[2][size_t(k)].y, oy + int(py * std::sin(a))) << k;
  }
  // tan B cos B is 1 at the pole, or a hair below it with some maths
  // libraries, which truncates to one pixel less.
  EXPECT_NEAR(state.paths[2][90].x, ox + px, 1) << "tan B cos B stays finite at the pole";
  SetLight(state, 300, 300, 60, false);
  BuildLightPaths(state, 1000, 800);
  for (int k = 0; k < 360; k += 7) {
    EXPECT_EQ(state.paths[0][size_t(k)].x, state.paths[1][size_t(k)].x);
    EXPECT_EQ(state.paths[2][size_t(k)].y, state.paths[1][size_t(k)].y);
  }
}

// Green under light 1, blue under light 2, red under light 3, saturating;
// the step walks 0, 2, 4, ...
TEST(Qlo15Light, FramesAddTheSpotsToTheirChannels) {
  constexpr int W = 120, H = 90;
  NoisePicture in(W, H), out(W, H);
  LightState state;
  SetLight(state, 31, 31, 250, true);
  for (int frame = 0; frame < 3; ++frame) {
    const int k = frame * 2;
    ASSERT_EQ(state.step, k % 360);
    LightFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride);
    std::vector<uint8_t> expected = in.Rows();
    for (int light = 0; light < 3; ++light) {
      const LightPoint p = state.paths[size_t(light)][size_t(k)];
      const int channel = light == 0 ? 1 : light == 1 ? 0 : 2;
      for (int i = 0; i < 31; ++i)
        for (int j = 0; j < 31; ++j) {
          if (p.x + j < 0 || p.x + j >= W || p.y + i < 0 || p.y + i >= H) continue;
          uint8_t& c = expected[size_t((p.y + i) * in.stride + (p.x + j) * 3 + channel)];
          c = uint8_t(std::min(255, c + state.spot[size_t(i * 31 + j)]));
        }
    }
    ASSERT_EQ(out.Rows(), expected) << frame;
  }
  state.step = 358;
  LightFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride);
  EXPECT_EQ(state.step, 0);
}

// A one-pixel spot is zero (e(0) = 0): frames are the picture. Spots far
// larger than tiny pictures are clipped to them.
TEST(Qlo15Light, OnePixelSpotAddsNothingAndTinyPicturesClip) {
  NoisePicture in(50, 40), out(50, 40);
  LightState state;
  SetLight(state, 1, 1, 250, true);
  for (int frame = 0; frame < 5; ++frame) {
    LightFrame(state, in.Pixels(), out.Pixels(), 50, 40, in.stride);
    ASSERT_EQ(out.Rows(), in.Rows());
  }
  EXPECT_EQ(state.spot, std::vector<uint8_t>{0});
  for (int w = 1; w <= 3; ++w)
    for (int h = 1; h <= 3; ++h)
      for (int size : {1, 2, 300, 500}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + " spot " + std::to_string(size));
        NoisePicture tinyIn(w, h), tinyOut(w, h);
        LightState tiny;
        SetLight(tiny, size, size, 250, size % 2 == 0);
        for (int frame = 0; frame < 200; ++frame) LightFrame(tiny, tinyIn.Pixels(), tinyOut.Pixels(), w, h, tinyIn.stride);
        ASSERT_TRUE(tinyOut.GuardsIntact());
      }
}

}  // namespace
