// Readers of the paint program brush (.gbr) and pattern (.pat) files:
// a big-endian header with a name, then the pixels row by row, top first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

struct GimpImage {
  std::vector<uint8_t> dib;  // packed DIB, bottom-up; empty on failure
  std::string error;
};

// Brush, version 1 (20-byte header: header size, version, width, height,
// bytes per pixel) or 2 (28 bytes: those, the magic "GIMP" and the spacing),
// the name filling the rest of the header. A grey brush (1 byte per pixel)
// stores how much paint each pixel lays down; it becomes an 8-bit DIB keeping
// that value as the index, its table showing the brush dark on white
// (entry i = 255 - i), as brushes are shown. A colour brush (4 bytes: red,
// green, blue, alpha) becomes 24-bit, composited over white.
GimpImage ReadGbr(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

// Pattern, version 1 (24-byte header: header size, version, width, height,
// bytes per pixel, the magic "GPAT"), then the name. Grey (1 byte) becomes an
// 8-bit DIB with a grey ramp; grey with alpha (2) the same, composited over
// white; red, green, blue (3) becomes 24-bit; with alpha (4) composited over
// white.
GimpImage ReadPat(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

// c * a / 255 over white, rounded: (c a + 255 (255 - a) + 127) / 255.
inline uint8_t OverWhite(int c, int a) { return uint8_t((c * a + 255 * (255 - a) + 127) / 255); }

}  // namespace quillo::bxload
