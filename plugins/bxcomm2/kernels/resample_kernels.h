// The fourteen resampling kernels of the geometry plug-in's Zoom, chosen by
// radio buttons 461 .. 474, each with its support (zero beyond it):
//   461 box           1 for -0.5 < x <= 0.5                         0.5
//   462 triangle      1 - |x|                                       1
//   463 Hermite       2|x|^3 - 3x^2 + 1                             1
//   464 Hanning       (cos(pi x) + 1) / 2                           1
//   465 Hamming       0.54 + 0.46 cos(pi x)                         1
//   466 Blackman      0.42 + 0.5 cos(pi x) + 0.08 cos(2 pi x)       1
//   467 Gaussian      exp(-2x^2) sqrt(2 / pi)                       1.25
//   468 quadratic     0.75 - x^2 (|x| < 0.5), 0.5 (|x| - 1.5)^2     1.5
//   469 B-spline      the cubic B-spline of ZoomDIBEx               2
//   470 Catmull-Rom   (3a^3 - 5a^2 + 2) / 2, (-a^3 + 5a^2 - 8a + 4) / 2   2
//   471 Mitchell      (7a^3 - 12a^2 + 16/3) / 6, (-7/3 a^3 + 12a^2 - 20a + 32/3) / 6   2
//   472 Lanczos       sinc(x) sinc(x / 3)                           3
//   473 Bessel        J1(pi x) / (2x), pi / 4 at 0                  1 + sqrt(5)
//   474 sinc          sin(pi x) / (pi x)                            4
#pragma once
#include "imaging/zoom.h"

namespace quillo::bxcomm2 {

constexpr int kFirstResampleButton = 461, kLastResampleButton = 474;

// The filter of button 461 .. 474 (others give the box).
imaging::ResampleFilter ResampleFilterFor(int button);

}  // namespace quillo::bxcomm2
