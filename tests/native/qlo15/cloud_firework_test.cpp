// Cloud and FireWork: the cloud maps' growth and blend, the rockets'
// launches and bursts against a plain re-working of their arithmetic, the
// one-rocket one-spark case, tiny pictures and hostile settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo15/kernels/cloud.h"
#include "plugins/qlo15/kernels/firework.h"

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

TEST(Qlo15Cloud, LightTableAndMapsGrownFromTheZeroCorner) {
  const auto& L = CloudLightTable();
  EXPECT_EQ(L[127], 4);
  EXPECT_EQ(L[100], 220);  // trunc(55 x 4.0157) = 220
  EXPECT_EQ(L[128], 0);
  EXPECT_EQ(L[255], 0);
  // Base 1, roughness 1: at step 2 the jitter is -1 ... +1, so each centre
  // of a 2 x 2 square is within 1 of its corners' mean.
  CloudMap map(256 * 256, 77);
  RuntimeRandom random(5);
  GrowCloudMap(map, 1, 1, random);
  EXPECT_EQ(map[0], 77) << "[0][0] is never written";
  map.assign(256 * 256, 0);
  RuntimeRandom again(5);
  GrowCloudMap(map, 1, 1, again);
  EXPECT_EQ(random.state(), again.state()) << "the draws do not depend on the map's contents";
  auto at = [&](int r, int c) { return map[size_t(r & 255) * 256 + size_t(c & 255)]; };
  for (int r = 1; r < 256; r += 2)
    for (int c = 1; c < 256; c += 2) {
      const int mean = (at(r - 1, c - 1) + at(r + 1, c - 1) + at(r - 1, c + 1) + at(r + 1, c + 1)) / 4;
      ASSERT_LE(std::abs(at(r, c) - mean), 1) << r << ", " << c;
    }
  EXPECT_TRUE(std::all_of(map.begin(), map.end(), [](int32_t v) { return v >= 0 && v <= 255; }));
  // The first draw of a growth: the centre of the whole map, n = 1 + 256.
  CRand rand{5};
  map.assign(256 * 256, 0);
  RuntimeRandom first(5);
  GrowCloudMap(map, 1, 1, first);
  EXPECT_EQ(at(128, 128), std::clamp(rand() % 257 - 128, 0, 255));
}

// The blend per pixel, the sky, and the scroll of maps 2 and 3.
TEST(Qlo15Cloud, FramesBlendTheThreeMapsAndScroll) {
  constexpr int W = 300, H = 260;
  NoisePicture in(W, H), out(W, H);
  CloudState state;
  RuntimeRandom random(21);
  CloudFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride, random);
  EXPECT_FALSE(state.regenerate);
  CloudFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride, random);  // s0 = 2, s1 = 3
  const auto& L = CloudLightTable();
  auto m = [&](int k, int r, int c) { return state.maps[size_t(k)][size_t(r & 255) * 256 + size_t(c & 255)]; };
  for (const auto& [i, j] : {std::pair{0, 0}, {7, 290}, {259, 3}, {128, 255}}) {
    const int v = (m(2, i, j + 3) + m(1, i + 3, j + 2) + m(0, i, j)) / 3;
    for (int c = 0; c < 3; ++c)
      EXPECT_EQ(out.At(j, i)[c], std::min(255, v + ((in.At(j, i)[c] * L[size_t(v)]) >> 10))) << i << ", " << j;
  }
  state.sky = true;
  CloudFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride, random);
  for (int i = 0; i < H; i += 37)
    for (int j = 0; j < W; j += 41) {
      ASSERT_EQ(out.At(j, i)[0], 255);
      ASSERT_EQ(out.At(j, i)[1], out.At(j, i)[2]);
    }
  // Settings from elsewhere are clamped before they divide.
  state.base = 0;
  state.roughness = -9;
  state.regenerate = true;
  CloudFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride, random);
  EXPECT_EQ(state.base, kCloudMinBase);
  EXPECT_EQ(state.roughness, kCloudMinRoughness);
  EXPECT_TRUE(out.GuardsIntact());
}

TEST(Qlo15Firework, DefaultLaunchHeightsByPictureHeight) {
  for (const auto& [h, expected] : {std::pair{1000, 128}, {300, 128}, {299, 30}, {200, 30}, {199, 25}, {150, 25},
                                    {149, 20}, {100, 20}, {99, 15}, {80, 15}, {79, 10}, {50, 10}, {49, 5}, {40, 5}})
    EXPECT_EQ(FireworkDefaultHeight(h), expected) << h;
}

