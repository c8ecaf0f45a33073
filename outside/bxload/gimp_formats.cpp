#include "gimp_formats.h"

#include <cstring>

#include "pnm_codec.h"  // kMaxFormatPixels

namespace quillo::bxload {
namespace {

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

GimpImage Fail(const char* reason) { return GimpImage{{}, reason}; }

struct Header {
  uint32_t headerSize, version, width, height, bytes;
};

// Checks the common header fields and that the pixels follow inside the file.
const char* CheckBody(const Header& h, size_t minHeader, size_t size) {
  if (h.headerSize < minHeader || h.headerSize > size) return "The header size in the file is damaged.";
  if (h.width == 0 || h.height == 0) return "The picture has no pixels.";
  if (h.width > 0x7FFFFFFF || h.height > 0x7FFFFFFF || uint64_t(h.width) * h.height > kMaxFormatPixels)
    return "The picture is too large.";
  if (uint64_t(h.width) * h.height * h.bytes > size - h.headerSize) return "The file ends before the last pixel.";
  return nullptr;
}

// Builds the DIB from `bytes`-per-pixel samples: 1 grey, 2 grey + alpha,
// 3 red, green, blue, 4 with alpha. `invertGrey` gives the brush table.
GimpImage Build(const Header& h, const uint8_t* pixels, bool invertGrey, uint64_t maxDibBytes) {
  const bool grey = h.bytes <= 2;
  const int bitCount = grey ? 8 : 24;
  std::vector<uint8_t> dib = NewDib(int32_t(h.width), int32_t(h.height), bitCount, maxDibBytes);
  if (dib.empty()) return Fail("The picture is too large.");
  if (grey) {
    DibColour* table = DibTable(dib);
    for (int i = 0; i < 256; ++i) {
      const uint8_t v = uint8_t(invertGrey ? 255 - i : i);
      table[i] = {v, v, v, 0};
    }
  }
  uint8_t* bits = dib.data() + DibBitsOffset(dib);
  const int64_t stride = DibStride(h.width, bitCount);
  const size_t rowBytes = size_t(h.width) * h.bytes;
  for (uint32_t y = 0; y < h.height; ++y) {
    const uint8_t* src = pixels + rowBytes * y;
    uint8_t* row = bits + stride * (int64_t(h.height) - 1 - y);
    for (uint32_t x = 0; x < h.width; ++x, src += h.bytes) {
      switch (h.bytes) {
        case 1: row[x] = src[0]; break;
        case 2: row[x] = OverWhite(src[0], src[1]); break;
        case 3: row[3 * x] = src[2], row[3 * x + 1] = src[1], row[3 * x + 2] = src[0]; break;
        default:
          row[3 * x] = OverWhite(src[2], src[3]);
          row[3 * x + 1] = OverWhite(src[1], src[3]);
          row[3 * x + 2] = OverWhite(src[0], src[3]);
      }
    }
  }
  return GimpImage{std::move(dib), {}};
}

}  // namespace

GimpImage ReadGbr(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  if (data == nullptr || size < 20) return Fail("The file is too short to be a brush.");
  const Header h{Be32(data), Be32(data + 4), Be32(data + 8), Be32(data + 12), Be32(data + 16)};
  size_t minHeader = 20;
  if (h.version == 2) {
    if (size < 28 || std::memcmp(data + 20, "GIMP", 4) != 0) return Fail("The brush file's magic word is missing.");
    minHeader = 28;
  } else if (h.version != 1) {
    return Fail("Only brush files of version 1 and 2 can be read.");
  }
  if (h.bytes != 1 && h.bytes != 4) return Fail("Only grey and colour (red, green, blue, alpha) brushes can be read.");
  if (const char* problem = CheckBody(h, minHeader, size)) return Fail(problem);
  return Build(h, data + h.headerSize, true, maxDibBytes);
}

GimpImage ReadPat(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  if (data == nullptr || size < 24) return Fail("The file is too short to be a pattern.");
  const Header h{Be32(data), Be32(data + 4), Be32(data + 8), Be32(data + 12), Be32(data + 16)};
  if (std::memcmp(data + 20, "GPAT", 4) != 0) return Fail("The pattern file's magic word is missing.");
  if (h.version != 1) return Fail("Only pattern files of version 1 can be read.");
  if (h.bytes < 1 || h.bytes > 4) return Fail("The pattern has an unsupported number of bytes per pixel.");
  if (const char* problem = CheckBody(h, 24, size)) return Fail(problem);
  return Build(h, data + h.headerSize, false, maxDibBytes);
}

}  // namespace quillo::bxload
