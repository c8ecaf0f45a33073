// Reading and writing single pixels of every bit depth (portable).
#pragma once
#include <cstdint>

#include "dib_check.h"

namespace quillo::dib {

// Value of pixel x in a row: the colour index for 1, 4 and 8 bits, the raw
// little-endian pixel for 16, 24 and 32 bits. The leftmost pixel of a 1-bit
// row is bit 7 of its first byte, of a 4-bit row the high nibble.
inline uint32_t GetPixel(const uint8_t* row, int64_t x, int bits) {
  switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
    case 8: return row[x];
    case 16: return uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
    case 24: {
      const uint8_t* p = row + 3 * x;
      return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    }
    default: {
      const uint8_t* p = row + 4 * x;
      return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
  }
}

inline void SetPixel(uint8_t* row, int64_t x, int bits, uint32_t v) {
  switch (bits) {
    case 1: {
      const int shift = 7 - int(x & 7);
      row[x >> 3] = uint8_t((row[x >> 3] & ~(1u << shift)) | ((v & 1u) << shift));
      break;
    }
    case 4: {
      const int shift = (x & 1) ? 0 : 4;
      row[x >> 1] = uint8_t((row[x >> 1] & ~(0xFu << shift)) | ((v & 0xFu) << shift));
      break;
    }
    case 8: row[x] = uint8_t(v); break;
    case 16:
      row[2 * x] = uint8_t(v);
      row[2 * x + 1] = uint8_t(v >> 8);
      break;
    case 24:
      row[3 * x] = uint8_t(v);
      row[3 * x + 1] = uint8_t(v >> 8);
      row[3 * x + 2] = uint8_t(v >> 16);
      break;
    default:
      for (int i = 0; i < 4; ++i) row[4 * x + i] = uint8_t(v >> (8 * i));
  }
}

// Turns 16/32-bit pixels into 8-bit channels and back through the masks.
// A channel of n bits becomes round(v * 255 / (2^n - 1)).
class ChannelCodec {
 public:
  explicit ChannelCodec(const uint32_t masks[3]);
  // Blue, green, red of a pixel value.
  void Decode(uint32_t pixel, uint8_t bgr[3]) const;
  uint32_t Encode(const uint8_t bgr[3]) const;
  uint32_t AllChannels() const { return all_; }

 private:
  uint32_t mask_[3];   // blue, green, red
  int shift_[3];
  uint64_t max_[3];
  uint32_t all_;
};

// Converts row y (from the top) of a sound DIB to blue, green, red bytes
// (3 * width bytes at `out`). Colour indices beyond the table give black.
void RowToBgr(const uint8_t* block, const DibInfo& info, int64_t y, uint8_t* out);

// Index of the table entry nearest to blue, green, red (squared distance,
// lowest index on ties); 0 for an empty table.
uint32_t NearestIndex(const DibColour* table, uint32_t count, const uint8_t bgr[3]);

// The stored pixel value that shows the colour blue, green, red: the nearest
// table index for paletted images, the encoded channels otherwise.
uint32_t PixelForColour(const uint8_t* block, const DibInfo& info, const uint8_t bgr[3]);

}  // namespace quillo::dib
