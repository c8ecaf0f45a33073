// Bleed: pulls colours toward their grey (factor 1 gives grey, 0 leaves the
// pixel, negative factors exaggerate colour). Per pixel, with Y = 0.30 red +
// 0.59 green + 0.11 blue, each enabled channel v becomes
// clamp(trunc((1 - g) v + g Y)); the others are copied.
#pragma once
#include "imaging/basics/pixel_pass.h"

namespace quillo {

struct BleedSettings {
  double factor = 0.5;  // g
  bool red = true, green = true, blue = true;
};

// Slider position (-1090 .. 100) to the factor: below -100, (p + 100) x 0.1 - 1;
// else p x 0.01.
double BleedFactor(int position);

void RunBleed(const PixelPass& pass, const BleedSettings& settings, int rowBegin, int rowEnd);

}  // namespace quillo
