// What the fire effects share: the base fire palette from black through
// red and yellow to white, and the hue, saturation and lightness conversion
// the effects turn their palettes with.
#pragma once
#include <cstdint>

namespace quillo::animation {

struct FireColour {
  uint8_t red = 0, green = 0, blue = 0;
};

// Entry k (0 ... 255) of the fire palette before any turn: red rises from
// entry 8 to 31, green from 33 to 56, blue has a small ramp up to entry 7,
// falls to 0 at entry 16 and rises again from 58 to 81 (byte arithmetic
// modulo 256 on the ramps); each is 255 past its ramp.
FireColour BaseFireColour(int k);

// A colour in hue, saturation and lightness: hue 0 ... 1 in sixths from red,
// absent for a grey.
struct Hsl {
  double hue = 0, saturation = 0, lightness = 0;
  bool hasHue = false;
};

// The usual conversion of red, green and blue fractions (0 ... 1):
// lightness (max + min) / 2; saturation (max - min) / (max + min) up to a
// lightness of 0.5, else (max - min) / (2 - max - min); the hue from the
// dominant component.
Hsl ToHsl(double red, double green, double blue);

// Back to bytes, each component floor(c x 255 + 0.5): a grey of the
// lightness when the saturation is 0 or there is no hue.
FireColour FromHsl(const Hsl& colour);

// The hue moved by `shift` and brought back into 0 ... 1 by adding or
// subtracting 1 (shifts of -1 ... 1).
double WrapHue(double hue, double shift);

}  // namespace quillo::animation
