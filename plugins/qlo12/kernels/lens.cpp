#include "lens.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace quillo::qlo12 {
namespace {

constexpr double kPi = 3.141592653589793;

int Truncate(double v) { return std::isfinite(v) && std::fabs(v) < 2.0e9 ? int(v) : 1 << 30; }

// sin(o x pi / 2), or its reciprocal for the inverting lens (where it is
// not zero).
double Scale(const LensOptions& options, double o) {
  const double k = std::sin(o * kPi / 2);
  return options.invert && k != 0 ? 1 / k : k;
}

}  // namespace

bool LensSizeWorkable(int width, int height) { return width >= 60 && height >= 60; }

LensRadiusRange LensRadii(int width, int height) {
  const int shorter = std::min(width, height);
  const int m = std::min(256, shorter / 3);
  const int high = std::max(m - 7, 10);
  return {10, high, std::clamp(std::min(256, shorter / 4) - 7, 10, high)};
}

int LensBoxSize(const LensOptions& options) { return 2 * options.radius + 2 + options.step; }

std::vector<LensCell> BuildLensMap(const LensOptions& options) {
  const int a = std::max(options.radius, 1);
  const int n = LensBoxSize(options);
  std::vector<LensCell> map(size_t(n) * size_t(n));
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const double x = i - a, y = j - a;
      const double l = std::sqrt(x * x + y * y), o = l / a;
      LensCell cell{i, j};
      if (l < a - 1) {
        if (options.twirl) {
          const double u = 5 * (1 - o) * (1 - o);
          const double angle = x == 0 && y == 0 ? u : u - std::atan2(a - j, x);
          cell = {a + Truncate(l * std::cos(angle)), a + Truncate(l * std::sin(angle))};
          if (options.sineScale) {
            const double k = Scale(options, o);
            cell = {a + Truncate(k * (cell.column - a)), a + Truncate(k * (cell.row - a))};
          }
        } else {
          const double k = Scale(options, o);
          cell = {a + Truncate(k * x), a + Truncate(k * y)};
        }
      }
      map[size_t(j) * size_t(n) + size_t(i)] = cell;
    }
  return map;
}

LensMotion PlaceLens(const LensOptions& options, int width, int height, RuntimeRandom& random) {
  LensMotion m;
  m.x = random.Below(width - 2 * options.radius);
  m.y = random.Below(height - 2 * options.radius);
  m.vx = m.vy = options.step;
  return m;
}

void StepLens(const LensOptions& options, const std::vector<LensCell>& map, LensMotion& motion,
              const uint8_t* backup, uint8_t* image, int width, int height, int64_t stride) {
  const int n = LensBoxSize(options), s = options.step, a = options.radius;
  if (!backup || !image || width <= 0 || height <= 0 || stride < int64_t(width) * 3 || a <= 0 ||
      map.size() != size_t(n) * size_t(n))
    return;
  if (motion.x + n >= width) motion.vx = -std::abs(motion.vx);
  if (motion.x <= s) motion.vx = std::abs(motion.vx);
  if (motion.y + n >= height) motion.vy = -std::abs(motion.vy);
  if (motion.y <= s) motion.vy = std::abs(motion.vy);
  motion.x += motion.vx;
  motion.y += motion.vy;

  auto inside = [&](int64_t col, int64_t row) { return col >= 0 && col < width && row >= 0 && row < height; };
  auto pixel = [&](uint8_t* base, int64_t col, int64_t row) { return base + row * stride + 3 * col; };
  auto source = [&](int64_t col, int64_t row) { return backup + row * stride + 3 * col; };

  if (options.ball) {
    const int cx = motion.vx > 0 ? a + s : a, cy = motion.vy > 0 ? a + s : a;
    const int64_t a2 = int64_t(a) * a;
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        const int64_t col = int64_t(motion.x) + j, row = int64_t(motion.y) + i;
        if (!inside(col, row)) continue;
        uint8_t* dst = pixel(image, col, row);
        const int64_t dx = j - cx, dy = i - cy, q = dx * dx + dy * dy;
        if (q > a2 || std::abs(dx) > a || std::abs(dy) > a) {
          std::memcpy(dst, source(col, row), 3);
        } else if (q == 0) {
          std::memset(dst, 0, 3);
        } else {
          const int64_t sc = motion.x + cx + a2 * dx / q, sr = motion.y + cy + a2 * dy / q;
          if (inside(sc, sr)) std::memcpy(dst, source(sc, sr), 3);
          else std::memset(dst, 0, 3);
        }
      }
    return;
  }
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const int64_t col = int64_t(motion.x) + i, row = int64_t(motion.y) + j;
      if (!inside(col, row)) continue;
      const LensCell& cell = map[size_t(j) * size_t(n) + size_t(i)];
      const int64_t sc = int64_t(motion.x) + cell.column, sr = int64_t(motion.y) + cell.row;
      if (inside(sc, sr)) std::memcpy(pixel(image, col, row), source(sc, sr), 3);
    }
}

}  // namespace quillo::qlo12
