// Reader of BMP files (and headerless packed DIBs) from a byte buffer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

struct BmpImage {
  std::vector<uint8_t> dib;  // packed DIB, bottom-up; empty on failure
  std::string error;         // reason for the user when dib is empty
};

// Accepts the info headers of 12 (OS/2), 40, 52, 56, 108 and 124 bytes;
// 1, 4, 8, 16, 24 and 32 bits; uncompressed, RLE8, RLE4 and bit fields;
// bottom-up and top-down rows. 1, 4 and 8-bit pictures keep their depth
// (with a full table of 2^bits entries), deeper ones become 24-bit.
BmpImage ReadBmp(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

}  // namespace quillo::bxload
