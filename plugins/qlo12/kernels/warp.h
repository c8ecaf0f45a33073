// The ring warp: the picture ripples in concentric rings around its centre.
// Each pixel belongs to one of 512 rings; every frame gives each ring a
// displacement from a sine table and three slowly drifting amplitudes, and
// the pixel shows the backup shifted by its ring's displacement. The
// amplitudes repeat after 512 frames.
#pragma once
#include <cstdint>
#include <vector>

namespace quillo::qlo12 {

constexpr int kWarpRings = 512;
constexpr int kWarpCycle = 512;  // frames before the motion repeats

// The ring map needs a centre at some distance from a corner: a picture of
// a single pixel has no rings and is refused.
bool WarpSizeWorkable(int width, int height);

// 1280 entries: trunc(sin(k x 2 pi / 1024) x 32767) for k < 1024, then the
// first 256 again, so entry k + 256 is the cosine of entry k.
const std::vector<int32_t>& WarpSineTable();

// width x height entries (memory row i, column j at i x width + j): twice the
// pixel's ring number, 0 ... 1022, from its distance to the centre. Nothing
// is written for unworkable sizes.
void BuildWarpRings(int width, int height, int32_t* rings);

// Per-ring row and column displacements for frame `n` (taken modulo 512).
struct WarpShifts {
  int32_t dy[kWarpRings];
  int32_t dx[kWarpRings];
};
void WarpFrameShifts(int n, WarpShifts& shifts);

// Draws one frame into `out` from `backup` (24-bit pictures of width x height
// with rows of `stride` bytes): pixel (i, j) with ring entry e takes the
// backup pixel at row clamp(i + dy[e / 2]) and column clamp(j + dx[e / 2]).
void DrawWarpFrame(const uint8_t* backup, uint8_t* out, int width, int height, int64_t stride,
                   const int32_t* rings, const WarpShifts& shifts);

}  // namespace quillo::qlo12