// One rocket of one spark relaunches on every frame, so it never rises.
TEST(Qlo15Firework, OneRocketOfOneSparkNeverRises) {
  constexpr int W = 64, H = 40;
  NoisePicture in(W, H), out(W, H);
  FireworkState state;
  SetFirework(state, 1, 1, FireworkDefaultHeight(H));
  RuntimeRandom random(3);
  for (int frame = 0; frame < 30; ++frame) {
    FireworkFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride, random);
    ASSERT_EQ(state.countdown[0], 1);
    ASSERT_EQ(state.exploded[0], 0);
    ASSERT_EQ(state.y[0], (255 - 5) * H / 32);
  }
}

// Launches, bursts and 2 x 2 sparks against the plain arithmetic.
TEST(Qlo15Firework, FixedSeedFramesMatchThePlainArithmetic) {
  constexpr int W = 90, H = 70, R = 3, P = 4;
  NoisePicture in(W, H), out(W, H);
  FireworkState state;
  SetFirework(state, R, P, 40);
  RuntimeRandom random(99);
  CRand rand{99};
  int x[R * P], y[R * P], vx[R * P] = {}, vy[R * P] = {}, count[R], boom[R];
  std::fill(x, x + R * P, -20000);
  std::fill(y, y + R * P, -20000);
  for (int i = 0; i < R; ++i) count[i] = i * P + 1, boom[i] = 1;
  int drawnFrames = 0;
  for (int frame = 0; frame < 150; ++frame) {
    FireworkFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride, random);
    std::vector<uint8_t> expected = in.Rows();
    for (int i = 0; i < R; ++i) {
      if (!boom[i] && vy[i * P] > 0) {
        boom[i] = 1;
        for (int j = i * P; j < i * P + P; ++j) {
          vx[j] = rand() % 30 - 15;
          const int b = rand() % 31;
          vy[j] = b <= 15 ? b - 16 : b - 15;
        }
      }
      for (int j = i * P; j < i * P + P; ++j) {
        const int m = H - (y[j] >> 3) - 1;
        if (x[j] > 7 && (x[j] >> 3) < W - 1 && m > 0 && m < H - 1)
          for (int r = m; r <= m + 1; ++r)
            for (int c = x[j] >> 3; c <= (x[j] >> 3) + 1; ++c)
              std::memcpy(&expected[size_t(r * in.stride + c * 3)], FireworkColour(i), 3);
        x[j] += vx[j], y[j] += vy[j], vy[j] += 1;
      }
      if (count[i]-- <= 1) {
        count[i] = P * R, boom[i] = 0;
        const int b = rand() % W, t = rand(), g = rand(), k = g % 15;
        for (int j = i * P; j < i * P + P; ++j)
          x[j] = b * 8, y[j] = (255 - 40) * H / 32, vy[j] = t % 28 - 58, vx[j] = k < 8 ? k - 8 : k - 7;
      }
    }
    ASSERT_EQ(out.Rows(), expected) << "frame " << frame;
    drawnFrames += expected != in.Rows();
  }
  EXPECT_GT(drawnFrames, 50) << "the sparks show";
}

// Both kernels on 1 x 1 ... 3 x 3 pictures and with settings from elsewhere.
TEST(Qlo15Tiny, CloudAndFireworkWriteOnlyInsideTinyPictures) {
  for (int w = 1; w <= 3; ++w)
    for (int h = 1; h <= 3; ++h) {
      SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
      NoisePicture in(w, h), out(w, h);
      CloudState cloud;
      FireworkState fire;
      SetFirework(fire, kFireworkMaxRockets, kFireworkMaxSparks, kFireworkMinHeight);
      RuntimeRandom random(8);
      for (int frame = 0; frame < 300; ++frame) {
        FireworkFrame(fire, in.Pixels(), out.Pixels(), w, h, in.stride, random);
        ASSERT_TRUE(out.GuardsIntact());
      }
      for (int frame = 0; frame < 3; ++frame) CloudFrame(cloud, in.Pixels(), out.Pixels(), w, h, in.stride, random);
      ASSERT_TRUE(out.GuardsIntact());
    }
  FireworkState fire;
  fire.rockets = 1 << 20;
  fire.sparks = 1 << 20;
  fire.launchHeight = -5;
  NoisePicture in(30, 30), out(30, 30);
  RuntimeRandom random(1);
  FireworkFrame(fire, in.Pixels(), out.Pixels(), 30, 30, in.stride, random);
  EXPECT_EQ(fire.rockets * fire.sparks, kFireworkMaxParticles);
  EXPECT_EQ(fire.launchHeight, kFireworkMinHeight);
  EXPECT_TRUE(out.GuardsIntact());
}

}  // namespace
