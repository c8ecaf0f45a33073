// Snow and Rain: fixed-seed frames against a plain re-working of their
// arithmetic, counts that must stay inside the tables (also when set from
// elsewhere), and tiny pictures whose every write must land inside them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo15/kernels/rain.h"
#include "plugins/qlo15/kernels/snow.h"

namespace {

using namespace quillo;
using namespace quillo::qlo15;

// The runtime generator written out, apart from RuntimeRandom.
struct CRand {
  uint32_t s;
  int operator()() {
    s = s * 214013u + 2531011u;
    return int((s >> 16) & 0x7FFF);
  }
};

TEST(Qlo15Snow, FixedSeedFramesMatchThePlainArithmetic) {
  constexpr int W = 23, H = 17, N = 10;
  NoisePicture in(W, H), out(W, H);
  SnowState state;
  SetSnowCounts(state, N, 5);
  RuntimeRandom random(1234);
  // The reference: flakes as plain arrays, the white squares as a set of
  // pixels (memory row, column).
  struct F { int x = 0, y = 0, layer = 0, speed = 0, counter = 0, step = 1, active = 0, size = 0; } f[N];
  CRand rand{1234};
  for (int frame = 0; frame < 60; ++frame) {
    SnowFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride, random);
    for (int n = 0; n < 4; ++n)
      for (int k = 0; k < N; ++k)
        if (!f[k].active) {
          f[k].y = 0, f[k].x = rand() % W, f[k].speed = rand() % 6 + 2, f[k].layer = rand() % 3;
          f[k].active = 1, f[k].size = rand() % 2 + 1;
          break;
        }
    std::vector<uint8_t> expected = in.Rows();
    for (auto& k : f) {
      if (k.y % 2 == 0) {
        if (k.counter <= 0) k.counter = rand() % 10, k.step = -k.step;
        k.counter--;
      }
      k.y += k.speed / 2;
      if (k.counter > 0) k.x += k.step;
      if (k.y >= H) k.active = 0;
    }
    for (auto& k : f)
      if (k.active && k.x >= 0 && k.x < W - k.size && k.y >= 0 && k.y < H - k.size)
        for (int r = 0; r < k.size; ++r)
          for (int c = 0; c < k.size; ++c)
            std::memset(&expected[size_t((H - k.y - 1 + r) * in.stride + (k.x + c) * 3)], 255, 3);
    ASSERT_EQ(out.Rows(), expected) << "frame " << frame;
    for (int k = 0; k < N; ++k) ASSERT_EQ(state.flakes[size_t(k)].x, f[k].x);
  }
  EXPECT_EQ(random.state(), rand.s);
}

// Ten flakes at most, falling 1 to 3 rows a frame; records past the count
// are never touched.
TEST(Qlo15Snow, FlakeCountBoundsTheFlakesAndTheirFall) {
  NoisePicture in(200, 400), out(200, 400);
  SnowState state;
  SetSnowCounts(state, 10, 0);
  RuntimeRandom random(9);
  std::vector<int> lastY(kSnowMaxFlakes, 0);
  for (int frame = 0; frame < 200; ++frame) {
    SnowFrame(state, in.Pixels(), out.Pixels(), in.width, in.height, in.stride, random);
    int active = 0;
    for (int k = 0; k < kSnowMaxFlakes; ++k) {
      const Flake& f = state.flakes[size_t(k)];
      if (k >= 10) {
        ASSERT_EQ(f.active, 0);
        ASSERT_EQ(f.speed, 0);
        continue;
      }
      active += f.active;
      if (f.active && lastY[size_t(k)] < f.y) {
        ASSERT_GE(f.y - lastY[size_t(k)], 1);
        ASSERT_LE(f.y - lastY[size_t(k)], 3);
      }
      if (f.active) {
        ASSERT_GE(f.speed, 2);
        ASSERT_LE(f.speed, 7);
      }
      lastY[size_t(k)] = f.y;
    }
    ASSERT_LE(active, 10);
  }
  // A count from elsewhere is clamped before it indexes the table.
  state.flakeCount = 1 << 30;
  state.gustCount = -7;
  SnowFrame(state, in.Pixels(), out.Pixels(), in.width, in.height, in.stride, random);
  EXPECT_EQ(state.flakeCount, kSnowMaxFlakes);
  EXPECT_EQ(state.gustCount, 0);
}

