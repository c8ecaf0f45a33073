// Rocks: the tables, the projection against a plain working of its
// arithmetic, the drawing rules (sizes, the picture's sides, the polygon
// fill), rock counts bounded by the table, deaths near the viewer, hostile
// stored blocks, tiny pictures with guard bytes and reproducible frames.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo18/kernels/rock.h"

namespace {

using namespace quillo;
using namespace quillo::qlo18;

TEST(Qlo18Rock, TablesTurnOnceInAThousandStepsAndFlattenWithDepth) {
  const RockTables& t = RockTable();
  EXPECT_DOUBLE_EQ(t.sine[250], std::sin(250 * 0.002 * 3.14159));
  EXPECT_NEAR(t.cosine[500], -1.0, 1e-5);
  EXPECT_DOUBLE_EQ(t.perspective[0], std::atan2(0.5 / 0.01, 1));
  EXPECT_DOUBLE_EQ(t.perspective[5999], std::atan2(0.5 / 60.0, 1));
  // The size 200 x P + 0.5 of a rock between depth 200 and 6000: 2 ... 49.
  EXPECT_EQ(int(t.perspective[5999] * 200 + 0.5), 2);
  EXPECT_EQ(int(t.perspective[199] * 200 + 0.5), 49);
}

TEST(Qlo18Rock, ProjectionFollowsTheDriftOfTheVanishingPoint) {
  RockField field;
  field.centreX = 120;
  field.centreY = 80;
  field.driftX = 37;
  field.driftY = -21;
  for (int depth : {200, 1234, 6000})
    for (int angle : {0, 137, 999}) {
      Rock rock;
      rock.baseSize = 200;
      rock.distance = 12345;
      rock.depth = depth;
      rock.angle = angle;
      ProjectRock(rock, field);
      const double f = std::atan2(0.5 / (depth * 0.01), 1);
      const double a = angle * 0.002 * 3.14159;
      EXPECT_EQ(rock.size, int(f * 200 + 0.5));
      EXPECT_EQ(rock.x, int(f * 12345 * std::cos(a)) + 120 + int(-depth / 6100.0 * 37)) << depth << " " << angle;
      EXPECT_EQ(rock.y, int(f * 12345 * std::sin(a)) + 80 + int(-depth / 6100.0 * -21)) << depth << " " << angle;
    }
}

// Painted pixels of a picture of `colour`-free zeros, as (x, row from top).
std::vector<std::pair<int, int>> Painted(const NoisePicture& p) {
  std::vector<std::pair<int, int>> out;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (p.At(x, p.height - 1 - y)[0] != 0) out.push_back({x, y});
  return out;
}

NoisePicture Blank(int w, int h) {
  NoisePicture p(w, h);
  std::memset(p.Pixels(), 0, size_t(p.stride * h));
  return p;
}

TEST(Qlo18Rock, SizesDrawADotASquareOrAStoneAndNothingOutside) {
  Rock rock;
  rock.red = 200;
  rock.green = 150;
  rock.blue = 130;
  rock.x = 10;
  rock.y = 7;
  rock.size = 1;
  NoisePicture p = Blank(40, 30);
  DrawRock(rock, p.Pixels(), p.width, p.height, p.stride);
  ASSERT_EQ(Painted(p), (std::vector<std::pair<int, int>>{{10, 7}}));
  EXPECT_EQ(p.At(10, 30 - 1 - 7)[0], 130);  // blue first: rows count from the top
  EXPECT_EQ(p.At(10, 30 - 1 - 7)[2], 200);
  // Size 3: the square from (x, y) to (x + 4, y + 4), right and bottom open.
  p = Blank(40, 30);
  rock.size = 3;
  DrawRock(rock, p.Pixels(), p.width, p.height, p.stride);
  const auto square = Painted(p);
  ASSERT_EQ(square.size(), 16u);
  EXPECT_EQ(square.front(), std::make_pair(10, 7));
  EXPECT_EQ(square.back(), std::make_pair(13, 10));
  // The stone fills inside its outline's box only.
  p = Blank(40, 30);
  rock.size = 20;
  DrawRock(rock, p.Pixels(), p.width, p.height, p.stride);
  const auto stone = Painted(p);
  EXPECT_GT(stone.size(), 150u);
  for (auto [x, y] : stone) {
    EXPECT_GE(x, 10);
    EXPECT_LT(x, 30);
    EXPECT_GE(y, 7);
    EXPECT_LT(y, 27);
  }
  // Not drawn: size 200 and more, x or y at 0 or beyond the picture.
  for (auto [x, y, s] : {std::array{5, 5, 200}, {0, 5, 1}, {5, 0, 1}, {40, 5, 1}, {5, 30, 1}, {-3, 5, 1}}) {
    p = Blank(40, 30);
    rock.x = x;
    rock.y = y;
    rock.size = s;
    DrawRock(rock, p.Pixels(), p.width, p.height, p.stride);
    EXPECT_TRUE(Painted(p).empty()) << x << " " << y << " " << s;
  }
  // A big stone at the lower right corner is cut at the picture's sides.
  p = Blank(80, 60);
  rock.x = 30;
  rock.y = 20;
  rock.size = 100;
  DrawRock(rock, p.Pixels(), p.width, p.height, p.stride);
  EXPECT_TRUE(p.GuardsIntact());
  EXPECT_FALSE(Painted(p).empty());
}

// The even-odd rule worked out pixel by pixel: a pixel is in when an odd
// number of the edges active on its row cross at or left of it.
TEST(Qlo18Rock, PolygonFillKeepsTheEvenOddRuleWithOpenRightAndBottom) {
  const int shapes[3][7][2] = {
      {{3, 17}, {0, 4}, {6, 0}, {8, 2}, {18, 2}, {20, 11}, {9, 20}},
      {{2, 2}, {16, 2}, {16, 12}, {2, 12}, {2, 2}, {2, 2}, {2, 2}},
      {{1, 1}, {19, 4}, {4, 19}, {10, 3}, {15, 18}, {1, 1}, {1, 1}},  // self-crossing
  };
  for (const auto& shape : shapes) {
    NoisePicture p = Blank(24, 24);
    const uint8_t white[3] = {255, 255, 255};
    FillRockPolygon(shape, 7, white, p.Pixels(), p.width, p.height, p.stride);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) {
        int crossings = 0;
        bool onCrossing = false;  // the sum of slopes row by row may land either side
        for (int i = 0; i < 7; ++i) {
          const int* a = shape[i];
          const int* b = shape[(i + 1) % 7];
          if (a[1] == b[1]) continue;
          const int* up = a[1] < b[1] ? a : b;
          const int* down = a[1] < b[1] ? b : a;
          if (y < up[1] || y >= down[1]) continue;
          const double cx = up[0] + double(down[0] - up[0]) * (y - up[1]) / (down[1] - up[1]);
          if (std::abs(cx - x) < 1e-6) onCrossing = true;
          if (cx <= x) ++crossings;
        }
        if (onCrossing) continue;
        ASSERT_EQ(p.At(x, 23 - y)[0] != 0, crossings % 2 == 1) << x << ", " << y << " shape " << (&shape - shapes);
      }
  }
}

