// Flamme: classic rising flames over the picture. Heat is fed in below the
// picture's bottom row every frame, each cell of the next field takes the
// mean of four cells one to two rows below it in the current field, less
// one, so the flame climbs two rows a frame and cools, and every pixel is
// lightened toward the fire palette's colour of its heat.
//
// Field row r is picture row r counted from the top; rows H ... H + 2 are
// where heat is fed in and hot spots reach row H + 3. The rise reads up to
// four rows below the row it writes, so each field holds H + 6 rows of W
// cells: every cell any step reads or writes lies inside it, for any W and
// H of at least 1.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"
#include "plugins/animation/kernels/fire_palette.h"

namespace quillo::qlo16 {

using animation::FireColour;
using FirePalette256 = std::array<FireColour, 256>;

constexpr int kFlammeExtraRows = 6;

struct FlammeState {
  int width = 0, height = 0;
  std::vector<uint8_t> current, next;  // width x (height + 6) cells each
};

// The base fire palette, unturned.
FirePalette256 FlammePalette();

// Zero-filled fields for a picture of width x height (nothing for sizes
// that are not positive). False when memory runs out.
bool ResetFlamme(FlammeState& state, int width, int height);

// One frame's heat: the feed rows filled with rand mod 40 + 56, then
// rand mod 40 + 30 hot spots of 149 (none when the picture is 3 pixels wide
// or narrower: no column leaves room for one), the rise into the next field
// and the swap.
void StepFlamme(FlammeState& state, RuntimeRandom& random);

// Draws the current field over `backup` into `out` (24-bit pictures of the
// state's size, bottom-up, rows of `stride` bytes): each byte
// p - ((s x (p - 255) + 255) >> 8) for the palette component p and the
// backup byte s.
void DrawFlamme(const FlammeState& state, const FirePalette256& palette, const uint8_t* backup, uint8_t* out,
                int64_t stride);

}  // namespace quillo::qlo16
