// Colour balance: the stage arithmetic on known bytes, and the table and
// cache path against a direct per-pixel evaluation of the formulas.
#include "balance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "colour_test_support.h"

namespace quillo {
namespace {

// Direct evaluation, pixel by pixel, of the stages and of the integer
// hue/lightness/saturation round trip, with no tables of results.
struct LiteralBalance {
  double A[256], F[256], M[256];
  LiteralBalance() {
    for (int i = 0; i < 256; ++i) A[i] = 1.075 - 1 / (i / 16.0 + 1);
    for (int i = 0; i < 256; ++i) F[i] = A[255 - i];
    for (int i = 0; i < 256; ++i) M[i] = 0.667 * (1 - ((i - 127) / 127.0) * ((i - 127) / 127.0));
  }
  static int Clamp(double v) {
    const int t = int(v);  // toward zero
    return t < 0 ? 0 : (t > 255 ? 255 : t);
  }
  int Byte(int x, double v) const {
    x = Clamp((v > 0 ? M : F)[x] * v + x);
    x = Clamp(M[x] * v + x);
    x = Clamp((v > 0 ? A : M)[x] * v + x);
    return x;
  }
  static void ToHls(int r, int g, int b, int& H, int& L, int& S) {
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double l = (mx + mn) / 2.0;
    double h = 0, s = 0;
    if (mx != mn) {
      const double d = mx - mn;
      s = l < 128 ? d * 255 / (mx + mn) : d * 255 / (511 - mx - mn);
      if (r == mx)
        h = (g - b) / d;
      else if (g == mx)
        h = 2 + (b - r) / d;
      else
        h = 4 + (r - g) / d;
      h = h * 42.5;
      if (h < 0) h += 255;
      if (h > 255) h -= 255;
    }
    H = int(h), L = int(l), S = int(s);
  }
  static int Value(float m1, float m2, int t) {
    if (t > 255) t -= 255;
    if (t < 0) t += 255;
    double r;
    if (t < 42.5)
      r = m1 + (double(m2) - m1) * t / 42.5;
    else if (t < 127.5)
      r = m2;
    else if (t < 170)
      r = m1 + (double(m2) - m1) * (170 - t) / 42.5;
    else
      r = m1;
    return int(r * 255);
  }
  static void FromHls(int h, int l, int s, uint8_t out[3]) {
    if (s == 0) {
      out[0] = out[1] = out[2] = uint8_t(l);
      return;
    }
    const float m2 = l < 128 ? float(l * (255.0 + s) / (255.0 * 255.0))
                             : float((l + s - l * double(s) / 255) / 255);
    const float m1 = float(l * 2 / 255.0 - m2);
    out[0] = uint8_t(Value(m1, m2, h + 85));
    out[1] = uint8_t(Value(m1, m2, h));
    out[2] = uint8_t(Value(m1, m2, h - 85));
  }
  void Pixel(const uint8_t* src, const double v[3], bool preserve, uint8_t* out) const {
    uint8_t n[3];
    for (int k = 0; k < 3; ++k) n[k] = uint8_t(Byte(src[k], v[k]));
    if (preserve) {
      int hs, ls, ss, hn, ln, sn;
      ToHls(src[0], src[1], src[2], hs, ls, ss);
      ToHls(n[0], n[1], n[2], hn, ln, sn);
      FromHls(hn, ls, sn, n);
    }
    std::copy(n, n + 3, out);
  }
};

uint8_t RunOnePixel(const BalanceSettings& settings, uint8_t b, uint8_t g, uint8_t r, int k) {
  test::TestPicture pic(1, 1);
  uint8_t* p = pic.SourcePixel(0, 0);
  p[0] = b, p[1] = g, p[2] = r;
  BalanceKernel kernel;
  kernel.Prepare(settings);
  kernel.Run(pic.FullPass(), 0, 1);
  return pic.TargetPixel(0, 0)[k];
}

TEST(Balance, SliderExtremesOnKnownBytes) {
  struct Case {
    double v;
    int in, out;
  } cases[] = {
      {100, 0, 7},      // bell curve is 0 at 0; the rising stage adds trunc(0.075 * 100)
      {100, 128, 255},  // saturates
      {-100, 255, 224}, {-100, 128, 0}, {0, 0, 0}, {0, 200, 200},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BalanceByte(c.in, c.v), c.out) << "v=" << c.v << " x=" << c.in;
    // Each slider drives its own byte only: slider k = v, the others 0.
    for (int k = 0; k < 3; ++k) {
      BalanceSettings s;
      s.value[k] = c.v;
      for (int other = 0; other < 3; ++other) {
        const uint8_t got = RunOnePixel(s, uint8_t(c.in), uint8_t(c.in), uint8_t(c.in), other);
        EXPECT_EQ(got, other == k ? c.out : c.in) << "slider " << k << " byte " << other;
      }
    }
  }
}

TEST(Balance, ZeroSlidersLeaveEveryPixelUnchanged) {
  for (int tonal = 0; tonal < 3; ++tonal) {
    test::TestPicture pic(97, 31);
    test::FillNoise(pic, 7);
    BalanceKernel kernel;
    BalanceSettings s;
    s.tonalRange = tonal;
    kernel.Prepare(s);
    kernel.Run(pic.FullPass(), 0, pic.height);
    EXPECT_EQ(pic.target, pic.source);
  }
}

TEST(Balance, OutOfRangeSliderValuesAreClamped) {
  BalanceKernel big, limit, nan;
  BalanceSettings s;
  s.value[0] = 1e9, s.value[1] = -1e9, s.value[2] = NAN;
  big.Prepare(s);
  s.value[0] = 100, s.value[1] = -100, s.value[2] = 0;
  limit.Prepare(s);
  EXPECT_EQ(big.Tables().byChannel, limit.Tables().byChannel);
}

TEST(Balance, EqualSlidersWithPreservedLightnessKeepGreys) {
  // Equal tables keep a grey pixel grey (saturation 0), so it goes back to
  // its own lightness: the source byte.
  for (double v : {-100.0, -37.0, 55.0, 100.0}) {
    BalanceSettings s;
    s.value[0] = s.value[1] = s.value[2] = v;
    s.preserveLightness = true;
    for (int g : {0, 1, 64, 127, 128, 200, 255}) {
      for (int k = 0; k < 3; ++k) EXPECT_EQ(RunOnePixel(s, g, g, g, k), g) << v << " " << g;
    }
  }
}

TEST(Balance, FastPathMatchesDirectEvaluation) {
  const LiteralBalance literal;
  const std::vector<uint8_t> triples = test::SampleTriples(13);
  test::TestPicture pic = test::PictureOf(triples);
  const double settings[][3] = {
      {0, 0, 0}, {100, -100, 0}, {-100, 100, 50}, {33, -66, 99}, {-1, 1, -99}, {17.5, -42.25, 80},
  };
  BalanceKernel kernel;  // reused: Prepare must reset the cache between settings
  for (bool preserve : {false, true}) {
    for (const auto& v : settings) {
      BalanceSettings s;
      std::copy(v, v + 3, s.value);
      s.preserveLightness = preserve;
      kernel.Prepare(s);
      kernel.Run(pic.FullPass(), 0, pic.height);
      int mismatches = 0;
      for (size_t i = 0; i < triples.size() / 3 && mismatches < 5; ++i) {
        const int x = int(i % pic.width), row = int(i / pic.width);
        uint8_t want[3];
        literal.Pixel(pic.SourcePixel(x, row), v, preserve, want);
        const uint8_t* got = pic.TargetPixel(x, row);
        if (!std::equal(want, want + 3, got)) {
          ++mismatches;
          ADD_FAILURE() << "preserve=" << preserve << " v=" << v[0] << "," << v[1] << "," << v[2]
                        << " source " << int(triples[i * 3]) << "," << int(triples[i * 3 + 1])
                        << "," << int(triples[i * 3 + 2]) << " want " << int(want[0]) << ","
                        << int(want[1]) << "," << int(want[2]) << " got " << int(got[0]) << ","
                        << int(got[1]) << "," << int(got[2]);
        }
      }
    }
  }
}

}  // namespace
}  // namespace quillo