TEST(Qlo18Rock, CountsStayInTheTableAndNearRocksDie) {
  RockState state;
  SetRockSettings(state, 5000, 0);
  EXPECT_EQ(state.count, kRockMaxCount);
  EXPECT_EQ(state.speed, kRockMinSpeed);
  SetRockSettings(state, -7, 99999);
  EXPECT_EQ(state.count, kRockMinCount);
  EXPECT_EQ(state.speed, kRockMaxSpeed);
  // Settings poked past their ranges are clamped again before a frame.
  state.count = 1 << 30;
  state.speed = 1000;
  NoisePicture source(64, 48), out(64, 48);
  RockField field;
  StartRocks(field, 64, 48);
  RuntimeRandom random(9);
  int maxDepthSeen = 0;
  for (int f = 0; f < 60; ++f) {
    RockFrame(state, field, source.Pixels(), out.Pixels(), 64, 48, out.stride, random);
    for (const Rock& r : state.rocks) {
      ASSERT_TRUE(r.depth == 0 || (r.depth >= kRockNearDepth && r.depth <= kRockFarDepth));
      maxDepthSeen = std::max(maxDepthSeen, r.depth);
      if (r.depth > 0) {
        ASSERT_GE(r.angle, 0);
        ASSERT_LT(r.angle, kRockSlots);
      }
    }
  }
  EXPECT_EQ(state.count, kRockMaxCount);
  EXPECT_EQ(maxDepthSeen, kRockFarDepth);
  // At speed 1000 a rock at depth 1199 falls below 200 and dies; one at
  // 1200 reaches exactly 200 and is still drawn.
  for (int depth : {1199, 1200}) {
    RockState one;
    SetRockSettings(one, 1, 1000);
    one.rocks[0] = Rock{200, 0, 1, 2, 3, 0, depth, 0, 0, 0};
    RockField still;
    StartRocks(still, 64, 48);
    RockFrame(one, still, source.Pixels(), out.Pixels(), 64, 48, out.stride, random);
    EXPECT_EQ(one.rocks[0].depth, depth == 1199 ? 0 : 200);
    EXPECT_EQ(out.Rows() != source.Rows(), depth == 1200) << "drawn only while alive";
  }
}

