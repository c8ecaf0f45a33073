// Wavy's frames against the formula worked out pixel by pixel, on pictures
// smaller than the shifts, through a whole cycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "frame_pictures.h"
#include "plugins/qlo13/kernels/cosine_table.h"
#include "plugins/qlo13/kernels/wavy.h"

namespace {

using namespace quillo::qlo13;

int PlainShift(int index, int n, int a) {
  const double w = n != 0 ? 50 - n * 0.18431372940540314 : 1;
  const double k = a != 0 ? 512 / (a * 1.0078431367874146 + 3) : 512;
  return int(CosineTable()[std::llabs(int64_t(1024 * index / w)) % 1024] / k);
}

std::vector<uint8_t> PlainWavy(const FramePicture& in, std::vector<uint8_t> out, int n, int a1, int a2) {
  const int w = in.width, h = in.height;
  auto row = [h](int i, int r) { return r < 0 ? 0 : r >= h ? std::max(i - 1, 0) : r; };
  for (int i = 0; i < h; ++i)
    for (int j = 0; j < w; ++j) {
      const int u1 = PlainShift(i, n, a1), u2 = PlainShift(j, n, a2);
      const uint8_t* first = in.At(std::clamp(j + u1, 0, w - 1), row(i, i + u2));
      const uint8_t* second = in.At(std::clamp(j - u2, 0, w - 1), row(i, i - u1));
      for (int c = 0; c < 3; ++c) out[size_t(i * in.stride + 3 * j + c)] = uint8_t((first[c] + second[c]) >> 1);
    }
  return out;
}

TEST(Qlo13Wavy, FramesMatchTheFormulaOnEverySizeAndAmplitude) {
  const int amplitudes[][2] = {{4, 3}, {1, 1}, {10, 10}, {0, 7}};
  for (const FrameSize& size : kFrameSizes)
    for (const auto& a : amplitudes) {
      SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height) + " a " +
                   std::to_string(a[0]) + "," + std::to_string(a[1]));
      const FramePicture in(size.width, size.height, size.padding);
      WavyState state;
      state.amplitude1 = a[0];
      state.amplitude2 = a[1];
      ASSERT_TRUE(StartWavy(state, size.width, size.height));
      std::vector<uint8_t> out(in.bytes.size(), 0xEE);
      // From 23 round through 127 and phase 0 with its wavelength of 1.
      for (int frame = 0; frame < 110; ++frame) {
        const int n = (kWavyStartPhase + frame) % kWavyCycle;
        const std::vector<uint8_t> expected = PlainWavy(in, out, n, a[0], a[1]);
        WavyFrame(state, in.bytes.data(), out.data(), size.width, size.height, in.stride);
        ASSERT_EQ(out, expected) << "phase " << n;
      }
    }
}

TEST(Qlo13Wavy, RepeatsEvery128FramesAndSlidersChangeTheFrame) {
  const FramePicture in(48, 36);
  WavyState state;
  ASSERT_TRUE(StartWavy(state, 48, 36));
  std::vector<uint8_t> first(in.bytes.size()), later(in.bytes.size()), other(in.bytes.size());
  WavyFrame(state, in.bytes.data(), first.data(), 48, 36, in.stride);
  for (int k = 0; k < kWavyCycle; ++k) WavyFrame(state, in.bytes.data(), later.data(), 48, 36, in.stride);
  EXPECT_EQ(state.phase, kWavyStartPhase + 1);
  EXPECT_EQ(later, first);
  state.amplitude1 = 10;
  WavyFrame(state, in.bytes.data(), other.data(), 48, 36, in.stride);
  EXPECT_NE(other, first);
}

TEST(Qlo13Wavy, ShiftsReachThirteenPixelsAtMostAndFourAtTheLeast) {
  int largest = 0, smallest = 0;
  for (int n = 0; n < kWavyCycle; ++n)
    for (int index = 0; index < 400; ++index) {
      largest = std::max(largest, std::abs(WavyShift(index, n, kWavyMaxAmplitude)));
      smallest = std::max(smallest, std::abs(WavyShift(index, n, kWavyMinAmplitude)));
    }
  EXPECT_EQ(largest, 13);
  EXPECT_EQ(smallest, 4);
  EXPECT_EQ(WavyShift(5, 0, 10), 13);  // phase 0: w = 1 puts every index on T[0]
}

TEST(Qlo13Wavy, ScratchOfAnotherSizeDrawsNothing) {
  WavyState state;
  EXPECT_FALSE(StartWavy(state, 0, 3));
  ASSERT_TRUE(StartWavy(state, 4, 4));
  const FramePicture in(5, 4);
  std::vector<uint8_t> out(in.bytes.size(), 1);
  WavyFrame(state, in.bytes.data(), out.data(), 5, 4, in.stride);
  EXPECT_EQ(out, std::vector<uint8_t>(in.bytes.size(), 1));
}

}  // namespace
