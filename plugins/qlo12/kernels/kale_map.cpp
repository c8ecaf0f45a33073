#include "kale_map.h"

#include <cmath>
#include <numbers>

#include "plugins/animation/kernels/texture_map.h"

namespace quillo::qlo12 {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// v wrapped into [0, size): whole sizes added while negative, taken away
// while too large; non-finite values as 0. The remainder is exact, and a
// tiny negative value that rounds up to `size` when raised becomes 0.
double WrapInto(double v, int size) {
  if (!std::isfinite(v)) return 0;
  if (v < 0 || v >= size) {
    v = std::fmod(v, double(size));
    if (v < 0) v += size;
    if (v >= size) v -= size;
  }
  return v;
}

// The angle e raised by whole turns until it is not negative.
double RaiseToPositive(double e) {
  if (!std::isfinite(e)) return 0;
  if (e < 0) e += kTwoPi * std::ceil(-e / kTwoPi);
  if (e < 0) e += kTwoPi;
  return e < 0 ? 0 : e;
}

int BlendByte(int left, int right, int lowerLeft, int lowerRight, int fx, int fy) {
  const int top = (fx * right + (1024 - fx) * left) >> 10;
  const int bottom = (fx * lowerRight + (1024 - fx) * lowerLeft) >> 10;
  return (top * (1024 - fy) + fy * bottom) >> 10;
}

// A texel index from an entry's whole part, reduced into the texture and
// shifted by the (already reduced) frame offset.
int ShiftedTexel(int32_t whole, int offset, int size) {
  int v = whole >= 0 && whole < size ? whole : animation::ReduceInto(whole, size);
  v += offset;
  return v >= size ? v - size : v;
}

}  // namespace

KaleParameters DefaultKaleParameters(int width, int height) {
  KaleParameters p;
  p.centreX = width > 0 ? width / 2 : 0;
  p.centreY = height > 0 ? height / 2 : 0;
  return p;
}

bool KaleSizeWorkable(int width, int height) {
  return width >= 1 && height >= 1 && width <= kKaleMaxSide && height <= kKaleMaxSide;
}

bool BuildKaleMap(int width, int height, const KaleParameters& p, KaleEntry* map) {
  if (!map || !KaleSizeWorkable(width, height)) return false;
  const int segments = p.segments < 1 ? 1 : p.segments;
  const double g = kPi / segments;
  KaleEntry* entry = map;
  for (int i = 0; i < height; ++i) {
    const double dy = i - p.centreY;
    for (int j = 0; j < width; ++j, ++entry) {
      const double dx = j - p.centreX;
      const double d = std::sqrt(dx * dx + dy * dy);
      const double around = dx == 0 && dy == 0 ? 0.0 : std::atan2(dy, dx);
      const double e = RaiseToPositive(around - p.angle1 - p.angle2);
      const double k = std::ceil(e / g);
      double a = e - g * (k - 1);
      if (p.mirror && std::fmod(k - 1, 2.0) != 0) a = g - a;
      a += p.angle1;
      const double sx = WrapInto(d * std::cos(a) + p.offsetX + p.centreX, width);
      const double sy = WrapInto(d * std::sin(a) + p.offsetY + p.centreY, height);
      // sx < width and the scaling by 1024 is exact, so the whole part of
      // the entry stays below width.
      entry->column = int32_t(sx * 1024);
      entry->row = int32_t(sy * 1024);
    }
  }
  return true;
}

void DrawKaleFrame(const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride,
                   const KaleEntry* map, int64_t offsetX, int64_t offsetY) {
  if (!texture || !out || !map || !KaleSizeWorkable(width, height) || stride < int64_t(width) * 3)
    return;
  const int ox = animation::ReduceInto(offsetX, width);
  const int oy = animation::ReduceInto(offsetY, height);
  const KaleEntry* entry = map;
  for (int i = 0; i < height; ++i) {
    uint8_t* dst = out + i * stride;
    for (int j = 0; j < width; ++j, ++entry, dst += 3) {
      const int x = ShiftedTexel(entry->column >> 10, ox, width);
      const int y = ShiftedTexel(entry->row >> 10, oy, height);
      const int fx = entry->column & 1023, fy = entry->row & 1023;
      const int x1 = x + 1 < width ? x + 1 : x;
      const int y1 = y + 1 < height ? y + 1 : y;
      const uint8_t* row0 = texture + y * stride;
      const uint8_t* row1 = texture + y1 * stride;
      for (int c = 0; c < 3; ++c)
        dst[c] = uint8_t(BlendByte(row0[3 * x + c], row0[3 * x1 + c], row1[3 * x + c],
                                   row1[3 * x1 + c], fx, fy));
    }
  }
}

void ShuffleKale(KaleParameters& p, RuntimeRandom& random) {
  p.segments = random.Below(6) + 3;
  p.angle1 = random.Below(360);
  p.angle2 = random.Below(360);
  p.mirror = !p.mirror;
}

}  // namespace quillo::qlo12
