// Pool's frames against the formula worked out pixel by pixel, over many
// frames so both phases bounce off 255 and 0 on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "frame_pictures.h"
#include "plugins/qlo13/kernels/cosine_table.h"
#include "plugins/qlo13/kernels/pool.h"

namespace {

using namespace quillo::qlo13;

int T(int64_t n) { return CosineTable()[std::llabs(n) % 1024]; }

std::vector<uint8_t> PlainPool(const FramePicture& in, int p, int q) {
  const int w = in.width, h = in.height;
  std::vector<uint8_t> out = in.bytes;
  const int64_t r = int64_t(0.5 * std::sqrt(double(w) * w + double(h) * h));
  for (int i = 0; i < h; ++i)
    for (int j = 0; j < w; ++j) {
      int f = 256;
      if (r != 0) {
        const int64_t d = int64_t(std::sqrt(double(i - h / 2) * (i - h / 2) + double(j - w / 2) * (j - w / 2)));
        const int64_t t1 = ((j - i) * 16 * q) / r - T((j * 1024) / r + p);
        const int64_t t2 = (2 * (d + 256 * i)) / r - 256;
        const int64_t t3 = (2048 * d) / r - 256;
        const int64_t t4 = ((i + j) * 16 * p) / r - 256;
        const int64_t s = T(t1) + T(t2) + T(t3) + T(t4) - T((1024 * i) / r);
        f = int(std::clamp<int64_t>(((s * 32) >> 8) + 256, 0, 256));
      }
      for (int c = 0; c < 3; ++c) {
        uint8_t& b = out[size_t(i * in.stride + 3 * j + c)];
        b = uint8_t((f * b) >> 8);
      }
    }
  return out;
}

TEST(Qlo13Pool, PhasesBounceOffBothEndsAndTurn) {
  BouncingPhase up{254, 3};
  up.Advance();
  EXPECT_EQ(up.value, 255);
  EXPECT_EQ(up.step, -3);
  BouncingPhase top{255, 1};
  top.Advance();
  EXPECT_EQ(top.value, 255);
  EXPECT_EQ(top.step, -1);
  BouncingPhase down{1, -3};
  down.Advance();
  EXPECT_EQ(down.value, 0);
  EXPECT_EQ(down.step, 3);
}

TEST(Qlo13Pool, FramesMatchTheFormulaThroughTheBounces) {
  for (const FrameSize& size : kFrameSizes) {
    SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
    const FramePicture in(size.width, size.height, size.padding);
    PoolState state;
    ASSERT_TRUE(StartPool(state, size.width, size.height));
    std::vector<uint8_t> out(in.bytes.size(), 0xEE);
    // Q reaches 255 after 69 frames and 0 again after 154; P turns at 225.
    int p = kPoolStartP, q = kPoolStartQ, dp = kPoolStepP, dq = kPoolStepQ;
    for (int frame = 0; frame < 240; ++frame) {
      const int64_t pads = in.stride - 3 * int64_t(size.width);
      std::vector<uint8_t> expected = PlainPool(in, p, q);
      for (int i = 0; i < size.height; ++i)  // padding bytes are not written
        std::copy_n(out.begin() + i * in.stride + 3 * size.width, pads,
                    expected.begin() + i * in.stride + 3 * size.width);
      PoolFrame(state, in.bytes.data(), out.data(), in.stride);
      ASSERT_EQ(out, expected) << "frame " << frame << " p " << p << " q " << q;
      q += dq;
      if (q >= 256) q = 255, dq = -dq;
      if (q < 0) q = 0, dq = -dq;
      p += dp;
      if (p >= 256) p = 255, dp = -dp;
      if (p < 0) p = 0, dp = -dp;
    }
  }
}

TEST(Qlo13Pool, OnlyDarkensAndLeavesASinglePixelAlone) {
  const FramePicture in(40, 30);
  PoolState state;
  ASSERT_TRUE(StartPool(state, 40, 30));
  std::vector<uint8_t> out(in.bytes.size());
  PoolFrame(state, in.bytes.data(), out.data(), in.stride);
  int darker = 0;
  for (size_t k = 0; k < out.size(); ++k) {
    EXPECT_LE(out[k], in.bytes[k]);
    darker += out[k] < in.bytes[k];
  }
  EXPECT_GT(darker, 0);

  const FramePicture one(1, 1);
  ASSERT_TRUE(StartPool(state, 1, 1));
  EXPECT_EQ(state.radius, 0);
  std::vector<uint8_t> single(one.bytes.size(), 0);
  PoolFrame(state, one.bytes.data(), single.data(), one.stride);
  EXPECT_TRUE(std::equal(single.begin(), single.begin() + 3, one.bytes.begin()));
}

TEST(Qlo13Pool, RefusesEmptySidesAndDrawsNothingWithoutAStart) {
  PoolState state;
  EXPECT_FALSE(StartPool(state, 0, 5));
  EXPECT_FALSE(StartPool(state, 5, -1));
  EXPECT_TRUE(state.still.empty());
  const FramePicture in(4, 4);
  std::vector<uint8_t> out(in.bytes.size(), 9);
  PoolFrame(state, in.bytes.data(), out.data(), in.stride);
  EXPECT_EQ(out, std::vector<uint8_t>(in.bytes.size(), 9));
}

}  // namespace
