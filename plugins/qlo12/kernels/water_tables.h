// Water's trigonometry: a sine and a cosine table of 2048 steps per turn in
// 16.16 fixed point, so drops, the surfer and the swirl need no floating
// point in the frame loop.
#pragma once
#include <cstdint>

namespace quillo::qlo12 {

constexpr int kWaterTableSize = 2048;

// S[k] = trunc(sin(k x 2pi / 2048) x 65536) and K[k] = trunc(cos(k x 2pi /
// 2048) x 65536), truncated toward zero (S[2047] = -201, S[512] = 65536,
// K[1024] = -65536). Lookups take the index modulo 2048, negative ones too.
struct WaterTables {
  int32_t sine[kWaterTableSize];
  int32_t cosine[kWaterTableSize];

  int32_t Sine(int64_t k) const { return sine[k & (kWaterTableSize - 1)]; }
  int32_t Cosine(int64_t k) const { return cosine[k & (kWaterTableSize - 1)]; }
};

// Fills both tables.
void FillWaterTables(WaterTables& tables);

// The tables, filled on first use and constant afterwards.
const WaterTables& GetWaterTables();

}  // namespace quillo::qlo12
