#include "warp_brush.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace quillo {

namespace {

constexpr int kMaxRadius = 100;
constexpr double kPi = 3.14159265358979323846;

// The map (or a picture channel) sampled bilinearly at a real position,
// clamped to the grid.
template <class Read>
double Bilinear(double x, double y, int width, int height, Read read) {
  x = std::clamp(x, 0.0, double(width - 1));
  y = std::clamp(y, 0.0, double(height - 1));
  const int x0 = int(x), y0 = int(y);
  const int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
  const double fx = x - x0, fy = y - y0;
  const double top = read(x0, y0) * (1 - fx) + read(x1, y0) * fx;
  const double bottom = read(x0, y1) * (1 - fx) + read(x1, y1) * fx;
  return top * (1 - fy) + bottom * fy;
}

}  // namespace

const float* WarpFalloff() {
  static const std::vector<float> table = [] {
    std::vector<float> t(100);
    for (int i = 0; i < 100; ++i)
      t[size_t(i)] = float(std::pow((std::cos(std::sqrt(i * 0.01) * kPi) + 1) * 0.5, 0.7));
    return t;
  }();
  return table.data();
}

bool WarpBrush::Start(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  width_ = width;
  height_ = height;
  try {
    map_.assign(size_t(width) * size_t(height) * 2, 0.0f);
    scratch_.assign(size_t(2 * kMaxRadius + 1) * (2 * kMaxRadius + 1) * 2, 0.0f);
  } catch (const std::bad_alloc&) {
    std::vector<float>().swap(map_);
    std::vector<float>().swap(scratch_);
    return false;
  }
  return true;
}

void WarpBrush::Stroke(WarpMode mode, int radius, double strength, int lastX, int lastY, int x,
                       int y, const WarpPicture& picture) {
  if (map_.empty() || picture.width != width_ || picture.height != height_) return;
  radius = std::clamp(radius, 1, kMaxRadius);
  if (!std::isfinite(strength)) return;
  if (mode != WarpMode::kMove) {
    Dab(mode, radius, strength, x, y, 0, 0, picture);
    return;
  }
  // A move is spread over steps no longer than half the radius, each
  // pushing the picture back along the way the mouse went.
  const double ex = x - lastX, ey = y - lastY;
  const int n = 1 + int(2 * std::sqrt(ex * ex + ey * ey) / radius);
  for (int j = 1; j <= n; ++j)
    Dab(mode, radius, strength, int(lastX + j * (ex / n)), int(lastY + j * (ey / n)), -ex / n, -ey / n,
        picture);
}

void WarpBrush::Dab(WarpMode mode, int radius, double k, int cx, int cy, double dirX, double dirY,
                    const WarpPicture& pic) {
  const float* falloff = WarpFalloff();
  const int r2 = radius * radius;
  const int fade = std::max(1, int(radius * 0.2));  // never a zero divisor
  const int side = 2 * radius + 1;
  const int x0 = std::max(cx - radius, 0), x1 = std::min(cx + radius, width_ - 1);
  const int y0 = std::max(cy - radius, 0), y1 = std::min(cy + radius, height_ - 1);
  if (x0 > x1 || y0 > y1) return;
  auto inside = [&](int i, int j) { return (i * i + j * j) * 100 / r2 < 100; };
  // New displacements first, all read from the map as it was.
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const int i = x - cx, j = y - cy;
      if (!inside(i, j)) continue;
      const double f = falloff[(i * i + j * j) * 100 / r2];
      float* out = &scratch_[(size_t(j + radius) * side + size_t(i + radius)) * 2];
      if (mode == WarpMode::kRestore) {
        const double keep = 1 - f * k * 0.5;
        out[0] = float(map_[Index(x, y)] * keep);
        out[1] = float(map_[Index(x, y) + 1] * keep);
        continue;
      }
      double u = 0, v = 0, g;
      switch (mode) {
        case WarpMode::kGrow: g = f * k * 0.1, u = -g * i, v = -g * j; break;
        case WarpMode::kShrink: g = f * k * 0.1, u = g * i, v = g * j; break;
        case WarpMode::kTwirlRight: g = f * k * 0.5, u = g * j, v = -g * i; break;
        case WarpMode::kTwirlLeft: g = f * k * 0.5, u = -g * j, v = g * i; break;
        default: g = f * k, u = g * dirX, v = g * dirY; break;
      }
      const double edge = std::min({1.0, double(x) / fade, double(y) / fade,
                                    double(width_ - x - 1) / fade, double(height_ - y - 1) / fade});
      u *= edge;
      v *= edge;
      double dx = Bilinear(x + u, y + v, width_, height_, [&](int a, int b) { return map_[Index(a, b)]; }) + u;
      double dy = Bilinear(x + u, y + v, width_, height_, [&](int a, int b) { return map_[Index(a, b) + 1]; }) + v;
      if (x + dx < 0) dx = -x;
      if (x + dx > width_ - 1) dx = width_ - 1 - x;
      if (y + dy < 0) dy = -y;
      if (y + dy > height_ - 1) dy = height_ - 1 - y;
      out[0] = float(dx);
      out[1] = float(dy);
    }
  // Then the map and the footprint's pixels.
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const int i = x - cx, j = y - cy;
      if (!inside(i, j)) continue;
      const float* d = &scratch_[(size_t(j + radius) * side + size_t(i + radius)) * 2];
      map_[Index(x, y)] = d[0];
      map_[Index(x, y) + 1] = d[1];
      const double sx = x + d[0], sy = y + d[1];
      uint8_t* px = pic.target + int64_t(height_ - 1 - y) * pic.stride + int64_t(x) * 3;
      for (int c = 0; c < 3; ++c) {
        const double value = Bilinear(sx, sy, width_, height_, [&](int a, int b) {
          return double(pic.source[int64_t(height_ - 1 - b) * pic.stride + int64_t(a) * 3 + c]);
        });
        px[c] = uint8_t(std::clamp(value, 0.0, 255.0));
      }
      if (pic.sourceMask && pic.targetMask) {
        const double m = Bilinear(sx, sy, width_, height_, [&](int a, int b) {
          return double(pic.sourceMask[size_t(b) * size_t(width_) + size_t(a)]);
        });
        pic.targetMask[size_t(y) * size_t(width_) + size_t(x)] = uint8_t(std::clamp(m, 0.0, 255.0));
      }
    }
}

}  // namespace quillo
