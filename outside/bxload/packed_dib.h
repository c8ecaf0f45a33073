// A checked view of a packed DIB held in memory (info header, colour table,
// rows), and the conversions the codecs need between depths.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "contracts/dib_format.h"

namespace quillo::bxload {

// Largest packed DIB any reader here builds: 256 MiB, far beyond what the
// program can edit, small enough that a lying header cannot exhaust memory.
constexpr uint64_t kMaxDibBytes = uint64_t(256) << 20;

struct DibView {
  int32_t width = 0;
  int32_t height = 0;        // always positive here
  bool topDown = false;      // rows stored top row first
  int bitCount = 0;          // 1, 4, 8, 24 or 32
  const DibColour* table = nullptr;
  int tableEntries = 0;      // entries present (paletted images only)
  const uint8_t* bits = nullptr;
  int64_t stride = 0;

  // Row y counted from the top of the picture.
  const uint8_t* Row(int y) const {
    return bits + stride * (topDown ? y : int64_t(height) - 1 - y);
  }
  // Colour of table entry i (black when the table is shorter).
  DibColour Colour(int i) const {
    return i < tableEntries ? table[i] : DibColour{0, 0, 0, 0};
  }
};

// Checks that `size` bytes at `data` hold a sound uncompressed packed DIB
// (header of 40 bytes or more, 1/4/8/24/32 bits, table and rows inside the
// block). Returns false with a reason in `error` otherwise.
bool ParseDib(const uint8_t* data, size_t size, DibView& view, std::string& error);

// Index of pixel x in a paletted row.
inline int IndexAt(const uint8_t* row, int x, int bitCount) {
  switch (bitCount) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default: return row[x];
  }
}

// A new packed DIB (40-byte header, zeroed table of 2^bits entries for
// paletted depths, zeroed rows, bottom-up). Empty when the size is refused.
std::vector<uint8_t> NewDib(int32_t width, int32_t height, int bitCount,
                            uint64_t maxBytes = kMaxDibBytes);
// Offset of the first pixel row inside a DIB made by NewDib.
size_t DibBitsOffset(const std::vector<uint8_t>& dib);
DibColour* DibTable(std::vector<uint8_t>& dib);

// A copy in the layout NewDib makes (bottom-up, full table).
std::vector<uint8_t> CopyDib(const DibView& view);

// A 24-bit copy of any sound DIB (palette entries looked up, 32-bit pixels
// lose their fourth byte). Empty on failure.
std::vector<uint8_t> ToBgr24(const DibView& view);

// Repacks an 8-bit index image to 1 or 4 bits, keeping the first 2^bits
// table entries. Fails (empty) when an index does not fit the new depth.
std::vector<uint8_t> PackIndices(const DibView& view8, int bitCount);

}  // namespace quillo::bxload
