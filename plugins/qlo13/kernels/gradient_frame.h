// Colour cycling through a gradient: the picture's brightness, one byte a
// pixel, picks a colour of a 256-entry palette made from the gradient's
// stops; every frame the palette's hue turns by the speed (and, flowing,
// the palette slides one entry along the brightness), and the colours are
// laid over the picture at the chosen strength.
#pragma once
#include <array>
#include <cstdint>

#include "gradient_text.h"

namespace quillo::qlo13 {

struct PaletteColour {
  uint8_t blue = 0, green = 0, red = 0;
  bool operator==(const PaletteColour&) const = default;
};
using GradientPalette = std::array<PaletteColour, 256>;

// Entry k is the colour at position k: the stops' colours blended linearly
// between neighbouring stops (rounded), the first stop's colour before it
// and the last one's after it. A gradient without stops is black.
GradientPalette PaletteOf(const Gradient& gradient);

// The palette with every hue turned by `degrees` (any value; a turn is 360).
// Greys stay grey.
GradientPalette TurnHue(const GradientPalette& palette, int degrees);

// The brightness byte of each pixel of a 24-bit picture (memory order
// blue, green, red): (29 B + 150 G + 77 R + 128) >> 8, width x height bytes
// with rows packed.
void BuildBrightness(const uint8_t* picture, int width, int height, int64_t stride, uint8_t* brightness);

inline constexpr int kGradientMaxSpeed = 30;     // degrees a frame
inline constexpr int kGradientDefaultSpeed = 4;
inline constexpr int kGradientDefaultStrength = 100;  // percent of the colour over the picture

struct GradientRun {
  int hue = 0;        // degrees turned so far, 0 .. 359
  int flow = 0;       // entries slid so far, 0 .. 255
  int speed = kGradientDefaultSpeed;
  int strength = kGradientDefaultStrength;  // 0 .. 100
  bool flowing = false;
};

// One frame into `out` from `backup` and its brightness, then the hue (and
// flow) advance. Pixel: c = turned palette[(brightness + flow) and 255],
// byte = s + ((c - s) x a) >> 8 (arithmetic shift) with a = strength x 256 /
// 100. Speed is taken within 0 .. 30, strength within 0 .. 100.
void GradientFrame(GradientRun& run, const GradientPalette& palette, const uint8_t* brightness,
                   const uint8_t* backup, uint8_t* out, int width, int height, int64_t stride);

}  // namespace quillo::qlo13
