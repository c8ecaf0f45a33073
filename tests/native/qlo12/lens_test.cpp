// The moving lens: sizes and radius ranges, map cells against values worked
// out independently, the margin that maps to itself, bouncing, and frames
// that write only inside the picture and the box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "plugins/qlo12/kernels/lens.h"

namespace {

using namespace quillo::qlo12;

LensOptions Options(int radius, int step, bool invert, bool twirl, bool sineScale, bool ball) {
  LensOptions o;
  o.radius = radius;
  o.step = step;
  o.invert = invert;
  o.twirl = twirl;
  o.sineScale = sineScale;
  o.ball = ball;
  return o;
}

TEST(Lens, SizesAndRadii) {
  EXPECT_FALSE(LensSizeWorkable(59, 100));
  EXPECT_FALSE(LensSizeWorkable(100, 59));
  EXPECT_TRUE(LensSizeWorkable(60, 60));
  const LensRadiusRange small = LensRadii(60, 60);  // radius 10 ... 13
  EXPECT_EQ(small.low, 10);
  EXPECT_EQ(small.high, 13);
  EXPECT_EQ(small.start, 10);
  const LensRadiusRange big = LensRadii(1000, 900);
  EXPECT_EQ(big.high, 249);
  EXPECT_EQ(big.start, 218);
  EXPECT_EQ(LensBoxSize(Options(13, 7, true, true, true, true)), 35);
}

TEST(Lens, MapCellsTwirlScaleAndKeepTheirMargin) {
  struct Sample {
    int i, j, column, row;
  };
  struct Case {
    LensOptions options;
    std::vector<Sample> samples;
  };
  const Case cases[] = {
      {Options(10, 1, true, true, true, false),
       {{10, 10, 10, 10}, {11, 10, 10, 10}, {13, 7, 13, 14}, {5, 14, 3, 10}, {8, 3, 10, 3}, {16, 12, 13, 15}}},
      {Options(10, 1, false, false, true, false),
       {{13, 7, 11, 9}, {5, 14, 6, 13}, {8, 3, 9, 4}, {16, 12, 15, 11}}},
      {Options(12, 3, true, false, true, false),
       {{10, 10, 7, 7}, {11, 10, 9, 6}, {13, 7, 13, 4}, {5, 14, 4, 14}, {16, 12, 20, 12}}},
  };
  for (const Case& c : cases) {
    const int n = LensBoxSize(c.options), a = c.options.radius;
    const std::vector<LensCell> map = BuildLensMap(c.options);
    ASSERT_EQ(map.size(), size_t(n) * n);
    for (const Sample& s : c.samples) {
      const LensCell& cell = map[size_t(s.j) * n + size_t(s.i)];
      EXPECT_EQ(cell.column, s.column) << "radius " << a << " cell " << s.i << "," << s.j;
      EXPECT_EQ(cell.row, s.row) << "radius " << a << " cell " << s.i << "," << s.j;
    }
    // Everything at or beyond one pixel inside the rim, the margin included,
    // maps to itself.
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i) {
        const double x = i - a, y = j - a;
        if (x * x + y * y >= double(a - 1) * (a - 1)) {
          ASSERT_EQ(map[size_t(j) * n + size_t(i)].column, i);
          ASSERT_EQ(map[size_t(j) * n + size_t(i)].row, j);
        }
      }
  }
}

struct Picture {
  int w, h;
  int64_t stride;
  std::vector<uint8_t> bytes;
  Picture(int width, int height, uint8_t fill) : w(width), h(height), stride((int64_t(width) * 3 + 3) / 4 * 4),
                                                 bytes(size_t(stride * height), fill) {}
  uint8_t* At(int x, int y) { return bytes.data() + y * stride + 3 * x; }
};

TEST(Lens, FramesBounceAndStayInsideThePictureAndTheBox) {
  Picture backup(61, 60, 0), image(61, 60, 0xEE);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 61; ++x) backup.At(x, y)[0] = uint8_t(x + 1), backup.At(x, y)[1] = uint8_t(y + 1);
  for (const bool ball : {false, true}) {
    const LensOptions options = Options(13, 7, true, false, true, ball);
    const std::vector<LensCell> map = BuildLensMap(options);
    const int n = LensBoxSize(options);
    quillo::RuntimeRandom random(3);
    LensMotion motion = PlaceLens(options, 61, 60, random);
    EXPECT_GE(motion.x, 0);
    EXPECT_LT(motion.x, 61 - 26);
    EXPECT_EQ(motion.vx, 7);
    for (int frame = 0; frame < 40; ++frame) {
      image.bytes.assign(image.bytes.size(), 0xEE);
      const LensMotion before = motion;
      StepLens(options, map, motion, backup.bytes.data(), image.bytes.data(), 61, 60, backup.stride);
      // The box moved by the step, turning at the edges.
      EXPECT_EQ(std::abs(motion.x - before.x), 7);
      EXPECT_EQ(std::abs(motion.y - before.y), 7);
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 61; ++x) {
          const bool inBox = x >= motion.x && x < motion.x + n && y >= motion.y && y < motion.y + n;
          if (!inBox) {
            ASSERT_EQ(image.At(x, y)[0], 0xEE) << "frame " << frame << " at " << x << "," << y;
          }
        }
      // The box's corner lies outside the lens: it shows the backup itself.
      if (motion.x >= 0 && motion.y >= 0 && motion.x < 61 && motion.y < 60) {
        EXPECT_EQ(image.At(motion.x, motion.y)[0], backup.At(motion.x, motion.y)[0]);
      }
    }
  }
  // A map cell pointing outside the picture leaves its pixel as it was.
  LensOptions options = Options(10, 1, false, false, true, false);
  std::vector<LensCell> map = BuildLensMap(options);
  map[0] = LensCell{-500, 3};
  LensMotion motion{20, 20, 1, 1};
  image.bytes.assign(image.bytes.size(), 0xEE);
  StepLens(options, map, motion, backup.bytes.data(), image.bytes.data(), 61, 60, backup.stride);
  EXPECT_EQ(image.At(21, 21)[0], 0xEE);
  EXPECT_EQ(image.At(22, 21)[0], backup.At(22, 21)[0]);
}

}  // namespace
