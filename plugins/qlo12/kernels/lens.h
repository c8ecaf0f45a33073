// The moving lens: a round lens that bounces across the picture like a ball
// on a table, bulging, pinching or twirling what lies under it, or showing
// the picture inverted in its circle. Only the square box that holds the
// lens is drawn each frame; a margin of one step's width around the lens
// copies the picture back, so the lens leaves no trail.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"

namespace quillo::qlo12 {

struct LensOptions {
  int radius = 10;  // a
  int step = 1;     // s: pixels per frame and margin width, 1 ... 7
  bool invert = true, twirl = true, sineScale = true, ball = true;
};

// Pictures under 60 pixels in either direction are refused.
bool LensSizeWorkable(int width, int height);

// The radius slider's range and start: 10 ... m - 7 with m = min(256,
// min(width, height) / 3), starting at min(256, min(width, height) / 4) - 7
// kept inside that range.
struct LensRadiusRange {
  int low, high, start;
};
LensRadiusRange LensRadii(int width, int height);

// Side of the lens box: 2 x radius + 2 + step cells.
int LensBoxSize(const LensOptions& options);

// Source cell (column, row inside the box) of each box cell, row by row:
// entry [row x n + column] for the box size n.
struct LensCell {
  int column, row;
};
std::vector<LensCell> BuildLensMap(const LensOptions& options);

// Where the box is and how it moves: its first column and memory row, and
// its speeds.
struct LensMotion {
  int x = 0, y = 0;
  int vx = 0, vy = 0;
};

// A new random place after the map was rebuilt (x = rand mod (W - 2r), then
// y likewise), moving by the step in both directions.
LensMotion PlaceLens(const LensOptions& options, int width, int height, RuntimeRandom& random);

// One frame: bounce off the edges, move, and draw the box into `image` from
// `backup` (24-bit pictures of width x height with rows of `stride` bytes),
// through the map or, in ball mode, as the picture inverted in the circle.
// Only pixels inside the picture are written.
void StepLens(const LensOptions& options, const std::vector<LensCell>& map, LensMotion& motion,
              const uint8_t* backup, uint8_t* image, int width, int height, int64_t stride);

}  // namespace quillo::qlo12
