// Colour pack: the list and its fixed rows, every preset with a fixed
// formula against a literal reading of it, and the properties that catch
// copies, stubs, overflow and a wrong table path.
#include "colour_pack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "colour_test_support.h"

namespace quillo {
namespace {

// clang-format off
constexpr const char* kNames[kColourPresetCount] = {
    "Gradient", "Red Channel", "Darken - 2", "Darken", "Degray", "Saturation", "Comic", "Purify",
    "Tone", "Gamma", "Neon", "Remove", "Shift", "RGB Shift", "Max RGB", "RGB Difference", "Min RGB",
    "Color Wave", "Green Channel", "Blue Channel", "Color Raise", "Add Color", "Green Blast",
    "Cartoon", "Difference", "Fade", "Fade - 2", "Color Gray", "Two Level Contrast",
    "Gray Width contrast", "Chrome - 2", "Cyclic", "Chrome", "Limit", "Monotonic", "Blue Blast",
    "Brightness", "Posterize", "Blue To Green", "Max", "Dual", "Dissolve", "Cut", "Worm",
    "Custom Gray", "Reverse", "Color Metal", "Metal", "Glitter", "Contour", "Contrast",
    "Contrast - 2", "Swap", "Blue To Red", "Green To Blue", "Green To Red", "Edge", "Depth",
    "Red To Blue", "Old Photos", "Red To Green", "Scale", "Magenta Blast - 2", "Digitize",
    "Multiply", "Digitize - 2", "Decolorize", "Decolorize - 2", "Fluorescent", "Colorize - 2",
    "Fire", "Mono", "Magenta Blast", "Magenta Cast", "Yellow Blast - 2", "Solarize", "Solarize - 2",
    "Yellow Blast", "Yellow Cast", "Blue Cast", "Green Cast", "Blue Blast - 2", "Cyan Blast",
    "Cyan Cast", "Mono Blast - 2", "Bleed", "Mono Blast", "Cyan Blast - 2", "Red Cast", "Red Blast",
    "Red Blast - 2", "Swap Red-Blue Channel", "Swap RGB To GBR ", "Swap RGB To BRG ",
    "Swap Green-Blue Channel", "Gray", "Desaurate", "Swap Red-Green Channel",
    "Color Mixed(3 Color)", "Color Mixed(3 Color) - 3", "Color Mixed(3 Color) - 4",
    "Color Mixed(3 Color) - 2", "RGB Adjust", "Lighten", "Lighten(Smooth)", "RGBV Adjust",
    "V-RGB-V Adjust", "Color Mixed(1 Color) - 2", "Color Mixed(1 Color)", "YUV Intensity",
    "Equalizer", "Green Blast - 2"};
// clang-format on

const ColourPreset& Preset(const char* name) {
  const ColourPreset* p = FindColourPreset(name);
  if (p == nullptr) ADD_FAILURE() << "no preset " << name;
  static const ColourPreset none;
  return p ? *p : none;
}

// Every combination of a few revealing byte values: the ends, the middle and
// values that sit just beside a formula's thresholds.
std::vector<uint8_t> GridTriples() {
  const int v[] = {0, 1, 2, 3, 64, 100, 127, 128, 129, 200, 254, 255};
  std::vector<uint8_t> out;
  for (int b0 : v)
    for (int b1 : v)
      for (int b2 : v) out.insert(out.end(), {uint8_t(b0), uint8_t(b1), uint8_t(b2)});
  return out;
}

// Slider sets: the preset's defaults, both ends and a fixed walk of values.
std::vector<std::array<int, 6>> SliderSets(const ColourPreset& preset) {
  std::vector<std::array<int, 6>> sets;
  std::array<int, 6> d;
  for (int i = 0; i < 6; ++i) d[size_t(i)] = preset.defaults[size_t(i)];
  sets.push_back(d);
  sets.push_back({0, 0, 0, 0, 0, 0});
  sets.push_back({255, 255, 255, 255, 255, 255});
  uint32_t seed = 12345;
  for (int n = 0; n < 24; ++n) {
    std::array<int, 6> s;
    for (int& v : s) v = int((seed = seed * 1103515245u + 12345u) >> 23) & 255;
    sets.push_back(s);
  }
  return sets;
}

PresetSliders ToSliders(const std::array<int, 6>& s) {
  return {s[0], s[1], s[2], s[3], s[4], s[5]};
}

// Runs a prepared kernel over a picture of the triples; returns the target bytes.
std::vector<uint8_t> RunOver(const ColourPreset& preset, const PresetSliders& sliders,
                             const std::vector<uint8_t>& triples) {
  test::TestPicture pic = test::PictureOf(triples, 97);
  ColourPackKernel kernel;
  kernel.Prepare(preset, sliders);
  kernel.Run(pic.FullPass(), 0, pic.height);
  std::vector<uint8_t> out;
  for (size_t i = 0; i < triples.size() / 3; ++i) {
    const uint8_t* t = pic.TargetPixel(int(i % 97), int(i / 97));
    out.insert(out.end(), t, t + 3);
  }
  return out;
}

TEST(ColourPack, ListsTheNamesInOrderAndFindsThemExactly) {
  const auto presets = ColourPresets();
  ASSERT_EQ(presets.size(), size_t(kColourPresetCount));
  for (int i = 0; i < kColourPresetCount; ++i) {
    EXPECT_STREQ(presets[size_t(i)].name, kNames[i]) << "row " << i;
    EXPECT_EQ(FindColourPreset(kNames[i]), &presets[size_t(i)]);
    ASSERT_NE(presets[size_t(i)].pixelOp, nullptr) << kNames[i];
    for (int k = presets[size_t(i)].paramCount; k < 6; ++k)
      EXPECT_STREQ(presets[size_t(i)].labels[size_t(k)], "") << kNames[i] << " caption " << k + 1;
  }
  // The trailing blank is part of the name.
  EXPECT_EQ(FindColourPreset("Swap RGB To GBR"), nullptr);
  EXPECT_EQ(FindColourPreset("gray"), nullptr);
  EXPECT_EQ(FindColourPreset(""), nullptr);
}

TEST(ColourPack, FixedRowsKeepTheirCountsDefaultsAndCaptions) {
  struct Row {
    const char* name;
    int count;
    std::array<int32_t, 6> defaults;
    std::array<const char*, 6> labels;
  } rows[] = {
      {"Gradient",
       6,
       {80, 120, 85, 175, 125, 50},
       {"Red 1", "Green 1", "Blue 1", "Red 2", "Green 2", "Blue 2"}},
      {"Saturation", 4, {128, 80, 80, 80}, {"Saturation", "Red", "Green", "Blue", "", ""}},
      {"Comic", 2, {100, 200}, {"Bias", "Gain", "", "", "", ""}},
      {"Tone", 3, {15, 45, 225}, {"Red", "Green", "Blue", "", "", ""}},
      {"Gamma", 4, {180, 180, 60, 255}, {"Red", "Green", "Blue", "Control", "", ""}},
      {"Custom Gray",
       3,
       {77, 150, 29},
       {"Red Weighting", "Green Weighting", "Blue Weighting", "", "", ""}},
      {"Two Level Contrast", 2, {64, 32}, {"Low", "High", "", "", "", ""}},
      {"Limit", 3, {50, 140, 40}, {"Low Range", "Hight Range", "Values Offset", "", "", ""}},
      {"Bleed",
       6,
       {120, 140, 70, 100, 50, 15},
       {"Red Bias", "Red Gain", "Green Bias", "Green Gain", "Blue Bias", "Blue Gain"}},
      {"Mono Blast",
       6,
       {120, 140, 70, 100, 50, 15},
       {"Red Cast", "Red Background", "Green Cast", "Green Background", "Blue Cast",
        "Blue Background"}},
      {"YUV Intensity", 5, {180, 50, 20, 140, 80}, {"Red", "Green", "Blue", "Y", "Strength", ""}},
      {"Equalizer", 3, {40, 200, 225}, {"Start", "End", "Limit", "", "", ""}},
      {"Darken", 1, {128}, {"", "", "", "", "", ""}},
  };
  for (const Row& r : rows) {
    const ColourPreset& p = Preset(r.name);
    EXPECT_EQ(p.paramCount, r.count) << r.name;
    EXPECT_EQ(p.defaults, r.defaults) << r.name;
    for (int k = 0; k < 6; ++k)
      EXPECT_STREQ(p.labels[size_t(k)], r.labels[size_t(k)]) << r.name << " " << k;
  }
  for (const char* name : {"Red Channel", "Max RGB", "Min RGB", "Swap Red-Blue Channel", "Gray"})
    EXPECT_EQ(Preset(name).paramCount, 0) << name;
}

// The fixed formulas, read literally. P[1]..P[6] are the sliders.
using Formula = std::function<std::array<int, 3>(int b0, int b1, int b2, const int* P)>;

int Clamp(long long v) { return int(std::clamp(v, 0LL, 255LL)); }
int Cap(int v) { return std::min(v, 255); }
int Floor0(int v) { return std::max(v, 0); }
int Y(int b0, int b1, int b2) { return (77 * b0 + 150 * b1 + 29 * b2) >> 8; }
std::array<int, 3> G(int v) { return {v, v, v}; }

std::map<std::string, Formula> FixedFormulas() {
  std::map<std::string, Formula> f;
  using A = std::array<int, 3>;
#define F(name) f[name] = [](int b0, int b1, int b2, const int* P) -> A
  F("Red Channel") { return {0, 0, b2}; };
  F("Green Channel") { return {0, b1, 0}; };
  F("Blue Channel") { return {b0, 0, 0}; };
  F("Max RGB") { return G(std::max({b0, b1, b2})); };
  F("Min RGB") { return G(std::min({b0, b1, b2})); };
  F("Gray") { return G(Y(b0, b1, b2)); };
  F("Desaurate") { return G((b0 + b1 + b2) / 3); };
  F("Darken") { return Y(b0, b1, b2) > P[1] ? A{b0, b1, b2} : A{0, 0, 0}; };
  F("Darken - 2") { return G(Y(b0, b1, b2) >= P[1] ? Y(b0, b1, b2) : 0); };
  F("Degray") { return {Clamp(2 * b0 - P[1]), Clamp(2 * b1 - P[1]), Clamp(2 * b2 - P[1])}; };
  F("Purify") { return {Clamp(2 * b0 - P[3]), Clamp(2 * b1 - P[2]), Clamp(2 * b2 - P[1])}; };
  F("Comic") {
    auto c = [&](int v) { return v > P[1] ? Clamp(v + P[2]) : Clamp(v - P[2]); };
    return {c(b0), c(b1), c(b2)};
  };
  F("Saturation") {
    auto s = [&](int v, int add) {
      return Cap(int(std::floor(std::sqrt(double(v * P[1])))) + add);
    };
    return {s(b0, P[4]), s(b1, P[3]), s(b2, P[2])};
  };
  F("Tone") {
    auto t = [](int v, int t) {
      const int a = (128 - t) * (128 - v);
      return a < -16256 ? 255 : a < 16512 ? 128 - int(std::floor(a / 128.0)) : 0;
    };
    return {t(b0, P[3]), t(b1, P[2]), t(b2, P[1])};
  };
  F("Neon") {
    return {Clamp(P[3] * (P[3] - b2 - b1 + 255) / 255 + (255 - P[3]) * b0 / 255),
            Clamp(P[2] * (P[2] - b0 - b2 + 255) / 255 + (255 - P[2]) * b1 / 255),
            Clamp(P[1] * (P[1] - b0 - b1 + 255) / 255 + (255 - P[1]) * b2 / 255)};
  };
  F("RGB Shift") {
    return {Cap((b0 * P[3] * 2) >> 8), Cap((b1 * P[2] * 2) >> 8), Cap((b2 * P[1] * 2) >> 8)};
  };
  F("RGB Difference") {
    return {Clamp(2 * b0 - b1 - b2), Clamp(2 * b1 - b0 - b2), Clamp(2 * b2 - b0 - b1)};
  };
  F("RGB Adjust") {
    return {Clamp(b0 + P[3] - 128), Clamp(b1 + P[2] - 128), Clamp(b2 + P[1] - 128)};
  };
  F("Difference") { return {std::abs(b0 - P[3]), std::abs(b1 - P[2]), std::abs(b2 - P[1])}; };
  F("Color Gray") {
    const int y = Y(b0, b1, b2);
    auto g = [&](int q) { return q * y >= 32768 ? 255 : Cap((q * y) >> 7); };
    return {g(P[3]), g(P[2]), g(P[1])};
  };
  F("Chrome - 2") {
    const int a = (b2 * b1 * b0) >> 9;
    return {Cap(a / (256 - P[3])), Cap(a / (256 - P[2])), Cap(a / (256 - P[1]))};
  };
  F("Cut") { return G(Clamp((P[2] - Y(b0, b1, b2)) * (P[1] - Y(b0, b1, b2)))); };
  F("Worm") { return {P[3], Clamp(b1 + P[2] - 127), Clamp(b2 + P[1] - 127)}; };
  F("Metal") {
    const int y = Y(b0, b1, b2);
    return G(((P[1] + (P[2] & y) + y) & y) & 255);
  };
  F("Edge") {
    const long long y = Y(b0, b1, b2);
    return G(Clamp((y - P[1]) * (y - 128) * (y - 128) * (y - 128)));
  };
  F("Depth") {
    const int m = Y(b0, b1, b2) == 0 ? 1 : Y(b0, b1, b2);
    return {Cap(b0 + P[1] % m), Cap(b1 + P[1] % m), Cap(b2 + P[1] % m)};
  };
  F("Digitize - 2") { return G(Clamp(P[1] * (Y(b0, b1, b2) - P[1]))); };
  F("Fire") { return {0, Clamp(b1 + P[1] - 128), 255}; };
  F("Blue To Green") { return {Clamp(b1 - P[1] + 128), b1, b2}; };
  F("Blue To Red") { return {Clamp(b2 - P[1] + 128), b1, b2}; };
  F("Green To Blue") { return {b0, Clamp(b0 - P[1] + 128), b2}; };
  F("Green To Red") { return {b0, Clamp(b2 - P[1] + 128), b2}; };
  F("Red To Blue") { return {b0, b1, Clamp(b0 - P[1] + 128)}; };
  F("Red To Green") { return {b0, b1, Clamp(b1 - P[1] + 128)}; };
  F("Blue Cast") { return {Cap(b0 + P[1]), b1, b2}; };
  F("Red Cast") { return {b0, b1, Cap(b2 + P[1])}; };
  F("Green Cast") { return {b0, Cap(b1 + P[1] / 2), b2}; };
  F("Yellow Cast") { return {b0, Cap(b1 + P[1] / 2), Cap(b2 + P[1] / 2)}; };
  F("Cyan Cast") { return {Cap(b0 + P[1] / 3), Cap(b1 + P[1] / 3), b2}; };
  F("Blue Blast") { return {b2, Floor0(b2 - P[1]), Floor0(b2 - P[1])}; };
  F("Blue Blast - 2") {
    const int y = Y(b0, b1, b2);
    return {Cap(b0 + P[1]), y, y};
  };
  F("Green Blast") { return {Floor0(b1 - P[1]), b1, Floor0(b1 - P[1])}; };
  F("Green Blast - 2") {
    const int y = Y(b0, b1, b2);
    return {y, Cap(b1 + P[1] / 2), y};
  };
  F("Red Blast") { return {b2, b2, Cap(b2 + P[1])}; };
  F("Magenta Blast") {
    const int y = Y(b0, b1, b2);
    return {y, Floor0(b1 - P[1]), y};
  };
  F("Magenta Blast - 2") { return {Cap(b2 + P[1] / 2), b1, Cap(b2 + P[1] / 2)}; };
  F("Yellow Blast") {
    const int y = Y(b0, b1, b2);
    return {Floor0(y - P[1]), y, y};
  };
  F("Yellow Blast - 2") { return {b0, Cap(b0 + P[1] / 2), Cap(b0 + P[1] / 2)}; };
  F("Cyan Blast") {
    const int y = Y(b0, b1, b2);
    return {y, y, Floor0(b0 - P[1])};
  };
  F("Cyan Blast - 2") { return {Cap(b2 + P[1] / 3), Cap(b2 + P[1] / 3), b0}; };
  F("Color Mixed(1 Color)") {
    return {Clamp(b1 + P[3] / 2), Clamp(b2 + P[2] / 2), Clamp(b0 + P[1] / 2)};
  };
  F("Swap Red-Blue Channel") { return {b2, b1, b0}; };
  F("Swap Red-Green Channel") { return {b0, b2, b1}; };
  F("Swap Green-Blue Channel") { return {b1, b0, b2}; };
  F("Swap RGB To GBR ") { return {b2, b0, b1}; };
  F("Swap RGB To BRG ") { return {b1, b2, b0}; };
#undef F
  return f;
}

TEST(ColourPack, FixedFormulasAreBitExact) {
  const auto formulas = FixedFormulas();
  ASSERT_EQ(formulas.size(), 56u);
  const std::vector<uint8_t> grid = GridTriples();
  for (const auto& [name, formula] : formulas) {
    const ColourPreset& preset = Preset(name.c_str());
    for (const auto& s : SliderSets(preset)) {
      const int P[7] = {0, s[0], s[1], s[2], s[3], s[4], s[5]};
      const std::vector<uint8_t> got = RunOver(preset, ToSliders(s), grid);
      for (size_t i = 0; i < grid.size(); i += 3) {
        const auto want = formula(grid[i], grid[i + 1], grid[i + 2], P);
        for (int k = 0; k < 3; ++k)
          ASSERT_EQ(got[i + size_t(k)], want[size_t(k)])
              << name << " byte " << k << " of (" << int(grid[i]) << "," << int(grid[i + 1]) << ","
              << int(grid[i + 2]) << ") sliders " << P[1] << "," << P[2] << "," << P[3] << ","
              << P[4];
      }
    }
  }
}

TEST(ColourPack, NamedEdgeCases) {
  test::TestPicture pic(31, 9);
  test::FillNoise(pic, 5);
  // Max RGB: every pixel grey at its brightest component.
  ColourPackKernel kernel;
  kernel.Prepare(Preset("Max RGB"), {});
  kernel.Run(pic.FullPass(), 0, pic.height);
  for (int row = 0; row < pic.height; ++row)
    for (int x = 0; x < pic.width; ++x) {
      const uint8_t* s = pic.SourcePixel(x, row);
      const uint8_t* t = pic.TargetPixel(x, row);
      const uint8_t m = std::max({s[0], s[1], s[2]});
      ASSERT_TRUE(t[0] == m && t[1] == m && t[2] == m) << x << "," << row;
    }
  // Darken with P1 = 255 blacks out the whole area, white pixels included.
  std::fill_n(pic.SourcePixel(0, 0), 3 * pic.width, 255);
  kernel.Prepare(Preset("Darken"), {255});
  kernel.Run(pic.FullPass(), 0, pic.height);
  for (int row = 0; row < pic.height; ++row)
    for (int x = 0; x < pic.width * 3; ++x) ASSERT_EQ(pic.TargetPixel(0, row)[x], 0);
  // A preset without sliders gives its result whatever the sliders hold.
  const std::vector<uint8_t> grid = GridTriples();
  for (const ColourPreset& p : ColourPresets()) {
    if (p.paramCount != 0) continue;
    const auto atRest = RunOver(p, {}, grid);
    EXPECT_EQ(RunOver(p, {255, 17, 200, 3, 255, 90}, grid), atRest) << p.name;
    EXPECT_NE(atRest, grid) << p.name;
  }
}

// The samples the property tests share: the grid and a walk over all colours.
std::vector<uint8_t> PropertySamples() {
  std::vector<uint8_t> s = GridTriples();
  for (uint32_t c = 0; c < (1u << 24); c += 40009)
    s.insert(s.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
  return s;
}

TEST(ColourPack, EveryPresetIsItsOwnAndReactsToItsFirstSlider) {
  const std::vector<uint8_t> samples = PropertySamples();
  std::map<std::vector<uint8_t>, std::string> seen;
  for (const ColourPreset& p : ColourPresets()) {
    const PresetSliders defaults(p.defaults);
    const auto out = RunOver(p, defaults, samples);
    EXPECT_NE(out, samples) << p.name << " changes nothing at its defaults";
    const auto [it, fresh] = seen.emplace(out, p.name);
    EXPECT_TRUE(fresh) << p.name << " gives the same pixels as " << it->second;
    if (p.paramCount == 0) continue;
    bool reacts = false;
    for (int v : {0, 64, 128, 192, 255}) {
      PresetSliders moved = defaults;
      moved.Set(1, v);
      reacts = reacts || RunOver(p, moved, samples) != out;
    }
    EXPECT_TRUE(reacts) << p.name << " ignores its first slider";
  }
}

TEST(ColourPack, TablePathMatchesPerPixelAtEverySliderEnd) {
  // Slider values are held to 0..255: 300 acts as 255, -4 as 0, so no
  // divisor of 256 - P can reach zero.
  const PresetSliders wild{300, -4, 1000, 255, 0, 999};
  EXPECT_EQ(wild.P1(), 255);
  EXPECT_EQ(wild.P2(), 0);
  EXPECT_EQ(wild.P6(), 255);
  EXPECT_EQ(wild.P(7), 0);

  test::TestPicture pic(23, 7);
  test::FillNoise(pic, 77);
  PixelPass pass = pic.FullPass();
  pass.colBegin = 3, pass.colEnd = 21, pass.rowBegin = 1, pass.rowEnd = 6;
  int tabled = 0;
  for (const ColourPreset& p : ColourPresets()) {
    // Every corner of the slider cube on every grid pixel: under the
    // sanitizers this catches any overflow or division by zero.
    for (int corner = 0; corner < 64; ++corner) {
      PresetSliders s;
      for (int k = 0; k < 6; ++k) s.Set(k + 1, (corner >> k) & 1 ? 255 : 0);
      test::TestPicture grid = test::PictureOf(GridTriples(), 64);
      ApplyColourPresetPerPixel(p, s, grid.FullPass(), 0, grid.height);
    }
    const PresetSliders sets[] = {PresetSliders(p.defaults),
                                  wild,
                                  {},
                                  {255, 255, 255, 255, 255, 255},
                                  {0, 255, 0, 255, 0, 255},
                                  {255, 0, 255, 0, 255, 0}};
    for (const PresetSliders& s : sets) {
      std::vector<uint8_t> want(pic.target.size(), 0xA5);
      pic.target = want;
      PixelPass plain = pass;
      plain.target = want.data();
      ApplyColourPresetPerPixel(p, s, plain, 0, pic.height);
      for (int x = pass.colBegin; x < pass.colEnd; ++x) {  // the row loop is the pixel function
        const uint8_t* in = pic.SourcePixel(x, 2);
        const Bgr one = p.pixelOp(Bgr{in[0], in[1], in[2]}, s);
        const uint8_t* row = want.data() + size_t(2) * pic.stride + size_t(x) * 3;
        ASSERT_EQ(one, (Bgr{row[0], row[1], row[2]})) << p.name;
      }
      ColourPackKernel kernel;
      kernel.Prepare(p, s);
      tabled += kernel.UsesTables();
      kernel.Run(pass, 0, pic.height);
      ASSERT_EQ(pic.target, want) << p.name;  // and nothing outside the pass was touched
      // In place, in two row chunks: the pass holds the result, the rest the source.
      std::vector<uint8_t> inPlace = pic.source;
      PixelPass same = pass;
      same.source = same.target = inPlace.data();
      kernel.Run(same, 0, 3);
      kernel.Run(same, 3, pic.height);
      std::vector<uint8_t> expected = pic.source;
      for (int row = pass.rowBegin; row < pass.rowEnd; ++row)
        for (int x = pass.colBegin * 3; x < pass.colEnd * 3; ++x)
          expected[size_t(row) * pic.stride + x] = want[size_t(row) * pic.stride + x];
      ASSERT_EQ(inPlace, expected) << p.name << " in place";
    }
  }
  EXPECT_GT(tabled, 0);
}

}  // namespace
}  // namespace quillo
