#include "envmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace quillo::qlo11 {

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180;
constexpr double kViewDistance = 209;

// trunc(v) limited to +-2^20: far beyond any picture, so the 16.16 steps
// below stay inside 64 bits whatever the input.
int Bounded(double v) {
  if (!std::isfinite(v)) return 0;
  return int(std::clamp(v, -1048576.0, 1048576.0));
}

// An edge from p to q as 16.16 values at row y (p.y <= y < q.y).
struct EdgeAt {
  int64_t x, u, v;
};
EdgeAt Along(const EnvmapCorner& p, const EnvmapCorner& q, int y) {
  const int64_t rows = q.y - p.y, t = y - p.y;
  const auto step = [&](int from, int to) { return (int64_t(to - from) * 65536) / rows; };
  return {int64_t(p.x) * 65536 + step(p.x, q.x) * t, int64_t(p.u) * 65536 + step(p.u, q.u) * t,
          int64_t(p.v) * 65536 + step(p.v, q.v) * t};
}

}  // namespace

EnvmapVector RotateEnvmap(EnvmapVector v, double alpha, double beta, double gamma) {
  const double cg = std::cos(gamma), sg = std::sin(gamma);
  const double x1 = cg * v.x + sg * v.y, y1 = sg * v.x - cg * v.y;
  const double cb = std::cos(beta), sb = std::sin(beta);
  const double x2 = sb * v.z + cb * x1, z2 = sb * x1 - cb * v.z;
  const double ca = std::cos(alpha), sa = std::sin(alpha);
  const double z3 = ca * z2 + sa * y1, y3 = sa * z2 - ca * y1;
  return {x2, y3, z3};
}

void StartEnvmap(EnvmapState& state) {
  for (int i = 0; i < kEnvmapRings; ++i) {
    const double theta = 60 * i * kDegree;
    for (int j = 0; j < kEnvmapRings; ++j) {
      const double phi = 60 * j * kDegree;
      const EnvmapVector p = RotateEnvmap({0, 30 + 30 * std::cos(phi), 30 * std::sin(phi)}, 0, 0, theta);
      const EnvmapVector n = RotateEnvmap({0, 30 * std::cos(phi), 30 * std::sin(phi)}, 0, 0, theta);
      EnvmapVertex& vertex = state.mesh[size_t(i * kEnvmapRings + j)];
      vertex = {int32_t(p.x * 3),  int32_t(p.y * 3),  int32_t(p.z * 3),
                int32_t(n.x * 15), int32_t(n.y * 15), int32_t(n.z * 15)};
    }
  }
  // Each cell of the grid (its corners wrap around both rings) gives two
  // triangles over its four corners.
  int t = 0;
  for (int i = 0; i < kEnvmapRings; ++i)
    for (int j = 0; j < kEnvmapRings; ++j) {
      const int i1 = (i + 1) % kEnvmapRings, j1 = (j + 1) % kEnvmapRings;
      const auto at = [](int ring, int k) { return uint8_t(ring * kEnvmapRings + k); };
      state.triangles[size_t(t++)] = {at(i, j), at(i1, j), at(i1, j1)};
      state.triangles[size_t(t++)] = {at(i, j), at(i1, j1), at(i, j1)};
    }
  state.alpha = state.beta = state.gamma = 0;
  state.drawn = 0;
}

void FillEnvmapTriangle(const EnvmapCorner& a, const EnvmapCorner& b, const EnvmapCorner& c,
                        const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride) {
  EnvmapCorner p[3] = {a, b, c};
  std::sort(p, p + 3, [](const EnvmapCorner& l, const EnvmapCorner& r) { return l.y < r.y; });
  if (p[0].y == p[2].y) return;
  const int top = std::max(p[0].y, 0), bottom = std::min(p[2].y, height);
  for (int y = top; y < bottom; ++y) {
    EdgeAt l = Along(p[0], p[2], y);
    EdgeAt r = y < p[1].y ? Along(p[0], p[1], y) : Along(p[1], p[2], y);
    if (r.x < l.x) std::swap(l, r);
    const int64_t x0 = l.x >> 16, x1 = r.x >> 16;
    if (x1 <= x0) continue;
    const int64_t du = (r.u - l.u) / (x1 - x0), dv = (r.v - l.v) / (x1 - x0);
    const int64_t first = std::max<int64_t>(x0, 0), last = std::min<int64_t>(x1, width);
    int64_t u = l.u + du * (first - x0), v = l.v + dv * (first - x0);
    uint8_t* row = out + int64_t(y) * stride;
    for (int64_t x = first; x < last; ++x, u += du, v += dv) {
      const uint8_t* texel =
          texture + ((v >> 16) & 511) * kEnvmapTextureStride + (((u >> 16) * 2) & 1023) * 3;
      std::memcpy(row + x * 3, texel, 3);
    }
  }
}

void EnvmapFrame(EnvmapState& state, const uint8_t* texture, uint8_t* out, int width, int height,
                 int64_t stride) {
  if (!texture || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  std::memset(out, 0, size_t(stride) * size_t(height));
  const int count = std::clamp(state.drawn, 0, kEnvmapTriangles);
  const double scaleX = width / 4, scaleY = height / 4;
  for (int t = 0; t < count; ++t) {
    EnvmapCorner corner[3];
    bool facing = false;
    for (int k = 0; k < 3; ++k) {
      const EnvmapVertex& m = state.mesh[state.triangles[size_t(t)][size_t(k)] % kEnvmapVertices];
      const EnvmapVector p =
          RotateEnvmap({double(m.x), double(m.y), double(m.z)}, state.alpha, state.beta, state.gamma);
      const EnvmapVector n =
          RotateEnvmap({double(m.nx), double(m.ny), double(m.nz)}, state.alpha, state.beta, state.gamma);
      const double depth = p.z + kViewDistance;
      corner[k] = {Bounded(p.x / depth * scaleX + width / 2), Bounded(p.y / depth * scaleY + height / 2),
                   Bounded(n.x), Bounded(n.y) - 10};
      facing = facing || n.z < 0;
    }
    if (facing) FillEnvmapTriangle(corner[0], corner[1], corner[2], texture, out, width, height, stride);
  }
  if (state.drawn < kEnvmapTriangles) ++state.drawn;
  state.alpha += 0.03;
  state.beta += 0.02;
  state.gamma += 0.04;
}

}  // namespace quillo::qlo11
