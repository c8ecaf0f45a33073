#include "worm_map.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quillo::qlo12 {
namespace {

// A finite double truncated toward zero and kept to 16 bits, as the map
// stores coordinates; anything else counts as 0.
int16_t Truncate16(double v) {
  if (!std::isfinite(v) || std::fabs(v) >= 9.0e18) return 0;
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(static_cast<int64_t>(v))));
}

}  // namespace

void BuildWormGrid(WormCell* grid) {
  if (!grid) return;
  for (int n = 0; n < kWormGridWidth * kWormGridHeight; ++n) grid[n] = WormCell{};
  for (double z = 100; z >= 0;) {
    const double dz = 0.0018 * z + 0.025;
    const double theta = z * 0.01 * 0.78539805;
    const double R = 23 * z;
    const double depth = R + 300;
    for (double u = 100; u >= 0; u -= dz) {
      const double phi = u * 0.01 * 6.2831844;
      const double px = 300 * 430 * std::cos(phi) / depth + 320;
      const double py = 300 * (370 * std::sin(phi) * std::cos(theta) + R * std::sin(theta)) / depth + 240;
      const int x = int(px), y = int(py);  // truncated toward zero; depth >= 300 bounds both
      if (x >= 0 && x < kWormGridWidth && y >= 0 && y < kWormGridHeight)
        grid[y * kWormGridWidth + x] = WormCell{u * 6.4, z * 4.8};
    }
    z -= dz;
  }
}

void BuildWormMap(const WormCell* grid, int width, int height, animation::MapEntry* map) {
  if (!grid || !map || width <= 0 || height <= 0) return;
  const double stepX = 640.0 / width, stepY = 480.0 / height;
  double gy = 0;
  for (int i = 0; i < height; ++i, gy += stepY) {
    // The sums stay below the grid's size; the bounds only guard rounding.
    const int r = std::min(int(std::floor(gy)), kWormGridHeight - 1);
    const double fy = gy - r;
    const WormCell* top = grid + int64_t(r) * kWormGridWidth;
    const WormCell* bottom = r > kWormGridHeight - 2 ? top : top + kWormGridWidth;
    double gx = 0;
    for (int j = 0; j < width; ++j, gx += stepX) {
      const int c = std::min(int(std::floor(gx)), kWormGridWidth - 1);
      const double fx = gx - c;
      const int c1 = c > kWormGridWidth - 2 ? c : c + 1;
      auto blend = [&](double WormCell::*value) {
        return (1 - fy) * ((1 - fx) * (top[c].*value) + fx * (top[c1].*value)) +
               fy * ((1 - fx) * (bottom[c].*value) + fx * (bottom[c1].*value));
      };
      int column = Truncate16(blend(&WormCell::column) * width * 0.0015625);
      if (column >= width) column = width - 1;
      const int t = Truncate16(blend(&WormCell::row) * height * 0.0020833333333333333);
      const int row = height - t % height - 1;
      animation::MapEntry& e = map[int64_t(i) * width + j];
      // Only pictures beyond 16-bit sizes can leave the range here.
      e.column = animation::MapCoordinate(column, width);
      e.row = animation::MapCoordinate(row, height);
    }
  }
}

}  // namespace quillo::qlo12
