// Reader and writer of wireless bitmaps (type 0: uncompressed, one bit per
// pixel, rows packed MSB first and padded to a byte, a set bit is white).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

struct WbmpImage {
  std::vector<uint8_t> dib;  // 1-bit packed DIB (entry 0 black, 1 white); empty on failure
  std::string error;
};

// Width and height are multi-byte integers (7 bits a byte, high bit set on
// every byte but the last). Other types, extension headers, sizes over
// 2^28 pixels and short rasters are refused; bytes after the raster are ignored.
WbmpImage ReadWbmp(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

// The file for a 1-bit picture; each table entry becomes white when its
// brightness (0.299 R + 0.587 G + 0.114 B) is 128 or more, else black.
// Empty with `error` set for other depths or sizes.
std::vector<uint8_t> WriteWbmp(const DibView& view, std::string& error);

}  // namespace quillo::bxload
