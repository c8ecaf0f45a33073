#include "tex_box.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace quillo::qlo16 {

namespace {

constexpr int32_t kNoMin = 32000, kNoMax = -32000;

// Truncation toward zero that stays defined for values no integer holds:
// they are clamped, and a value that is not a number counts as 0.
int64_t Trunc64(double v, double limit) {
  if (std::isnan(v)) return 0;
  return int64_t(std::clamp(v, -limit, limit));
}
int32_t Trunc32(double v) { return int32_t(Trunc64(v, 2e9)); }

struct ScreenPoint {
  double x, y;
};

ScreenPoint Project(const TexCanvas& c, const Matrix4& m, double u, double v) {
  const double X = m.m[0][0] * u + m.m[0][1] * v + m.m[0][3];
  const double Y = m.m[1][0] * u + m.m[1][1] * v + m.m[1][3];
  const double Z = std::fabs(m.m[2][0] * u + m.m[2][1] * v + m.m[2][3]);
  return {c.width / 2 + X / Z, c.height / 2 + Y / Z};
}

void Record(TexCanvas& c, int32_t x, int32_t row) {
  if (row < 0 || row >= int32_t(c.rowMin.size()) - 1) return;
  c.rowMin[size_t(row)] = std::min(c.rowMin[size_t(row)], x);
  c.rowMax[size_t(row)] = std::max(c.rowMax[size_t(row)], x);
}

void WalkEdge(TexCanvas& c, ScreenPoint a, ScreenPoint b) {
  const double h = c.height;
  if ((a.y < 0 && b.y < 0) || (a.y > h && b.y > h)) return;
  if (a.y > b.y) std::swap(a, b);
  if (a.y == b.y) {
    Record(c, Trunc32(a.x), Trunc32(a.y));
    Record(c, Trunc32(b.x), Trunc32(b.y));
    return;
  }
  const double slope = (b.x - a.x) / (b.y - a.y);
  double x = a.x, y = a.y;
  if (a.y < 0) {
    x = a.x + (-a.y) * slope;
    y = 0;
  }
  const double end = std::min(h, b.y);
  for (; y <= end; x += slope, y += 1) Record(c, Trunc32(x), Trunc32(y));
}

// Textures the span [x0, x1] of one screen row, starting at offset
// (dx, dy) from the centre: two divisions and three additions a pixel, in
// the integer type the caller found wide enough for every running value.
template <class Int>
void TextureSpan(const TexCoefficients& k, int64_t dx, int64_t dy, int x0, int x1, const uint8_t* backup,
                 uint8_t* liveRow, int width, int height, int64_t stride) {
  Int J = Int(k.j[0] * dx + k.j[1] * dy + k.j[2]);
  Int I = Int(k.i[0] * dx + k.i[1] * dy + k.i[2]);
  Int D = Int((k.d[0] * dx + k.d[1] * dy + k.d[2]) | 1);
  const Int stepJ = Int(k.j[0]), stepI = Int(k.i[0]), stepD = Int(k.d[0] & ~int64_t(1));
  uint8_t* out = liveRow + int64_t(x0) * 3;
  for (int x = x0; x <= x1; ++x, out += 3) {
    const Int row = I / D, col = J / D;
    D += stepD;
    I += stepI;
    J += stepJ;
    if (row >= 0 && row < height && col >= 0 && col < width) {
      const uint8_t* src = backup + int64_t(height - 1 - int64_t(row)) * stride + int64_t(col) * 3;
      out[0] = src[0], out[1] = src[1], out[2] = src[2];
    }
  }
}

// The lowest 32-bit value is left out: divided by -1 it would overflow.
bool Fits32(int64_t v) {
  return v > std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

}  // namespace

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
  Matrix4 p;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      double s = 0;
      for (int k = 0; k < 4; ++k) s += a.m[r][k] * b.m[k][c];
      p.m[r][c] = s;
    }
  return p;
}

Matrix4 RotX(double a) {
  Matrix4 m;
  m.m[1][1] = std::cos(a), m.m[1][2] = std::sin(a), m.m[2][1] = -std::sin(a), m.m[2][2] = std::cos(a);
  return m;
}

