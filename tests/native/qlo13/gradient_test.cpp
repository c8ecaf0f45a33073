// The colour-cycling gradients: reading the gradient text (well-formed,
// damaged and oversized lists), the palettes made from the stops, the hue
// turn and the frames laid over the picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugins/qlo13/kernels/gradient_frame.h"
#include "plugins/qlo13/kernels/gradient_text.h"

namespace quillo::qlo13 {
namespace {

std::vector<Gradient> Read(const std::string& text) { return ReadGradients(text.data(), text.size()); }

TEST(GradientText, ReadsNamesAndStopsSkippingCommentsAndSortingStops) {
  const auto g = Read(
      "// two gradients\n"
      "\"Sunset\": 0 #1a0533, 255 #FFF6D5, 90 #8e2a5b; // evening\n"
      "\"Edge\":0 #000000,128 #ffffff,128 #ff0000;");
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0].name, "Sunset");
  ASSERT_EQ(g[0].stops.size(), 3u);
  EXPECT_EQ(g[0].stops[1], (GradientStop{90, 0x8e, 0x2a, 0x5b}));
  EXPECT_EQ(g[0].stops[2], (GradientStop{255, 0xff, 0xf6, 0xd5}));
  // Equal positions keep their written order: white, then red.
  EXPECT_EQ(g[1].stops[1].blue, 0xff);
  EXPECT_EQ(g[1].stops[2].red, 0xff);
  EXPECT_EQ(g[1].stops[2].blue, 0);
}

TEST(GradientText, DamagedGradientsAreSkippedAndTheRestIsRead) {
  const auto g = Read(
      "\"Short colour\": 0 #12345, 255 #ffffff;\n"
      "\"Missing colon\" 0 #000000;\n"
      "\"No stops\":;\n"
      "junk 12 , ;\n"
      "\"Unterminated: 0 #000000;\n"
      "\"Far\": -40 #010203, 999999999999999999999 #040506;\n"
      "\"Trailing\": 0 #000000,");
  ASSERT_EQ(g.size(), 1u);
  EXPECT_EQ(g[0].name, "Far");
  EXPECT_EQ(g[0].stops[0].position, 0);
  EXPECT_EQ(g[0].stops[1].position, 255);
  EXPECT_TRUE(Read("").empty());
  EXPECT_TRUE(ReadGradients(nullptr, 10).empty());
  // Reading stops at a NUL, as the resource's text ends there.
  const std::string withNul("\"A\": 0 #000000;\0\"B\": 0 #000000;", 31);
  EXPECT_EQ(ReadGradients(withNul.data(), withNul.size()).size(), 1u);
}

TEST(GradientText, LongListsNamesAndStopListsAreCut) {
  std::string text;
  for (int k = 0; k < 300; ++k) text += "\"G" + std::to_string(k) + "\": 0 #000000;";
  EXPECT_EQ(Read(text).size(), kMaxGradients);
  std::string stops = "\"" + std::string(200, 'n') + "\": ";
  for (int k = 0; k < 100; ++k) stops += std::to_string(k) + " #102030,";
  stops += "255 #ffffff;";
  const auto g = Read(stops);
  ASSERT_EQ(g.size(), 1u);
  EXPECT_EQ(g[0].name.size(), kMaxNameLength);
  EXPECT_EQ(g[0].stops.size(), kMaxStops);
  EXPECT_FALSE(BuiltInGradients().empty());
}

TEST(GradientPaletteTest, StopsBlendLinearlyAndHoldBeyondTheEnds) {
  Gradient g{"", {{64, 0, 0, 0}, {192, 200, 100, 0}}};
  const GradientPalette p = PaletteOf(g);
  EXPECT_EQ(p[0], (PaletteColour{0, 0, 0}));
  EXPECT_EQ(p[64], (PaletteColour{0, 0, 0}));
  EXPECT_EQ(p[128], (PaletteColour{0, 50, 100}));  // halfway: (0 + 200) / 2 red, 100 / 2 green
  EXPECT_EQ(p[192], (PaletteColour{0, 100, 200}));
  EXPECT_EQ(p[255], (PaletteColour{0, 100, 200}));
  const GradientPalette flat = PaletteOf(Gradient{"", {{10, 1, 2, 3}}});
  EXPECT_EQ(flat[0], (PaletteColour{3, 2, 1}));
  EXPECT_EQ(flat[255], (PaletteColour{3, 2, 1}));
  EXPECT_EQ(PaletteOf(Gradient{})[77], (PaletteColour{}));
  // A hard edge: below 128 the first colour's blend, from 128 the last.
  const GradientPalette edge = PaletteOf(Gradient{"", {{0, 0, 0, 0}, {128, 255, 255, 255}, {128, 255, 0, 0}, {255, 255, 0, 0}}});
  EXPECT_EQ(edge[127].red, 253);
  EXPECT_EQ(edge[128], (PaletteColour{0, 0, 255}));
}

