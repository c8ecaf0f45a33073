// Lake's row shifts against values worked out apart from the kernel, rows
// whose source lies outside, the period's repeat, and pictures too short
// to ripple.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "noise_picture.h"
#include "plugins/qlo14/kernels/lake.h"

namespace {

using namespace quillo::qlo14;

// Shifts of the rows (from the top) of a 28-row picture (q = 2), period 5.
const int kShiftsFrame0[28] = {-1, 1, -2, 0, 0, 2, 0, -2, -2, -1, 0, 0, 1, 2,
                               2,  3, 3,  3, 2, 2, 2, 2, 1,  1,  1, 0, 0, 0};
const int kShiftsFrame3[28] = {0,  -1, 1,  -1, 1,  -2, -1, 0,  2,  2,  1,  0,  0,  -1,
                               -1, -2, -2, -3, -3, -3, -3, -3, -3, -3, -3, -2, -2, -2};

TEST(Qlo14Lake, RowsShowTheShiftedRowOrTheirOwnWhenThatLiesOutside) {
  EXPECT_EQ(LakeRowShift(39, 60, 7, 15), -4);
  for (const int padding : {-1, 0, 3}) {
    SCOPED_TRACE(padding);
    const NoisePicture in(7, 28, padding);
    NoisePicture out = in;
    LakeState state;
    SetLakePeriod(state, 5);
    for (int frame = 0; frame < 4; ++frame) {
      LakeFrame(state, in.Pixels(), out.Pixels(), 7, 28, in.stride);
      if (frame != 0 && frame != 3) continue;
      std::vector<uint8_t> expected = in.Rows();
      for (int i = 0; i < 28; ++i) {
        const int shift = (frame == 0 ? kShiftsFrame0 : kShiftsFrame3)[i];
        EXPECT_EQ(LakeRowShift(i, 28, frame, 5), shift) << "row " << i;
        const int from = i + shift >= 0 && i + shift < 28 ? i + shift : i;  // row 0 of frame 0 shows itself
        std::memcpy(expected.data() + (27 - i) * in.stride, in.Pixels() + (27 - from) * in.stride, 21);
      }
      EXPECT_EQ(out.Rows(), expected) << "frame " << frame;
    }
    EXPECT_TRUE(out.GuardsIntact());
  }
}

TEST(Qlo14Lake, FramesRepeatEveryPeriodAndShortPicturesStayStill) {
  const NoisePicture in(9, 40);
  NoisePicture out = in;
  LakeState state;
  SetLakePeriod(state, 5);
  std::vector<std::vector<uint8_t>> frames;
  for (int k = 0; k < 11; ++k) {
    LakeFrame(state, in.Pixels(), out.Pixels(), 9, 40, in.stride);
    frames.push_back(out.Rows());
  }
  EXPECT_EQ(frames[5], frames[0]);
  EXPECT_EQ(frames[10], frames[0]);
  EXPECT_NE(frames[1], frames[0]);
  SetLakePeriod(state, 1000);
  EXPECT_EQ(state.period, kLakeMaxPeriod);
  state.frame = 99;
  SetLakePeriod(state, 0);
  EXPECT_EQ(state.frame, 0) << "a frame beyond a shorter period starts it again";
  // Under 14 rows q is 0; 14 rows ripple.
  for (const int h : {1, 2, 3, 13, 14}) {
    const NoisePicture small(3, h);
    NoisePicture still = small;
    LakeState s;
    bool moved = false;
    for (int k = 0; k < 15; ++k) {
      LakeFrame(s, small.Pixels(), still.Pixels(), 3, h, small.stride);
      moved = moved || still.Rows() != small.Rows();
    }
    EXPECT_EQ(moved, h == 14) << h << " rows";
    EXPECT_TRUE(still.GuardsIntact());
  }
}

}  // namespace
