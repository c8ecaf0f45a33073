// Modulate: greys, the flattening saturation shift, and the precomputed
// fast path against a literal evaluation of the conversion over a large
// sample of colours.
#include "modulate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "colour_test_support.h"

namespace quillo {
namespace {

// The conversion written out step by step in doubles, with nothing hoisted.
struct LiteralModulate {
  double unit[256];
  double hs, ss, ls;
  LiteralModulate(int hue, int sat, int light)
      : hs(hue / 255.0), ss(sat / 255.0), ls(light / 255.0) {
    double v = 0;
    for (int i = 0; i < 256; ++i) {
      unit[i] = v;
      v += 1.0 / 255;
    }
  }
  static uint8_t ToByte(double v) {
    const double x = std::floor(v * 255 + 0.5);
    return uint8_t(x < 0 ? 0 : (x > 255 ? 255 : x));
  }
  void Pixel(const uint8_t* src, uint8_t* out) const {
    const double R = unit[src[2]], G = unit[src[1]], B = unit[src[0]];
    const double max = std::max({R, G, B}), min = std::min({R, G, B});
    double l = (max + min) / 2, s, h;
    if (max == min) {
      s = 0;
      h = -1;
    } else {
      const double d = max - min;
      s = l <= 0.5 ? d / (max + min) : d / (2 - max - min);
      const double dr = (max - R) / d, dg = (max - G) / d, db = (max - B) / d;
      if (R == max)
        h = G != min ? 1 - dg : 5 + db;
      else if (G == max)
        h = B != min ? 3 - db : 1 + dr;
      else
        h = R != min ? 5 - dr : 3 + dg;
      h = h / 6;
    }
    l = std::clamp(l + ls, 0.0, 1.0);
    s = std::clamp(s + ss, 0.0, 1.0);
    if (h != -1) {
      h = h + hs;
      if (h < 0) h += 1;
      if (h > 1) h -= 1;
    }
    double red, green, blue;
    if (s == 0 || h == -1) {
      red = green = blue = l;
    } else {
      const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
      const double m1 = 2 * l - m2;
      const int sector = int(6 * h);
      const double f = 6 * h - sector;
      const double rising = m1 + f * (m2 - m1), falling = m2 - f * (m2 - m1);
      switch (sector) {
        case 1:
          red = falling, green = m2, blue = m1;
          break;
        case 2:
          red = m1, green = m2, blue = rising;
          break;
        case 3:
          red = m1, green = falling, blue = m2;
          break;
        case 4:
          red = rising, green = m1, blue = m2;
          break;
        case 5:
          red = m2, green = m1, blue = falling;
          break;
        default:
          red = m2, green = rising, blue = m1;
          break;
      }
    }
    out[0] = ToByte(blue), out[1] = ToByte(green), out[2] = ToByte(red);
  }
};

TEST(Modulate, UnitTableIsAccumulated) {
  const auto& t = ModulateUnitTable();
  double v = 0;
  for (int i = 0; i < 256; ++i, v += 1.0 / 255) EXPECT_EQ(t[i], v) << i;
  EXPECT_NE(t[255], 1.0);  // the accumulated sum falls just short of 1
}

TEST(Modulate, GreyIgnoresHueAndSaturation) {
  test::TestPicture pic(256, 1);
  for (int v = 0; v < 256; ++v) std::fill_n(pic.SourcePixel(v, 0), 3, uint8_t(v));
  for (int light : {0, -100, 77, 255}) {
    ModulateKernel reference;
    reference.Prepare({0, 0, light});
    test::TestPicture want = pic;
    reference.Run(want.FullPass(), 0, 1);
    for (int hue : {-255, -40, 0, 128, 255}) {
      for (int sat : {-255, 0, 90, 255}) {
        ModulateKernel kernel;
        kernel.Prepare({hue, sat, light});
        kernel.Run(pic.FullPass(), 0, 1);
        EXPECT_EQ(pic.target, want.target) << hue << " " << sat << " " << light;
      }
    }
    for (int v = 0; v < 256; ++v) {
      const uint8_t* p = want.TargetPixel(v, 0);
      EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << v;
      if (light == 0) {
        EXPECT_EQ(p[0], v);
      }
    }
  }
}

TEST(Modulate, FullDesaturationGivesGreyAndFullLightnessWhite) {
  test::TestPicture pic(131, 17);
  test::FillNoise(pic, 5);
  ModulateKernel kernel;
  kernel.Prepare({60, -255, 0});
  kernel.Run(pic.FullPass(), 0, pic.height);
  for (int row = 0; row < pic.height; ++row)
    for (int x = 0; x < pic.width; ++x) {
      const uint8_t* p = pic.TargetPixel(x, row);
      ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << row;
    }
  kernel.Prepare({-200, 200, 255});
  kernel.Run(pic.FullPass(), 0, pic.height);
  for (int row = 0; row < pic.height; ++row)
    for (int x = 0; x < pic.width; ++x)
      for (int k = 0; k < 3; ++k) ASSERT_EQ(pic.TargetPixel(x, row)[k], 255);
}

TEST(Modulate, FastPathMatchesLiteralConversion) {
  const std::vector<uint8_t> triples = test::SampleTriples(11);
  test::TestPicture pic = test::PictureOf(triples);
  // Extremes, zero, a full hue turn, sizes that wrap the hue both ways, and odd values.
  const int settings[][3] = {
      {0, 0, 0},       {255, 0, 0}, {-255, 0, 0},  {85, 0, 0},        {-128, 40, -30},
      {200, 255, 255}, {1, -1, 1},  {-7, 130, 90}, {170, -200, -255}, {33, 255, -60},
  };
  ModulateKernel kernel;
  for (const auto& v : settings) {
    const LiteralModulate literal(v[0], v[1], v[2]);
    kernel.Prepare({v[0], v[1], v[2]});
    kernel.Run(pic.FullPass(), 0, pic.height);
    int mismatches = 0;
    for (size_t i = 0; i < triples.size() / 3 && mismatches < 5; ++i) {
      const int x = int(i % pic.width), row = int(i / pic.width);
      uint8_t want[3];
      literal.Pixel(pic.SourcePixel(x, row), want);
      const uint8_t* got = pic.TargetPixel(x, row);
      if (!std::equal(want, want + 3, got)) {
        ++mismatches;
        ADD_FAILURE() << "settings " << v[0] << "," << v[1] << "," << v[2] << " source "
                      << int(triples[i * 3]) << "," << int(triples[i * 3 + 1]) << ","
                      << int(triples[i * 3 + 2]) << " want " << int(want[0]) << "," << int(want[1])
                      << "," << int(want[2]) << " got " << int(got[0]) << "," << int(got[1]) << ","
                      << int(got[2]);
      }
    }
  }
}

}  // namespace
}  // namespace quillo
