// Disco's frames against the formula worked out pixel by pixel (atan and
// sqrt at every pixel), through a wheel turn and the spot's bounces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "frame_pictures.h"
#include "plugins/qlo13/kernels/disco.h"

namespace {

using namespace quillo::qlo13;

int Tri(int n) { return 128 * std::abs(512 - (int16_t(n) & 1023)); }

int Ang(int x, int y) {
  int c;
  if (y == 0)
    c = x < 0 ? 512 : 0;
  else
    c = int(256 * 0.6366197723675814 * std::atan(double(x) / std::abs(y))) - 256;
  return y < 0 ? c : -c;
}

struct Plain {
  int w, h, r, d = 0, ox = 0, oy = 0, dx = 1, dy = 1;
  Plain(int width, int height)
      : w(width), h(height), r(int(0.5 * std::sqrt(double(width) * width + double(height) * height))) {}

  std::vector<uint8_t> Frame(const FramePicture& in, std::vector<uint8_t> out, int b, int g) {
    const int e = (d + 3) % 256;
    const int wheel = d == 253 ? 1 : 1536 - (1024 * e) / 255;
    const int q = b != 0 ? b * 127 / 255 + 128 : 1;
    ox += dx * g;
    if (ox > w / 2) dx = -1;
    if (ox < -(w / 2)) dx = 1;
    oy += dy * g;
    if (oy > h / 2) dy = -1;
    if (oy < -(h / 2)) dy = 1;
    for (int i = 0; i < h; ++i)
      for (int j = 0; j < w; ++j) {
        const int y = oy + i - h / 2, x = ox + j - w / 2;
        const int angle = Ang(x, y);
        int a = r != 0 ? int(std::sqrt(double(x) * x + double(y) * y)) * 360 / r : 0;
        if (a == 0) a = 1;
        const int rk[3] = {Tri(angle + wheel) / q, Tri(angle + wheel + 314) / q, Tri(angle + wheel - 396) / q};
        for (int k = 0; k < 3; ++k) {
          uint8_t& s = out[size_t(i * in.stride + 3 * j + k)];
          s = uint8_t(std::min(255, std::max(int(in.At(j, i)[k]), in.At(j, i)[k] / 2 + b * rk[k] / a)));
        }
      }
    d = e;
    return out;
  }
};

TEST(Qlo13Disco, TriangleAndAngleFollowTheirRules) {
  EXPECT_EQ(DiscoTriangle(0), 65536);
  EXPECT_EQ(DiscoTriangle(512), 0);
  EXPECT_EQ(DiscoTriangle(-1), 128 * 511);
  EXPECT_EQ(DiscoTriangle(70000), Tri(70000 - 65536));
  EXPECT_EQ(DiscoAngle(-5, 0), -512);
  EXPECT_EQ(DiscoAngle(5, 0), 0);
  EXPECT_EQ(DiscoAngle(0, 4), 256);
  EXPECT_EQ(DiscoAngle(0, -4), -256);
  for (int x = -9; x <= 9; ++x)
    for (int y = -9; y <= 9; ++y) EXPECT_EQ(DiscoAngle(x, y), Ang(x, y)) << x << ", " << y;
}

TEST(Qlo13Disco, FramesMatchTheFormulaThroughTheWheelAndTheBounces) {
  struct Setting { int b, g; };
  for (const FrameSize& size : kFrameSizes)
    for (const Setting s : {Setting{70, 20}, Setting{255, 100}, Setting{1, 1}, Setting{0, 37}}) {
      SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height) + " b " +
                   std::to_string(s.b) + " g " + std::to_string(s.g));
      const FramePicture in(size.width, size.height, size.padding);
      DiscoState state;
      state.brightness = s.b;
      state.speed = s.g;
      ASSERT_TRUE(StartDisco(state, size.width, size.height));
      Plain plain(size.width, size.height);
      std::vector<uint8_t> out(in.bytes.size(), 0xEE);
      // 90 frames take the phase byte past 253 (frame 84) and back to 1.
      for (int frame = 0; frame < 90; ++frame) {
        const std::vector<uint8_t> expected = plain.Frame(in, out, s.b, s.g);
        DiscoFrame(state, in.bytes.data(), out.data(), in.stride);
        ASSERT_EQ(out, expected) << "frame " << frame;
      }
    }
}

TEST(Qlo13Disco, ZeroBrightnessLeavesThePictureAndTheSpotIsBrightest) {
  const FramePicture in(60, 40);
  DiscoState state;
  state.brightness = 0;
  ASSERT_TRUE(StartDisco(state, 60, 40));
  std::vector<uint8_t> out(in.bytes.size());
  DiscoFrame(state, in.bytes.data(), out.data(), in.stride);
  EXPECT_EQ(out, in.bytes);

  // A black picture shows the light alone: full at the spot, fading away
  // from it along its row.
  FramePicture black(60, 40);
  std::fill(black.bytes.begin(), black.bytes.end(), 0);
  state.brightness = 40;
  ASSERT_TRUE(StartDisco(state, 60, 40));
  DiscoFrame(state, black.bytes.data(), out.data(), black.stride);
  const int row = 20 - state.oy, column = 30 - state.ox;  // x = y = 0
  auto sum = [&](int j, int i) {
    const uint8_t* p = out.data() + i * black.stride + 3 * j;
    return p[0] + p[1] + p[2];
  };
  EXPECT_EQ(sum(column, row), 3 * 255);
  for (int i = 0; i < 40; ++i)
    for (int j = 0; j < 60; ++j) EXPECT_LE(sum(j, i), sum(column, row));
  EXPECT_LT(sum(59, row), sum(column, row));
}

TEST(Qlo13Disco, AFastSpotOnANarrowPictureJumpsPastTheEdgeAndTurnsBack) {
  const FramePicture in(150, 20);
  DiscoState state;
  state.speed = 100;
  ASSERT_TRUE(StartDisco(state, 150, 20));
  std::vector<uint8_t> out(in.bytes.size());
  DiscoFrame(state, in.bytes.data(), out.data(), in.stride);
  EXPECT_EQ(state.ox, 100);  // beyond 75: the spot lies outside the picture
  EXPECT_EQ(state.dx, -1);
  DiscoFrame(state, in.bytes.data(), out.data(), in.stride);
  EXPECT_EQ(state.ox, 0);
  DiscoFrame(state, in.bytes.data(), out.data(), in.stride);
  EXPECT_EQ(state.ox, -100);
  EXPECT_EQ(state.dx, 1);
}

TEST(Qlo13Disco, ASinglePixelIsLitWithoutDividingByItsZeroRadius) {
  const FramePicture in(1, 1);
  DiscoState state;
  ASSERT_TRUE(StartDisco(state, 1, 1));
  EXPECT_EQ(state.radius, 0);
  std::vector<uint8_t> out(in.bytes.size());
  DiscoFrame(state, in.bytes.data(), out.data(), in.stride);
  Plain plain(1, 1);
  EXPECT_EQ(out, plain.Frame(in, out, kDiscoDefaultBrightness, kDiscoDefaultSpeed));
  EXPECT_FALSE(StartDisco(state, 1, 0));
  EXPECT_TRUE(state.turn.empty());
}

}  // namespace
