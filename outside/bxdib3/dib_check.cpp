#include "dib_check.h"

#include <cstring>

namespace quillo::dib {
namespace {

uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// A mask is usable when it is non-zero, one run of set bits, and inside the
// pixel's bits; the three masks must not share bits.
bool MasksSound(const uint32_t masks[3], int bitCount) {
  const uint64_t limit = bitCount == 32 ? 0xFFFFFFFFull : 0xFFFFull;
  uint32_t seen = 0;
  for (int i = 0; i < 3; ++i) {
    const uint32_t m = masks[i];
    if (m == 0 || m > limit || (m & seen)) return false;
    const uint32_t low = m & (~m + 1);       // lowest set bit
    if (((m + low) & m) != 0) return false;  // a gap between set bits
    seen |= m;
  }
  return true;
}

}  // namespace

void DefaultMasks(int bitCount, uint32_t masks[3]) {
  if (bitCount == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else {
    masks[0] = 0xFF0000;
    masks[1] = 0x00FF00;
    masks[2] = 0x0000FF;
  }
}

DibFault CheckDib(const uint8_t* block, uint64_t size, DibInfo* info) {
  if (!block || size < sizeof(DibHeader)) return DibFault::kNoBlock;
  if (size > kMaxDibBlock) size = kMaxDibBlock;  // nothing beyond is ever addressed
  DibHeader h;
  std::memcpy(&h, block, sizeof h);
  if (h.size < sizeof(DibHeader) || h.size > size) return DibFault::kHeaderSize;
  if (h.planes != 1) return DibFault::kPlanes;
  const int bits = h.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return DibFault::kBitCount;
  if (h.compression != kDibRgb &&
      !(h.compression == kDibBitfields && (bits == 16 || bits == 32)))
    return DibFault::kCompression;
  if (h.width <= 0) return DibFault::kWidth;
  if (h.height <= 0) return DibFault::kHeight;

  DibInfo out;
  out.width = h.width;
  out.height = h.height;
  out.bitCount = bits;
  out.compression = h.compression;
  out.headerSize = h.size;
  uint64_t offset = h.size;
  if (h.compression == kDibBitfields) {
    // Headers of 52 bytes and more carry the masks themselves.
    const uint64_t maskAt = h.size >= 52 ? 40 : h.size;
    if (maskAt + 12 > size) return DibFault::kMasks;
    for (int i = 0; i < 3; ++i) out.masks[i] = Load32(block + maskAt + 4 * i);
    if (!MasksSound(out.masks, bits)) return DibFault::kMasks;
    if (h.size < 52) offset += 12;
  } else if (bits >= 16) {
    DefaultMasks(bits, out.masks);
  }

  const uint64_t maxColours = bits <= 8 ? (1u << bits) : 256u;
  if (h.clrUsed > maxColours) return DibFault::kColourCount;
  out.colours = h.clrUsed ? h.clrUsed : (bits <= 8 ? (1u << bits) : 0u);
  out.paletteOffset = offset;
  offset += uint64_t(out.colours) * 4;
  out.bitsOffset = offset;
  // width < 2^31 and bits <= 32: the product stays below 2^37.
  out.stride = uint64_t(DibStride(h.width, bits));
  if (out.stride > size) return DibFault::kTooLarge;
  // height < 2^31 and stride <= size < 2^31: no wrap.
  out.bitsSize = out.stride * uint64_t(h.height);
  if (offset > size || out.bitsSize > size - offset) return DibFault::kTooLarge;
  if (info) *info = out;
  return DibFault::kSound;
}

uint64_t DibBlockSize(const DibShape& s) {
  const int bits = s.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;
  if (s.width <= 0 || s.height <= 0) return 0;
  if (bits <= 8 ? s.colours > (1u << bits) || s.colours == 0 : s.colours > 256) return 0;
  if (s.compression == kDibBitfields) {
    if (bits != 16 && bits != 32) return 0;
    uint32_t masks[3] = {s.masks[0], s.masks[1], s.masks[2]};
    if (!MasksSound(masks, bits)) return 0;
  } else if (s.compression != kDibRgb) {
    return 0;
  }
  const uint64_t stride = uint64_t(DibStride(s.width, bits));
  const uint64_t head = 40 + (s.compression == kDibBitfields ? 12 : 0) + uint64_t(s.colours) * 4;
  if (stride > kMaxDibBlock || uint64_t(s.height) > (kMaxDibBlock - head) / stride) return 0;
  return head + stride * uint64_t(s.height);
}

DibInfo InitDib(uint8_t* block, const DibShape& s) {
  const uint64_t size = DibBlockSize(s);
  std::memset(block, 0, size_t(size));
  DibHeader h{};
  h.size = 40;
  h.width = s.width;
  h.height = s.height;
  h.planes = 1;
  h.bitCount = uint16_t(s.bitCount);
  h.compression = s.compression;
  h.sizeImage = uint32_t(uint64_t(DibStride(s.width, s.bitCount)) * uint64_t(s.height));
  h.xPelsPerMeter = s.xPelsPerMeter;
  h.yPelsPerMeter = s.yPelsPerMeter;
  h.clrUsed = s.colours;
  std::memcpy(block, &h, sizeof h);
  if (s.compression == kDibBitfields) std::memcpy(block + 40, s.masks, 12);
  DibInfo info;
  CheckDib(block, size, &info);
  return info;
}

DibShape ShapeOf(const uint8_t* block, const DibInfo& info) {
  DibHeader h;
  std::memcpy(&h, block, sizeof h);
  DibShape s;
  s.width = info.width;
  s.height = info.height;
  s.bitCount = info.bitCount;
  s.colours = info.colours;
  s.compression = info.compression;
  std::memcpy(s.masks, info.masks, sizeof s.masks);
  s.xPelsPerMeter = h.xPelsPerMeter;
  s.yPelsPerMeter = h.yPelsPerMeter;
  return s;
}

}  // namespace quillo::dib
