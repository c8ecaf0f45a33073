// Gloop's grid, pokes and rendering: the draw order of a fresh grid, the
// blend towards the right-hand and upper nodes, pixels whose source lies
// outside, a cell larger than the picture, the jelly settling back to the
// exact picture, pokes at the far edges and tiny pictures.
#include <gtest/gtest.h>

#include <cstring>
#include <numbers>
#include <vector>

#include "noise_picture.h"
#include "plugins/qlo14/kernels/gloop.h"

namespace {

using namespace quillo;
using namespace quillo::qlo14;

// A grid at rest with nothing pending: frames then move only what a test sets.
GloopState RestingGrid(int w, int h, int cell) {
  GloopState s;
  EXPECT_TRUE(StartGloop(s, w, h, cell));
  s.reinitialise = s.pokePending = false;
  return s;
}

bool AllResting(const GloopState& s) {
  for (size_t k = 0; k < size_t(s.row * s.rows); ++k)
    if (s.offsetX[k] != 0 || s.offsetY[k] != 0 || s.velocityX[k] != 0 || s.velocityY[k] != 0) return false;
  return true;
}

TEST(Qlo14Gloop, AFreshGridDrawsFourNumbersANodeInOrderAndIsPokedOnce) {
  GloopState s;
  ASSERT_TRUE(StartGloop(s, 120, 70, 50));
  NoisePicture in(120, 70), out(120, 70);
  RuntimeRandom random(42), replay(42);
  GloopFrame(s, in.Pixels(), out.Pixels(), in.stride, random);
  ASSERT_EQ(s.row * s.rows, 4 * 3);
  EXPECT_FALSE(s.reinitialise || s.pokePending);
  auto draw = [&](float scale) { return (float(replay.Next()) / 65535.0f - 0.5f) * scale; };
  for (int k = 0; k < 12; ++k) {
    const float ox = draw(8), oy = draw(8);
    float vx = draw(16), vy = draw(16);
    // The poke at (0, 0) kicks nodes 0, 1, 4 and 5 apart.
    if (k == 0 || k == 1 || k == 4 || k == 5) vx += k % 2 ? -1.2f : 1.2f, vy += k < 4 ? 1.2f : -1.2f;
    EXPECT_FLOAT_EQ(s.offsetX[size_t(k)], ox + vx) << k;
    EXPECT_FLOAT_EQ(s.offsetY[size_t(k)], oy + vy) << k;
    EXPECT_FLOAT_EQ(s.velocityX[size_t(k)], (vx - (ox + vx) * 0.15f) * 0.85f) << k;
  }
  EXPECT_EQ(random.state(), replay.state()) << "exactly four draws a node";
}

TEST(Qlo14Gloop, DisplacementBlendsTowardsTheRightAndUpperNodesAndOutsideSourcesKeepTheOldPixel) {
  const NoisePicture in(100, 100);
  NoisePicture out(100, 100, -1, 3);
  const std::vector<uint8_t> before = out.Rows();
  RuntimeRandom random(1);
  GloopState s = RestingGrid(100, 100, 50);
  s.velocityX[size_t(s.row + 1)] = 4;      // node (50, 50) moves 4 to the right
  s.velocityX[size_t(2 * s.row + 2)] = 90;  // node (100, 100) far off the corner
  GloopFrame(s, in.Pixels(), out.Pixels(), in.stride, random);
  auto shows = [&](int x, int y, int sx) { return std::memcmp(out.At(x, y), in.At(sx, y), 3) == 0; };
  auto kept = [&](int x, int y) { return std::memcmp(out.At(x, y), before.data() + y * in.stride + 3 * x, 3) == 0; };
  EXPECT_TRUE(shows(50, 50, 54));
  EXPECT_TRUE(shows(25, 50, 27)) << "half way to the node: half its offset";
  EXPECT_TRUE(shows(50, 25, 52)) << "half way up to the node";
  EXPECT_TRUE(shows(37, 37, 39)) << "4 x 0.74 x 0.74 from the cell below left";
  EXPECT_TRUE(shows(10, 10, 10));
  EXPECT_TRUE(kept(99, 99)) << "its source lies outside";
  EXPECT_TRUE(shows(60, 60, 60 + int(90.0f * 0.2f * 0.2f + 4 * 0.8f * 0.8f)));
  // Column 0 and row 0 lie inside no cell: they keep what out held.
  EXPECT_TRUE(kept(0, 30));
  EXPECT_TRUE(kept(30, 0));
  EXPECT_TRUE(out.GuardsIntact());
}

TEST(Qlo14Gloop, ACellLargerThanThePictureAnimatesItAsOneCell) {
  const NoisePicture in(40, 30);
  NoisePicture out = in;
  GloopState s;
  ASSERT_TRUE(StartGloop(s, 40, 30, 500));
  RuntimeRandom random(9);
  for (int k = 0; k < 3; ++k) GloopFrame(s, in.Pixels(), out.Pixels(), in.stride, random);
  EXPECT_EQ(s.row, 2);
  EXPECT_EQ(s.rows, 2);
  int moved[2][2] = {};
  for (int y = 1; y < 30; ++y)
    for (int x = 1; x < 40; ++x) moved[y / 15][x / 20] += std::memcmp(out.At(x, y), in.At(x, y), 3) != 0;
  for (auto& half : moved)
    for (int count : half) EXPECT_GT(count, 0) << "every quarter moves";
}

TEST(Qlo14Gloop, WithoutPokesTheJellySettlesToTheExactPicture) {
  for (const int cell : {50, 73, 250}) {
    SCOPED_TRACE(cell);
    const NoisePicture in(160, 120, 1);
    NoisePicture out = in;
    GloopState s;
    ASSERT_TRUE(StartGloop(s, 160, 120, cell));
    RuntimeRandom random(5);
    GloopSecond(s);
    GloopSecond(s);  // two idle seconds are not yet enough to wander
    int frames = 0;
    for (; frames < 400 && (frames == 0 || !AllResting(s)); ++frames)
      GloopFrame(s, in.Pixels(), out.Pixels(), in.stride, random);
    EXPECT_TRUE(AllResting(s)) << "still moving after " << frames << " frames";
    GloopFrame(s, in.Pixels(), out.Pixels(), in.stride, random);
    EXPECT_EQ(out.Rows(), in.Rows());
  }
}

// The wander's next step lands on cos = 1 and sin = 1, a poke at x = W and
// y = H; tiny pictures take every kind of poke and a change of cell size.
TEST(Qlo14Gloop, PokesAtTheFarEdgesAndTinyPicturesStayInsideGridAndPicture) {
  for (const auto& size : {std::pair{100, 100}, std::pair{101, 51}, std::pair{49, 3}}) {
    const int w = size.first, h = size.second;
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    GloopState s = RestingGrid(w, h, 50);
    s.idleSeconds = kGloopIdleSeconds + 1;
    s.angle1 = -0.11;
    s.angle2 = std::numbers::pi / 2 - 0.08;
    const NoisePicture in(w, h);
    NoisePicture out = in;
    RuntimeRandom random(2);
    GloopFrame(s, in.Pixels(), out.Pixels(), in.stride, random);
    EXPECT_EQ(s.pokeX, (w >> 1) * 2);
    EXPECT_EQ(s.pokeY, (h >> 1) * 2);
    const size_t topRight = size_t((s.rows - 2) * s.row + s.row - 2);
    EXPECT_NE(s.offsetY[topRight + size_t(s.row) + 1], 0) << "the top right cell is kicked";
    s.pokeX = 1 << 30, s.pokeY = -(1 << 30), s.pokePending = true;
    GloopFrame(s, in.Pixels(), out.Pixels(), in.stride, random);
    EXPECT_TRUE(out.GuardsIntact());
  }
  for (int w = 1; w <= 3; ++w)
    for (int h = 1; h <= 3; ++h) {
      SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
      const NoisePicture in(w, h, 0);
      NoisePicture out = in;
      GloopState s;
      ASSERT_TRUE(StartGloop(s, w, h, 50));
      RuntimeRandom random(uint32_t(w * 10 + h));
      for (int k = 0; k < 30; ++k) {
        if (k == 10) GloopMouse(s, w - 1, 0);
        if (k == 12) s.idleSeconds = 5;
        if (k == 20) SetGloopCell(s, 9000);
        GloopFrame(s, in.Pixels(), out.Pixels(), in.stride, random);
      }
      EXPECT_EQ(s.cell, kGloopMaxCell);
      EXPECT_TRUE(out.GuardsIntact());
    }
}

}  // namespace