// A flake of size 2 at x = W - 2 stays undrawn; one at the picture's top
// row is cut at the top instead of writing past the rows.
TEST(Qlo15Snow, SquaresNeedRoomAndStayInsideThePicture) {
  constexpr int W = 6, H = 5;
  NoisePicture in(W, H, 0), out(W, H, 0);
  SnowState state;
  SetSnowCounts(state, kSnowMinFlakes, 0);
  // Ten placed flakes fill the count, so none is born; speed 0 holds them
  // still (a step of 0 keeps x as it is once the counters run out).
  for (auto& f : state.flakes) f = Flake{};
  for (int k = 0; k < kSnowMinFlakes; ++k) state.flakes[size_t(k)] = Flake{0, 1, 0, 0, 100, 0, 1, 1};
  state.flakes[0] = Flake{W - 2, 1, 0, 0, 100, 0, 1, 2};
  state.flakes[1] = Flake{1, 0, 0, 0, 100, 0, 1, 2};
  RuntimeRandom random(3);
  SnowFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride, random);
  EXPECT_TRUE(out.GuardsIntact());
  EXPECT_EQ(std::memcmp(out.At(W - 2, 3), in.At(W - 2, 3), 3), 0) << "x = W - 2 with size 2 is not drawn";
  EXPECT_EQ(std::memcmp(out.At(1, H - 1), "\xff\xff\xff", 3), 0);
  EXPECT_EQ(std::memcmp(out.At(2, H - 1), "\xff\xff\xff", 3), 0);
  EXPECT_EQ(std::memcmp(out.At(0, 3), "\xff\xff\xff", 3), 0) << "size 1 at row 1 from the top";
}

TEST(Qlo15Snow, TicksChangeTheCountsEveryTwentiethTick) {
  SnowState state;
  RuntimeRandom random(77);
  CRand rand{77};
  for (int tick = 1; tick <= 60; ++tick) {
    const bool changed = SnowTick(state, tick, random);
    ASSERT_EQ(changed, tick % 20 == 0);
    if (!changed) continue;
    const int flakes = rand() % 1000 + 200, gusts = rand() % 10 + 2;
    EXPECT_EQ(state.flakeCount, flakes);
    EXPECT_EQ(state.gustCount, gusts);
  }
}

TEST(Qlo15Rain, RingAmplitudesAndOneRippleOfAgeZero) {
  const std::array<int, 7> expected = {5, 13, 19, 14, -13, -19, -8};
  EXPECT_EQ(RainRingAmplitudes(), expected);
  // Each pixel names its place: blue the column, green the row.
  constexpr int W = 40, H = 40;
  NoisePicture in(W, H, 0);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      uint8_t* p = in.Pixels() + y * in.stride + x * 3;
      p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 0;
    }
  NoisePicture out = in;
  DrawRipple(in.Pixels(), out.Pixels(), W, H, in.stride, 20, 20, 0);
  auto from = [&](int x, int y) { return std::pair<int, int>(out.At(x, y)[0], out.At(x, y)[1]); };
  // Ring r = 1 (A = 5, divisor 1): (20, 21) shows (20, 26), pushed outward.
  EXPECT_EQ(from(20, 21), std::make_pair(20, 26));
  EXPECT_EQ(from(20, 19), std::make_pair(20, 14));
  EXPECT_EQ(from(21, 20), std::make_pair(26, 20));
  // Ring r = 7 (A = -8): (27, 20) shows (27 - 56 clamped to 0, 20).
  EXPECT_EQ(from(27, 20), std::make_pair(0, 20));
  EXPECT_EQ(from(13, 20), std::make_pair(39, 20));
  // Beyond the last ring nothing moves.
  EXPECT_EQ(from(30, 20), std::make_pair(30, 20));
  // Ripples at the corners and edges write only inside.
  for (const auto& [x, y, age] : {std::array<int, 3>{0, 0, 19}, {W - 1, H - 1, 5}, {-3, 50, 0}, {20, 20, 1000}}) {
    DrawRipple(in.Pixels(), out.Pixels(), W, H, in.stride, x, y, age);
    ASSERT_TRUE(out.GuardsIntact());
  }
}