TEST(Qlo18Rock, StoredBlocksAreClampedAndWrongOnesRefused) {
  auto block = [](uint32_t magic, int32_t size, int32_t count, int32_t speed) {
    std::vector<uint8_t> b(16);
    std::memcpy(&b[0], &magic, 4);
    std::memcpy(&b[4], &size, 4);
    std::memcpy(&b[8], &count, 4);
    std::memcpy(&b[12], &speed, 4);
    return b;
  };
  double v[2] = {-1, -1};
  auto b = block(kRockBlobMagic, 16, 2000000000, -5);
  ASSERT_TRUE(animation::ReadParamBlob(b.data(), b.size(), kRockBlobMagic, kRockBlobFields, kRockFieldCount, v));
  EXPECT_EQ(v[0], kRockMaxCount);
  EXPECT_EQ(v[1], kRockMinSpeed);
  b = block(kRockBlobMagic ^ 1, 16, 10, 10);
  EXPECT_FALSE(animation::ReadParamBlob(b.data(), b.size(), kRockBlobMagic, kRockBlobFields, kRockFieldCount, v));
  b = block(kRockBlobMagic, 12, 10, 10);
  EXPECT_FALSE(animation::ReadParamBlob(b.data(), b.size(), kRockBlobMagic, kRockBlobFields, kRockFieldCount, v));
  const double w[2] = {350, 40};
  EXPECT_EQ(animation::WriteParamBlob(kRockBlobMagic, kRockBlobFields, kRockFieldCount, w),
            block(kRockBlobMagic, 16, 350, 40));
}

TEST(Qlo18Rock, TinyPicturesAndSameSeedsGiveTheSameFrames) {
  for (int w = 1; w <= 3; ++w)
    for (int h = 1; h <= 3; ++h) {
      NoisePicture source(w, h), out(w, h, 0);
      RockState state;
      SetRockSettings(state, 1000, 7);
      RockField field;
      StartRocks(field, w, h);
      RuntimeRandom random(3);
      for (int f = 0; f < 200; ++f) {
        RockFrame(state, field, source.Pixels(), out.Pixels(), w, h, out.stride, random);
        ASSERT_TRUE(out.GuardsIntact()) << w << "x" << h;
      }
    }
  auto play = [](uint32_t seed) {
    NoisePicture source(160, 120), out(160, 120);
    RockState state;
    SetRockSettings(state, 600, 40);
    RockField field;
    StartRocks(field, 160, 120);
    RuntimeRandom random(seed);
    for (int f = 0; f < 120; ++f) RockFrame(state, field, source.Pixels(), out.Pixels(), 160, 120, out.stride, random);
    return std::make_pair(out.Rows(), field.rotationTarget * 1000 + field.driftX);
  };
  const auto a = play(11), b = play(11);
  EXPECT_EQ(a, b);
  EXPECT_NE(a.first, NoisePicture(160, 120).Rows()) << "120 frames at speed 40 show rocks";
  EXPECT_NE(a, play(12));
}

TEST(Qlo18Rock, DriftTurnsBackAndStaysNearItsLimit) {
  NoisePicture source(100, 60), out(100, 60);
  RockState state;
  RockField field;
  StartRocks(field, 100, 60);
  RuntimeRandom random(21);
  for (int f = 0; f < 3000; ++f) {
    RockFrame(state, field, source.Pixels(), out.Pixels(), 100, 60, out.stride, random);
    ASSERT_LE(std::abs(field.driftX), 50);
    ASSERT_LE(std::abs(field.driftY), 30);
    ASSERT_LE(std::abs(field.velocityX), 5);
    ASSERT_LE(std::abs(field.rotationTarget), 25);
    ASSERT_LT(field.frame, 50);
  }
}

}  // namespace
