// Validation and layout of packed DIB blocks (portable).
//
// A block is sound when its header, optional colour masks, colour table and
// every pixel row lie inside the block and describe an uncompressed
// bottom-up image of 1, 4, 8, 16, 24 or 32 bits per pixel. All size
// arithmetic is done in 64 bits after the factors have been bounded, so no
// header can make a product wrap.
#pragma once
#include <cstdint>

#include "contracts/dib_format.h"

namespace quillo::dib {

constexpr uint32_t kDibBitfields = 3;      // 16/32-bit pixels with explicit masks
constexpr int32_t kMaxDibSide = 0x7FFFFFFF;
// Largest block the library makes or accepts: every offset fits a signed
// 32-bit value, which is also what a 32-bit process can allocate.
constexpr uint64_t kMaxDibBlock = 0x7FFFFFFFull;

// Why a block was refused (kSound when it was not).
enum class DibFault {
  kSound,
  kNoBlock,          // null pointer or block smaller than 40 bytes
  kHeaderSize,       // header size below 40 or beyond the block
  kPlanes,
  kBitCount,
  kCompression,
  kWidth,            // width <= 0
  kHeight,           // height == 0 or negative (top-down rows are refused)
  kMasks,            // bit-field masks missing, zero, overlapping or not contiguous
  kColourCount,      // colour count beyond what the bit depth can index
  kTooLarge,         // the pixel rows do not fit in the block
};

// Where everything lies in a sound block. Offsets are from the block start.
struct DibInfo {
  int32_t width = 0;
  int32_t height = 0;         // always > 0: rows are stored bottom-up
  int bitCount = 0;
  uint32_t compression = 0;   // kDibRgb or kDibBitfields
  uint32_t headerSize = 0;
  uint32_t colours = 0;       // colour-table entries
  uint64_t paletteOffset = 0;
  uint64_t bitsOffset = 0;
  uint64_t stride = 0;        // bytes per stored row
  uint64_t bitsSize = 0;      // stride * height
  uint32_t masks[3] = {};     // red, green, blue masks of 16/32-bit pixels

  bool paletted() const { return bitCount <= 8; }
  // Row y counted from the top of the picture.
  template <typename Byte>
  Byte* Row(Byte* block, int64_t y) const {
    return block + bitsOffset + uint64_t(height - 1 - y) * stride;
  }
  template <typename Byte>
  Byte* Palette(Byte* block) const { return block + paletteOffset; }
};

// Checks `size` bytes at `block`; fills `info` when the block is sound.
DibFault CheckDib(const uint8_t* block, uint64_t size, DibInfo* info);
inline bool IsSoundDib(const uint8_t* block, uint64_t size) {
  DibInfo info;
  return CheckDib(block, size, &info) == DibFault::kSound;
}

// What a new DIB made by this library looks like: always a 40-byte header,
// 3 masks after it for kDibBitfields, then `colours` table entries.
struct DibShape {
  int32_t width = 0;
  int32_t height = 0;
  int bitCount = 24;
  uint32_t colours = 0;        // table entries (1-, 4-, 8-bit images)
  uint32_t compression = kDibRgb;
  uint32_t masks[3] = {};      // for kDibBitfields
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
};

// Bytes of the block for `shape`, or 0 when the shape is not a sound DIB or
// exceeds kMaxDibBlock.
uint64_t DibBlockSize(const DibShape& shape);
// Writes header, masks and a zero colour table and zero pixels into `block`
// (DibBlockSize(shape) bytes) and returns its layout.
DibInfo InitDib(uint8_t* block, const DibShape& shape);
// Shape of an existing image (same size, depth, masks and table length);
// headers longer than 40 bytes come out as 40-byte headers.
DibShape ShapeOf(const uint8_t* block, const DibInfo& info);

// Effective 16/32-bit masks of BI_RGB pixels: 5-5-5 and 8-8-8.
void DefaultMasks(int bitCount, uint32_t masks[3]);

}  // namespace quillo::dib
