// Sprite storm: the size table, the cursor's angles (1 radian about the
// third axis at the screen's centre), turning and projecting, depth
// indexes, the 8.8 sampling, clipped stamps and whole frames against a
// literal version of the arithmetic, sprites read from packed DIBs, tiny
// pictures with guard bytes, counts and fixed seeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo17/kernels/storm.h"

namespace {

using namespace quillo;
using namespace quillo::qlo17;

// A sprite of noise with black corners and black rows, as the stored ones
// are black round their light.
StormSprite NoiseSprite(int w, int h, uint32_t seed) {
  std::vector<uint8_t> px(size_t(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double u = (x - w / 2.0) / w, v = (y - h / 2.0) / h;
      const bool lit = u * u + v * v < 0.2 && y % 7 != 3;
      for (int c = 0; c < 3; ++c)
        px[(size_t(y) * w + x) * 3 + c] = lit ? uint8_t((seed = seed * 1103515245u + 12345u) >> 24) : 0;
    }
  return MakeStormSprite(w, h, std::move(px));
}

StormSprites NoiseSprites(int side = 40) {
  StormSprites s;
  for (int k = 0; k < kStormSpriteKinds; ++k) s[size_t(k)] = NoiseSprite(side + k, side - k, uint32_t(k + 1));
  return s;
}

// The stamp exactly as written: every pixel of the n x n square.
void LiteralStamp(const StormSprite& s, int n, int left, int top, std::vector<uint8_t>& glow, int w, int h) {
  const int stepX = s.width * 255 / n, stepY = s.height * 255 / n;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const int x = left + i, y = top + j;
      if (x < 0 || y < 0 || x >= w || y >= h) continue;
      const uint8_t* p = &s.pixels[(size_t((j * stepY) >> 8) * s.width + ((i * stepX) >> 8)) * 3];
      for (int c = 0; c < 3; ++c) {
        uint8_t& g = glow[(size_t(y) * w + x) * 3 + c];
        g = uint8_t(std::max<int>(g, (g + p[c]) >> 1));
      }
    }
}

TEST(Qlo17Storm, SizeTableRunsFromTheLargestSizeNearToTheSmallestFar) {
  StormState state;
  BuildStormSizes(state, 1920, 1080);
  // S = 970, s = 166.
  EXPECT_EQ(state.sizes[0], 166 + 255 * 804 / 256);
  EXPECT_EQ(state.sizes[255], 166);
  EXPECT_TRUE(std::is_sorted(state.sizes.rbegin(), state.sizes.rend()));
  BuildStormSizes(state, 1, 1);
  EXPECT_EQ(state.sizes[0], 9);  // S = 10, s = 6
  EXPECT_EQ(state.sizes[255], 6);
}

TEST(Qlo17Storm, TheCursorSetsTheAnglesAndTheCentreSpinsAboutTheThirdAxis) {
  StormAngles a = AnglesFromCursor({1024, 768, 512, 384});
  EXPECT_EQ(a.a, 0);
  EXPECT_EQ(a.b, 0);
  EXPECT_EQ(a.c, 1.0);
  a = AnglesFromCursor({1024, 768, 0, 768});
  EXPECT_EQ(a.a, 512 * 0.1 / 512);
  EXPECT_EQ(a.b, -384 * 0.1 / 384);
  EXPECT_EQ(a.c, a.a);
  a = AnglesFromCursor({1024, 768, 512, 0});
  EXPECT_EQ(a.a, 0);
  EXPECT_EQ(a.c, 0) << "c follows a unless both are 0";
  a = AnglesFromCursor({1, 0, 5, 5});
  EXPECT_EQ(a.a, 0);
  EXPECT_EQ(a.b, 0) << "no screen gives no angle, never a division by 0";

  StormState state;
  RuntimeRandom random(3);
  RegenerateStorm(state, random);
  const auto before = state.particles;
  RotateStorm(state, AnglesFromCursor({1024, 768, 512, 384}));
  for (size_t k = 0; k < before.size(); ++k) {
    const StormParticle &p = before[k], &q = state.particles[k];
    EXPECT_EQ(q.z, p.z);
    EXPECT_EQ(q.x, std::cos(1.0) * p.x - std::sin(1.0) * p.y);
    EXPECT_EQ(q.y, std::cos(1.0) * p.y + std::sin(1.0) * p.x);
  }
}

TEST(Qlo17Storm, TurnsGoYzThenZxThenXy) {
  StormState state;
  state.particles[0].x = 0.25, state.particles[0].y = 0.5, state.particles[0].z = 0.75;
  const StormAngles angles{0.1, -0.2, 0.3};
  RotateStorm(state, angles);
  double x = 0.25, y = 0.5, z = 0.75;
  double y1 = std::cos(0.1) * y - std::sin(0.1) * z, z1 = std::cos(0.1) * z + std::sin(0.1) * y;
  double z2 = std::cos(-0.2) * z1 - std::sin(-0.2) * x, x2 = std::cos(-0.2) * x + std::sin(-0.2) * z1;
  double x3 = std::cos(0.3) * x2 - std::sin(0.3) * y1, y3 = std::cos(0.3) * y1 + std::sin(0.3) * x2;
  EXPECT_EQ(state.particles[0].x, x3);
  EXPECT_EQ(state.particles[0].y, y3);
  EXPECT_EQ(state.particles[0].z, z2);
}

TEST(Qlo17Storm, ProjectionAndDepthIndexes) {
  StormState state;
  state.width = 200, state.height = 101;
  state.particles[0] = {0, 0, 0};
  state.particles[1] = {1, 0.5, 1};         // f = 1
  state.particles[2] = {-1, -1, -1};        // f = 1.5
  state.particles[3] = {0.3, 0.3, -4.5};    // behind the eye: parked off the picture
  ProjectStorm(state);
  EXPECT_EQ(state.particles[0].screenX, 100);
  EXPECT_EQ(state.particles[0].screenY, 50);
  EXPECT_EQ(state.particles[1].screenX, 200);
  EXPECT_EQ(state.particles[1].screenY, 75);
  EXPECT_EQ(state.particles[2].screenX, -50);
  EXPECT_EQ(state.particles[2].screenY, -25);
  EXPECT_LT(state.particles[3].screenX, -1000000);
  EXPECT_EQ(StormDepth(-1), 0);
  EXPECT_EQ(StormDepth(-1.5), 0);
  EXPECT_EQ(StormDepth(0), 127);
  EXPECT_EQ(StormDepth(1), 254);
  EXPECT_EQ(StormDepth(1.02), 255);
  EXPECT_EQ(StormDepth(1.7), 255);
  EXPECT_EQ(StormDepth(std::nan("")), 255);
}

TEST(Qlo17Storm, SpritesAreSampledInEightEightStepsAndBlendedTowardTheirLight) {
  // A 4 x 1 sprite of 40, 80, 120, 160 stretched to 8: step 4 x 255 / 8 =
  // 127, so columns 0,0,0,1,1,2,2,3 (not 0,0,1,1,2,2,3,3).
  std::vector<uint8_t> px;
  for (int v : {40, 80, 120, 160}) px.insert(px.end(), {uint8_t(v), uint8_t(v), uint8_t(v)});
  const StormSprite s = MakeStormSprite(4, 1, px);
  std::vector<uint8_t> glow(8 * 8 * 3, 100), scratch;
  StampStormSprite(s, 8, 0, 0, glow.data(), 8, 8, scratch);
  const int expected[8] = {100, 100, 100, 100, 100, 110, 110, 130};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(glow[size_t(i) * 3], expected[i]) << i;
  // Every row of the square samples the one row.
  EXPECT_EQ(glow[(7 * 8 + 7) * 3], 130);
}

TEST(Qlo17Storm, ClippedStampsMatchTheLiteralStampAndStayInsideTheBuffer) {
  const StormSprites sprites = NoiseSprites(30);
  RuntimeRandom random(9);
  for (const auto& [w, h] : {std::pair{1, 1}, {2, 3}, {3, 2}, {17, 11}, {64, 40}}) {
    std::vector<uint8_t> scratch;
    for (int trial = 0; trial < 300; ++trial) {
      const int n = 1 + random.Below(90);
      const int left = random.Below(3 * w + 2 * n) - 2 * n, top = random.Below(3 * h + 2 * n) - 2 * n;
      const StormSprite& s = sprites[size_t(trial % kStormSpriteKinds)];
      std::vector<uint8_t> base(size_t(w) * h * 3 + 64);
      for (uint8_t& b : base) b = uint8_t(random.Next());
      std::vector<uint8_t> fast = base, literal(base.begin(), base.begin() + w * h * 3);
      StampStormSprite(s, n, left, top, fast.data(), w, h, scratch);
      LiteralStamp(s, n, left, top, literal, w, h);
      ASSERT_TRUE(std::equal(literal.begin(), literal.end(), fast.begin())) << w << "x" << h << " n " << n;
      ASSERT_TRUE(std::equal(base.begin() + w * h * 3, base.end(), fast.begin() + w * h * 3)) << "guard";
    }
  }
}

TEST(Qlo17Storm, SpritesAreReadFromPackedDibsAndDamagedOnesRefused) {
  std::vector<uint8_t> dib(40 + 3 * 4 * 3 + 3 * 0);  // 3 x 3: rows of 12 bytes (9 + 3 padding)
  const int32_t header[] = {40, 3, 3};
  std::memcpy(dib.data(), header, sizeof header);
  const uint16_t planes = 1, bits = 24;
  std::memcpy(dib.data() + 12, &planes, 2);
  std::memcpy(dib.data() + 14, &bits, 2);
  dib[40 + 12 + 3] = 77;  // second row, second pixel, blue
  StormSprite s;
  ASSERT_TRUE(ReadStormSprite(dib.data(), dib.size(), s));
  EXPECT_EQ(s.width, 3);
  EXPECT_EQ(s.pixels.size(), 27u);
  EXPECT_EQ(s.pixels[9 + 3], 77);
  EXPECT_EQ(s.first[1], 1);
  EXPECT_EQ(s.end[1], 2);
  EXPECT_EQ(s.end[0], 0);
  StormSprite untouched;
  EXPECT_FALSE(ReadStormSprite(dib.data(), dib.size() - 1, untouched)) << "too few bytes";
  EXPECT_FALSE(ReadStormSprite(nullptr, 0, untouched));
  for (const auto& [offset, value] : {std::pair{14, 8}, {16, 1}, {4, -3}, {8, 0}, {4, 100000}, {32, 1 << 30}}) {
    std::vector<uint8_t> bad = dib;
    if (offset == 14) {
      const uint16_t v = uint16_t(value);
      std::memcpy(bad.data() + 14, &v, 2);
    } else {
      std::memcpy(bad.data() + offset, &value, 4);
    }
    EXPECT_FALSE(ReadStormSprite(bad.data(), bad.size(), untouched)) << offset;
  }
  EXPECT_EQ(untouched.width, 0);
}

// A whole frame exactly as written, from the same starting cloud.
void LiteralFrame(StormState& st, const StormSprites& sprites, const uint8_t* backup, uint8_t* out,
                  int64_t stride, const StormCursor& cursor) {
  const int w = st.width, h = st.height;
  for (uint8_t& g : st.glow) g = uint8_t(g / 2);
  const StormAngles an = AnglesFromCursor(cursor);
  for (StormParticle& p : st.particles) {
    double y = std::cos(an.a) * p.y - std::sin(an.a) * p.z, z = std::cos(an.a) * p.z + std::sin(an.a) * p.y;
    double z2 = std::cos(an.b) * z - std::sin(an.b) * p.x, x = std::cos(an.b) * p.x + std::sin(an.b) * z;
    p.x = std::cos(an.c) * x - std::sin(an.c) * y;
    p.y = std::cos(an.c) * y + std::sin(an.c) * x;
    p.z = z2;
    const double f = 5 / (p.z + 5) * 1.2;
    p.screenX = int((f * p.x + 1) * w / 2);
    p.screenY = int((f * p.y + 1) * h / 2);
  }
  for (int k = st.count - 1; k >= 0; --k) {
    const StormParticle& p = st.particles[size_t(k)];
    const int d = std::clamp(int((p.z + 1) * 127), 0, 255);
    const int n = st.sizes[size_t(d)];
    LiteralStamp(sprites[size_t(k % 5)], n, p.screenX - n / 2, p.screenY - n / 2, st.glow, w, h);
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * 3; ++x)
      out[y * stride + x] = uint8_t(std::min(255, backup[y * stride + x] + st.glow[size_t(y) * w * 3 + x]));
}

TEST(Qlo17Storm, FramesMatchTheLiteralArithmeticWhereverTheCursorIs) {
  constexpr int w = 97, h = 61;
  const StormSprites sprites = NoiseSprites(50);
  NoisePicture backup(w, h);
  StormState fast, literal;
  for (StormState* s : {&fast, &literal}) {
    ASSERT_TRUE(AllocateStormGlow(*s, w, h));
    SetStormCount(*s, 60);
  }
  NoisePicture out(w, h), expected(w, h);
  RuntimeRandom r1(77), r2(77);
  StartStorm(fast, out.Pixels(), out.stride, r1);
  StartStorm(literal, expected.Pixels(), expected.stride, r2);
  EXPECT_TRUE(std::all_of(out.Pixels(), out.Pixels() + out.stride * h, [](uint8_t b) { return b == 0; }))
      << "playing starts on a cleared picture";
  for (const StormParticle& p : fast.particles) {
    EXPECT_TRUE(p.x >= 0 && p.x <= 1 && p.y >= 0 && p.y <= 1 && p.z >= 0 && p.z <= 1);
  }
  EXPECT_EQ(fast.particles[7].sprite, 2);
  const StormCursor cursors[] = {{1024, 768, 512, 384}, {1024, 768, 100, 700}, {1024, 768, 900, 20},
                                 {1024, 768, -400, 384}, {1024, 768, 512, 384}};
  for (int frame = 0; frame < 12; ++frame) {
    const StormCursor& c = cursors[frame % 5];
    StormFrame(fast, sprites, backup.Pixels(), out.Pixels(), out.stride, c, r1);
    LiteralFrame(literal, sprites, backup.Pixels(), expected.Pixels(), expected.stride, c);
    ASSERT_EQ(out.Rows(), expected.Rows()) << "frame " << frame;
  }
  EXPECT_TRUE(out.GuardsIntact());
  EXPECT_NE(out.Rows(), backup.Rows());
}

TEST(Qlo17Storm, TheCloudFollowsTheCursor) {
  // Left of the centre turns (y, z) forward, right of it backward; at the
  // centre only x and y turn.
  auto meanZ = [](const StormState& s) {
    double sum = 0;
    for (const StormParticle& p : s.particles) sum += p.z;
    return sum;
  };
  StormState left, right, centre;
  for (StormState* s : {&left, &right, &centre}) {
    RuntimeRandom random(4);
    RegenerateStorm(*s, random);
  }
  const double z0 = meanZ(centre);
  for (int k = 0; k < 5; ++k) {
    RotateStorm(left, AnglesFromCursor({1000, 800, 0, 400}));
    RotateStorm(right, AnglesFromCursor({1000, 800, 1000, 400}));
    RotateStorm(centre, AnglesFromCursor({1000, 800, 500, 400}));
  }
  EXPECT_GT(meanZ(left), z0 + 1);
  EXPECT_LT(meanZ(right), z0 - 1);
  EXPECT_NEAR(meanZ(centre), z0, 1e-9);
}

TEST(Qlo17Storm, CountsStayInTheTableAndAChangeMakesANewCloud) {
  StormState state;
  EXPECT_TRUE(state.regenerate) << "the first play makes the cloud";
  state.regenerate = false;
  SetStormCount(state, kStormDefaultCount);
  EXPECT_FALSE(state.regenerate);
  SetStormCount(state, 0);
  EXPECT_EQ(state.count, 1);
  EXPECT_TRUE(state.regenerate);
  SetStormCount(state, 100000);
  EXPECT_EQ(state.count, kStormRecords);
  EXPECT_FALSE(AllocateStormGlow(state, 0, 10));
  EXPECT_FALSE(AllocateStormGlow(state, 10, -1));
  EXPECT_TRUE(AllocateStormGlow(state, 3, 2));
  EXPECT_EQ(state.glow.size(), 18u);

  // A change while playing: the next frame starts from a new cloud.
  const StormSprites sprites = NoiseSprites(20);
  NoisePicture backup(3, 2), out(3, 2);
  RuntimeRandom random(1);
  state.regenerate = true;
  StartStorm(state, out.Pixels(), out.stride, random);
  StormFrame(state, sprites, backup.Pixels(), out.Pixels(), out.stride, {1024, 768, 512, 384}, random);
  const uint32_t before = random.state();
  SetStormCount(state, 12);
  StormFrame(state, sprites, backup.Pixels(), out.Pixels(), out.stride, {1024, 768, 512, 384}, random);
  EXPECT_NE(random.state(), before);
  EXPECT_FALSE(state.regenerate);
}

TEST(Qlo17Storm, TinyPicturesAreWrittenOnlyInsideAndAFixedSeedRepeats) {
  StormSprites big;
  for (int k = 0; k < kStormSpriteKinds; ++k) big[size_t(k)] = NoiseSprite(kStormSpriteSide, kStormSpriteSide, uint32_t(k));
  for (int w = 1; w <= 3; ++w)
    for (int h = 1; h <= 3; ++h) {
      std::vector<uint8_t> frames[2];
      for (auto& frame : frames) {
        NoisePicture backup(w, h), out(w, h);
        StormState state;
        ASSERT_TRUE(AllocateStormGlow(state, w, h));
        SetStormCount(state, kStormRecords);
        RuntimeRandom random(uint32_t(w * 3 + h));
        StartStorm(state, out.Pixels(), out.stride, random);
        for (int k = 0; k < 20; ++k)
          StormFrame(state, big, backup.Pixels(), out.Pixels(), out.stride, {640, 480, 100 * k, 30 * k}, random);
        EXPECT_TRUE(out.GuardsIntact()) << w << "x" << h;
        frame = out.Rows();
      }
      EXPECT_EQ(frames[0], frames[1]);
    }
}

}  // namespace
