// The kaleidoscope: every pixel's angle around the centre is folded into one
// of N segments of pi / N (every other segment mirrored when asked) and
// turned, and the pixel shows the texture at that angle and its own distance
// from the centre. The map keeps the source point in 1/1024 pixel, so each
// frame blends the four texels around it while the texture slides.
#pragma once
#include <cstdint>

#include "imaging/basics/runtime_random.h"

namespace quillo::qlo12 {

constexpr int kKaleMinSegments = 1, kKaleMaxSegments = 50, kKaleDefaultSegments = 5;
constexpr double kKaleDefaultAngle = 45.0;
// Factor of SpeedFromCursor for the kaleidoscope's drift.
constexpr int kKaleSpeedFactor = 10;
// The longest side whose column x 1024 still fits a signed 32-bit entry.
constexpr int kKaleMaxSide = (1 << 21) - 1;

// One output pixel's source point: column x 1024 and row x 1024, both
// non-negative and below width x 1024 and height x 1024 when built here.
struct KaleEntry {
  int32_t column = 0;
  int32_t row = 0;
};

struct KaleParameters {
  double angle1 = kKaleDefaultAngle;  // rotation angles, taken as radians
  double angle2 = kKaleDefaultAngle;
  int segments = kKaleDefaultSegments;
  double centreX = 0, centreY = 0;  // memory-row coordinates
  double offsetX = 0, offsetY = 0;
  int mirror = 1;  // nonzero: odd segments are mirror images
};

// The start-up parameters for a width x height picture: centre
// (width div 2, height div 2), everything else as the struct says.
KaleParameters DefaultKaleParameters(int width, int height);

// True when a width x height picture can be played: both sides 1 ..
// kKaleMaxSide. The shell refuses other pictures.
bool KaleSizeWorkable(int width, int height);

// Fills width x height entries of `map` (memory row i, column j at i x width
// + j). For each pixel, with (dx, dy) its offset from the centre, d its
// distance and g = pi / N:
//   e = atan2(dy, dx) - angle1 - angle2 raised by whole turns to >= 0
//       (the centre itself counts as angle 0),
//   k = ceil(e / g), a = e - g (k - 1), mirrored to g - a when the flag is
//       set and k - 1 is odd, then a += angle1;
//   source = (d cos a + offsetX + centreX, d sin a + offsetY + centreY),
//       wrapped into [0, width) x [0, height), stored x 1024 truncated.
// N below 1 counts as 1 (g would divide by zero); a non-finite value on the
// way counts as 0. False, with nothing written, for an unworkable size.
bool BuildKaleMap(int width, int height, const KaleParameters& p, KaleEntry* map);

// Draws one frame into `out` (memory rows from 0 upward): for entry (ex, ey)
// the texel X = ((ex >> 10) + offsetX) mod width, Y = ((ey >> 10) + offsetY)
// mod height and its right, upper-row and diagonal neighbours (the last
// column and row repeat themselves) are blended with fx = ex & 1023, fy =
// ey & 1023, in integers:
//   top = (fx right + (1024 - fx) left) >> 10, likewise bottom on row Y + 1,
//   byte = (top (1024 - fy) + fy bottom) >> 10.
// Texture and output are width x height 24-bit pictures with rows of
// `stride` bytes and must not overlap; offsets and entries may hold any
// value (they are reduced into the texture). Nothing is drawn for an
// unworkable size or a stride below 3 x width.
void DrawKaleFrame(const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride,
                   const KaleEntry* map, int64_t offsetX, int64_t offsetY);

// The screen saver's change of scene: N = rand mod 6 + 3, then angle1 =
// rand mod 360 and angle2 = rand mod 360 (whole numbers taken as radians),
// and the mirror flag turned over. The map is to be rebuilt afterwards.
void ShuffleKale(KaleParameters& p, RuntimeRandom& random);

}  // namespace quillo::qlo12
