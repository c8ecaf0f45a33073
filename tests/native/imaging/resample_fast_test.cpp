// The restructured resampler against the previous implementation, byte for
// byte: every kernel of the geometry plug-in and ZoomDIBEx's B-spline, up and
// down, tiny and lopsided sizes, padded rows, masks, random and flat pictures.
// Both the vector loops and the plain loops are checked.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "imaging/resample_loops.h"
#include "imaging/zoom.h"
#include "plugins/bxcomm2/kernels/resample_kernels.h"
#include "resample_reference.h"

namespace quillo::imaging {
namespace {

enum class Fill { kRandom, kZero, kFull };

struct Image {
  int width, height, channels;
  int64_t stride;
  std::vector<uint8_t> bytes;
  // `pad` extra bytes per row, filled with a pattern no pass may touch.
  Image(int w, int h, int ch, int pad)
      : width(w), height(h), channels(ch), stride(int64_t(w) * ch + pad),
        bytes(size_t(stride * h), 0xA5) {}
  Bgr24Picture view() { return Bgr24Picture{bytes.data(), width, height, stride, channels}; }
};

Image Source(int w, int h, int ch, Fill fill, unsigned seed) {
  Image img(w, h, ch, (w * 7 + seed) % 5);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int64_t i = 0; i < int64_t(w) * ch; ++i)
      img.bytes[size_t(y * img.stride + i)] =
          fill == Fill::kZero ? 0 : fill == Fill::kFull ? 255 : uint8_t(rng() >> 24);
  return img;
}

struct Kernel {
  std::string name;
  ResampleFilter filter;
};

// An odd kernel: its weights nearly cancel, so normalising makes them large
// and the sums run far outside 0..255 on both sides.
double Odd(double x) { return std::fabs(x) < 2 ? x : 0.0; }

std::vector<Kernel> Kernels() {
  std::vector<Kernel> all;
  for (int b = bxcomm2::kFirstResampleButton; b <= bxcomm2::kLastResampleButton; ++b)
    all.push_back({"button " + std::to_string(b), bxcomm2::ResampleFilterFor(b)});
  all.push_back({"ZoomDIBEx B-spline", {BSplineKernel, 2.0}});
  all.push_back({"odd", {Odd, 2.0}});
  return all;
}

enum class Loops { kDefault, kVector, kPlain };

// Resamples `source` to w x h with the reference and with the loops chosen,
// and reports the first differing byte (padding included).
::testing::AssertionResult Same(Image& source, int w, int h, const ResampleFilter& filter, Loops loops) {
  Image want(w, h, source.channels, 3), got(w, h, source.channels, 3);
  const ZoomStatus a = testing::ReferenceResampleBgr24(source.view(), want.view(), filter);
  const ZoomStatus b = loops == Loops::kDefault
                           ? ResampleBgr24(source.view(), got.view(), filter)
                           : internal::ResampleBgr24Using(source.view(), got.view(), filter,
                                                          loops == Loops::kVector);
  const std::string what = std::to_string(source.width) + "x" + std::to_string(source.height) + " -> " +
                           std::to_string(w) + "x" + std::to_string(h) + " channels " +
                           std::to_string(source.channels);
  if (a != b) return ::testing::AssertionFailure() << what << ": status differs";
  for (size_t i = 0; i < want.bytes.size(); ++i)
    if (want.bytes[i] != got.bytes[i])
      return ::testing::AssertionFailure() << what << ": byte " << i << " (row " << i / size_t(want.stride)
                                           << ") is " << int(got.bytes[i]) << ", want " << int(want.bytes[i]);
  return ::testing::AssertionSuccess();
}

class ResampleFast : public ::testing::TestWithParam<Loops> {};

// Every source and target size from 1 x 1 to 5 x 5, colour and mask.
TEST_P(ResampleFast, AllTinySizes) {
  for (const Kernel& k : Kernels()) {
    SCOPED_TRACE(k.name);
    for (int ch : {3, 1})
      for (int sw = 1; sw <= 5; ++sw)
        for (int sh = 1; sh <= 5; ++sh) {
          Image src = Source(sw, sh, ch, Fill::kRandom, unsigned(sw * 31 + sh * 7 + ch));
          for (int tw = 1; tw <= 5; ++tw)
            for (int th = 1; th <= 5; ++th) ASSERT_TRUE(Same(src, tw, th, k.filter, GetParam()));
        }
  }
}

// Odd widths, both pass orders, extreme ratios, flat pictures.
TEST_P(ResampleFast, AwkwardSizesAndRatios) {
  struct Case { int sw, sh, tw, th; };
  const Case cases[] = {
      {4000, 3, 1, 5},   {1, 2, 300, 7},   {3, 4000, 5, 1},  {2, 1, 7, 300}, {37, 23, 101, 9},
      {101, 9, 37, 23},  {257, 129, 64, 200}, {64, 200, 257, 129}, {333, 250, 133, 100},
      {97, 61, 97, 61},  {45, 45, 44, 46},  {1000, 7, 999, 7}, {19, 17, 190, 170}, {6, 1, 1, 6},
  };
  for (const Kernel& k : Kernels()) {
    SCOPED_TRACE(k.name);
    for (const Case& c : cases)
      for (int ch : {3, 1})
        for (Fill fill : {Fill::kRandom, Fill::kZero, Fill::kFull}) {
          Image src = Source(c.sw, c.sh, ch, fill, unsigned(c.sw + 1000 * c.sh));
          ASSERT_TRUE(Same(src, c.tw, c.th, k.filter, GetParam()));
        }
  }
}

// A photo-sized shrink like the benchmark's, where the row caches cycle many
// times over column blocks.
TEST_P(ResampleFast, LargeShrinkAndEnlarge) {
  Image big = Source(1203, 901, 3, Fill::kRandom, 5);
  Image small = Source(301, 227, 3, Fill::kRandom, 6);
  for (int b : {462, 469, 472, 474}) {
    SCOPED_TRACE(b);
    ASSERT_TRUE(Same(big, 481, 360, bxcomm2::ResampleFilterFor(b), GetParam()));
    ASSERT_TRUE(Same(small, 1204, 681, bxcomm2::ResampleFilterFor(b), GetParam()));
  }
}

INSTANTIATE_TEST_SUITE_P(Loops, ResampleFast, ::testing::Values(Loops::kDefault, Loops::kVector, Loops::kPlain),
                         [](const ::testing::TestParamInfo<Loops>& info) {
                           return info.param == Loops::kDefault ? "Default"
                                  : info.param == Loops::kVector ? "Vector"
                                                                 : "Plain";
                         });

// Refusals match: missing pixels, sizes below 1, mixed channels, bad support.
TEST(ResampleFastStatus, RefusesWhatTheReferenceRefuses) {
  Image src = Source(4, 4, 3, Fill::kRandom, 1), dst(4, 4, 3, 0), mask(4, 4, 1, 0);
  const ResampleFilter good{BSplineKernel, 2.0};
  const auto both = [](const Bgr24Picture& s, const Bgr24Picture& t, const ResampleFilter& f) {
    const ZoomStatus a = testing::ReferenceResampleBgr24(s, t, f);
    EXPECT_EQ(a, ResampleBgr24(s, t, f));
    return a;
  };
  Bgr24Picture none = src.view();
  none.pixels = nullptr;
  Bgr24Picture narrow = dst.view();
  narrow.width = 0;
  Bgr24Picture thin = dst.view();
  thin.stride = 2;
  EXPECT_EQ(both(none, dst.view(), good), ZoomStatus::kBadSize);
  EXPECT_EQ(both(src.view(), narrow, good), ZoomStatus::kBadSize);
  EXPECT_EQ(both(src.view(), thin, good), ZoomStatus::kBadSize);
  EXPECT_EQ(both(src.view(), mask.view(), good), ZoomStatus::kBadSize);
  EXPECT_EQ(both(src.view(), dst.view(), ResampleFilter{nullptr, 2.0}), ZoomStatus::kBadSize);
  EXPECT_EQ(both(src.view(), dst.view(), ResampleFilter{BSplineKernel, 0.0}), ZoomStatus::kBadSize);
  EXPECT_EQ(both(src.view(), dst.view(), ResampleFilter{BSplineKernel, 65.0}), ZoomStatus::kBadSize);
  EXPECT_EQ(both(src.view(), dst.view(), good), ZoomStatus::kDone);
}

}  // namespace
}  // namespace quillo::imaging
