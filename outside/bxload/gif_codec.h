// GIF files: the first image of a file (decoded by the animated GIF loader's
// kernel) and a writer with its own LZW encoder.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packed_dib.h"

namespace quillo::bxload {

struct GifPicture {
  std::vector<uint8_t> dib;  // packed DIB, bottom-up; empty on failure
  std::string error;
};

// The first image of a GIF87a/GIF89a file, drawn at its place on a logical
// screen of index 0, as a DIB of 1, 4 or 8 bits (from the size of the image's
// colour table: local, else global) keeping the file's indices. The file is
// read up to the end of that image; what follows is not looked at. A pixel
// whose index lies beyond the colour table is refused, as is an image
// without any colour table.
GifPicture ReadGif(const uint8_t* data, size_t size, uint64_t maxDibBytes = kMaxDibBytes);

// A GIF89a file with one image, no extensions, for a 1, 4 or 8-bit picture:
// a global table of 2^bits entries, minimum code size max(2, bits), codes
// growing from minimum + 1 to 12 bits, a clear code whenever the table is
// full, an end code after the last pixel. Empty with `error` set for other
// depths or sides above 65535.
std::vector<uint8_t> WriteGif(const DibView& view, std::string& error);

// The LZW code stream (before division into sub-blocks) for `count` indices
// below 2^minCodeSize.
std::vector<uint8_t> EncodeLzw(const uint8_t* indices, size_t count, int minCodeSize);

}  // namespace quillo::bxload