// Ages, landing places and the growing number of drops against the plain
// arithmetic: 2500 double draws for the ages, then two draws a landing.
TEST(Qlo15Rain, FixedSeedDropsMatchThePlainArithmetic) {
  constexpr int W = 50, H = 30, N = 7;
  NoisePicture in(W, H), out(W, H);
  RainState state;
  SetRainDrops(state, N, false);
  StartRain(state);
  RuntimeRandom random(42);
  CRand rand{42};
  int age[kRainMaxDrops], x[kRainMaxDrops] = {}, y[kRainMaxDrops] = {}, active = 1;
  for (int& a : age) {
    rand();
    a = rand() % 20;
  }
  for (int frame = 0; frame < 120; ++frame) {
    RainFrame(state, in.Pixels(), out.Pixels(), W, H, in.stride, random);
    for (int j = 0; j < active; ++j) {
      if (++age[j] != 20) continue;
      if (j == 0 && active < N) ++active;
      age[j] = 0;
      x[j] = rand() % (W - 8) + 4;
      y[j] = rand() % (H - 8) + 4;
    }
    ASSERT_EQ(state.active, active) << frame;
    for (int j = 0; j < kRainMaxDrops; ++j) {
      ASSERT_EQ(state.age[size_t(j)], age[j]);
      ASSERT_EQ(state.x[size_t(j)], x[j]);
      ASSERT_EQ(state.y[size_t(j)], y[j]);
    }
  }
  EXPECT_EQ(active, N);
  // The frame is the backup with every drop's ripple laid over it in order.
  NoisePicture expected = in;
  for (int j = 0; j < N; ++j) DrawRipple(in.Pixels(), expected.Pixels(), W, H, in.stride, x[j], y[j], age[j]);
  EXPECT_EQ(out.Rows(), expected.Rows());
}

// Pictures of 8 pixels or less across or high land their drops on the
// middle; hostile counts are clamped before they index the tables.
TEST(Qlo15Rain, NarrowPicturesAndHostileCountsStayInside) {
  for (const auto& [w, h] : {std::pair{8, 30}, {30, 8}, {3, 3}, {1, 3}, {9, 9}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    NoisePicture in(w, h), out(w, h);
    RainState state;
    SetRainDrops(state, kRainMaxDrops, false);
    StartRain(state);
    RuntimeRandom random(5);
    for (int frame = 0; frame < 45; ++frame) {
      RainFrame(state, in.Pixels(), out.Pixels(), w, h, in.stride, random);
      ASSERT_TRUE(out.GuardsIntact());
    }
    for (int j = 0; j < state.active; ++j) {
      ASSERT_GE(state.x[size_t(j)], 0);
      ASSERT_LT(state.x[size_t(j)], w);
      ASSERT_LT(state.y[size_t(j)], h);
      if (w <= 8) {
        ASSERT_EQ(state.x[size_t(j)], w / 2);
      }
    }
  }
  NoisePicture in(20, 20), out(20, 20);
  RainState state;
  RuntimeRandom random(5);
  state.dropCount = 1 << 30;
  state.active = 1 << 30;
  RainFrame(state, in.Pixels(), out.Pixels(), 20, 20, in.stride, random);
  EXPECT_EQ(state.dropCount, kRainMaxDrops);
  EXPECT_LE(state.active, kRainMaxDrops);
  EXPECT_TRUE(out.GuardsIntact());
}

TEST(Qlo15Rain, TicksChangeTheCountWithoutStartingTheAgesAnew) {
  RainState state;
  state.reset = false;
  RuntimeRandom random(11);
  CRand rand{11};
  for (int tick = 1; tick <= 40; ++tick)
    if (RainTick(state, tick, random)) {
      EXPECT_EQ(state.dropCount, rand() % 200 + 30);
    }
  EXPECT_FALSE(state.reset);
}

// Both kernels on 1 x 1 ... 3 x 3 pictures: writes stay inside the rows
// (the guards) for many frames.
TEST(Qlo15Tiny, SnowAndRainWriteOnlyInsideTinyPictures) {
  for (int w = 1; w <= 3; ++w)
    for (int h = 1; h <= 3; ++h) {
      SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
      NoisePicture in(w, h), out(w, h);
      SnowState snow;
      SetSnowCounts(snow, kSnowMaxFlakes, 20);
      RainState rain;
      SetRainDrops(rain, 50, false);
      RuntimeRandom random(8);
      for (int frame = 0; frame < 50; ++frame) {
        SnowFrame(snow, in.Pixels(), out.Pixels(), w, h, in.stride, random);
        ASSERT_TRUE(out.GuardsIntact());
        RainFrame(rain, in.Pixels(), out.Pixels(), w, h, in.stride, random);
        ASSERT_TRUE(out.GuardsIntact());
      }
    }
}

}  // namespace
