#include "water_tables.h"

#include <cmath>

namespace quillo::qlo12 {

void FillWaterTables(WaterTables& tables) {
  constexpr double kStep = 0.0030679615757712823;  // 2pi / 2048
  for (int k = 0; k < kWaterTableSize; ++k) {
    tables.sine[k] = int32_t(std::sin(k * kStep) * 65536);
    tables.cosine[k] = int32_t(std::cos(k * kStep) * 65536);
  }
}

const WaterTables& GetWaterTables() {
  static const WaterTables tables = [] {
    WaterTables t;
    FillWaterTables(t);
    return t;
  }();
  return tables;
}

}  // namespace quillo::qlo12
