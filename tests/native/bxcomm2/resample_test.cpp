// Every resampling kernel reproduces a flat picture at any size, keeps a
// picture resized to its own size close to itself, and carries a mask.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "plugins/bxcomm2/kernels/resample_kernels.h"

namespace quillo::bxcomm2 {
namespace {

std::vector<uint8_t> Flat(int w, int h, int64_t stride, uint8_t v) {
  return std::vector<uint8_t>(size_t(stride) * h, v);
}

TEST(Resample, EveryKernelReproducesAFlatPictureAtAnySize) {
  for (int button = kFirstResampleButton; button <= kLastResampleButton; ++button) {
    SCOPED_TRACE(button);
    const imaging::ResampleFilter filter = ResampleFilterFor(button);
    for (auto [w, h, nw, nh] : {std::array{9, 7, 23, 5}, std::array{40, 30, 7, 11}, std::array{1, 1, 3, 2}}) {
      const int64_t stride = (w * 24 + 31) / 32 * 4, nstride = (nw * 24 + 31) / 32 * 4;
      std::vector<uint8_t> in = Flat(w, h, stride, 173), out(size_t(nstride) * nh, 0);
      ASSERT_EQ(imaging::ResampleBgr24({in.data(), w, h, stride}, {out.data(), nw, nh, nstride}, filter),
                imaging::ZoomStatus::kDone);
      for (int y = 0; y < nh; ++y)
        for (int x = 0; x < nw * 3; ++x) ASSERT_EQ(out[size_t(y) * nstride + x], 173) << x << "," << y;
    }
  }
}

// The contributor method samples output i at source position i - 0.5 (its
// taps sit at t = j - i + 0.5): at the same size the box keeps every pixel
// and the triangle gives the mean of pixels i - 1 and i (the first pixel
// mirrors onto itself).
TEST(Resample, SameSizeBoxIsExactAndTriangleAveragesNeighbours) {
  const int w = 17, h = 13;
  const int64_t stride = (w * 24 + 31) / 32 * 4;
  std::vector<uint8_t> in(size_t(stride) * h);
  for (size_t i = 0; i < in.size(); ++i) in[i] = uint8_t((i * 37) % 251);
  std::vector<uint8_t> box(in.size(), 0), tri(in.size(), 0);
  ASSERT_EQ(imaging::ResampleBgr24({in.data(), w, h, stride}, {box.data(), w, h, stride}, ResampleFilterFor(461)),
            imaging::ZoomStatus::kDone);
  ASSERT_EQ(imaging::ResampleBgr24({in.data(), w, 1, stride}, {tri.data(), w, 1, stride}, ResampleFilterFor(462)),
            imaging::ZoomStatus::kDone);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * 3; ++x) EXPECT_EQ(box[size_t(y) * stride + x], in[size_t(y) * stride + x]);
  for (int x = 1; x < w; ++x)
    for (int c = 0; c < 3; ++c)
      EXPECT_EQ(tri[size_t(x * 3 + c)], int(in[size_t((x - 1) * 3 + c)] * 0.5 + in[size_t(x * 3 + c)] * 0.5 + 0.5));
}

TEST(Resample, AMaskResamplesAsOneChannel) {
  std::vector<uint8_t> mask(6 * 4, 200), out(12 * 8, 0);
  ASSERT_EQ(imaging::ResampleBgr24({mask.data(), 6, 4, 6, 1}, {out.data(), 12, 8, 12, 1}, ResampleFilterFor(470)),
            imaging::ZoomStatus::kDone);
  for (uint8_t v : out) EXPECT_EQ(v, 200);
  EXPECT_EQ(imaging::ResampleBgr24({mask.data(), 6, 4, 6, 1}, {out.data(), 12, 8, 36, 3}, ResampleFilterFor(470)),
            imaging::ZoomStatus::kBadSize)
      << "a mask resampled into a picture is refused";
}

TEST(Resample, TheBesselKernelIsPiOverFourAtZero) {
  const imaging::ResampleFilter f = ResampleFilterFor(473);
  EXPECT_DOUBLE_EQ(f.kernel(0), 3.14159265358979323846 / 4);
  EXPECT_NEAR(f.kernel(1e-9), f.kernel(0), 1e-9);
  EXPECT_EQ(f.kernel(3.3), 0.0);
}

}  // namespace
}  // namespace quillo::bxcomm2
