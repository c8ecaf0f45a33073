// The despeckle and contrast stretch kernels against plain loops written
// from their formulas, on awkward sizes (widths around the kernels' run
// lengths, padded rows), extreme and constant pictures, and partial areas
// whose surroundings must stay untouched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "colour_test_support.h"
#include "imaging/colour_stretch.h"
#include "plugins/bxcomm1/kernels/contrast_stretch.h"
#include "plugins/bxcomm1/kernels/hsv_stretch.h"
#include "plugins/bxcomm1/kernels/hulling.h"

namespace quillo::test {
namespace {

constexpr uint8_t kGuard = 0xA5;

enum class Fill { kNoise, kExtremes, kConstantMiddle, kNarrow };
constexpr StretchMethod kMethods[] = {StretchMethod::kPerChannel, StretchMethod::kSaturationValue,
                                      StretchMethod::kComplementary};

TestPicture Picture(int w, int h, Fill fill, uint32_t seed) {
  TestPicture p(w, h);
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < w * 3; ++i) {
      const int noise = int(rng() & 255);
      p.source[size_t(y) * p.stride + i] = uint8_t(fill == Fill::kNoise      ? noise
                                                   : fill == Fill::kExtremes ? (noise & 1) * 255
                                                   : fill == Fill::kNarrow   ? 120 + noise % 5
                                                   : i % 3 == 1              ? 77
                                                                             : noise);
    }
  std::fill(p.target.begin(), p.target.end(), kGuard);
  return p;
}

// The area of a pass, or the whole picture; the guard elsewhere.
void ExpectArea(const TestPicture& p, const PixelPass& pass, const std::vector<uint8_t>& inside) {
  for (int y = 0; y < p.height; ++y)
    for (int i = 0; i < p.stride; ++i) {
      const bool in = y >= pass.rowBegin && y < pass.rowEnd && i < p.width * 3 && i / 3 >= pass.colBegin &&
                      i / 3 < pass.colEnd;
      const size_t at = size_t(y) * p.stride + i;
      ASSERT_EQ(p.target[at], in ? inside[at] : kGuard) << "row " << y << " byte " << i;
    }
}

PixelPass Area(TestPicture& p, bool partial, std::mt19937& rng) {
  PixelPass pass = p.FullPass();
  if (!partial) return pass;
  pass.colBegin = int(rng() % p.width);
  pass.colEnd = pass.colBegin + 1 + int(rng() % (p.width - pass.colBegin));
  pass.rowBegin = int(rng() % p.height);
  pass.rowEnd = pass.rowBegin + 1 + int(rng() % (p.height - pass.rowBegin));
  return pass;
}

// Despeckle as hulling.h describes it: each hull step as two whole sweeps.
std::vector<uint8_t> PlainDespeckle(const TestPicture& p) {
  std::vector<uint8_t> out(p.source.size());
  const int W = p.width + 2;
  for (int c = 0; c < 3; ++c) {
    std::vector<int> grid(size_t(W) * (p.height + 2), 0), scratch(grid.size(), 0);
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x)
        grid[size_t(y + 1) * W + x + 1] = p.source[size_t(y) * p.stride + x * 3 + c];
    for (const auto& d : {std::pair{1, 0}, {0, 1}, {1, 1}, {1, -1}})
      for (const auto& [sign, raise] : {std::pair{1, true}, {-1, true}, {-1, false}, {1, false}}) {
        const int ahead = sign * (d.second * W + d.first);
        for (int pass = 0; pass < 2; ++pass)
          for (int y = 1; y <= p.height; ++y)
            for (int i = y * W + 1; i <= y * W + p.width; ++i) {
              if (pass == 0) {
                const int v = grid[i], n = grid[i + ahead];
                scratch[i] = raise ? (v < n ? v + 1 : v) : (v >= n + 2 ? v - 1 : v);
              } else {
                const int t = scratch[i], n = scratch[i + ahead], o = scratch[i - ahead];
                grid[i] = raise ? (t <= o && t < n ? t + 1 : t) : (t >= o + 2 && t > n ? t - 1 : t);
              }
            }
      }
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x)
        out[size_t(y) * p.stride + x * 3 + c] = uint8_t(grid[size_t(y + 1) * W + x + 1]);
  }
  return out;
}

