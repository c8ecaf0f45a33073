// Run-length decoding of 8-bit and 4-bit BMP pixel data.
#pragma once
#include <cstddef>
#include <cstdint>

namespace quillo::bxload {

// Decodes RLE8 (bitCount 8) or RLE4 (bitCount 4) data into the index rows
// `rows` (bottom-up, `stride` bytes each, zero-filled by the caller). The
// escapes end-of-line (0 0), end-of-bitmap (0 1), delta (0 2 dx dy) and
// absolute runs (0 n ...) are honoured. Pixels beyond the row are dropped,
// decoding stops at the top of the picture or the end of the data, and
// pixels never reached stay 0.
void DecodeRle(const uint8_t* data, size_t size, int bitCount, int32_t width, int32_t height,
               bool topDown, uint8_t* rows, int64_t stride);

}  // namespace quillo::bxload
