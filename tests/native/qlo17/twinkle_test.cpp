// Twinkling stars: the random-hue colours, the seven shapes and the hidden
// phase, rows counted from the top, where new stars go and in which order
// they draw, points outside skipped on tiny pictures, and fixed seeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo17/kernels/twinkle.h"

namespace {

using namespace quillo;
using namespace quillo::qlo17;

// Seeds whose first draw is 0 and 16384 (hue 0 and just past a half).
constexpr uint32_t kFirstDrawZero = 2708534849u, kFirstDrawHalf = 3782276673u;

TEST(Qlo17Twinkle, OuterColoursAreFullySaturatedHuesOfTheBlueStartingColour) {
  uint8_t c[3];
  RuntimeRandom zero(kFirstDrawZero);
  RandomHueColour(zero, c);
  EXPECT_EQ(std::vector<int>(c, c + 3), (std::vector<int>{0, 0, 255})) << "hue 0 is red (blue, green, red)";
  RuntimeRandom half(kFirstDrawHalf);
  RandomHueColour(half, c);
  EXPECT_EQ(std::vector<int>(c, c + 3), (std::vector<int>{255, 255, 0})) << "hue one half is cyan";
  RuntimeRandom random(5);
  std::set<int> greens;
  for (int k = 0; k < 500; ++k) {
    RandomHueColour(random, c);
    EXPECT_EQ(*std::max_element(c, c + 3), 255);
    EXPECT_EQ(*std::min_element(c, c + 3), 0);
    greens.insert(c[1]);
  }
  EXPECT_GT(greens.size(), 100u);
}

// Painted points of one star's shape on black, by colour, as (x, y) with y
// counted from the top.
struct Painted {
  std::set<std::pair<int, int>> outer, centre;
};
Painted Draw(int phase, int x = 15, int y = 15, int w = 31, int h = 31) {
  NoisePicture picture(w, h);
  std::fill(picture.Pixels(), picture.Pixels() + picture.stride * h, uint8_t(0));
  TwinkleStar star;
  star.x = x;
  star.y = y;
  star.phase = phase;
  star.outer[0] = 10, star.outer[1] = 20, star.outer[2] = 30;
  DrawTwinkleShape(star, picture.Pixels(), w, h, picture.stride);
  EXPECT_TRUE(picture.GuardsIntact());
  Painted p;
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col) {
      const uint8_t* px = picture.At(col, h - 1 - row);
      if (px[0] == 10 && px[1] == 20 && px[2] == 30) p.outer.insert({col - x, row - y});
      else if (px[0] == 255 && px[1] == 255 && px[2] == 255) p.centre.insert({col - x, row - y});
      else EXPECT_EQ(px[0] | px[1] | px[2], 0);
    }
  return p;
}

