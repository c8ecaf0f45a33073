// The illusion: the picture blended with a copy of itself displaced sector
// by sector around the centre, the copy showing more strongly toward the
// edges. The map holds, per pixel, where the displaced copy is read and how
// much of it shows; each frame slides that copy under the fixed picture.
#pragma once
#include <cstdint>

namespace quillo::qlo12 {

constexpr int kIllusionMinSectors = 1, kIllusionMaxSectors = 100, kIllusionDefaultSectors = 7;
// Factor of SpeedFromCursor for the displaced copy's drift.
constexpr int kIllusionSpeedFactor = 15;
// Entries hold signed 16-bit columns and rows.
constexpr int kIllusionMaxSide = 32767;

// One output pixel: where the displaced copy is read, and its share in
// 1/1024 (0 at the centre, 1024 at the far corner).
struct IllusionEntry {
  int16_t column = 0;
  int16_t row = 0;
  int16_t weight = 0;
};

// True when a width x height picture can be played: both sides 1 ..
// kIllusionMaxSide. The shell refuses other pictures.
bool IllusionSizeWorkable(int width, int height);

// Fills width x height entries of `map` (memory row i, column j at i x width
// + j) for N sectors. With f = sqrt(W^2 + H^2) / 2, g = trunc(f / 2) and
// (x, y) = ((j - W div 2) / f, (i - H div 2) / f):
//   s = floor(atan2(y, x) N / (2 pi)) (the centre is sector 0),
//   angle = s 2 pi / N + pi / N (the middle of the sector),
//   column = j - trunc(g cos angle), row = i - trunc(g sin angle), both
//       reduced into the picture,
//   weight = trunc(sqrt(x^2 + y^2) 1024), at most 1024.
// The distance is taken as sqrt(4 (dx^2 + dy^2) / (W^2 + H^2)), the same
// quantity with one rounding fewer, so a corner at exactly half the
// diagonal weighs exactly 1024. N below 1 counts as 1 (the sector angle
// would divide by zero). False, with nothing written, for an unworkable
// size.
bool BuildIllusionMap(int width, int height, int sectors, IllusionEntry* map);

// Draws one frame into `out` (memory rows from 0 upward): each byte of pixel
// (i, j) is (T(i, j) (1024 - w) + w T((row + offsetY) mod H, (column +
// offsetX) mod W)) >> 10 for its entry's weight w, T the texture. Texture
// and output are width x height 24-bit pictures with rows of `stride` bytes
// and must not overlap; offsets and entries may hold any value (they are
// reduced into the texture, weights into 0 .. 1024). Nothing is drawn for an
// unworkable size or a stride below 3 x width.
void DrawIllusionFrame(const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride,
                       const IllusionEntry* map, int64_t offsetX, int64_t offsetY);

}  // namespace quillo::qlo12
