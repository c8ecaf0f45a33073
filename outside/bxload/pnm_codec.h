// Reader of the portable any-map family: bitmaps (P1 plain, P4 raw), grey
// maps (P2, P5) and colour pixmaps (P3, P6).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

struct PnmImage {
  std::vector<uint8_t> dib;  // packed DIB, bottom-up; empty on failure
  std::string error;         // reason for the user when dib is empty
};

// Most pixels a picture read from one of the simple formats may have.
constexpr uint64_t kMaxFormatPixels = uint64_t(1) << 28;

// Reads the first picture of the buffer. Comments (from '#' to the end of the
// line) may stand between any two header fields. Samples are scaled from
// 0..maxval (1..65535; two big-endian bytes per raw sample above 255) to
// 0..255 as round(v * 255 / maxval). Bitmaps become 1-bit DIBs (entry 0
// black, entry 1 white; a set file bit is black), grey maps 8-bit DIBs with a
// grey ramp, pixmaps 24-bit DIBs. A raster shorter than the header promises,
// or a sample above maxval, is refused; bytes after the raster are ignored.
PnmImage ReadPnm(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

}  // namespace quillo::bxload
