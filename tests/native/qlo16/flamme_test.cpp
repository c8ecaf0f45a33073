// Flamme: the feed, rise and swap against a plain re-working whose every
// field access is checked, the hot spots skipped on pictures three pixels
// wide or narrower, the blend per byte with the field's rows counted from
// the top, pictures down to 1 x 1 written only inside, and frames that
// reproduce from the same seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo16/kernels/flamme.h"

namespace {

using namespace quillo;
using namespace quillo::qlo16;

// The frame step written out with checked accesses: `at` throws on any
// cell outside a W x (H + 6) field.
struct PlainFlamme {
  int w, h;
  std::vector<uint8_t> k, n;
  PlainFlamme(int w, int h) : w(w), h(h), k(size_t(w) * (h + 6)), n(k.size()) {}
  void Step(RuntimeRandom& random) {
    for (int i = 0; i < 3 * w; ++i) k.at(size_t(h * w + i)) = uint8_t(random.Next() % 40 + 56);
    const int spots = random.Next() % 40 + 30;
    if (w > 3)
      for (int j = 0; j < spots; ++j) {
        const int s = (h + 1) * w + random.Next() % (w - 3);
        for (int d : {0, 1, 2, w, w + 1, w + 2, 2 * w + 1, 2 * w + 2, 2 * w + 3}) k.at(size_t(s + d)) = 149;
      }
    for (int i = 0; i <= w * (h + 2) - 3; ++i) {
      const int v = (k.at(size_t(i + 3 * w)) + k.at(size_t(i + 4 * w - 1)) + k.at(size_t(i + 4 * w + 1)) +
                     k.at(size_t(i + 4 * w))) >> 2;
      n.at(size_t(w + i)) = uint8_t(v == 0 ? 0 : v - 1);
    }
    std::swap(k, n);
  }
};

TEST(Qlo16Flamme, FieldsMatchACheckedReworkingAndStayInsideTheirRows) {
  for (const auto& [w, h] : {std::pair{1, 1}, {1, 3}, {2, 2}, {3, 1}, {3, 3}, {4, 1}, {4, 5}, {17, 9}, {64, 40}}) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    FlammeState state;
    ASSERT_TRUE(ResetFlamme(state, w, h));
    ASSERT_EQ(state.current.size(), size_t(w) * (h + 6));
    PlainFlamme plain(w, h);
    RuntimeRandom a(99), b(99);
    for (int frame = 0; frame < 12; ++frame) {
      StepFlamme(state, a);
      ASSERT_NO_THROW(plain.Step(b));
      ASSERT_EQ(state.current, plain.k) << "frame " << frame;
      ASSERT_EQ(state.next, plain.n) << "frame " << frame;
    }
    EXPECT_EQ(a.state(), b.state());
  }
}

TEST(Qlo16Flamme, HotSpotsAreSkippedWhenNoColumnLeavesRoomAndLandInColumnZeroAtWidthFour) {
  for (int w = 1; w <= 4; ++w) {
    FlammeState state;
    ResetFlamme(state, w, 3);
    RuntimeRandom random(5), count(5);
    StepFlamme(state, random);
    // 3W feed draws and the spot count; then one draw per spot at width 4.
    for (int k = 0; k < 3 * w; ++k) count.Next();
    const int spots = count.Next() % 40 + 30;
    if (w == 4)
      for (int k = 0; k < spots; ++k) count.Next();
    EXPECT_EQ(random.state(), count.state()) << w;
    // The fields swapped: the fed field is now `next`.
    const auto& fed = state.next;
    const bool hot = std::count(fed.begin(), fed.end(), uint8_t(149)) > 0;
    EXPECT_EQ(hot, w == 4) << w;
    if (w == 4) {
      const int s = 4 * 4;  // row H + 1, column 0
      for (int d : {0, 1, 2, 4, 5, 6, 9, 10, 11}) EXPECT_EQ(fed[size_t(s + d)], 149) << d;
    }
  }
}

TEST(Qlo16Flamme, BlendIsPMinusTheShiftedProductWithFieldRowsFromTheTop) {
  constexpr int W = 7, H = 5;
  NoisePicture in(W, H), out(W, H);
  FlammeState state;
  ResetFlamme(state, W, H);
  for (size_t k = 0; k < size_t(W) * H; ++k) state.current[k] = uint8_t(k * 37 + 3);
  const FirePalette256 palette = FlammePalette();
  DrawFlamme(state, palette, in.Pixels(), out.Pixels(), in.stride);
  EXPECT_TRUE(out.GuardsIntact());
  for (int i = 0; i < H; ++i)
    for (int j = 0; j < W; ++j) {
      const FireColour& p = palette[state.current[size_t(i * W + j)]];
      const int comp[3] = {p.blue, p.green, p.red};
      for (int c = 0; c < 3; ++c) {
        const int s = in.At(j, H - 1 - i)[c];
        ASSERT_EQ(out.At(j, H - 1 - i)[c], uint8_t(comp[c] - ((s * (comp[c] - 255) + 255) >> 8)));
      }
    }
  // A cold field keeps dark bytes dark and bright ones nearly as they are.
  EXPECT_EQ(uint8_t(0 - ((0 * (0 - 255) + 255) >> 8)), 0);
  EXPECT_EQ(uint8_t(0 - ((255 * (0 - 255) + 255) >> 8)), 254);
  EXPECT_EQ(palette[32].red, 255);
  EXPECT_EQ(palette[7].blue, 56);
  EXPECT_EQ(palette[16].blue, 0);
  EXPECT_EQ(palette[82].blue, 255);
}

TEST(Qlo16Flamme, TinyPicturesAreWrittenOnlyInsideAndFramesReproduce) {
  for (int w = 1; w <= 5; ++w)
    for (int h = 1; h <= 5; ++h) {
      NoisePicture in(w, h), out(w, h);
      FlammeState state;
      ResetFlamme(state, w, h);
      RuntimeRandom random(3);
      for (int frame = 0; frame < 20; ++frame) {
        StepFlamme(state, random);
        DrawFlamme(state, FlammePalette(), in.Pixels(), out.Pixels(), in.stride);
      }
      ASSERT_TRUE(out.GuardsIntact()) << w << " x " << h;
      ASSERT_TRUE(in.GuardsIntact());
    }
  auto run = [](uint32_t seed) {
    NoisePicture in(50, 30), out(50, 30);
    FlammeState state;
    ResetFlamme(state, 50, 30);
    RuntimeRandom random(seed);
    for (int frame = 0; frame < 40; ++frame) {
      StepFlamme(state, random);
      DrawFlamme(state, FlammePalette(), in.Pixels(), out.Pixels(), in.stride);
    }
    return out.Rows();
  };
  EXPECT_EQ(run(11), run(11));
  EXPECT_NE(run(11), run(12));
  // A state that was never sized, or a short row, draws nothing.
  FlammeState none;
  NoisePicture in(4, 4), out(4, 4);
  const auto before = out.Rows();
  RuntimeRandom random(1);
  StepFlamme(none, random);
  DrawFlamme(none, FlammePalette(), in.Pixels(), out.Pixels(), in.stride);
  EXPECT_EQ(out.Rows(), before);
  EXPECT_TRUE(ResetFlamme(none, 0, 5));
  EXPECT_TRUE(none.current.empty());
}

}  // namespace
