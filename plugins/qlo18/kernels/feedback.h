// Feedback: glowing curves and lines drawn into a grey picture that every
// frame is smeared through one of seven warp fields (warp_fields.h) and
// added, through a green-gold palette, on top of the picture. The look
// wanders: every eighth frame a new preset from the table, every fourth a
// random step of the brightnesses, amplitudes, line mode and field.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"
#include "warp_fields.h"

namespace quillo::qlo18 {

constexpr int kFeedbackMinSide = 50;  // smaller pictures are refused
constexpr int kGlowMinSlider = 25, kGlowMaxSlider = 500, kGlowDefaultSlider = 150;
constexpr int kPresetCount = 29;
constexpr int kLineModeCount = 5;  // modes 5 and above draw no lines
constexpr int kSampleCount = 2 * 512;

struct FeedbackPreset {
  int32_t warp;             // field 0 ... 6
  int32_t curveCounter;
  int32_t curveBrightness;
  int32_t curveAmplitude;   // in 256ths
  int32_t lineAmplitude;
  int32_t lineBrightness;
  int32_t lineMode;
  int32_t lineOffset;       // in 256ths of the picture's height
};
extern const FeedbackPreset kFeedbackPresets[kPresetCount];

using FeedbackPalette = std::array<uint8_t, 256 * 3>;  // red, green, blue per grey level

// Lightness multiplied by `intensity` (slider position x 0.01), the hue
// turned by (r % 2001 - 1000) x 0.001 of a turn for the draw r.
void BuildFeedbackPalette(FeedbackPalette& palette, double intensity, int r);

struct FeedbackState {
  int width = 0, height = 0;
  std::vector<uint8_t> current, next;  // grey pictures, width x height, memory row order
  std::vector<WarpEntry> fields;       // seven fields of width x height
  FeedbackPalette palette{};
  double paletteIntensity = -1;        // the intensity the palette was built for
  std::vector<double> cosine, sine;    // half a turn over the picture's width
  std::array<int16_t, kSampleCount> samples{};  // no sound source: all zero
  std::array<FeedbackPreset, kPresetCount> presets{};
  FeedbackPreset preset{};
  int frame = 0;
  int glow = kGlowDefaultSlider;       // slider position
};

// Glow slider position clamped into its range.
void SetFeedbackGlow(FeedbackState& state, int position);

// A run starts: the presets, a random current one, the seven fields and the
// palette. False (and nothing kept) when the picture is smaller than 50 x 50,
// too large for the fields, or memory runs out.
bool StartFeedback(FeedbackState& state, int width, int height, RuntimeRandom& random);
void StopFeedback(FeedbackState& state);

// Every fourth frame: the random step of the current preset.
void WalkFeedbackPreset(FeedbackPreset& preset, RuntimeRandom& random);

// The lines of the preset's mode and the curve into the current grey picture.
void DrawFeedbackLines(FeedbackState& state);
void DrawFeedbackCurve(FeedbackState& state);

// One frame: `out` becomes `source` plus the palette colour of the warped
// grey picture, then the lines and the curve go into the grey picture for
// the next frame. Nothing happens unless the run started at this size.
void FeedbackFrame(FeedbackState& state, const uint8_t* source, uint8_t* out, int width, int height,
                   int64_t stride, RuntimeRandom& random);

}  // namespace quillo::qlo18
