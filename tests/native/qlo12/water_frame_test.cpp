// Water and Blob frames: set-up draws, each disturbance where the effect puts
// it (rain cell, surfer stamps, swirl, mouse drops), whole runs against the
// independent model in water_reference.py, the same run twice giving the
// same frames, and tiny pictures kept inside their buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "tests/native/qlo12/field_checks.h"
#include "plugins/qlo12/kernels/water_frame.h"

namespace {

using quillo::RuntimeRandom;
using quillo::qlo12::test::FrameIsZero;
using namespace quillo::qlo12;

int64_t StrideOf(int width) { return (int64_t(width) * 24 + 31) / 32 * 4; }

// The pseudo-random picture of water_reference.py.
std::vector<uint8_t> Picture(int width, int height, uint32_t seed) {
  std::vector<uint8_t> p(size_t(StrideOf(width) * height));
  uint32_t v = seed;
  for (uint8_t& b : p) b = uint8_t((v = v * 1103515245u + 12345u) >> 24);
  return p;
}

// FNV-1a 64 over the bytes, or over little-endian cells.
uint64_t Fnv(const std::vector<uint8_t>& bytes) {
  uint64_t h = 0xCBF29CE484222325ull;
  for (uint8_t b : bytes) h = (h ^ b) * 0x100000001B3ull;
  return h;
}
template <typename Field>
uint64_t Fnv(const Field& f) {
  std::vector<uint8_t> bytes;
  for (int y = 0; y < f.height(); ++y)
    for (int x = 0; x < f.width(); ++x) {
      const auto v = std::make_unsigned_t<typename Field::CellType>(f.At(x, y));
      for (size_t b = 0; b < sizeof v; ++b) bytes.push_back(uint8_t(v >> (8 * b)));
    }
  return Fnv(bytes);
}

template <typename Field>
std::vector<std::pair<int, int>> NonZeroCells(const Field& f) {
  std::vector<std::pair<int, int>> cells;
  for (int y = 0; y < f.height(); ++y)
    for (int x = 0; x < f.width(); ++x)
      if (f.At(x, y) != 0) cells.push_back({x, y});
  return cells;
}

// A state with the given flags on a width x height picture, phases 0.
WaterState Water(int width, int height, int flags) {
  WaterState s;
  RuntimeRandom start(1);
  EXPECT_TRUE(StartWater(s, width, height, start));
  s.p1 = s.p2 = s.swirlAngle = 0;
  s.flags = flags;
  return s;
}

TEST(WaterSize, WorkableFromThreeByThree) {
  EXPECT_TRUE(WaterSizeWorkable(3, 3));
  EXPECT_TRUE(WaterSizeWorkable(640, 480));
  EXPECT_FALSE(WaterSizeWorkable(2, 3));
  EXPECT_FALSE(WaterSizeWorkable(3, 2));
  EXPECT_FALSE(WaterSizeWorkable(1, 1));
  EXPECT_FALSE(WaterSizeWorkable(0, 100));
  EXPECT_FALSE(WaterSizeWorkable(-5, 100));
}

TEST(WaterStart, DrawsThePhasesAndTheSwirlAngle) {
  RuntimeRandom random(2024), copy(2024);
  WaterState s;
  s.surferX = s.surferY = 5;
  s.pendingDrop = kLeftButtonDrop;
  ASSERT_TRUE(StartWater(s, 40, 30, random));
  EXPECT_EQ(s.p1, copy.Next() % 2048);
  EXPECT_EQ(s.p2, copy.Next() % 2048);
  EXPECT_EQ(s.swirlAngle, copy.Next() % 2048);
  EXPECT_EQ(random.state(), copy.state());
  EXPECT_EQ(s.surferX, 80);
  EXPECT_EQ(s.surferY, 60);
  EXPECT_EQ(s.pendingDrop, kNoPendingDrop);
  EXPECT_EQ(s.current.width(), 40);
  EXPECT_EQ(s.other.height(), 30);
  EXPECT_TRUE(NonZeroCells(s.current).empty());
  // The dialog's defaults.
  EXPECT_EQ(s.dampingShift, 5);
  EXPECT_EQ(s.strength, 400);
  EXPECT_EQ(s.radius, 30);
  EXPECT_EQ(s.flags, 0x4003);
  EXPECT_EQ(s.light, 3);
  WaterState bad;
  EXPECT_FALSE(StartWater(bad, 0, 30, random));
  EXPECT_TRUE(bad.current.empty());
  EXPECT_TRUE(bad.other.empty());
  BlobState blob;
  EXPECT_EQ(blob.dampingShift, 4);
  EXPECT_EQ(blob.radius, 80);
  EXPECT_EQ(blob.light, 2);
  EXPECT_EQ(blob.strength, 6000);
  EXPECT_EQ(blob.attempts, 8);
  EXPECT_TRUE(StartBlob(blob, 10, 10));
  EXPECT_FALSE(StartBlob(blob, 10, -1));
  EXPECT_TRUE(blob.current.empty());
}

TEST(WaterFrame, RainFallsOnItsDrawnCell) {
  const int w = 48, h = 36;
  for (uint32_t seed : {1u, 77u, 123456789u}) {
    WaterState s = Water(w, h, kWaterRainFlag);
    const std::vector<uint8_t> backup = Picture(w, h, 5);
    std::vector<uint8_t> image = backup;
    RuntimeRandom random(seed), copy(seed);
    WaterFrame(s, backup.data(), image.data(), StrideOf(w), random);
    const int column = copy.Next() % (w - 2);
    const int row = copy.Next() % (h - 2) + 1;
    const int value = copy.Next() % (4 * 400);
    EXPECT_EQ(random.state(), copy.state()) << "three draws";
    // The rained field was drawn and then became the other field.
    ASSERT_EQ(NonZeroCells(s.other), (std::vector<std::pair<int, int>>{{column + 1, row}}));
    EXPECT_EQ(s.other.At(column + 1, row), value);
    // Its neighbours now carry the wave: d = value >> 2, damped by 5.
    if (value >= 4 && column + 2 < w - 1) {
      const int d = value >> 2;
      EXPECT_EQ(s.current.At(column + 2, row), d - (d >> 5));
    }
  }
}

TEST(WaterFrame, ANegativeStrengthRainsByItsSize) {
  // rand mod (4 x -1400) as the runtime's % computes it: 0 ... 5599.
  WaterState s = Water(30, 30, kWaterRainFlag);
  s.strength = -1400;
  const std::vector<uint8_t> backup = Picture(30, 30, 5);
  std::vector<uint8_t> image = backup;
  RuntimeRandom random(9), copy(9);
  WaterFrame(s, backup.data(), image.data(), StrideOf(30), random);
  const int column = copy.Next() % 28, row = copy.Next() % 28 + 1, value = copy.Next() % 5600;
  EXPECT_EQ(s.other.At(column + 1, row), value);
}

TEST(WaterFrame, TheFlatSurferStampsItsPointAndTheMidpoint) {
  // Phases 0: both sines are 0, so the surfer stands at the middle (100,
  // 75); the midpoint with the start point (80, 60) is (90, 67).
  WaterState s = Water(200, 150, kWaterSurferFlag | kWaterFlatDropsFlag);
  s.strength = 300;
  const std::vector<uint8_t> backup = Picture(200, 150, 5);
  std::vector<uint8_t> image = backup;
  RuntimeRandom random(3);
  WaterFrame(s, backup.data(), image.data(), StrideOf(200), random);
  EXPECT_EQ(random.state(), 3u) << "the surfer draws nothing";
  const WaterHeights& f = s.other;
  EXPECT_EQ(f.At(100, 75), 600);
  for (auto [x, y] :
       {std::pair{101, 75}, std::pair{99, 75}, std::pair{100, 76}, std::pair{100, 74}})
    EXPECT_EQ(f.At(x, y), 300);
  EXPECT_EQ(f.At(90, 67), 300);
  for (auto [x, y] : {std::pair{91, 67}, std::pair{89, 67}, std::pair{90, 68}, std::pair{90, 66}})
    EXPECT_EQ(f.At(x, y), 150);
  EXPECT_EQ(NonZeroCells(f).size(), 10u);
  EXPECT_EQ(s.surferX, 100);
  EXPECT_EQ(s.surferY, 75);
  EXPECT_EQ(s.p1, 13);
  EXPECT_EQ(s.p2, 12);
}

TEST(WaterFrame, TheSurferSweepsWithinFourCellsOfTheEdges) {
  // (S >> 8) x (S >> 8) spans -65536 ... 65536, so the surfer keeps to 4
  // ... size - 4; phases wrap at 32 bits without leaving that range.
  for (const auto& [w, h] : {std::pair{64, 48}, std::pair{65, 49}, std::pair{8, 8}}) {
    WaterState s = Water(w, h, kWaterSurferFlag | kWaterFlatDropsFlag);
    s.p1 = 2147483647 - 1000 * 13;
    s.p2 = 2147483647 - 1000 * 12;
    const std::vector<uint8_t> backup = Picture(w, h, 5);
    std::vector<uint8_t> image = backup;
    RuntimeRandom random(3);
    for (int n = 0; n < 2500; ++n) {
      WaterFrame(s, backup.data(), image.data(), StrideOf(w), random);
      ASSERT_GE(s.surferX, 4);
      ASSERT_LE(s.surferX, w - 4);
      ASSERT_GE(s.surferY, 4);
      ASSERT_LE(s.surferY, h - 4);
    }
    EXPECT_LT(s.p1, 0) << "the phase wrapped";
  }
}

TEST(WaterFrame, TheSwirlCirclesTheMiddle) {
  // a = 0: K[0] = 65536, S[0] = 0, so the drop lands 25 cells right of the
  // middle; a flat swirl is a disc of radius 30 / 3 = 10.
  WaterState s = Water(120, 100, kWaterSwirlFlag | kWaterFlatDropsFlag);
  s.p1 = 400;
  s.p2 = 900;
  s.strength = 250;
  const std::vector<uint8_t> backup = Picture(120, 100, 5);
  std::vector<uint8_t> image = backup;
  RuntimeRandom random(3);
  WaterFrame(s, backup.data(), image.data(), StrideOf(120), random);
  EXPECT_EQ(s.p1, 0);
  EXPECT_EQ(s.p2, 0);
  EXPECT_EQ(s.swirlAngle, 50);
  EXPECT_EQ(s.other.At(85, 50), 250);
  EXPECT_EQ(s.other.At(85 + 9, 50), 250);
  EXPECT_EQ(s.other.At(85 + 10, 50), 0);
  // a = 512: K = 0, S = 65536: 25 cells above the middle; a cone of height
  // 250 and radius 30 adds (250 / 64) x 30 = 90 at its centre.
  s.other.Clear();
  s.current.Clear();
  s.swirlAngle = 512;
  s.flags = kWaterSwirlFlag;
  WaterFrame(s, backup.data(), image.data(), StrideOf(120), random);
  EXPECT_EQ(s.other.At(60, 75), 90);
  EXPECT_EQ(s.swirlAngle, 562);
  // The angle stays reduced modulo 2048.
  s.swirlAngle = 2040;
  WaterFrame(s, backup.data(), image.data(), StrideOf(120), random);
  EXPECT_EQ(s.swirlAngle, 42);
}

TEST(WaterFrame, MousePressesDropOnceAtTheMousePoint) {
  const std::vector<uint8_t> backup = Picture(80, 60, 5);
  std::vector<uint8_t> image = backup;
  RuntimeRandom random(3);
  // Left button, flat drops: a disc of radius 2 adding +strength (9 cells).
  WaterState s = Water(80, 60, kWaterFlatDropsFlag);
  s.pendingDrop = kLeftButtonDrop;
  s.mouseX = 30;
  s.mouseY = 20;
  WaterFrame(s, backup.data(), image.data(), StrideOf(80), random);
  EXPECT_EQ(s.pendingDrop, kNoPendingDrop);
  EXPECT_EQ(NonZeroCells(s.other).size(), 9u);
  EXPECT_EQ(s.other.At(31, 21), 400);
  // Right button, flat: a disc of radius 30 / 2 = 15.
  s = Water(80, 60, kWaterFlatDropsFlag);
  s.pendingDrop = kRightButtonDrop;
  s.mouseX = 40;
  s.mouseY = 30;
  WaterFrame(s, backup.data(), image.data(), StrideOf(80), random);
  EXPECT_EQ(s.other.At(40 + 14, 30), 400);
  EXPECT_EQ(s.other.At(40 + 15, 30), 0);
  // Smooth drops: left pushes down by the strength, right lifts.
  for (int button : {kLeftButtonDrop, kRightButtonDrop}) {
    s = Water(80, 60, 0);
    s.pendingDrop = button;
    s.mouseX = 40;
    s.mouseY = 30;
    WaterFrame(s, backup.data(), image.data(), StrideOf(80), random);
    const int centre = (400 * 131071) >> 19;  // 99
    EXPECT_EQ(s.other.At(40, 30), button == kLeftButtonDrop ? -centre - 1 : centre);
    // The next frame drops nothing more.
    const uint64_t before = Fnv(s.current);
    s.other.Clear();
    WaterFrame(s, backup.data(), image.data(), StrideOf(80), random);
    EXPECT_EQ(Fnv(s.other), before);
  }
  EXPECT_EQ(random.state(), 3u) << "a drop at the mouse point draws nothing";
}

TEST(WaterFrame, RandomDropsComeOneFrameInTwenty) {
  WaterState s = Water(100, 80, kWaterRandomDropsFlag | kWaterFlatDropsFlag);
  const std::vector<uint8_t> backup = Picture(100, 80, 5);
  std::vector<uint8_t> image = backup;
  RuntimeRandom random(11), copy(11);
  for (int n = 0; n < 200; ++n) {
    const bool hit = copy.Next() % 20 == 0;
    int x = 0, y = 0;
    if (hit) {
      x = copy.Next() % (100 - 30 - 1) + 16;
      y = copy.Next() % (80 - 30 - 1) + 16;
    }
    s.current.Clear();
    s.other.Clear();
    WaterFrame(s, backup.data(), image.data(), StrideOf(100), random);
    ASSERT_EQ(random.state(), copy.state()) << n;
    if (hit)
      ASSERT_EQ(s.other.At(x, y), 400) << n;
    else
      ASSERT_TRUE(NonZeroCells(s.other).empty()) << n;
  }
}

// Runs Water 40 frames on a 64 x 56 picture with presses at frames 3 and 9,
// as water_reference.py does.
struct Hashes {
  uint64_t image, current, other;
  uint32_t random;
  bool operator==(const Hashes&) const = default;
};

Hashes RunWater(int flags, int strength, int radius, int damping, int light) {
  const int w = 64, h = 56;
  const std::vector<uint8_t> backup = Picture(w, h, 99);
  std::vector<uint8_t> image = Picture(w, h, 7);
  RuntimeRandom random(12345);
  WaterState s;
  EXPECT_TRUE(StartWater(s, w, h, random));
  s.flags = flags;
  s.strength = strength;
  s.radius = radius;
  s.dampingShift = damping;
  s.light = light;
  for (int n = 0; n < 40; ++n) {
    if (n == 3) s.pendingDrop = kLeftButtonDrop, s.mouseX = 20, s.mouseY = 30;
    if (n == 9) s.pendingDrop = kRightButtonDrop, s.mouseX = 50, s.mouseY = 10;
    WaterFrame(s, backup.data(), image.data(), StrideOf(w), random);
    EXPECT_TRUE(FrameIsZero(s.current));
  }
  return {Fnv(image), Fnv(s.current), Fnv(s.other), random.state()};
}

TEST(WaterFrame, WholeRunsMatchTheReferenceModel) {
  struct Case {
    const char* name;
    int flags, strength, radius, damping, light;
    Hashes expected;
  };
  const Case cases[] = {
      {"flat surfer rain drops", 0x4007, 400, 9, 4, 3,
       {0x21f78de65a1dbab8ull, 0x8b4095762dfd616eull, 0x123512f154f50fa6ull, 0xa7a32580u}},
      {"smooth everything", 0x000F, -1400, 7, 3, 0,
       {0x0581841fc604aae3ull, 0x8aad9d648005acd2ull, 0x903e192be1d1a8d6ull, 0xa7a32580u}},
      {"flat swirl", 0x400E, 600, 12, 6, 1,
       {0x9b943f15aacd03d1ull, 0x67a2eab866c82c0dull, 0x889c0e01f6d654dfull, 0xa7a32580u}},
  };
  for (const Case& c : cases) {
    const Hashes got = RunWater(c.flags, c.strength, c.radius, c.damping, c.light);
    EXPECT_EQ(got.image, c.expected.image) << c.name;
    EXPECT_EQ(got.current, c.expected.current) << c.name;
    EXPECT_EQ(got.other, c.expected.other) << c.name;
    EXPECT_EQ(got.random, c.expected.random) << c.name;
  }
}

TEST(WaterFrame, TheSameSeedGivesTheSameFrames) {
  const Hashes a = RunWater(0x400F, 500, 10, 4, 2), b = RunWater(0x400F, 500, 10, 4, 2);
  EXPECT_EQ(a, b);
  const Hashes smoothA = RunWater(0x000F, 500, 10, 4, 2), smoothB = RunWater(0x000F, 500, 10, 4, 2);
  EXPECT_EQ(smoothA, smoothB);
  EXPECT_NE(a.image, smoothA.image);
}

TEST(BlobFrame, MatchesTheReferenceModel) {
  const int w = 32, h = 24;
  const std::vector<uint8_t> backup = Picture(w, h, 99);
  std::vector<uint8_t> image = Picture(w, h, 7);
  RuntimeRandom random(777);
  BlobState s;
  ASSERT_TRUE(StartBlob(s, w, h));
  s.radius = 10;
  s.strength = 3000;
  s.attempts = 30;
  for (int n = 0; n < 15; ++n) {
    BlobFrame(s, backup.data(), image.data(), StrideOf(w), random);
    ASSERT_TRUE(FrameIsZero(s.current));
    ASSERT_TRUE(FrameIsZero(s.other));
  }
  EXPECT_EQ(Fnv(image), 0xae70d700fdf74d06ull);
  EXPECT_EQ(Fnv(s.current), 0xae51bd00a5223295ull);
  EXPECT_EQ(Fnv(s.other), 0xe4bbb370af588aeaull);
  EXPECT_EQ(random.state(), 0xeacd2d07u);
}

TEST(BlobFrame, DrawsItsAttemptsInOrder) {
  // At most 60 attempts count; each is one draw, and a hit (r mod 10 = 0)
  // draws the radius, the height and the centre's x and y.
  for (int attempts : {0, 1, 7, 60, 500}) {
    BlobState s;
    ASSERT_TRUE(StartBlob(s, 300, 200));
    s.attempts = attempts;
    s.radius = 20;
    s.strength = 1000;
    const std::vector<uint8_t> backup = Picture(300, 200, 5);
    std::vector<uint8_t> image = backup;
    RuntimeRandom random(31), copy(31);
    int hits = 0;
    for (int n = 0; n < std::min(attempts, 60); ++n)
      if (copy.Next() % 10 == 0) {
        const int radius = copy.Next() % 10 + 10;
        EXPECT_GE(radius, 10);
        copy.Next();  // the height
        copy.Next();  // the centre's x
        copy.Next();  // and y
        ++hits;
      }
    BlobFrame(s, backup.data(), image.data(), StrideOf(300), random);
    EXPECT_EQ(random.state(), copy.state()) << attempts;
    // The drawn field became the other one; blobs only lift the water.
    bool lifted = false;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 300; ++x) {
        ASSERT_GE(s.other.At(x, y), 0);
        lifted |= s.other.At(x, y) > 0;
      }
    EXPECT_EQ(lifted, hits > 0) << attempts;
  }
}

