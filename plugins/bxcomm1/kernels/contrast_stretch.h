// Automatic contrast stretch over the area, three ways:
//  801  saturation and value stretched to 0..1 through hue, saturation, value;
//  802  each channel's range over the area stretched to 0..255 (a constant
//       channel keeps its value): v -> MulDiv(255, v - min, max - min);
//  803  the same saturation and value stretch on the complementary colours
//       (cyan, magenta, yellow less their common black K), the stretched
//       saturation limited to 0..1, K added back (at most 255).
// Each works in two steps, measuring the area of the source and then
// writing the target, so a caller can show progress between them.
#pragma once
#include <cstdint>

#include "imaging/basics/pixel_pass.h"
#include "imaging/colour_stretch.h"

namespace quillo {

enum class StretchMethod { kSaturationValue = 801, kPerChannel = 802, kComplementary = 803 };

class ContrastStretch {
 public:
  explicit ContrastStretch(StretchMethod method) : method_(method) {}
  void Measure(const PixelPass& pass);
  void Write(const PixelPass& pass) const;

 private:
  StretchMethod method_;
  imaging::HsvRange range_;
  uint8_t table_[3][256] = {};
};

}  // namespace quillo
