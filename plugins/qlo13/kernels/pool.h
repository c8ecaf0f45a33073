// Pool light: the caustic pattern of sunlight on the floor of a pool laid
// over the picture. Four cosine waves of the table in cosine_table.h (two
// drifting with the phases P and Q, two fixed rings around the centre)
// add up to a factor f in 0 ... 256 per pixel; each byte becomes
// (f x backup byte) >> 8, so the pattern only darkens and f = 256 leaves the
// pixel as it was.
//
// With R = trunc(sqrt(W^2 + H^2) / 2), D the pixel's whole distance to the
// centre (W / 2, H / 2), memory row i, column j, T the table (index |n| mod
// 1024) and C++'s truncating division:
//   t1 = ((j - i) 16Q) / R - T[(1024 j) / R + P]
//   t2 = (2 (D + 256 i)) / R - 256
//   t3 = (2048 D) / R - 256
//   t4 = ((i + j) 16P) / R - 256
//   s  = T[t1] + T[t2] + T[t3] + T[t4] - T[(1024 i) / R]
//   f  = clamp(((32 s) >> 8) + 256, 0, 256)
// A picture with R = 0 (1 x 1) has no pattern: f = 256.
#pragma once
#include <cstdint>
#include <vector>

namespace quillo::qlo13 {

// One phase bouncing between 0 and 255: a value reaching 256 becomes 255,
// one below 0 becomes 0, and either way the step changes sign.
struct BouncingPhase {
  int value = 0;
  int step = 1;
  void Advance();
};

constexpr int kPoolStartP = 30, kPoolStepP = 1;
constexpr int kPoolStartQ = 50, kPoolStepQ = 3;

struct PoolState {
  int width = 0, height = 0;
  int radius = 0;  // R
  BouncingPhase p{kPoolStartP, kPoolStepP};
  BouncingPhase q{kPoolStartQ, kPoolStepQ};
  // The part of s that moves with neither phase, per pixel (memory row i at
  // i x width): T[t2] + T[t3] - T[(1024 i) / R], worked out from the
  // distance map once per run.
  std::vector<int16_t> still;
  // Per-frame scratch: T[t4] by i + j, (d 16Q) / R by d = j - i + H - 1,
  // T[(1024 j) / R + P] by j.
  std::vector<int32_t> diagonal, antiDiagonal, column;
};

// Starts a run over a width x height picture: the phases at their start
// values, R and the still part of the pattern. False, with the state
// emptied, when a side is not positive or memory runs out.
bool StartPool(PoolState& state, int width, int height);

// Draws the frame of the current phases into `out` from `backup` (24-bit,
// the state's size, rows of `stride` bytes, memory row 0 first), then
// advances Q and P by their steps. Nothing is drawn for an empty state.
void PoolFrame(PoolState& state, const uint8_t* backup, uint8_t* out, int64_t stride);

}  // namespace quillo::qlo13