TEST(WaterFrame, TinyPicturesStayInsideTheirBuffers) {
  for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 3}, std::pair{1, 7},
                             std::pair{7, 1}, std::pair{4, 5}, std::pair{9, 3}}) {
    for (int flags : {0x400F, 0x000F, 0x4007, 0x0007}) {
      for (int strength : {400, -1400, 0, 2147483647, -2147483647 - 1}) {
        WaterState s;
        RuntimeRandom random(5);
        ASSERT_TRUE(StartWater(s, w, h, random));
        s.flags = flags;
        s.strength = strength;
        s.radius = strength == 0 ? 0 : 30;
        const std::vector<uint8_t> backup = Picture(w, h, 1);
        std::vector<uint8_t> image = Picture(w, h, 2);
        const std::vector<uint8_t> before = image;
        for (int n = 0; n < 60; ++n) {
          if (n % 7 == 0) s.pendingDrop = 1 + n % 2, s.mouseX = n % (w + 1), s.mouseY = n % (h + 2);
          WaterFrame(s, backup.data(), image.data(), StrideOf(w), random);
          ASSERT_TRUE(FrameIsZero(s.current)) << w << "x" << h;
          ASSERT_TRUE(FrameIsZero(s.other)) << w << "x" << h;
        }
        // Nothing but the interior changed.
        for (int y = 0; y < h; ++y)
          for (int64_t n = 0; n < StrideOf(w); ++n) {
            const int64_t x = n / 3;
            if (x >= 1 && x < w - 1 && y >= 1 && y < h - 1) continue;
            ASSERT_EQ(image[size_t(y * StrideOf(w) + n)], before[size_t(y * StrideOf(w) + n)]);
          }
      }
    }
    for (int radius : {0, 1, 256, 2147483647}) {
      BlobState b;
      ASSERT_TRUE(StartBlob(b, w, h));
      b.radius = radius;
      b.strength = radius == 0 ? 0 : 12800;
      b.attempts = 60;
      const std::vector<uint8_t> backup = Picture(w, h, 1);
      std::vector<uint8_t> image = Picture(w, h, 2);
      RuntimeRandom random(5);
      for (int n = 0; n < 20; ++n) BlobFrame(b, backup.data(), image.data(), StrideOf(w), random);
      ASSERT_TRUE(FrameIsZero(b.current));
    }
  }
}

TEST(WaterFrame, EmptyOrMismatchedFieldsDoNothing) {
  WaterState s;
  std::vector<uint8_t> backup = Picture(8, 8, 1), image = Picture(8, 8, 2);
  const std::vector<uint8_t> before = image;
  RuntimeRandom random(5);
  WaterFrame(s, backup.data(), image.data(), StrideOf(8), random);
  ASSERT_TRUE(s.current.Allocate(8, 8));
  ASSERT_TRUE(s.other.Allocate(8, 7));
  s.pendingDrop = kLeftButtonDrop;
  WaterFrame(s, backup.data(), image.data(), StrideOf(8), random);
  EXPECT_EQ(image, before);
  EXPECT_EQ(random.state(), 5u);
  BlobState b;
  BlobFrame(b, backup.data(), image.data(), StrideOf(8), random);
  EXPECT_EQ(image, before);
}

}  // namespace
