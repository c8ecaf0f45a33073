// Reader of X bitmaps: C source text defining the width, the height and an
// array of bits.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

struct XbmImage {
  std::vector<uint8_t> dib;  // 1-bit packed DIB (entry 0 white, 1 black); empty on failure
  std::string error;
};

// "#define <name>_width N" and "#define <name>_height N" (hot-spot defines
// are ignored), then "static [unsigned] char <name>_bits[] = { 0x.., ... };"
// with one byte per 8 pixels of a row, the leftmost pixel in the lowest bit,
// rows padded to whole bytes; a "short" array (the older form) holds 16
// pixels per value the same way. A set bit is black. C comments may stand
// anywhere. Fewer values than the size needs, or a value too large for its
// type, is refused; values beyond the last row are ignored.
XbmImage ReadXbm(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

}  // namespace quillo::bxload