Matrix4 RotY(double a) {
  Matrix4 m;
  m.m[0][0] = std::cos(a), m.m[0][2] = -std::sin(a), m.m[2][0] = std::sin(a), m.m[2][2] = std::cos(a);
  return m;
}

Matrix4 RotZ(double a) {
  Matrix4 m;
  m.m[0][0] = std::cos(a), m.m[0][1] = std::sin(a), m.m[1][0] = -std::sin(a), m.m[1][1] = std::cos(a);
  return m;
}

Matrix4 Translate(double x, double y, double z) {
  Matrix4 m;
  m.m[0][3] = x, m.m[1][3] = y, m.m[2][3] = z;
  return m;
}

Matrix4 Scale(double x, double y, double z) {
  Matrix4 m;
  m.m[0][0] = x, m.m[1][1] = y, m.m[2][2] = z;
  return m;
}

std::array<TexFacePlacement, kTexFaceCount> TexFaces(int width, int height) {
  const double w = width, h = height;
  // The picture plane turned half a turn about the y axis and moved back
  // across: a mirrored copy in the same place.
  const Matrix4 q = Translate(w, 0, 0) * RotY(kTexPi);
  std::array<TexFacePlacement, kTexFaceCount> f;
  f[kFront] = {Matrix4(), width, height};
  f[kTop] = {RotX(-kTexHalfPi) * q, width, height};
  f[kLeft] = {RotY(kTexHalfPi) * Translate(h - w, 0, 0) * q, height, height};
  f[kBack] = {Translate(0, 0, h) * q, width, height};
  f[kBottom] = {Translate(0, h, 0) * RotX(-kTexHalfPi), width, height};
  f[kRight] = {Translate(w, 0, 0) * RotY(kTexHalfPi), height, height};
  return f;
}

Matrix4 TexViewMatrix(int width, int height, int t) {
  const double w = width, h = height;
  const double d = (std::sin(-0.0121 * t) + 1) * w + 2 * h;
  return Scale(w, h, 1) * Translate(0, 0, d) * RotZ(0.037 * t) * RotY(0.01 * t) * RotX(0.051 * t) *
         Translate(-(width / 2), -(height / 2), -(height / 2));
}

bool TexFaceVisible(const Matrix4& m) {
  double p[3][3];
  for (int r = 0; r < 3; ++r) {
    p[0][r] = m.m[r][3];
    p[1][r] = m.m[r][0] + m.m[r][3];
    p[2][r] = m.m[r][1] + m.m[r][3];
  }
  const double det = p[0][0] * (p[1][1] * p[2][2] - p[1][2] * p[2][1]) -
                     p[0][1] * (p[1][0] * p[2][2] - p[1][2] * p[2][0]) +
                     p[0][2] * (p[1][0] * p[2][1] - p[1][1] * p[2][0]);
  return det > 0;
}

bool PrepareTexCanvas(TexCanvas& c, int width, int height, int64_t stride) {
  if (width <= 0 || height <= 0 || width > kTexMaxSide || height > kTexMaxSide || stride < int64_t(width) * 3)
    return false;
  c.width = width;
  c.height = height;
  c.stride = stride;
  try {
    const size_t n = size_t(std::max(width, height)) + 1;
    c.rowMin.assign(n, 0);
    c.rowMax.assign(n, 0);
  } catch (const std::bad_alloc&) {
    c = TexCanvas();
    return false;
  }
  return true;
}

void TexFaceSpans(TexCanvas& c, const Matrix4& m, int w, int h) {
  const size_t rows = c.rowMin.size() - 1;
  std::fill_n(c.rowMin.begin(), rows, kNoMin);
  std::fill_n(c.rowMax.begin(), rows, kNoMax);
  const ScreenPoint corner[4] = {Project(c, m, 0, 0), Project(c, m, w - 1, 0), Project(c, m, w - 1, h - 1),
                                 Project(c, m, 0, h - 1)};
  for (int k = 0; k < 4; ++k) WalkEdge(c, corner[k], corner[(k + 1) % 4]);
}

