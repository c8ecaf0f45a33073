#include "illusion.h"

#include <cmath>
#include <numbers>

#include "plugins/animation/kernels/texture_map.h"

namespace quillo::qlo12 {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kOneOverTwoPi = 0.15915494309189535;

// An entry's coordinate reduced into the texture and shifted by the (already
// reduced) frame offset.
int Shifted(int16_t v, int offset, int size) {
  int r = v >= 0 && v < size ? v : animation::ReduceInto(v, size);
  r += offset;
  return r >= size ? r - size : r;
}

}  // namespace

bool IllusionSizeWorkable(int width, int height) {
  return width >= 1 && height >= 1 && width <= kIllusionMaxSide && height <= kIllusionMaxSide;
}

bool BuildIllusionMap(int width, int height, int sectors, IllusionEntry* map) {
  if (!map || !IllusionSizeWorkable(width, height)) return false;
  const int n = sectors < 1 ? 1 : sectors;
  const double diagonal2 = double(width) * width + double(height) * height;
  const double f = 0.5 * std::sqrt(diagonal2);
  const double g = std::trunc(f * 0.5);
  IllusionEntry* entry = map;
  for (int i = 0; i < height; ++i) {
    const int dy = i - height / 2;
    for (int j = 0; j < width; ++j, ++entry) {
      const int dx = j - width / 2;
      const double x = dx / f, y = dy / f;
      const double around = dx == 0 && dy == 0 ? 0.0 : std::atan2(y, x);
      const double s = std::floor(around * n * kOneOverTwoPi);
      const double angle = s * 2 * kPi / n + kPi / n;
      entry->column = int16_t(animation::ReduceInto(j - int64_t(g * std::cos(angle)), width));
      entry->row = int16_t(animation::ReduceInto(i - int64_t(g * std::sin(angle)), height));
      const double distance = std::sqrt(4.0 * (double(dx) * dx + double(dy) * dy) / diagonal2);
      const int64_t weight = int64_t(distance * 1024);
      entry->weight = int16_t(weight > 1024 ? 1024 : weight);
    }
  }
  return true;
}

void DrawIllusionFrame(const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride,
                       const IllusionEntry* map, int64_t offsetX, int64_t offsetY) {
  if (!texture || !out || !map || !IllusionSizeWorkable(width, height) ||
      stride < int64_t(width) * 3)
    return;
  const int ox = animation::ReduceInto(offsetX, width);
  const int oy = animation::ReduceInto(offsetY, height);
  const IllusionEntry* entry = map;
  for (int i = 0; i < height; ++i) {
    const uint8_t* here = texture + i * stride;
    uint8_t* dst = out + i * stride;
    for (int j = 0; j < width; ++j, ++entry, here += 3, dst += 3) {
      const int w = entry->weight < 0 ? 0 : entry->weight > 1024 ? 1024 : entry->weight;
      const uint8_t* there = texture + Shifted(entry->row, oy, height) * stride +
                             3 * Shifted(entry->column, ox, width);
      for (int c = 0; c < 3; ++c) dst[c] = uint8_t((here[c] * (1024 - w) + w * there[c]) >> 10);
    }
  }
}

}  // namespace quillo::qlo12
