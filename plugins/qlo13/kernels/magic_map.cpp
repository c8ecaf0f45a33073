#include "magic_map.h"

#include <cmath>
#include <cstdlib>

#include "disco.h"

namespace quillo::qlo13 {

const MagicModeRow kMagicModeTable[kMagicModes] = {
    {{0, 0, 0}, {10, 10, 100}, 2, {3, 2, 0}},    {{0, 0, 0}, {10, 10, 100}, 2, {3, 2, 0}},
    {{0, 0, 0}, {10, 10, 100}, 2, {3, 2, 0}},    {{0, 0, 0}, {10, 10, 100}, 2, {3, 4, 0}},
    {{0, 0, 0}, {10, 10, 100}, 2, {1, 2, 0}},    {{0, 0, 1}, {10, 10, 100}, 3, {1, 2, 2}},
    {{1, 1, 0}, {10, 10, 100}, 2, {3, 2, 0}},    {{1, 1, 0}, {10, 10, 100}, 2, {3, 4, 0}},
    {{0, 0, 0}, {10, 10, 100}, 2, {3, 4, 0}},    {{0, 0, 0}, {128, 128, 100}, 2, {64, 64, 0}},
    {{1, 1, 0}, {20, 20, 100}, 2, {3, 4, 0}},
};

namespace {

constexpr double kTwoPi = 6.283185307179586;

int64_t Abs(int64_t v) { return v < 0 ? -v : v; }
// |x| mod m, for m > 0.
int64_t AbsMod(int64_t x, int64_t m) { return Abs(x) % m; }
int64_t Cs(int64_t a, int64_t r) { return int64_t(std::cos(double(a) * kTwoPi / 1024) * double(r)); }
int64_t Sn(int64_t a, int64_t r) { return int64_t(std::sin(double(a) * kTwoPi / 1024) * double(r)); }
int64_t Root(int64_t v) { return int64_t(std::sqrt(double(v))); }
// A C remainder that leaves the value alone where the divisor is 0.
int64_t ModOrKeep(int64_t a, int64_t m) { return m == 0 ? a : a % m; }

// The picture-wide values every pixel of a pattern shares.
struct Frame {
  int64_t w, h, cx, cy, radius, centreAngle;
};

Frame FrameOf(int width, int height) {
  Frame f;
  f.w = width;
  f.h = height;
  f.cx = width / 2;
  f.cy = height / 2;
  f.radius = int64_t(0.5 * std::sqrt(double(f.w) * double(f.w) + double(f.h) * double(f.h)));
  f.centreAngle = DiscoAngle(f.cx, f.cy);
  return f;
}

// The position on a circle of angle a and radius r around the centre.
MagicTexel Around(const Frame& f, int64_t a, int64_t r, bool flipRows) {
  const int64_t u = AbsMod(f.cx - Cs(a, r), f.w);
  const int64_t v = AbsMod(f.cy - Sn(a, r), f.h);
  return {int(u), int(flipRows ? f.h - 1 - v : v)};
}

MagicTexel Pattern(const MagicSettings& s, const Frame& f, int64_t i, int64_t j) {
  const int64_t dx = j - f.cx, dy = i - f.cy;
  const int64_t d = int64_t(std::sqrt(double(dx * dx + dy * dy)));
  const int64_t s1 = s.s1, s2 = s.s2, s3 = s.s3;
  switch (s.mode) {
    case 0: {
      const int64_t u = (Abs(DiscoAngle(dx, dy) + 256) * s1) % f.w;
      return {int(u), int(f.h - 1 - (d * s2) % f.h)};
    }
    case 1: {
      const int16_t product = int16_t(uint16_t(uint64_t(d * s1)));
      return {int(AbsMod(product, f.w)), int(AbsMod(i * s2, f.h))};
    }
    case 3: return Around(f, DiscoAngle(dx, dy) * s1, d, true);
    case 4: {
      const int64_t t = ModOrKeep(DiscoAngle(dx, dy) * s1, f.centreAngle);
      const int64_t r = ModOrKeep(d - s2 * s3, f.radius);
      return Around(f, t, r, true);
    }
    case 5: {
      const int64_t t = ModOrKeep(DiscoAngle(dx, dy) * s1, f.centreAngle);
      const int64_t r = ModOrKeep(s3 * (d - s3), f.radius);
      return Around(f, t, r, false);
    }
    case 6: {
      const int64_t k = s1 ? f.w * s1 / 255 : 1;
      const int64_t g = d == k ? 1 : d - k;
      return {int(AbsMod((j % g) * s2, f.w)), int(AbsMod((i % g) * s2, f.h))};
    }
    case 7: {
      const int64_t c = s1 ? Root(f.radius) * s1 * 50 / 255 : 1;
      const int64_t q = Root(d > 1 ? d : 1);
      return Around(f, DiscoAngle(dx, dy), c * q, true);
    }
    case 8: {
      const int64_t qw = f.w / 4, qh = f.h / 4;
      const int64_t e = s1 ? s1 * qw * 50 / 255 - qw : 1;
      const int64_t h = s2 ? s2 * qh * 50 / 255 - qh : 1;
      const int64_t l = j < qw ? f.w / 2 - j : (j > 3 * qw ? 3 * (f.w / 2) - j : j);
      const int64_t m = i < qh ? f.h / 2 - i : (i > 3 * qh ? 3 * (f.h / 2) - i : i);
      return {int(AbsMod(f.w + e + l, f.w)), int(AbsMod(f.h + h + m, f.h))};
    }
    case 9: {
      const int64_t a = DiscoAngle(dx, dy) + 512;
      const int64_t f2 = int64_t(1) << (((9 * s1 + 1143) / 255) & 31);
      const int64_t r = a % f2;
      const int64_t g = ((s2 + 127) * 1024) / 255 - 512 + (r < a % (2 * f2) ? r : f2 - r);
      return Around(f, g, d, false);
    }
    case 10: {
      const int64_t e = s1 ? s1 * Root(f.w) * 50 / 255 : 1;
      const int64_t g = s1 ? s1 * Root(f.h) * 50 / 255 : 1;
      auto sq = [](int64_t x) { return x > 0 ? Root(x) : int64_t(1); };
      const int64_t u = AbsMod(e * Abs(dx) / sq(Abs(dy)), f.w);
      const int64_t v = AbsMod(g * Abs(dy) / sq(Abs(dx)), f.h);
      return {int(u), int(f.h - 1 - v)};
    }
    default: {  // 2
      const int64_t e = DiscoAngle(dx, dy) + (i < f.h / 2 ? 256 : -256);
      return {int((Abs(e) * s1) % f.w), int((i * s2) % f.h)};
    }
  }
}

// A negative coordinate is raised by the size until it is not.
int Raise(int v, int size) {
  if (v >= 0) return v;
  const int r = v % size;
  return r < 0 ? r + size : r;
}

MagicSettings Valid(MagicSettings s) {
  if (s.mode < 0 || s.mode >= kMagicModes) s.mode = 2;
  return s;
}

}  // namespace

MagicTexel MagicPatternAt(const MagicSettings& settings, int width, int height, int i, int j) {
  if (width <= 0 || height <= 0) return {};
  const MagicTexel t = Pattern(Valid(settings), FrameOf(width, height), i, j);
  return {Raise(t.u, width), Raise(t.v, height)};
}

void BuildMagicMap(const MagicSettings& settings, int width, int height, animation::MapEntry* map,
                   void (*progress)(void*, int), void* context) {
  if (width <= 0 || height <= 0 || width > 32767 || height > 32767 || !map) return;
  const MagicSettings s = Valid(settings);
  const Frame f = FrameOf(width, height);
  for (int i = 0; i < height; ++i) {
    animation::MapEntry* row = map + int64_t(i) * width;
    for (int j = 0; j < width; ++j) {
      const MagicTexel t = Pattern(s, f, i, j);
      row[j].column = int16_t(Raise(t.u, width));
      row[j].row = int16_t(Raise(t.v, height));
    }
    if (progress) progress(context, i + 1);
  }
}

}  // namespace quillo::qlo13
