// Reader and writer of PCX picture files (run-length coded planes).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

struct PcxImage {
  std::vector<uint8_t> dib;  // packed DIB, bottom-up; empty on failure
  std::string error;
};

// Reads 1, 2 or 4 planes of 1 bit, one plane of 2 or 4 bits (colours from
// the header's 16-entry palette; a 2-colour picture whose two entries are
// equal is black and white), one plane of 8 bits (the 256-colour palette
// after the 0x0C marker at the end of the file, a grey ramp without one) and
// 3 or 4 planes of 8 bits (red, green, blue; a fourth plane is ignored).
// Paletted pictures become DIBs of 1, 4 or 8 bits keeping the file's indices;
// true colour becomes 24-bit. Every row is decoded on its own: a run that
// reaches past the row's planes, or data ending before the last row, is refused.
PcxImage ReadPcx(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

// Version 5 files, run-length coded, one plane line coded at a time:
// 1 bit (one plane, both colours in the header palette), 4 bits (four 1-bit
// planes, 16 colours in the header palette), 8 bits (one plane, 256-colour
// palette at the end), 24 and 32 bits (three 8-bit planes, fourth byte
// dropped). Empty with `error` set for other depths or sides above 65535.
std::vector<uint8_t> WritePcx(const DibView& view, std::string& error);

}  // namespace quillo::bxload
