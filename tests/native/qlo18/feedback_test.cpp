// Feedback: the palette's colour round trip, the preset walk's bounds, the
// lines and the curve kept inside the grey picture (line modes, offsets
// beyond the picture, modes without lines), a frame against a plain
// working of the warp and the blend, refused sizes, guard bytes, and
// reproducible frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "../qlo14/noise_picture.h"
#include "plugins/qlo18/kernels/feedback.h"

namespace {

using namespace quillo;
using namespace quillo::qlo18;

TEST(Qlo18Feedback, PaletteRoundTripsItsGreenGoldAtFullLightness) {
  FeedbackPalette palette;
  BuildFeedbackPalette(palette, 1.0, 1000);  // no turn of the hue
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(palette[size_t(i) * 3 + 0], i / 2) << i;
    ASSERT_EQ(palette[size_t(i) * 3 + 1], i) << i;
    ASSERT_EQ(palette[size_t(i) * 3 + 2], i / 4) << i;
  }
  // Five times the lightness: everything bright enough turns white.
  BuildFeedbackPalette(palette, 5.0, 1000);
  EXPECT_EQ(palette[255 * 3], 255);
  EXPECT_EQ(palette[255 * 3 + 2], 255);
  EXPECT_EQ(palette[0], 0) << "black stays black";
  // Half a turn of the hue (r % 2001 = 1500) gives green-gold's opposite:
  // the strongest channel becomes the weakest.
  BuildFeedbackPalette(palette, 1.0, 1500);
  EXPECT_LT(palette[200 * 3 + 1], palette[200 * 3 + 2]);
  EXPECT_EQ(std::max({palette[200 * 3], palette[200 * 3 + 1], palette[200 * 3 + 2]}), 200);
}

TEST(Qlo18Feedback, WalkKeepsBrightnessInRangeAndBringsTheLineModeIn) {
  RuntimeRandom random(4);
  FeedbackPreset p = kFeedbackPresets[0];
  ASSERT_EQ(p.lineMode, 14);
  bool modeCameIn = false, sawEveryField[7] = {};
  for (int i = 0; i < 5000; ++i) {
    WalkFeedbackPreset(p, random);
    ASSERT_GE(p.curveBrightness, 0);
    ASSERT_LE(p.curveBrightness, 255);
    ASSERT_GE(p.lineBrightness, 0);
    ASSERT_LE(p.lineBrightness, 255);
    ASSERT_GE(p.warp, 0);
    ASSERT_LT(p.warp, 7);
    sawEveryField[p.warp] = true;
    if (p.lineMode != 14) {
      ASSERT_GE(p.lineMode, 0);
      ASSERT_LT(p.lineMode, 5);
      modeCameIn = true;
    }
  }
  EXPECT_TRUE(modeCameIn);
  EXPECT_TRUE(std::all_of(std::begin(sawEveryField), std::end(sawEveryField), [](bool b) { return b; }));
}

FeedbackState Started(int w, int h, uint32_t seed = 1) {
  FeedbackState s;
  RuntimeRandom random(seed);
  EXPECT_TRUE(StartFeedback(s, w, h, random));
  return s;
}

int Lit(const FeedbackState& s) {
  return int(std::count_if(s.current.begin(), s.current.end(), [](uint8_t v) { return v != 0; }));
}