// The contrast stretch's three methods pixel by pixel: the per-channel
// formula, and the imaging library's conversions for the other two.
std::vector<uint8_t> PlainStretch(const TestPicture& p, const PixelPass& a, StretchMethod method) {
  std::vector<uint8_t> out(p.source.size());
  const auto each = [&](auto fn) {
    for (int y = a.rowBegin; y < a.rowEnd; ++y)
      for (int x = a.colBegin; x < a.colEnd; ++x)
        fn(&p.source[size_t(y) * p.stride + x * 3], &out[size_t(y) * p.stride + x * 3]);
  };
  const auto complement = [](const uint8_t* px, uint8_t cmy[3]) {
    const int k = 255 - std::max({px[0], px[1], px[2]});
    cmy[0] = uint8_t(255 - px[2] - k), cmy[1] = uint8_t(255 - px[1] - k), cmy[2] = uint8_t(255 - px[0] - k);
    return k;
  };
  if (method == StretchMethod::kPerChannel) {
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    each([&](const uint8_t* in, uint8_t*) {
      for (int c = 0; c < 3; ++c) lo[c] = std::min<int>(lo[c], in[c]), hi[c] = std::max<int>(hi[c], in[c]);
    });
    each([&](const uint8_t* in, uint8_t* o) {
      for (int c = 0; c < 3; ++c)
        o[c] =
            lo[c] == hi[c] ? in[c] : uint8_t((255 * (in[c] - lo[c]) + (hi[c] - lo[c]) / 2) / (hi[c] - lo[c]));
    });
    return out;
  }
  const bool cmy = method == StretchMethod::kComplementary;
  imaging::HsvRange range;
  each([&](const uint8_t* in, uint8_t*) {
    uint8_t c[3];
    if (cmy) complement(in, c);
    range.Add(imaging::BytesToHsv(cmy ? c : in));
  });
  each([&](const uint8_t* in, uint8_t* o) {
    if (!cmy) {
      imaging::Hsv c = imaging::BytesToHsv(in);
      range.Stretch(c);
      return imaging::HsvToBytes(c, o);
    }
    uint8_t bytes[3];
    const int k = complement(in, bytes);
    imaging::Hsv c = imaging::BytesToHsv(bytes);
    range.Stretch(c);
    c.s = std::clamp(c.s, 0.0, 1.0);
    double unit[3];
    imaging::HsvToUnit(c, unit);
    for (int i = 0; i < 3; ++i)
      o[2 - i] = uint8_t(std::clamp(std::trunc(255 - std::min(255.0, unit[i] * 255 + k)), 0.0, 255.0));
  });
  return out;
}

TEST(DespeckleStretchFastPath, EachKernelMatchesItsPlainLoops) {
  std::mt19937 rng(5);
  const int sizes[][2] = {{1, 1},  {2, 3},  {3, 2},  {5, 7},  {16, 3},
                          {17, 1}, {1, 17}, {63, 3}, {65, 2}, {300, 200}};
  for (int kernel = 0; kernel < 4; ++kernel)  // the despeckle, then each stretch method
    for (const auto& s : sizes)
      for (Fill fill : {Fill::kNoise, Fill::kExtremes, Fill::kConstantMiddle, Fill::kNarrow})
        for (bool partial : {false, true}) {
          TestPicture p = Picture(s[0], s[1], fill, rng());
          const PixelPass pass = Area(p, partial, rng);
          SCOPED_TRACE(testing::Message() << kernel << " " << s[0] << "x" << s[1] << " fill " << int(fill));
          if (kernel == 0) {
            DespeckleGrids grids;
            ASSERT_TRUE(grids.Load(pass));
            for (int c = 0; c < 3; ++c) grids.Run(c);
            grids.Store(pass);
            ExpectArea(p, pass, PlainDespeckle(p));
            continue;
          }
          ContrastStretch stretch(kMethods[kernel - 1]);
          stretch.Measure(pass);
          stretch.Write(pass);
          ExpectArea(p, pass, PlainStretch(p, pass, kMethods[kernel - 1]));
        }
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The hue shortcuts rely on bounds that hold for every colour; the
// saturation extremes compare ranks, which must agree with the doubles
// even where different byte pairs give equal saturations (2:1 and 4:2).
TEST(HsvStretchFastPath, EveryColourAndTiedSaturations) {
  imaging::HsvRange none;
  none.sMin = none.sMax = none.vMin = none.vMax = 0;  // stretches nothing
  const HsvStretcher same(none);
  std::vector<uint8_t> row(256 * 3), out(row.size());
  for (int hi = 0; hi < 65536; ++hi) {
    for (int lo = 0; lo < 256; ++lo)
      row[lo * 3] = uint8_t(lo), row[lo * 3 + 1] = uint8_t(hi), row[lo * 3 + 2] = uint8_t(hi >> 8);
    same.StretchRow(row.data(), out.data(), 256);
    for (int lo = 0; lo < 256; ++lo) {
      const imaging::Hsv want = imaging::BytesToHsv(&row[lo * 3]), got = same.Stretched(&row[lo * 3]);
      ASSERT_TRUE(SameDouble(want.h, got.h) && SameDouble(want.s, got.s) && SameDouble(want.v, got.v))
          << hi * 256 + lo;
      uint8_t bytes[3];
      imaging::HsvToBytes(want, bytes);
      ASSERT_EQ(0, std::memcmp(bytes, &out[lo * 3], 3)) << hi * 256 + lo;
    }
  }
  std::mt19937 rng(3);
  for (int set = 0; set < 3000; ++set) {
    HsvExtremes extremes;
    imaging::HsvRange want;
    for (int n = int(rng() % 4); n > 0; --n) {
      const int scale = 1 + int(rng() % 60), a = int(rng() % 4);
      const uint8_t px[3] = {uint8_t(scale * a), uint8_t(scale * (1 + rng() % 3)),
                             uint8_t(scale * (rng() % 4))};
      extremes.AddRow(px, 1);
      want.Add(imaging::BytesToHsv(px));
    }
    const imaging::HsvRange got = extremes.Range();
    ASSERT_TRUE(SameDouble(want.sMin, got.sMin) && SameDouble(want.sMax, got.sMax) &&
                SameDouble(want.vMin, got.vMin) && SameDouble(want.vMax, got.vMax));
  }
}

}  // namespace
}  // namespace quillo::test
