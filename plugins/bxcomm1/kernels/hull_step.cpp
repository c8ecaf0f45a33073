#include "hull_step.h"

#include <algorithm>

namespace quillo {

namespace {

// a + 1 and a - 1 held inside 0..255, in byte arithmetic that vectorises.
inline uint8_t Up(uint8_t a) { return uint8_t(std::min<uint8_t>(a, 254) + 1); }
inline uint8_t Down(uint8_t a) { return uint8_t(std::max<uint8_t>(a, 1) - 1); }

// The sweeps as minimum/maximum chains (byte compare-and-select loops with
// the same answers; the +1 and -1 only saturate where the condition they
// replace cannot hold):
//   v + 1 if v < n          == min(v + 1, max(v, n))
//   v - 1 if v >= n + 2     == max(v - 1, min(v, n + 1))
//   t + 1 if t <= o, t < n  == min(t + 1, max(t, min(n, o + 1)))
//   t - 1 if t >= o + 2, t > n == max(t - 1, min(t, max(n, o + 1)))
void RaiseBelow(const uint8_t* v, const uint8_t* n, uint8_t* __restrict t, int count) {
  for (int x = 0; x < count; ++x) t[x] = std::min(Up(v[x]), std::max(v[x], n[x]));
}
void LowerAbove(const uint8_t* v, const uint8_t* n, uint8_t* __restrict t, int count) {
  for (int x = 0; x < count; ++x) t[x] = std::max(Down(v[x]), std::min(v[x], Up(n[x])));
}
void RaiseHollow(const uint8_t* t, const uint8_t* n, const uint8_t* o, uint8_t* __restrict out, int count) {
  for (int x = 0; x < count; ++x) out[x] = std::min(Up(t[x]), std::max(t[x], std::min(n[x], Up(o[x]))));
}
void LowerPeak(const uint8_t* t, const uint8_t* n, const uint8_t* o, uint8_t* __restrict out, int count) {
  for (int x = 0; x < count; ++x) out[x] = std::max(Down(t[x]), std::min(t[x], std::max(n[x], Up(o[x]))));
}

}  // namespace

HullStep::HullStep(HullMove move, uint8_t* grid, int width, int height, uint8_t* ring)
    : move_(move), grid_(grid), width_(width), height_(height), stride_(int64_t(width) + 2), ring_(ring) {}

uint8_t* HullStep::ScratchRow(int y) const {
  if (y <= 0 || y > height_) return GridRow(0);  // the grid's border row: all zeros, never written
  return ring_ + (y % 3) * stride_;
}

// Sweep 1 for grid row y (1..height): reads grid rows y and y + dy.
void HullStep::FillScratchRow(int y) {
  const uint8_t* v = GridRow(y) + 1;
  const uint8_t* n = GridRow(y + move_.dy) + 1 + move_.dx;
  uint8_t* t = ScratchRow(y) + 1;
  if (move_.raise)
    RaiseBelow(v, n, t, width_);
  else
    LowerAbove(v, n, t, width_);
}

// Sweep 2 for row y needs scratch rows y - 1 .. y + 1; the ring holds
// exactly those once row y + 1 is filled, so each row fills one ahead.
void HullStep::Row(int y) {
  if (y == 1) FillScratchRow(1);
  if (y < height_) FillScratchRow(y + 1);
  const uint8_t* t = ScratchRow(y) + 1;
  const uint8_t* n = ScratchRow(y + move_.dy) + 1 + move_.dx;
  const uint8_t* o = ScratchRow(y - move_.dy) + 1 - move_.dx;
  uint8_t* out = GridRow(y) + 1;
  if (move_.raise)
    RaiseHollow(t, n, o, out, width_);
  else
    LowerPeak(t, n, o, out, width_);
}

}  // namespace quillo
