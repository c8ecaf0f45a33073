#include "cosine_table.h"

#include <array>
#include <cmath>

namespace quillo::qlo13 {

const int32_t* CosineTable() {
  static const std::array<int32_t, kCosineSize> table = [] {
    std::array<int32_t, kCosineSize> t{};
    const double step = 6.283185307179586 / kCosineSize;
    for (int k = 0; k < kCosineSize; ++k) {
      const double c = std::cos(k * step);
      const bool lowerHalf = k >= kCosineSize / 4 && k <= 3 * kCosineSize / 4;
      t[size_t(k)] = lowerHalf ? int32_t(std::lround(508 * c)) - 4 : int32_t(std::lround(512 * c));
    }
    return t;
  }();
  return table.data();
}

}  // namespace quillo::qlo13
