// The ring warp: its sine table, the rings of an odd-sized picture, the
// per-ring shifts of known frames (worked out independently), and frames
// that move pixels by exactly those shifts, clamped at the borders.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "plugins/qlo12/kernels/warp.h"

namespace {

using namespace quillo::qlo12;

TEST(Warp, SineTableAndWorkableSizes) {
  const std::vector<int32_t>& s = WarpSineTable();
  ASSERT_EQ(s.size(), 1280u);
  EXPECT_EQ(s[0], 0);
  EXPECT_EQ(s[5], 1005);
  EXPECT_EQ(s[256], 32767);
  EXPECT_EQ(s[300], 31580);
  EXPECT_EQ(s[768], -32767);
  EXPECT_EQ(s[1000], -4807);
  for (int m = 0; m < 256; ++m) ASSERT_EQ(s[size_t(1024 + m)], s[size_t(m)]);
  EXPECT_FALSE(WarpSizeWorkable(1, 1));
  EXPECT_FALSE(WarpSizeWorkable(0, 5));
  EXPECT_TRUE(WarpSizeWorkable(2, 1));
  EXPECT_TRUE(WarpSizeWorkable(1, 2));
}

TEST(Warp, RingsOfAnOddPictureCoverEveryPixel) {
  std::vector<int32_t> rings(35, -1);
  BuildWarpRings(7, 5, rings.data());
  const std::vector<int32_t> expected = {1022, 802, 634, 568, 634, 802, 1022, 898, 634, 400, 284, 400,
                                         634,  898, 852, 568, 284, 0,   284, 568, 852, 898, 634, 400,
                                         284,  400, 634, 898, 1022, 802, 634, 568, 634, 802, 1022};
  EXPECT_EQ(rings, expected);
  // A single pixel has no rings: nothing is written.
  int32_t one = -1;
  BuildWarpRings(1, 1, &one);
  EXPECT_EQ(one, -1);
}

TEST(Warp, ShiftsFollowTheDriftingAmplitudes) {
  struct Sample {
    int n, ring, dy, dx;
  };
  const Sample samples[] = {{0, 0, 0, 16},     {0, 100, 6, 8},      {0, 255, 2, -16},  {0, 511, -6, 11},
                            {100, 1, -1, -9},  {100, 100, 2, 7},    {300, 7, -14, 27}, {300, 100, 23, -26},
                            {300, 255, -12, -28}, {511, 255, -1, -21}, {511 + 512, 100, -7, 7},
                            {-1, 255, -1, -21}};
  WarpShifts shifts;
  for (const Sample& s : samples) {
    WarpFrameShifts(s.n, shifts);
    EXPECT_EQ(shifts.dy[s.ring], s.dy) << "frame " << s.n << " ring " << s.ring;
    EXPECT_EQ(shifts.dx[s.ring], s.dx) << "frame " << s.n << " ring " << s.ring;
  }
}

TEST(Warp, FramesMoveEachRingByItsShiftClampedAtTheBorders) {
  constexpr int w = 7, h = 5;
  constexpr int64_t stride = 24;
  std::vector<uint8_t> backup(size_t(stride * h), 0xEE);
  for (int i = 0; i < h; ++i)
    for (int j = 0; j < w; ++j) {
      backup[size_t(i * stride + 3 * j)] = uint8_t(j);
      backup[size_t(i * stride + 3 * j + 1)] = uint8_t(i);
      backup[size_t(i * stride + 3 * j + 2)] = 9;
    }
  std::vector<int32_t> rings(size_t(w * h));
  BuildWarpRings(w, h, rings.data());
  WarpShifts shifts;
  WarpFrameShifts(300, shifts);
  std::vector<uint8_t> out(backup.size(), 0xEE);
  DrawWarpFrame(backup.data(), out.data(), w, h, stride, rings.data(), shifts);
  for (int i = 0; i < h; ++i)
    for (int j = 0; j < w; ++j) {
      const int r = rings[size_t(i * w + j)] / 2;
      const int row = std::clamp(i + shifts.dy[r], 0, h - 1);
      const int column = std::clamp(j + shifts.dx[r], 0, w - 1);
      EXPECT_EQ(out[size_t(i * stride + 3 * j)], column) << j << "," << i;
      EXPECT_EQ(out[size_t(i * stride + 3 * j + 1)], row) << j << "," << i;
    }
  for (int i = 0; i < h; ++i) EXPECT_EQ(out[size_t(i * stride + 21)], 0xEE);  // padding
  // Frame 300 shifts the outer rings by more than the picture: the borders
  // are repeated, never read past.
  EXPECT_GT(shifts.dx[511], w);
}

}  // namespace
