#include "resample_kernels.h"

#include <cmath>

namespace quillo::bxcomm2 {

namespace {

constexpr double kPi = 3.14159265358979323846;

double Sinc(double x) { return x == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x); }

double Box(double x) { return x > -0.5 && x <= 0.5 ? 1.0 : 0.0; }
double Triangle(double x) { x = std::fabs(x); return x < 1 ? 1 - x : 0.0; }
double Hermite(double x) { x = std::fabs(x); return x < 1 ? (2 * x - 3) * x * x + 1 : 0.0; }
double Hanning(double x) { return std::fabs(x) < 1 ? (std::cos(kPi * x) + 1) / 2 : 0.0; }
double Hamming(double x) { return std::fabs(x) < 1 ? 0.54 + 0.46 * std::cos(kPi * x) : 0.0; }
double Blackman(double x) {
  return std::fabs(x) < 1 ? 0.42 + 0.5 * std::cos(kPi * x) + 0.08 * std::cos(2 * kPi * x) : 0.0;
}
double Gaussian(double x) {
  return std::fabs(x) < 1.25 ? std::exp(-2 * x * x) * std::sqrt(2 / kPi) : 0.0;
}
double Quadratic(double x) {
  x = std::fabs(x);
  if (x < 0.5) return 0.75 - x * x;
  if (x < 1.5) return 0.5 * (x - 1.5) * (x - 1.5);
  return 0.0;
}
double CatmullRom(double x) {
  const double a = std::fabs(x);
  if (a < 1) return (3 * a * a * a - 5 * a * a + 2) / 2;
  if (a < 2) return (-a * a * a + 5 * a * a - 8 * a + 4) / 2;
  return 0.0;
}
double Mitchell(double x) {
  const double a = std::fabs(x);
  if (a < 1) return (7 * a * a * a - 12 * a * a + 16.0 / 3) / 6;
  if (a < 2) return (-7.0 / 3 * a * a * a + 12 * a * a - 20 * a + 32.0 / 3) / 6;
  return 0.0;
}
double Lanczos(double x) { return std::fabs(x) < 3 ? Sinc(x) * Sinc(x / 3) : 0.0; }
double Bessel(double x) {
  if (x == 0) return kPi / 4;
  return std::fabs(x) < 3.2360679774997896 ? std::cyl_bessel_j(1.0, kPi * std::fabs(x)) / (2 * std::fabs(x))
                                           : 0.0;
}
double SincKernel(double x) { return std::fabs(x) < 4 ? Sinc(x) : 0.0; }

}  // namespace

imaging::ResampleFilter ResampleFilterFor(int button) {
  switch (button) {
    case 462: return {Triangle, 1.0};
    case 463: return {Hermite, 1.0};
    case 464: return {Hanning, 1.0};
    case 465: return {Hamming, 1.0};
    case 466: return {Blackman, 1.0};
    case 467: return {Gaussian, 1.25};
    case 468: return {Quadratic, 1.5};
    case 469: return {imaging::BSplineKernel, 2.0};
    case 470: return {CatmullRom, 2.0};
    case 471: return {Mitchell, 2.0};
    case 472: return {Lanczos, 3.0};
    case 473: return {Bessel, 3.2360679774997896};
    case 474: return {SincKernel, 4.0};
    default: return {Box, 0.5};
  }
}

}  // namespace quillo::bxcomm2