TexCoefficients TexMapping(const Matrix4& m) {
  // The images of the u axis, the v axis and the origin.
  double n[3][3];
  for (int r = 0; r < 3; ++r) n[r][0] = m.m[r][0], n[r][1] = m.m[r][1], n[r][2] = m.m[r][3];
  const double adj[3][3] = {
      {n[1][1] * n[2][2] - n[1][2] * n[2][1], n[0][2] * n[2][1] - n[0][1] * n[2][2],
       n[0][1] * n[1][2] - n[0][2] * n[1][1]},
      {n[1][2] * n[2][0] - n[1][0] * n[2][2], n[0][0] * n[2][2] - n[0][2] * n[2][0],
       n[0][2] * n[1][0] - n[0][0] * n[1][2]},
      {n[1][0] * n[2][1] - n[1][1] * n[2][0], n[0][1] * n[2][0] - n[0][0] * n[2][1],
       n[0][0] * n[1][1] - n[0][1] * n[1][0]},
  };
  // Far beyond any coefficient a box in front of the viewer has, small
  // enough that sums over a row of at most kTexMaxSide pixels stay inside
  // 64 bits.
  constexpr double kLimit = 1e12;
  TexCoefficients k;
  for (int c = 0; c < 3; ++c) {
    k.j[c] = Trunc64(adj[0][c], kLimit) * 12;
    k.i[c] = Trunc64(adj[1][c], kLimit) * 12;
    k.d[c] = Trunc64(adj[2][c], kLimit) * 12;
  }
  return k;
}

void DrawTexFace(TexCanvas& c, const Matrix4& m, int w, int h, const uint8_t* backup, uint8_t* live) {
  if (c.width <= 0 || c.height <= 0 || !backup || !live) return;
  TexFaceSpans(c, m, w, h);
  const TexCoefficients k = TexMapping(m);
  const int cx = c.width / 2, cy = c.height / 2;
  for (int r = 0; r < c.height; ++r) {
    const int x0 = std::max(c.rowMin[size_t(r)], 0), x1 = std::min(c.rowMax[size_t(r)], c.width - 1);
    if (x1 < x0) continue;
    const int64_t dx = x0 - cx, dy = r - cy, steps = x1 - x0;
    uint8_t* row = live + int64_t(c.height - 1 - r) * c.stride;
    // The 32-bit loop gives the same quotients whenever every value along
    // the row fits (each is linear along it, so its two ends tell); the
    // last step after the row's end is taken too, so it must fit.
    bool narrow = true;
    for (const int64_t* q : {k.j, k.i, k.d}) {
      const bool denominator = q == k.d;
      const int64_t first = (q[0] * dx + q[1] * dy + q[2]) | (denominator ? 1 : 0);
      const int64_t step = denominator ? q[0] & ~int64_t(1) : q[0];
      narrow = narrow && Fits32(first) && Fits32(step) && Fits32(first + step * (steps + 1));
    }
    if (narrow)
      TextureSpan<int32_t>(k, dx, dy, x0, x1, backup, row, c.width, c.height, c.stride);
    else
      TextureSpan<int64_t>(k, dx, dy, x0, x1, backup, row, c.width, c.height, c.stride);
  }
}

void TexFrame(TexCanvas& c, const std::array<TexFacePlacement, kTexFaceCount>& faces, int t, bool frontOnly,
              const uint8_t* backup, uint8_t* live) {
  if (c.width <= 0 || c.height <= 0 || !backup || !live) return;
  std::memset(live, 0, size_t(c.stride) * size_t(c.height));
  const Matrix4 view = TexViewMatrix(c.width, c.height, t);
  for (int f = 0; f < kTexFaceCount; ++f) {
    if (frontOnly && f != kFront) break;
    const Matrix4 m = view * faces[size_t(f)].matrix;
    if (!frontOnly && !TexFaceVisible(m)) continue;
    DrawTexFace(c, m, faces[size_t(f)].width, faces[size_t(f)].height, backup, live);
  }
}

}  // namespace quillo::qlo16
