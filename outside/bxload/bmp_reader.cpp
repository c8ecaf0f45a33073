#include "bmp_reader.h"

#include <cstring>

#include "bmp_rle.h"

namespace quillo::bxload {

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// One colour channel described by a bit mask, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    max = m >> shift;
  }
  uint8_t operator()(uint32_t pixel) const {
    if (!max) return 0;
    const uint64_t v = (pixel & mask) >> shift;
    return uint8_t((v * 255 + max / 2) / max);
  }
};

struct Header {
  uint32_t size = 0;
  int64_t width = 0, height = 0;
  int bitCount = 0;
  uint32_t compression = kBiRgb;
  uint32_t colours = 0;
  uint32_t masks[3] = {};
};

BmpImage Fail(const char* reason) { return BmpImage{{}, reason}; }

bool ValidDepth(const Header& h) {
  switch (h.compression) {
    case kBiRgb:
      return h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16 ||
             h.bitCount == 24 || h.bitCount == 32;
    case kBiRle8: return h.bitCount == 8;
    case kBiRle4: return h.bitCount == 4;
    case kBiBitfields:
    case kBiAlphaBitfields: return h.bitCount == 16 || h.bitCount == 32;
    default: return false;
  }
}

void DecodeTrueColour(const Header& h, const uint8_t* src, int64_t srcStride, bool topDown,
                      uint8_t* rows, int64_t width, int64_t height) {
  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
  const int64_t stride = Stride24(width);
  for (int64_t r = 0; r < height; ++r) {
    const uint8_t* s = src + r * srcStride;
    uint8_t* d = rows + stride * (topDown ? height - 1 - r : r);
    for (int64_t x = 0; x < width; ++x, d += 3) {
      if (h.bitCount == 24) {
        std::memcpy(d, s + x * 3, 3);
        continue;
      }
      const uint32_t p = h.bitCount == 16 ? U16(s + x * 2) : U32(s + x * 4);
      d[0] = blue(p);
      d[1] = green(p);
      d[2] = red(p);
    }
  }
}

}  // namespace

BmpImage ReadBmp(const uint8_t* data, size_t size, uint64_t maxDibBytes) {
  if (!data || size < 12) return Fail("The file is too short to be a bitmap.");
  const bool hasFileHeader = data[0] == 'B' && data[1] == 'M';
  const size_t infoAt = hasFileHeader ? 14 : 0;
  if (size < infoAt + 16) return Fail("The file is too short to be a bitmap.");
  const uint32_t pixelOffset = hasFileHeader ? U32(data + 10) : 0;
  const uint8_t* info = data + infoAt;

  Header h;
  h.size = U32(info);
  if (h.size != 12 && h.size != 40 && h.size != 52 && h.size != 56 && h.size != 108 &&
      h.size != 124)
    return Fail("The bitmap header has an unknown size.");
  if (uint64_t(infoAt) + h.size > size) return Fail("The bitmap header is truncated.");
  size_t tableAt = infoAt + h.size;
  size_t entryBytes = 4;
  if (h.size == 12) {
    h.width = U16(info + 4);
    h.height = U16(info + 6);
    h.bitCount = U16(info + 10);
    entryBytes = 3;
  } else {
    h.width = int32_t(U32(info + 4));
    h.height = int32_t(U32(info + 8));
    h.bitCount = U16(info + 14);
    h.compression = U32(info + 16);
    h.colours = U32(info + 32);
  }
  const bool topDown = h.height < 0;
  const int64_t height = topDown ? -h.height : h.height;
  if (h.width <= 0 || height <= 0) return Fail("The bitmap has no pixels.");
  if (!ValidDepth(h)) return Fail("The bitmap uses a colour depth or compression that is not supported.");

  if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
    const size_t masksAt = infoAt + 40;
    if (h.size == 40) tableAt += h.compression == kBiAlphaBitfields ? 16 : 12;
    if (masksAt + 12 > size) return Fail("The bitmap's colour masks are missing.");
    for (int i = 0; i < 3; ++i) h.masks[i] = U32(data + masksAt + 4 * i);
  } else if (h.bitCount == 16) {
    h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
  } else if (h.bitCount == 32) {
    h.masks[0] = 0xFF0000, h.masks[1] = 0x00FF00, h.masks[2] = 0x0000FF;
  }

  uint64_t entries = 0;
  if (h.bitCount <= 8) {
    entries = h.colours ? h.colours : (uint64_t(1) << h.bitCount);
    if (entries > 256) return Fail("The bitmap's colour table claims more than 256 colours.");
    if (tableAt + entries * entryBytes > size)
      return Fail("The bitmap's colour table runs past the end of the file.");
  }

  uint64_t bitsAt = tableAt + entries * entryBytes;
  if (hasFileHeader && pixelOffset != 0) {
    if (pixelOffset < infoAt + h.size) return Fail("The bitmap's pixel offset points into its header.");
    bitsAt = pixelOffset;
  }
  if (bitsAt > size) return Fail("The bitmap's pixel data lies past the end of the file.");
  const size_t available = size - size_t(bitsAt);

  const int64_t srcStride = DibStride(h.width, h.bitCount);
  const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
  if (!rle) {
    // The last row may lack its padding; everything else must be there.
    const uint64_t needed = uint64_t(srcStride) * uint64_t(height - 1) +
                            uint64_t((h.width * h.bitCount + 7) / 8);
    if (needed > available) return Fail("The bitmap file is truncated.");
  }

  if (h.width > INT32_MAX || height > INT32_MAX) return Fail("The bitmap is too large.");
  const int outBits = h.bitCount <= 8 ? h.bitCount : 24;
  BmpImage image;
  image.dib = NewDib(int32_t(h.width), int32_t(height), outBits, maxDibBytes);
  if (image.dib.empty()) return Fail("The bitmap is too large.");

  if (outBits <= 8) {
    DibColour* table = DibTable(image.dib);
    const uint64_t used = entries < (1u << outBits) ? entries : (1u << outBits);
    for (uint64_t i = 0; i < used; ++i) {
      const uint8_t* e = data + tableAt + i * entryBytes;
      table[i] = DibColour{e[0], e[1], e[2], 0};
    }
  }
  uint8_t* rows = image.dib.data() + DibBitsOffset(image.dib);
  const uint8_t* src = data + bitsAt;
  if (rle) {
    DecodeRle(src, available, h.bitCount, int32_t(h.width), int32_t(height), topDown, rows,
              srcStride);
  } else if (outBits <= 8) {
    const int64_t rowBytes = (h.width * h.bitCount + 7) / 8;
    for (int64_t r = 0; r < height; ++r)
      std::memcpy(rows + srcStride * (topDown ? height - 1 - r : r), src + r * srcStride,
                  size_t(rowBytes));
  } else {
    DecodeTrueColour(h, src, srcStride, topDown, rows, h.width, height);
  }
  return image;
}

}  // namespace quillo::bxload
