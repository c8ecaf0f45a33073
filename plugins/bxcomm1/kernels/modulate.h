// Modulate: shift hue, saturation and lightness of every pixel.
//
// With R, G, B = byte / 255 read from a table built by adding 1/255 from 0:
//   l = (max + min) / 2; grey (max = min): s = 0, h = -1.
//   Otherwise d = max - min, s = d / (max + min) when l <= 0.5 else
//   d / (2 - max - min); with dX = (max - X) / d:
//     R max: h = 1 - dg (G not minimum) or 5 + db
//     G max: h = 3 - db (B not minimum) or 1 + dr
//     B max: h = 5 - dr (R not minimum) or 3 + dg
//   h = h / 6.
// Shifts (slider / 255): l and s are moved and limited to 0..1; a hue is
// moved and wrapped once into 0..1.
// Back: grey or s = 0 gives floor(l * 255 + 0.5) on all channels; otherwise
//   m2 = l * (1 + s) (l <= 0.5) or l + s - l * s, m1 = 2l - m2, sector and f
//   the integer and fractional parts of 6h, rising = m1 + f (m2 - m1),
//   falling = m2 - f (m2 - m1), and per sector (red, green, blue):
//   0 (m2, rising, m1), 1 (falling, m2, m1), 2 (m1, m2, rising),
//   3 (m1, falling, m2), 4 (rising, m1, m2), 5 (m2, m1, falling), other as 0;
//   each byte floor(value * 255 + 0.5).
//
// Lightness and saturation, and so m1, m2 and the bytes they give, depend only
// on the brightest and darkest byte of a pixel: they are precomputed per pass
// for every (max, min) pair with exactly the expressions above, leaving the
// hue and the one interpolated channel to each pixel.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "imaging/basics/pixel_pass.h"

namespace quillo {

struct ModulateSettings {
  int hue = 0;         // -255..255
  int saturation = 0;  // -255..255
  int lightness = 0;   // -255..255
};

// i / 255 for i = 0..255, accumulated by repeated addition of 1/255.
const std::array<double, 256>& ModulateUnitTable();

class ModulateKernel {
 public:
  ModulateKernel();
  ~ModulateKernel();

  // Builds the per-pass tables; slider values are clamped to -255..255.
  void Prepare(const ModulateSettings& settings);
  void Run(const PixelPass& pass, int rowBegin, int rowEnd) const;

 private:
  struct Pair {  // one (max, min) pair with max > min
    double m1, m2;
    uint8_t m1Byte, m2Byte;
    uint8_t flat;  // saturation 0 after the shift: all channels = flatByte
    uint8_t flatByte;
  };

  double hueShift_ = 0;
  std::unique_ptr<Pair[]> pairs_;         // index max * (max - 1) / 2 + min
  std::array<uint8_t, 256> greyBytes_{};  // result for a grey source pixel
};

}  // namespace quillo
