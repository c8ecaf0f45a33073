// Hand-built BMP files for the reader tests, and a way to look at what the
// reader returned.
#pragma once
#include <cstdint>
#include <vector>

#include "outside/bxload/packed_dib.h"

namespace quillo::bxload::test {

struct BmpLayout {
  uint32_t headerSize = 40;      // 12, 40, 52, 56, 108, 124 (or a lie)
  int32_t width = 1;
  int32_t height = 1;            // negative: top-down
  int bitCount = 24;
  uint32_t compression = 0;
  uint32_t colours = 0;          // clrUsed
  std::vector<uint32_t> masks;   // after a 40-byte header, or inside a larger one
  std::vector<DibColour> table;  // 3 bytes each with a 12-byte header
  std::vector<uint8_t> pixels;   // exactly as stored in the file
  bool fileHeader = true;
  int64_t pixelOffset = -1;      // -1: right after the table
};

std::vector<uint8_t> BuildBmp(const BmpLayout& layout);

// Packed pixel rows for the file: `rows` top-down, each holding the values
// of one row (indices, or 0xRRGGBB for 24 bits); stored bottom-up unless
// topDown, padded to 4 bytes.
std::vector<uint8_t> PackRows(const std::vector<std::vector<uint32_t>>& rows, int bitCount,
                              bool topDown = false);

// What the reader produced, for checks.
struct Decoded {
  std::vector<uint8_t> dib;
  DibView view;
  explicit Decoded(std::vector<uint8_t> bytes);
  bool ok() const { return view.width > 0; }
  int Index(int x, int y) const { return IndexAt(view.Row(y), x, view.bitCount); }
  uint32_t Rgb(int x, int y) const;  // 0xRRGGBB of a 24-bit result
};

}  // namespace quillo::bxload::test
