// Reader and writer of TGA picture files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

struct TgaImage {
  std::vector<uint8_t> dib;  // packed DIB, bottom-up; empty on failure
  std::string error;
};

// Image types 1, 2, 3 (uncompressed colour-mapped, true colour, grey) and 9,
// 10, 11 (their run-length forms). Colour-mapped pictures use 8-bit indices
// and a map of 15, 16, 24 or 32-bit entries whose first entry stands for
// index "first entry" (indices outside the map are black); they become 8-bit
// DIBs whose index is the file's index. Grey pictures (8 bits, or 16 with the
// second byte ignored) become 8-bit DIBs with a grey ramp; true colour (15,
// 16, 24, 32 bits) becomes 24-bit, alpha dropped. The ID field is skipped;
// the origin (top or bottom) and right-to-left bits are honoured. Run-length
// packets may cross rows; a packet crossing the end of the picture is cut,
// data after the last pixel is ignored, and data ending before it is refused.
TgaImage ReadTga(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

// 24-bit (and 32-bit, fourth byte dropped) pictures are written uncompressed
// as type 2, bottom-left origin; 1, 4 and 8-bit pictures as type 1 with 8-bit
// indices and a colour map of 2^bits 24-bit entries. No run-length coding is
// used, so every reader of the format can open the result. Empty with `error`
// set when a side exceeds 65535 pixels.
std::vector<uint8_t> WriteTga(const DibView& view, std::string& error);

}  // namespace quillo::bxload
