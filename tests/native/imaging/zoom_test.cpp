// The resampler against a plain, one-pixel-at-a-time reference of the same
// algorithm, plus the fixed numbers a same-size pass must give.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "zoom.h"

namespace quillo::imaging {
namespace {

struct Image {
  int width = 0, height = 0;
  int64_t stride = 0;
  std::vector<uint8_t> bytes;
  Image(int w, int h) : width(w), height(h), stride(((int64_t(w) * 24 + 31) / 32) * 4),
                        bytes(size_t(stride * h), 0) {}
  uint8_t* at(int x, int y) { return bytes.data() + y * stride + x * 3; }  // y = stored row
  Bgr24Picture view() { return Bgr24Picture{bytes.data(), width, height, stride}; }
};

Image RandomImage(int w, int h, unsigned seed) {
  Image img(w, h);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) img.at(x, y)[c] = uint8_t(rng() & 0xFF);
  return img;
}

// Reference: every output channel computed on its own, straight from the
// description (weights recomputed for each pixel, double sums).
double RefKernel(double x) {
  x = x < 0 ? -x : x;
  if (x < 1.0) return 0.5 * x * x * x - x * x + 2.0 / 3.0;
  if (x < 2.0) return (2.0 - x) * (2.0 - x) * (2.0 - x) / 6.0;
  return 0.0;
}

uint8_t RefPixel(const Image& in, bool horizontal, int outIndex, int outCount, int fixed, int c) {
  const int n = horizontal ? in.width : in.height;
  const double s = double(outCount) / double(n);
  const double centre = double(outIndex) / s;
  const double w = s < 1.0 ? 2.0 / s : 2.0;
  const int left = int(centre - w + 0.5), right = int(centre + w + 0.5);
  std::vector<double> weights;
  std::vector<int> indexes;
  double sum = 0;
  for (int j = left; j < right; ++j) {
    const double t = j - centre + 0.5;
    const double wt = s < 1.0 ? RefKernel(t * s) * s : RefKernel(t);
    int k = j;
    if (k < 0) k = -k;
    if (k >= n) k = 2 * n - k - 1;
    if (k < 0) k = 0;          // a source narrower than the filter
    if (k > n - 1) k = n - 1;
    weights.push_back(wt);
    indexes.push_back(k);
    sum += wt;
  }
  if (sum != 0 && sum != 1)
    for (double& wt : weights) wt /= sum;
  double acc = 0;
  for (size_t i = 0; i < weights.size(); ++i) {
    const uint8_t* p = horizontal ? in.bytes.data() + fixed * in.stride + indexes[i] * 3
                                  : in.bytes.data() + indexes[i] * in.stride + fixed * 3;
    acc += weights[i] * p[c];
  }
  const int v = int(acc + 0.5);
  return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

Image RefPass(const Image& in, bool horizontal, int outW, int outH) {
  Image out(outW, outH);
  for (int y = 0; y < outH; ++y)
    for (int x = 0; x < outW; ++x)
      for (int c = 0; c < 3; ++c)
        out.at(x, y)[c] = horizontal ? RefPixel(in, true, x, outW, y, c)
                                     : RefPixel(in, false, y, outH, x, c);
  return out;
}

Image RefZoom(const Image& in, int w, int h) {
  if (h < in.height) return RefPass(RefPass(in, false, in.width, h), true, w, h);
  return RefPass(RefPass(in, true, w, in.height), false, w, h);
}

Image Zoom(Image& in, int w, int h) {
  Image out(w, h);
  EXPECT_EQ(ZoomBgr24(in.view(), out.view()), ZoomStatus::kDone);
  return out;
}

// Rows are compared without their padding bytes, which must stay zero.
void ExpectSame(const Image& a, const Image& b, const char* what) {
  ASSERT_EQ(a.bytes.size(), b.bytes.size()) << what;
  for (size_t i = 0; i < a.bytes.size(); ++i)
    if (a.bytes[i] != b.bytes[i]) {
      FAIL() << what << ": byte " << i << " (row " << i / a.stride << ") is " << int(a.bytes[i])
             << ", reference " << int(b.bytes[i]);
    }
}

TEST(ZoomTest, MatchesReferenceOnManySizes) {
  const int sizes[][4] = {
      {37, 23, 11, 7},   {64, 48, 64, 48},  {100, 75, 33, 29}, {13, 17, 50, 40},
      {7, 5, 3, 9},      {3, 2, 1, 1},      {5, 5, 1, 17},     {200, 10, 1, 10},
      {10, 200, 10, 1},  {31, 29, 97, 13},  {120, 90, 30, 23}, {41, 43, 83, 89},
      {16, 12, 64, 48},  {400, 300, 100, 75}, {400, 300, 83, 62}, {3, 3, 4, 4},
  };
  unsigned seed = 1;
  for (const auto& s : sizes) {
    Image in = RandomImage(s[0], s[1], seed++);
    ExpectSame(Zoom(in, s[2], s[3]), RefZoom(in, s[2], s[3]), "table size");
  }
  std::mt19937 rng(7);
  for (int i = 0; i < 60; ++i) {
    const int w = 1 + int(rng() % 60), h = 1 + int(rng() % 60);
    const int nw = 1 + int(rng() % 90), nh = 1 + int(rng() % 90);
    Image in = RandomImage(w, h, 100 + i);
    ExpectSame(Zoom(in, nw, nh), RefZoom(in, nw, nh), "random size");
    if (HasFailure()) {
      ADD_FAILURE() << w << "x" << h << " -> " << nw << "x" << nh;
      return;
    }
  }
}

TEST(ZoomTest, SameSizeIsTheFourTapBlurShiftedHalfAPixel) {
  // An impulse of 255 at column 10 of a one-row picture: weights
  // f(1.5) = 1/48, f(0.5) = 23/48 land on columns 9..12.
  Image in(24, 1);
  in.at(10, 0)[1] = 255;
  Image out = Zoom(in, 24, 1);
  const int expected[] = {0, int(255.0 / 48 + 0.5), int(255.0 * 23 / 48 + 0.5),
                          int(255.0 * 23 / 48 + 0.5), int(255.0 / 48 + 0.5), 0};
  for (int x = 8; x <= 13; ++x) EXPECT_EQ(out.at(x, 0)[1], expected[x - 8]) << "column " << x;
  EXPECT_EQ(expected[1], 5);
  EXPECT_EQ(expected[2], 122);
  EXPECT_EQ(out.at(10, 0)[0], 0);
}

TEST(ZoomTest, FirstPixelUsesThreeMirroredTapsNormalised) {
  // Output 0 reads indexes 1, 0, 1 with weights 23/48, 23/48, 1/48 over a
  // sum of 47/48: p0 = 0 and p1 = 255 give 255 * 24 / 47 = 130.2.
  Image in(8, 1);
  for (int x = 1; x < 8; ++x) in.at(x, 0)[2] = 255;
  Image out = Zoom(in, 8, 1);
  EXPECT_EQ(out.at(0, 0)[2], 130);
  // The same along the other axis: stored row 0 is the first index.
  Image tall(1, 8);
  for (int y = 1; y < 8; ++y) tall.at(0, y)[0] = 255;
  EXPECT_EQ(Zoom(tall, 1, 8).at(0, 0)[0], 130);
}

TEST(ZoomTest, PaddingBytesStayZero) {
  Image in = RandomImage(5, 5, 3);
  Image out = Zoom(in, 7, 3);  // 21 bytes of pixels in a 24-byte row
  for (int y = 0; y < 3; ++y)
    for (int i = 21; i < 24; ++i) EXPECT_EQ(out.bytes[y * 24 + i], 0);
}

TEST(ZoomTest, UniformPictureStaysUniform) {
  // The weights of every output sum to one, up or down.
  Image in(30, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) in.at(x, y)[0] = 77, in.at(x, y)[1] = 0, in.at(x, y)[2] = 255;
  for (auto [w, h] : {std::pair{7, 3}, std::pair{90, 61}, std::pair{30, 20}, std::pair{1, 1}}) {
    Image out = Zoom(in, w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        ASSERT_EQ(out.at(x, y)[0], 77) << w << "x" << h;
        ASSERT_EQ(out.at(x, y)[2], 255) << w << "x" << h;
      }
  }
}

// Sources narrower than the filter: mirrored indexes (1 for a 1-pixel
// source, -1 or 2..3 for a 2-pixel one) fall outside and are clamped.
TEST(ZoomTest, OneAndTwoPixelSourcesStayInside) {
  Image one(1, 1);
  one.at(0, 0)[0] = 10, one.at(0, 0)[1] = 200, one.at(0, 0)[2] = 99;
  for (auto [w, h] : {std::pair{1, 1}, std::pair{4, 4}, std::pair{9, 2}}) {
    Image out = Zoom(one, w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        ASSERT_EQ(out.at(x, y)[0], 10);
        ASSERT_EQ(out.at(x, y)[1], 200);
        ASSERT_EQ(out.at(x, y)[2], 99);
      }
  }
  Image two(2, 1);
  two.at(0, 0)[1] = 40, two.at(1, 0)[1] = 240;
  for (auto [w, h] : {std::pair{1, 1}, std::pair{2, 1}, std::pair{7, 3}, std::pair{2, 2}}) {
    Image out = Zoom(two, w, h);
    ExpectSame(out, RefZoom(two, w, h), "two-pixel source");
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        ASSERT_GE(out.at(x, y)[1], 40);
        ASSERT_LE(out.at(x, y)[1], 240);
      }
  }
}

TEST(ZoomTest, RefusesSizesBelowOne) {
  Image in = RandomImage(4, 4, 9);
  Image out(4, 4);
  Bgr24Picture target = out.view();
  target.width = 0;
  EXPECT_EQ(ZoomBgr24(in.view(), target), ZoomStatus::kBadSize);
  target.width = 4, target.height = -3;
  EXPECT_EQ(ZoomBgr24(in.view(), target), ZoomStatus::kBadSize);
  Bgr24Picture source = in.view();
  source.pixels = nullptr;
  EXPECT_EQ(ZoomBgr24(source, out.view()), ZoomStatus::kBadSize);
  source = in.view();
  source.stride = 5;  // shorter than a row
  EXPECT_EQ(ZoomBgr24(source, out.view()), ZoomStatus::kBadSize);
}

}  // namespace
}  // namespace quillo::imaging
