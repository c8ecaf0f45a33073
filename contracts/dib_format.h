// Layout of a packed DIB as the DIB services hold it in a handle: a 40-byte
// info header, the colour table, then the pixel rows bottom-up, each row padded
// to a multiple of 4 bytes. Portable: kernels and file formats use these
// definitions without <windows.h>; on Windows they match BITMAPINFOHEADER and
// RGBQUAD byte for byte.
#pragma once
#include <cstddef>
#include <cstdint>

namespace quillo {

#pragma pack(push, 1)
struct DibHeader {
  uint32_t size;           // 40 (larger headers are accepted when reading)
  int32_t width;
  int32_t height;          // positive: rows stored bottom-up
  uint16_t planes;         // 1
  uint16_t bitCount;       // 1, 4, 8, 24 or 32
  uint32_t compression;    // 0 = none (BI_RGB); 1 = RLE8, 2 = RLE4 in files
  uint32_t sizeImage;
  int32_t xPelsPerMeter;
  int32_t yPelsPerMeter;
  uint32_t clrUsed;
  uint32_t clrImportant;
};

struct DibColour {
  uint8_t blue, green, red, reserved;
};
#pragma pack(pop)

static_assert(sizeof(DibHeader) == 40, "packed DIB header is 40 bytes");
static_assert(sizeof(DibColour) == 4, "colour table entries are 4 bytes");

constexpr uint32_t kDibRgb = 0;
constexpr uint32_t kDibRle8 = 1;
constexpr uint32_t kDibRle4 = 2;

// Bytes in one stored row: ((width * bitCount + 31) / 32) * 4, in 64 bits so
// that hostile sizes cannot wrap.
constexpr int64_t DibStride(int64_t width, int64_t bitCount) {
  return ((width * bitCount + 31) / 32) * 4;
}

// Row stride of the 24-bit pixel rows every effect works on.
constexpr int64_t Stride24(int64_t width) { return DibStride(width, 24); }

}  // namespace quillo