TEST(Qlo18Feedback, LinesStayInsideAndModesFiveAndAboveDrawNone) {
  FeedbackState s = Started(64, 50);
  s.preset = FeedbackPreset{0, 0, 200, 0, 0, 90, 0, 0};
  // Mode 0, offset 0: one line across the middle row, from column 1 to the
  // last one 3 pixels short of the right side.
  DrawFeedbackLines(s);
  EXPECT_EQ(Lit(s), 64 - 1 - 3);
  for (int x = 1; x < 61; ++x) EXPECT_EQ(s.current[25 * 64 + size_t(x)], 90);
  // Mode 2 with offset 0: the row and the middle column.
  s.current.assign(s.current.size(), 0);
  s.preset.lineMode = 2;
  DrawFeedbackLines(s);
  EXPECT_EQ(Lit(s), 60 + 46 - 1);
  // Lines keep the brighter of old and new.
  s.current[25 * 64 + 10] = 250;
  DrawFeedbackLines(s);
  EXPECT_EQ(s.current[25 * 64 + 10], 250);
  // Offset 255: both lines of modes 1 and 2 lie outside (one above row 0),
  // so nothing is drawn; rings of that size miss the picture too.
  for (int mode : {0, 1, 2, 3, 4, 5, 14, 43, -1}) {
    s.current.assign(s.current.size(), 0);
    s.preset.lineMode = mode;
    s.preset.lineOffset = 255;
    DrawFeedbackLines(s);
    EXPECT_EQ(Lit(s), 0) << "mode " << mode;
  }
  // A ring of a quarter of the height is closed and round.
  s.current.assign(s.current.size(), 0);
  s.preset.lineMode = 3;
  s.preset.lineOffset = 64;
  DrawFeedbackLines(s);
  EXPECT_GT(Lit(s), 60);
  EXPECT_EQ(s.current[25 * 64 + 32 + 12], 90) << "right end of the ring, radius 12";
  EXPECT_EQ(s.current[(25 + 12) * 64 + 32], 90);
  EXPECT_EQ(s.current[(25 - 12) * 64 + 32], 90);
}

TEST(Qlo18Feedback, CurvePointsOutsideAreSkippedAndTheCounterMovesOn) {
  FeedbackState s = Started(50, 50);
  // The table's amplitudes put the curve far beyond the picture.
  s.preset = kFeedbackPresets[0];
  DrawFeedbackCurve(s);
  EXPECT_EQ(Lit(s), 0);
  EXPECT_EQ(s.preset.curveCounter, 64);
  // Small amplitudes: 2 x 2 blocks of the curve's brightness, some cut off
  // at every side (negative points too) for amplitudes reaching past them.
  for (int amplitude : {10, 60, 100, 200, -150}) {
    s.current.assign(s.current.size(), 0);
    s.preset.curveAmplitude = amplitude;
    s.preset.curveBrightness = 77;
    for (int round = 0; round < 50; ++round) DrawFeedbackCurve(s);
    EXPECT_GT(Lit(s), 0) << amplitude;
    EXPECT_TRUE(std::all_of(s.current.begin(), s.current.end(), [](uint8_t v) { return v == 0 || v == 77; }));
  }
  // Points exactly as the text works them: the first of pass 0 at k = 0 is
  // (R x A + W / 2, H / 2) for t = 0.
  s.current.assign(s.current.size(), 0);
  s.preset.curveCounter = 0;
  s.preset.curveAmplitude = 40;  // A = 40 / 256, x0 = 50 x 0.15625 = 7.8
  DrawFeedbackCurve(s);
  EXPECT_EQ(s.current[25 * 50 + 25 + 7], 77);
  EXPECT_EQ(s.current[26 * 50 + 25 + 8], 77);
}

TEST(Qlo18Feedback, FrameWarpsThenAddsThePaletteOverThePicture) {
  constexpr int W = 70, H = 55;
  FeedbackState s = Started(W, H, 8);
  s.preset = FeedbackPreset{5, 0, 0, 1 << 30, 0, 0, 7, 0};  // no lines, curve off the picture
  for (size_t i = 0; i < s.current.size(); ++i) s.current[i] = uint8_t(i * 37 % 251);
  const std::vector<uint8_t> before = s.current;
  NoisePicture source(W, H), out(W, H);
  RuntimeRandom random(2);
  FeedbackFrame(s, source.Pixels(), out.Pixels(), W, H, out.stride, random);
  ASSERT_TRUE(out.GuardsIntact());
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const WarpEntry e = s.fields[size_t(5) * W * H + size_t(y) * W + x];
      const int sx = int(e.source >> 16), sy = int(e.source & 0xFFFF);
      const int sx1 = std::min(sx + 1, W - 1), sy1 = std::min(sy + 1, H - 1);
      const int sum = int(e.weights >> 24) * before[size_t(sy) * W + sx] +
                      int((e.weights >> 16) & 0xFF) * before[size_t(sy) * W + sx1] +
                      int((e.weights >> 8) & 0xFF) * before[size_t(sy1) * W + sx] +
                      int(e.weights & 0xFF) * before[size_t(sy1) * W + sx1];
      const int grey = std::min(sum >> 8, 255);
      ASSERT_EQ(s.current[size_t(y) * W + x], grey) << x << "," << y;
      for (int c = 0; c < 3; ++c)
        ASSERT_EQ(out.At(x, y)[c], std::min(255, source.At(x, y)[c] + s.palette[size_t(grey) * 3 + size_t(2 - c)]));
    }
  // The padding of each row is cleared.
  EXPECT_EQ(out.Pixels()[out.stride - 1], 0);
}

