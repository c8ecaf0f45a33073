// Light: three coloured spotlights wandering over the picture. The spot is
// a soft w x h patch, value(i, j) = min(255, trunc(f(i) e(j') intensity))
// with f(i) = 1 - cos(2 pi i / h), e(j) = 1 - cos(2 pi j / w) and
// j' = max(j, w - 1 - j); it is added, saturating at 255, to the green
// bytes under light 1, the blue bytes under light 2 and the red bytes under
// light 3. The lights follow precomputed paths of 360 steps (3k and k
// degrees), walked two steps a frame; without separate paths all three
// share light 2's path and the spot comes out white.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "plugins/animation/kernels/param_blob.h"

namespace quillo::qlo15 {

constexpr int kLightMinSize = 1, kLightMaxSize = 500, kLightDefaultSize = 300;
constexpr int kLightMinIntensity = 1, kLightMaxIntensity = 250, kLightDefaultIntensity = 60;
constexpr int kLightPathSteps = 360;
constexpr int kLightStepsPerFrame = 2;

// The stored block: magic, size 28, path mode, spot width, spot height,
// intensity, and the intensity once more.
constexpr uint32_t kLightBlobMagic = 0x246FAC34;
inline constexpr animation::BlobField kLightBlobFields[] = {
    {animation::BlobFieldKind::kInt32, 0, 1, 1},
    {animation::BlobFieldKind::kInt32, kLightMinSize, kLightMaxSize, kLightDefaultSize},
    {animation::BlobFieldKind::kInt32, kLightMinSize, kLightMaxSize, kLightDefaultSize},
    {animation::BlobFieldKind::kInt32, kLightMinIntensity, kLightMaxIntensity, kLightDefaultIntensity},
    {animation::BlobFieldKind::kInt32, kLightMinIntensity, kLightMaxIntensity, kLightDefaultIntensity}};
constexpr std::size_t kLightFieldCount = 5;

struct LightPoint {
  int32_t x = 0, y = 0;  // the spot's first column and memory row
};

struct LightState {
  int spotWidth = kLightDefaultSize, spotHeight = kLightDefaultSize;
  int intensity = kLightDefaultIntensity;
  bool separatePaths = true;  // path mode 1
  bool recompute = true;      // spot and paths are built anew on the next frame
  int step = 0;               // path step of the next frame, 0 ... 359
  std::vector<uint8_t> spot;  // spotHeight rows of spotWidth values
  std::array<std::array<LightPoint, kLightPathSteps>, 3> paths{};
};

// The settings clamped into their ranges; spot and paths are rebuilt on
// the next frame.
void SetLight(LightState& state, int spotWidth, int spotHeight, int intensity, bool separatePaths);

// The spot image for the current size and intensity.
void BuildLightSpot(LightState& state);

// The three lights' paths over a picture of width x height: with
// ox = W div 2 - w div 2, px = W div 2 - w div 3 (and oy, py likewise),
// A = 3k degrees and B = k degrees, light 1 at
// (ox + px sin A, oy + py cos B sin B), light 2 at
// (ox + px cos A, oy + py sin B cos A), light 3 at
// (ox + px tan B cos B, oy + py sin A), each term truncated; without
// separate paths all three follow light 2.
void BuildLightPaths(LightState& state, int width, int height);

// One frame: `out` becomes `source` (24-bit, width x height, rows of
// `stride` bytes) with the three spots of the current step added, clipped
// to the picture; then the step advances by 2 (mod 360).
void LightFrame(LightState& state, const uint8_t* source, uint8_t* out, int width, int height,
                int64_t stride);

}  // namespace quillo::qlo15