TEST(GradientPaletteTest, HueTurnsPrimariesRoundAndLeavesGreys) {
  GradientPalette p{};
  p[0] = {0, 0, 255};      // red
  p[1] = {128, 128, 128};  // grey
  p[2] = {40, 200, 90};    // a green
  const GradientPalette third = TurnHue(p, 120);
  EXPECT_EQ(third[0], (PaletteColour{0, 255, 0}));  // red -> green
  EXPECT_EQ(third[1], p[1]);
  EXPECT_EQ(TurnHue(p, 360)[2], p[2]);
  EXPECT_EQ(TurnHue(p, -240)[0], third[0]);
  // Turning keeps lightness extremes: the largest and smallest byte stay.
  const PaletteColour t = TurnHue(p, 77)[2];
  EXPECT_EQ(std::max({t.blue, t.green, t.red}), 200);
  EXPECT_EQ(std::min({t.blue, t.green, t.red}), 40);
}

TEST(GradientFrameTest, StrengthZeroKeepsThePictureAndFullStrengthShowsThePalette) {
  const int w = 5, h = 3;
  const int64_t stride = 16;
  std::vector<uint8_t> backup(stride * h, 0), out(stride * h, 7), level(w * h);
  for (int i = 0; i < h; ++i)
    for (int j = 0; j < w * 3; ++j) backup[i * stride + j] = uint8_t(17 * i + 11 * j);
  BuildBrightness(backup.data(), w, h, stride, level.data());
  EXPECT_EQ(level[0], (150 * 11 + 77 * 22 + 128) >> 8);
  const GradientPalette palette = PaletteOf(BuiltInGradients()[0]);
  GradientRun run;
  run.strength = 0;
  GradientFrame(run, palette, level.data(), backup.data(), out.data(), w, h, stride);
  for (int i = 0; i < h; ++i)
    for (int j = 0; j < w * 3; ++j) EXPECT_EQ(out[i * stride + j], backup[i * stride + j]);
  EXPECT_EQ(out[15], 7) << "row padding is left alone";
  EXPECT_EQ(run.hue, kGradientDefaultSpeed);

  run = GradientRun{};
  run.strength = 100;
  run.flowing = true;
  run.speed = 99;  // taken as 30
  GradientFrame(run, palette, level.data(), backup.data(), out.data(), w, h, stride);
  const PaletteColour first = palette[level[7]];
  EXPECT_EQ(out[stride + 6], first.blue);
  EXPECT_EQ(out[stride + 8], first.red);
  EXPECT_EQ(run.hue, 30);
  EXPECT_EQ(run.flow, 1);
  // The next frame: the palette turned 30 degrees and slid one entry.
  GradientFrame(run, palette, level.data(), backup.data(), out.data(), w, h, stride);
  const PaletteColour second = TurnHue(palette, 30)[(level[7] + 1) & 255];
  EXPECT_EQ(out[stride + 6], second.blue);
  EXPECT_EQ(out[stride + 7], second.green);
  // Hue wraps at a full turn.
  run.hue = 350;
  GradientFrame(run, palette, level.data(), backup.data(), out.data(), w, h, stride);
  EXPECT_EQ(run.hue, 20);
}

TEST(GradientFrameTest, HalfStrengthLiesBetweenPictureAndPalette) {
  std::vector<uint8_t> backup = {200, 10, 90}, out(3), level(1);
  BuildBrightness(backup.data(), 1, 1, 3, level.data());
  Gradient g{"", {{0, 0, 0, 0}}};  // black everywhere
  GradientRun run;
  run.strength = 50;
  GradientFrame(run, PaletteOf(g), level.data(), backup.data(), out.data(), 1, 1, 3);
  EXPECT_EQ(out, (std::vector<uint8_t>{100, 5, 45}));
}

}  // namespace
}  // namespace quillo::qlo13
