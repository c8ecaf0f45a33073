#include "tunnel_map.h"

#include <cmath>
#include <cstdint>

namespace quillo::qlo12 {
namespace {

constexpr double k256OverPi = 81.48733086305042;

struct Vec {
  double x, y, z;
};

Vec Normalise(Vec v) {
  const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / length, v.y / length, v.z / length};
}

// A double truncated toward zero to an integer, non-finite values and
// values beyond any picture as 0.
int64_t Truncate(double v) {
  if (!std::isfinite(v) || std::fabs(v) >= 9.0e18) return 0;
  return static_cast<int64_t>(v);
}

// Texture values (s, t) on a 256-wide scale for the ray through virtual
// screen point (a, b).
void Cylinder(double a, double b, double& s, double& t) {
  const Vec d = Normalise({(a - 160) / 120, (b - 100) / 120, 1});
  const double A = d.x * d.x + d.y * d.y;
  const double B = 2 * (128 * d.y - 128 * d.x);
  const double E = 32768.0 - 256.0 * 256.0;
  const double D = std::sqrt(B * B - 4 * A * E);
  double k = (D - B) / (2 * A + 0.000001);
  if (k <= 0) k = (-B - D) / (2 * A + 0.000001);
  s = std::fabs(k * d.z) * 0.6;
  t = std::fabs(std::atan2(d.y * k + 128, d.x * k - 128) * k256OverPi);
}

void Sphere(double a, double b, double& s, double& t) {
  const Vec d = Normalise({(a - 160) / 120, (b - 100) / 120 - 0.4, 0.7});
  const double A = d.x * d.x + d.y * d.y + d.z * d.z;
  const double B = 2 * -100.0 * (d.z + d.y);
  const double E = 20000.0 - 256.0 * 256.0;
  const double D = std::sqrt(B * B - 4 * A * E);
  double k = (D - B) / (2 * A);
  if (k <= 0) k = (-B - D) / (2 * A);
  const Vec p = {d.x * k, d.y * k - 100, d.z * k - 100};
  const double length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
  s = (std::asin(p.y / length) + 1) * 128;
  t = std::atan2(p.z, p.x) * k256OverPi;
}

// The low 8 bits of v truncated toward zero, as a signed value.
double LowSignedByte(double v) { return double(int8_t(uint8_t(uint64_t(Truncate(v))))); }

void Plane(double a, double b, double& s, double& t) {
  const Vec d = Normalise({(a - 160) / 120, (b - 100) / 120, 1});
  const double q = d.y > 0 ? 650 / d.y : -650 / d.y;
  s = LowSignedByte(std::fabs(q * d.x) * 0.3);
  t = LowSignedByte(std::fabs(q * d.z) * 0.3);
}

}  // namespace

void BuildTunnelMap(int width, int height, int mode, animation::MapEntry* map) {
  if (!map || width <= 0 || height <= 0) return;
  auto* cast = mode == kTunnelSphere ? Sphere : mode == kTunnelPlane ? Plane : Cylinder;
  const double stepA = 320.0 / width, stepB = 200.0 / height;
  double b = 0;
  for (int i = 0; i < height; ++i, b += stepB) {
    double a = 0;
    for (int j = 0; j < width; ++j, a += stepA) {
      double s, t;
      cast(a, b, s, t);
      animation::MapEntry& e = map[int64_t(i) * width + j];
      e.column = animation::MapCoordinate(Truncate(width * s / 256), width);
      e.row = animation::MapCoordinate(Truncate(height * t / 256), height);
    }
  }
}

}  // namespace quillo::qlo12