std::set<std::pair<int, int>> Arm(int a, int b) {
  std::set<std::pair<int, int>> s;
  for (int k = a; k <= b; ++k) s.insert({{k, 0}, {-k, 0}, {0, k}, {0, -k}});
  return s;
}
std::set<std::pair<int, int>> Join(std::set<std::pair<int, int>> a, const std::set<std::pair<int, int>>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

TEST(Qlo17Twinkle, SevenShapesShrinkPhaseByPhaseAndPhase21DrawsNothing) {
  const std::set<std::pair<int, int>> dots = {{2, 2}, {-2, 2}, {2, -2}, {-2, -2}};
  const std::set<std::pair<int, int>> cross = {{-1, 0}, {0, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (int phase = 0; phase < 3; ++phase) {
    const Painted p = Draw(phase);
    EXPECT_EQ(p.outer, Arm(7, 12));
    EXPECT_EQ(p.centre, Join(Arm(2, 6), dots));
  }
  // The centre is drawn over the outer arm where they meet (at 4).
  Painted p = Draw(4);
  EXPECT_EQ(p.outer, Arm(5, 8));
  EXPECT_EQ(p.centre, Arm(2, 4));
  for (int phase : {6, 8}) {
    p = Draw(phase);
    EXPECT_EQ(p.outer, Arm(3, 6));
    EXPECT_EQ(p.centre, Arm(2, 2));
  }
  p = Draw(10);
  EXPECT_EQ(p.outer, Arm(3, 5));
  EXPECT_EQ(p.centre, Arm(2, 2));
  p = Draw(13);
  EXPECT_EQ(p.outer, Arm(2, 4));
  EXPECT_EQ(p.centre, cross);
  p = Draw(16);
  EXPECT_EQ(p.outer, Arm(2, 2));
  EXPECT_EQ(p.centre, cross);
  p = Draw(20);
  EXPECT_EQ(p.outer, Arm(1, 1));
  EXPECT_EQ(p.centre, (std::set<std::pair<int, int>>{{0, 0}}));
  for (int phase : {21, 22, 40, -3}) {
    p = Draw(phase);
    EXPECT_TRUE(p.outer.empty() && p.centre.empty()) << phase;
  }
}

TEST(Qlo17Twinkle, RowsCountFromTheTopAndPointsOutsideAreSkipped) {
  // A star in the top-left corner keeps only what lies inside.
  Painted p = Draw(0, 0, 0, 20, 16);
  for (const auto& [dx, dy] : Join(p.outer, p.centre)) EXPECT_TRUE(dx >= 0 && dy >= 0);
  EXPECT_EQ(p.outer, (std::set<std::pair<int, int>>{{7, 0}, {8, 0}, {9, 0}, {10, 0}, {11, 0}, {12, 0},
                                                    {0, 7}, {0, 8}, {0, 9}, {0, 10}, {0, 11}, {0, 12}}));
  EXPECT_TRUE(p.centre.count({2, 2}));
  // Far outside, even negative: nothing, guards kept.
  for (const auto& [x, y] : {std::pair{-13, 5}, {5, -13}, {40, 5}, {5, 40}, {-100000, -100000}}) {
    p = Draw(0, x, y, 20, 16);
    EXPECT_TRUE(p.outer.empty() && p.centre.empty());
  }
}

TEST(Qlo17Twinkle, NewStarsArePlacedOnTheirFirstFrameAndCycleThroughThePhases) {
  constexpr int w = 37, h = 23;
  NoisePicture backup(w, h), out(w, h, -1, 99);
  TwinkleState state;
  SetTwinkleCount(state, 3);
  RuntimeRandom random(11);
  StartTwinkle(state, random);
  for (const TwinkleStar& s : state.stars) EXPECT_EQ(s.phase, kTwinkleLastPhase);
  RuntimeRandom replay(11);
  for (int k = 0; k < kTwinkleRecords; ++k) replay.Next();
  TwinkleFrame(state, backup.Pixels(), out.Pixels(), w, h, backup.stride, random);
  // Nothing drawn yet; each star drew phase, column, row and hue in turn.
  EXPECT_EQ(out.Rows(), backup.Rows());
  for (int k = 0; k < 3; ++k) {
    const TwinkleStar& s = state.stars[size_t(k)];
    EXPECT_EQ(s.phase, replay.Below(15));
    EXPECT_EQ(s.x, replay.Below(w));
    EXPECT_EQ(s.y, replay.Below(h));
    uint8_t c[3];
    RandomHueColour(replay, c);
    EXPECT_TRUE(std::equal(c, c + 3, s.outer));
  }
  EXPECT_EQ(state.stars[3].phase, kTwinkleLastPhase) << "stars past the count wait";
  // A star ages one phase a frame and restarts after phase 21.
  const int start = state.stars[0].phase;
  for (int frame = start; frame < kTwinkleLastPhase; ++frame) {
    TwinkleFrame(state, backup.Pixels(), out.Pixels(), w, h, backup.stride, random);
    EXPECT_EQ(state.stars[0].phase, frame + 1);
  }
  TwinkleFrame(state, backup.Pixels(), out.Pixels(), w, h, backup.stride, random);
  EXPECT_LT(state.stars[0].phase, 15);
}

TEST(Qlo17Twinkle, CountsStayInTheTableAndTinyPicturesAreWrittenOnlyInside) {
  TwinkleState state;
  SetTwinkleCount(state, 0);
  EXPECT_EQ(state.count, 1);
  SetTwinkleCount(state, 5000);
  EXPECT_EQ(state.count, kTwinkleRecords);
  for (int w = 1; w <= 3; ++w)
    for (int h = 1; h <= 3; ++h) {
      NoisePicture backup(w, h), out(w, h, -1, 3);
      RuntimeRandom random(uint32_t(w * 7 + h));
      StartTwinkle(state, random);
      for (int frame = 0; frame < 60; ++frame)
        TwinkleFrame(state, backup.Pixels(), out.Pixels(), w, h, backup.stride, random);
      EXPECT_TRUE(out.GuardsIntact()) << w << "x" << h;
      for (int y = 0; y < h; ++y)  // the rows' padding is the backup's
        for (int64_t k = int64_t(w) * 3; k < out.stride; ++k)
          EXPECT_EQ(out.Pixels()[y * out.stride + k], backup.Pixels()[y * out.stride + k]);
    }
}

TEST(Qlo17Twinkle, AFixedSeedGivesTheSameFrames) {
  constexpr int w = 120, h = 90;
  NoisePicture backup(w, h);
  std::vector<uint8_t> frames[2];
  for (auto& frame : frames) {
    NoisePicture out(w, h);
    TwinkleState state;
    SetTwinkleCount(state, 300);
    RuntimeRandom random(2024);
    StartTwinkle(state, random);
    for (int k = 0; k < 25; ++k) TwinkleFrame(state, backup.Pixels(), out.Pixels(), w, h, backup.stride, random);
    frame = out.Rows();
  }
  EXPECT_EQ(frames[0], frames[1]);
  EXPECT_NE(frames[0], backup.Rows());
}

}  // namespace
