// Rotation and shearing of 24-bit pictures (memory rows bottom-up, as a DIB
// holds them, so positive angles turn counter-clockwise on screen) with an
// optional mask (rows top-down, as the host keeps masks).
//
// Rotate: the angle is brought into -45 .. 45 degrees by exact quarter
// turns, then the rest is done by three shears (horizontal by s = -tan(a /
// 2), vertical by t = sin(a), horizontal by s again) on a canvas filled with
// the background colour, and the canvas is cut to the rotated picture's
// bounding box. Shear: one horizontal shear by -tan(b1 / 2) and one
// vertical by sin(b2), cut the same way.
//
// A shear moves each row (or column) by a real offset: whole pixels, then
// the fraction blends each pixel with the one before it in 14-bit fixed
// point, out = (p F + previous (16384 - F) + 8192) >> 14, the previous one
// starting as the background at the leading edge; what the row leaves
// uncovered is background. The mask is sheared alike with 0 as background.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quillo::bxcomm2 {

struct Picture {
  int width = 0, height = 0;
  int64_t stride = 0;           // bytes per pixel row, a multiple of 4
  std::vector<uint8_t> pixels;  // rows bottom-up
  std::vector<uint8_t> mask;    // width x height, rows top-down; empty: none

  static std::optional<Picture> Make(int width, int height, bool withMask);
  uint8_t* Row(int y) { return pixels.data() + int64_t(y) * stride; }
  const uint8_t* Row(int y) const { return pixels.data() + int64_t(y) * stride; }
};

struct Background {
  uint8_t blue = 255, green = 255, red = 255;
};

// Called with the percent done between steps.
using Progress = std::function<void(int percent)>;

// The largest canvas a rotation or shear may build (pixels).
constexpr int64_t kMaxCanvasPixels = int64_t(1) << 28;

// An exact quarter turn counter-clockwise, `turns` times (any integer).
Picture QuarterTurns(const Picture& in, int turns);

// Null when a canvas would be too large or memory runs out.
std::optional<Picture> RotatePicture(const Picture& in, double degrees, Background background,
                                     const Progress& progress = {});
std::optional<Picture> ShearPicture(const Picture& in, double horizontalDegrees,
                                    double verticalDegrees, Background background,
                                    const Progress& progress = {});

}  // namespace quillo::bxcomm2
