// The 1024-entry cosine table Pool and Wavy read: T[k] is 512 cos(2 pi k /
// 1024) rounded, on the half turn 256 <= k <= 768 drawn as 508 cos - 4, so
// the table falls from 3 at k = 255 straight to -4 at k = 256 (and climbs
// from -4 at k = 768 to 3 at k = 769), still bottoms out at exactly -512 at
// k = 512 and is symmetric, T[k] = T[1024 - k]. The step at the zero
// crossings gives the effects' bands their hard edge.
#pragma once
#include <cstdint>

namespace quillo::qlo13 {

constexpr int kCosineSize = 1024;

// The table, built once on first use.
const int32_t* CosineTable();

// T[|n| mod 1024]: the lookups take the magnitude of their index and keep
// its low 10 bits (any int, INT32_MIN included).
inline int32_t CosineAt(const int32_t* table, int64_t n) {
  return table[(n < 0 ? -n : n) & (kCosineSize - 1)];
}

}  // namespace quillo::qlo13
