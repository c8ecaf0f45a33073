// The flame over a picture: sparks thrown along wandering paths heat a
// one-byte heat field, the field is smoothed every frame so the heat spreads
// and cools, and each pixel is lightened toward the fire palette's colour of
// its heat. The palette can be turned in hue and saturation.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"
#include "plugins/animation/kernels/fire_palette.h"

namespace quillo::qlo12 {

using animation::FireColour;

// The 256-entry fire palette from black through red and yellow to white,
// each entry turned by `hueShift` (a fraction of a full turn, -1 ... 1) and
// its saturation moved by `saturationShift` (-1 ... 1) in hue, saturation
// and lightness space.
std::vector<FireColour> FirePalette(double hueShift, double saturationShift);

struct Spark {
  int startX = 0, startY = 0;
  int speedX = 0;   // -16 ... 15
  int speedUp = 0;  // 0 ... 31
  int heat = 0;
  int age = 0;      // frames
};

// What a flame keeps from frame to frame: the heat field (width x height
// bytes, memory rows from 0), the sparks, oldest first (the last is the
// newest), and the time that drives the sparks' paths.
struct FlameState {
  int width = 0, height = 0;
  std::vector<uint8_t> heat;
  std::vector<Spark> sparks;
  double time = 0;
};

// Heat field and sparks need a few rows above and below the burning rows.
bool FlameSizeWorkable(int width, int height);

// A cleared heat field of width x height and no sparks; the time is kept.
void ResetFlame(FlameState& state, int width, int height);

// One frame's heat: 64 new sparks (their speeds drawn from `random`), the
// older sparks' heat added along their paths and the sparks cooled, then the
// field smoothed in place. `heatParameter` is the heat slider's value x 3.
void StepFlame(FlameState& state, double heatParameter, RuntimeRandom& random);

// Draws the flame over `backup` into `out` (24-bit pictures of the state's
// size with rows of `stride` bytes): memory rows 2 ... height - 2 only, each
// byte P + ((255 - P) x backup byte >> 8) for the palette colour P of the
// pixel's heat (blue, green, red). Other rows are left as they are.
void DrawFlame(const FlameState& state, const std::vector<FireColour>& palette,
               const uint8_t* backup, uint8_t* out, int64_t stride);

}  // namespace quillo::qlo12
