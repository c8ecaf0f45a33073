// Reader and writer of level 1 word-processor graphics files (.wpg): a
// 16-byte header, then records of a type byte and a variable length.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

struct WpgImage {
  std::vector<uint8_t> dib;  // packed DIB, bottom-up; empty on failure
  std::string error;
};

// The first bitmap record (type 0x0B, or 0x14 with its rotation and frame
// fields) of 1, 2, 4 or 8 bits per pixel, rows top first, each row
// run-length coded on its own:
//   0x80 | n, v (n > 0)  n copies of byte v      0x80, n  n bytes 0xFF
//   n (0 < n < 0x80)     n literal bytes         0x00, n  the previous row n more times
// The colours start as black and white for 1-bit pictures, else the 16
// standard VGA colours followed by a grey ramp; colour map records (0x0E:
// first entry, count, red, green, blue triples) before the bitmap replace
// entries. 2-bit pictures become 4-bit DIBs; the others keep their depth and
// indices. Level 2 and encrypted files, runs reaching past a row, a row
// repeat in the middle of a row or before the first row, and data ending
// before the last row are refused.
WpgImage ReadWpg(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

// A level 1 file with a start record, a colour map of 2^bits entries, one
// type 0x0B bitmap (1, 4 or 8 bits) and the end record. Empty with `error`
// set for other depths or sides above 65535.
std::vector<uint8_t> WriteWpg(const DibView& view, std::string& error);

}  // namespace quillo::bxload