TEST(Qlo18Feedback, SmallOrHugePicturesAreRefusedAndLeftAlone) {
  FeedbackState s;
  RuntimeRandom random(1);
  for (int w = 1; w <= 3; ++w)
    for (int h = 1; h <= 3; ++h) {
      EXPECT_FALSE(StartFeedback(s, w, h, random));
      NoisePicture source(w, h), out(w, h, 0);
      const auto rows = out.Rows();
      FeedbackFrame(s, source.Pixels(), out.Pixels(), w, h, out.stride, random);
      EXPECT_EQ(out.Rows(), rows);
      EXPECT_TRUE(out.GuardsIntact());
    }
  EXPECT_FALSE(StartFeedback(s, 49, 300, random));
  EXPECT_FALSE(StartFeedback(s, 300, 49, random));
  EXPECT_FALSE(StartFeedback(s, 70000, 50, random)) << "beyond the fields' 16-bit sources";
  EXPECT_TRUE(s.fields.empty());
  // A frame for another size than the run started with draws nothing.
  FeedbackState t = Started(60, 60);
  NoisePicture source(61, 60), out(61, 60);
  const auto rows = out.Rows();
  FeedbackFrame(t, source.Pixels(), out.Pixels(), 61, 60, out.stride, random);
  EXPECT_EQ(out.Rows(), rows);
}

TEST(Qlo18Feedback, SameSeedSameFramesAndEveryPresetStaysInside) {
  auto play = [](uint32_t seed, int frames) {
    FeedbackState s = Started(90, 60, seed);
    NoisePicture source(90, 60), out(90, 60);
    RuntimeRandom random(seed);
    for (int f = 0; f < frames; ++f) {
      FeedbackFrame(s, source.Pixels(), out.Pixels(), 90, 60, out.stride, random);
      EXPECT_TRUE(out.GuardsIntact());
    }
    return out.Rows();
  };
  EXPECT_EQ(play(5, 40), play(5, 40));
  EXPECT_NE(play(5, 40), play(6, 40));
  // Every preset row with every field at the smallest size, with lines of
  // every mode at offsets reaching past the sides (the sanitizer build
  // catches any stray index).
  FeedbackState s = Started(50, 50);
  NoisePicture source(50, 50), out(50, 50);
  RuntimeRandom random(3);
  for (int row = 0; row < kPresetCount; ++row)
    for (int field = 0; field < 7; ++field) {
      s.preset = kFeedbackPresets[row];
      s.preset.warp = field;
      s.preset.lineMode = (row + field) % 5;
      s.preset.lineOffset = (row * 37 + field * 11) % 256;
      s.preset.curveAmplitude = row * 9 - 60;
      FeedbackFrame(s, source.Pixels(), out.Pixels(), 50, 50, out.stride, random);
      ASSERT_TRUE(out.GuardsIntact());
    }
  // The glow slider's position is clamped, and a new position rebuilds the palette.
  SetFeedbackGlow(s, 100000);
  EXPECT_EQ(s.glow, kGlowMaxSlider);
  SetFeedbackGlow(s, -3);
  EXPECT_EQ(s.glow, kGlowMinSlider);
}

}  // namespace
