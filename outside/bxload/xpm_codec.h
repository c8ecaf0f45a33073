// Reader of X pixmaps (version 3: a C array of strings).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

struct XpmImage {
  std::vector<uint8_t> dib;  // packed DIB, bottom-up; empty on failure
  std::string error;
};

// The strings of the array, in order: "width height colours chars-per-pixel
// [hot-x hot-y] [XPMEXT]", one line per colour ("<chars> c <colour>", the
// colour of key "c" taken first, else "g", "g4", then "m"), then one string
// per row of width x chars-per-pixel characters. A colour is "#rgb",
// "#rrggbb" or "#rrrrggggbbbb" (the high byte of each field is kept), "None"
// (shown white: the picture has no transparency here), or a name of a small
// table of common colours (case and spaces ignored; "grayN"/"greyN" for
// N = 0..100). Up to 256 colours give a paletted DIB of 1, 4 or 8 bits, more
// a 24-bit one. An unknown colour name, a pixel whose characters name no
// colour, or a row shorter than the width is refused.
XpmImage ReadXpm(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

// Colour for an XPM colour text (as above); false when not understood.
bool ParseXpmColour(const std::string& text, DibColour& colour);

}  // namespace quillo::bxload
