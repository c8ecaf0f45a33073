// Star and FTrace: sprites read from packed pictures (damaged ones
// refused), the hue variants, spawning and moving stars, the size classes
// (a 1 x 1 picture: every star takes the largest sprite, clipped to the one
// pixel), fixed-seed frames; the fractal map's arithmetic, the window that
// keeps most points (n = 1, 0.1) against the one most leave (n = 10, 10),
// and the traced frame with its black outside.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo11/kernels/ftrace.h"
#include "plugins/qlo11/kernels/star.h"

namespace {

using namespace quillo;
using namespace quillo::qlo11;

std::vector<uint8_t> PackedDib(int size, int bits = 24, int declared = -1) {
  std::vector<uint8_t> d(40 + size_t(size) * size * 3, 0);
  const int32_t header[] = {40, declared < 0 ? size : declared, size};
  std::memcpy(d.data(), header, sizeof header);
  const uint16_t planes = 1, bitCount = uint16_t(bits);
  std::memcpy(d.data() + 12, &planes, 2);
  std::memcpy(d.data() + 14, &bitCount, 2);
  for (size_t k = 40; k < d.size(); ++k) d[k] = uint8_t(k * 7);
  return d;
}

// Sprites whose bytes are their kind's number plus one (colour 0), so a
// maximum shows which kind was drawn.
StarSprites KindSprites() {
  std::array<std::vector<uint8_t>, kStarSpriteKinds> stored;
  for (int k = 0; k < kStarSpriteKinds; ++k)
    stored[size_t(k)].assign(size_t(kStarSpriteSizes[k]) * kStarSpriteSizes[k] * 3, uint8_t(k + 1));
  StarSprites sprites;
  EXPECT_TRUE(PrepareStarSprites(stored, sprites));
  return sprites;
}

TEST(Qlo11Star, PackedSpritesAreReadOnlyWhenTheHeaderSaysExactlyThat) {
  std::vector<uint8_t> pixels;
  std::vector<uint8_t> good = PackedDib(12);
  ASSERT_TRUE(ReadPackedSprite(good.data(), good.size(), 12, pixels));
  EXPECT_EQ(pixels, std::vector<uint8_t>(good.begin() + 40, good.end()));
  pixels.clear();
  EXPECT_FALSE(ReadPackedSprite(good.data(), good.size() - 1, 12, pixels)) << "one byte short";
  EXPECT_FALSE(ReadPackedSprite(good.data(), good.size(), 20, pixels)) << "another size";
  const std::vector<uint8_t> eightBit = PackedDib(12, 8), wide = PackedDib(12, 24, 13);
  EXPECT_FALSE(ReadPackedSprite(eightBit.data(), eightBit.size(), 12, pixels));
  EXPECT_FALSE(ReadPackedSprite(wide.data(), wide.size(), 12, pixels));
  EXPECT_TRUE(pixels.empty());
  std::array<std::vector<uint8_t>, kStarSpriteKinds> stored;
  StarSprites sprites;
  EXPECT_FALSE(PrepareStarSprites(stored, sprites)) << "missing sprites";
  EXPECT_FALSE(sprites.ready);
}

TEST(Qlo11Star, HueVariantsTurnByKSixteenthsKeepingGreysAndLightness) {
  uint8_t red[3] = {0, 0, 255};
  TurnHue(red, 1.0 / 3);
  EXPECT_EQ(std::vector<uint8_t>(red, red + 3), (std::vector<uint8_t>{0, 255, 0}));
  uint8_t grey[3] = {90, 90, 90};
  TurnHue(grey, 0.5);
  EXPECT_EQ(grey[0], 90);
  uint8_t pale[3] = {200, 120, 240};  // a light violet turned by half: a light green
  TurnHue(pale, 0.5);
  EXPECT_EQ(std::max({pale[0], pale[1], pale[2]}) + std::min({pale[0], pale[1], pale[2]}), 240 + 120);
  EXPECT_EQ(pale[1], 240);
  std::array<std::vector<uint8_t>, kStarSpriteKinds> stored;
  for (int k = 0; k < kStarSpriteKinds; ++k) {
    stored[size_t(k)].assign(size_t(kStarSpriteSizes[k]) * kStarSpriteSizes[k] * 3, 0);
    stored[size_t(k)][2] = 255;  // first pixel red
  }
  StarSprites sprites;
  ASSERT_TRUE(PrepareStarSprites(stored, sprites));
  EXPECT_EQ(sprites.variants[3][0], stored[3]);
  const std::vector<uint8_t>& turned = sprites.variants[3][8];  // half a turn: cyan
  EXPECT_EQ(std::vector<uint8_t>(turned.begin(), turned.begin() + 3), (std::vector<uint8_t>{255, 255, 0}));
}

TEST(Qlo11Star, StarsSpawnAroundTheCentreMoveOutwardAndRespawnOnceOutside) {
  RuntimeRandom random(5), replay(5);
  Star s;
  SpawnStar(s, 100, 40, random);
  // m = 40: x in 10 .. 89, y in -20 .. 59.
  const int x = replay.Below(80) + 50 - 40, y = replay.Below(80) + 20 - 40, z = replay.Below(15) + 1;
  EXPECT_EQ(s.x, x * 32);
  EXPECT_EQ(s.lastY, y * 32);
  EXPECT_EQ(s.z, z);
  auto field = std::make_unique<StarState>();
  SetStarCount(*field, 1000);
  EXPECT_EQ(field->count, kStarMaxCount);
  SetStarCount(*field, 1);
  field->stars[0] = {3000, 960, 0, 0, 10};  // pixel (93, 30) of 100 x 40
  const StarSprites sprites = KindSprites();
  NoisePicture source(100, 40), out(100, 40);
  StarFrame(*field, sprites, source.Pixels(), out.Pixels(), 100, 40, source.stride, random);
  EXPECT_EQ(field->stars[0].x, 3000 + (3000 - 32 * 50) / 30);
  EXPECT_EQ(field->stars[0].y, 960 + (960 - 32 * 20) / 30);
  EXPECT_EQ(field->stars[0].lastX, 3000);
  // Column 100 is still inside; the frame after the star passed it, it
  // comes back inside the square around the centre.
  int frames = 0;
  while (field->stars[0].x / 32 <= 100 && ++frames < 20) {
    const int32_t before = field->stars[0].x;
    StarFrame(*field, sprites, source.Pixels(), out.Pixels(), 100, 40, source.stride, random);
    ASSERT_GT(field->stars[0].x, before);
  }
  EXPECT_EQ(frames, 4);
  StarFrame(*field, sprites, source.Pixels(), out.Pixels(), 100, 40, source.stride, random);
  EXPECT_LT(field->stars[0].x, 90 * 32) << "respawned inside the square";
  EXPECT_EQ(field->stars[0].x % 32, 0) << "spawned on a whole pixel";
  EXPECT_EQ(field->stars[0].lastX, field->stars[0].x + 1) << "a new star has not moved yet";
  EXPECT_TRUE(out.GuardsIntact());
  // A star exactly at the centre never moves: its previous place is marked.
  field->stars[0] = {50 * 32, 20 * 32, 0, 0, 3};
  StarFrame(*field, sprites, source.Pixels(), out.Pixels(), 100, 40, source.stride, random);
  EXPECT_EQ(field->stars[0].x, 1600);
  EXPECT_EQ(field->stars[0].lastX, 1601);
}

TEST(Qlo11Star, SizeClassesAndTheOnePixelPictureTakingTheLargestSprite) {
  // W div 20 = 10: classes from 50, 70 and 90 pixels off the centre.
  EXPECT_EQ(StarSpriteKind(100 + 49, 100, 200, 200), 0);
  EXPECT_EQ(StarSpriteKind(100 - 50, 100, 200, 200), 1);
  EXPECT_EQ(StarSpriteKind(100, 100 + 70, 200, 200), 2);
  EXPECT_EQ(StarSpriteKind(100 + 60, 100 - 95, 200, 200), 3) << "the larger class of the two axes";
  EXPECT_EQ(StarSpriteKind(0, 0, 1, 1), 3) << "W div 20 = 0: every distance is far";
  const StarSprites sprites = KindSprites();
  auto field = std::make_unique<StarState>();
  SetStarCount(*field, 300);
  RuntimeRandom random(9);
  StartStars(*field, 1, 1, random);
  NoisePicture source(1, 1), out(1, 1);
  std::memset(source.Pixels(), 0, 3);
  for (int k = 0; k < 20; ++k) {
    StarFrame(*field, sprites, source.Pixels(), out.Pixels(), 1, 1, source.stride, random);
    ASSERT_TRUE(out.GuardsIntact());
    // Some star covers the pixel every frame; only the largest is drawn.
    EXPECT_EQ(out.Pixels()[0], 4) << k;
  }
}

TEST(Qlo11Star, FixedSeedFieldsReproduce) {
  const StarSprites sprites = KindSprites();
  auto run = [&](uint32_t seed) {
    auto field = std::make_unique<StarState>();
    RuntimeRandom random(seed);
    StartStars(*field, 160, 120, random);
    NoisePicture source(160, 120), out(160, 120);
    for (int k = 0; k < 40; ++k)
      StarFrame(*field, sprites, source.Pixels(), out.Pixels(), 160, 120, source.stride, random);
    EXPECT_TRUE(out.GuardsIntact());
    return out.Rows();
  };
  EXPECT_EQ(run(3), run(3));
  EXPECT_NE(run(3), run(4));
}

TEST(Qlo11FTrace, EntriesFollowTheIterationAndEscapedPointsAreOutside) {
  // 4 x 2, xr = yr = 1, one step: column 1, row 1 is c = (-0.5, 0); z = c,
  // then z^2 + c = (-0.25, 0): column trunc(0.75 / 0.5) = 1, row trunc(1 / 1) = 1.
  animation::MapEntry e = FTraceEntry(1, 1, 4, 2, 1, 1, 1);
  EXPECT_EQ(e.column, 1);
  EXPECT_EQ(e.row, 1);
  // Column 0, row 0 is (-1, -1): z^2 + c = (-1, 1) -> row 2, one past the window.
  e = FTraceEntry(0, 0, 4, 2, 1, 1, 1);
  EXPECT_EQ(e.column, kFTraceOutside);
  EXPECT_EQ(e.row, kFTraceOutside);
  // Points escaping to infinity (and NaN) after ten steps are outside.
  e = FTraceEntry(0, 0, 8, 8, 10, 10, 10);
  EXPECT_EQ(e.column, kFTraceOutside);
}

TEST(Qlo11FTrace, SmallWindowKeepsMostPointsLargeOneLosesMost) {
  const int w = 160, h = 120;
  std::vector<animation::MapEntry> map(size_t(w) * h);
  auto outside = [&] {
    return std::count_if(map.begin(), map.end(),
                         [](animation::MapEntry e) { return e.column == kFTraceOutside; });
  };
  BuildFTraceMap(w, h, 0.1, 0.1, 1, map.data());
  EXPECT_LT(outside(), w * h / 10);
  for (const auto& e : map) {
    if (e.column == kFTraceOutside) continue;
    ASSERT_TRUE(e.column >= 0 && e.column < w && e.row >= 0 && e.row < h);
  }
  BuildFTraceMap(w, h, 10, 10, 10, map.data());
  EXPECT_GT(outside(), w * h * 9 / 10);
}

TEST(Qlo11FTrace, TracedFramesShiftTheTextureAndPaintOutsideBlack) {
  for (const auto& [w, h] : {std::pair{1, 1}, {7, 5}, {64, 48}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    const NoisePicture texture(w, h);
    NoisePicture out(w, h, -1, 3);
    std::vector<animation::MapEntry> map(size_t(w) * h);
    BuildFTraceMap(w, h, 1, 1, 3, map.data());
    map[0] = {kFTraceOutside, kFTraceOutside};
    map.back() = {int16_t(w), 0};  // not inside the texture: black too
    DrawTracedFrame(texture.Pixels(), out.Pixels(), w, h, texture.stride, map.data(), -3, 2 * h + 1);
    EXPECT_TRUE(out.GuardsIntact());
    for (int i = 0; i < h; ++i)
      for (int j = 0; j < w; ++j) {
        const animation::MapEntry e = map[size_t(i) * w + j];
        const uint8_t* p = out.At(j, i);
        if (e.column == kFTraceOutside || e.column >= w) {
          EXPECT_TRUE(p[0] == 0 && p[1] == 0 && p[2] == 0);
          continue;
        }
        const uint8_t* t =
            texture.At(animation::ReduceInto(e.column - 3, w), animation::ReduceInto(e.row + 1, h));
        ASSERT_TRUE(std::equal(p, p + 3, t)) << j << "," << i;
      }
  }
}

}  // namespace
