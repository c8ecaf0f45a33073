#include "image_copy.h"

#include <algorithm>
#include <cstring>

namespace quillo::imaging {

void TileBgr24(const Bgr24Picture& source, const Bgr24Picture& target, int startColumn,
               int startRow) {
  if (!source.pixels || !target.pixels || source.width < 1 || source.height < 1) return;
  const int c = int(((int64_t(startColumn) % source.width) + source.width) % source.width);
  const int r = int(((int64_t(startRow) % source.height) + source.height) % source.height);
  for (int y = 0; y < target.height; ++y) {
    const int sy = int((int64_t(y) + r) % source.height);  // from the top
    const uint8_t* src = source.pixels + int64_t(source.height - 1 - sy) * source.stride;
    uint8_t* dst = target.pixels + int64_t(target.height - 1 - y) * target.stride;
    // Copy runs of whole source rows: from column c to the end, then from 0.
    int x = 0, sx = c;
    while (x < target.width) {
      const int run = std::min(target.width - x, source.width - sx);
      std::memcpy(dst + int64_t(x) * 3, src + int64_t(sx) * 3, size_t(run) * 3);
      x += run;
      sx = 0;
    }
  }
}

void TwoColourToBgr24(const uint8_t* bits, int64_t bitsStride, const Bgr24Picture& target,
                      const uint8_t colour[3]) {
  if (!bits || !target.pixels) return;
  const uint8_t clear[3] = {uint8_t(colour[0] ^ 255), uint8_t(colour[1] ^ 255),
                            uint8_t(colour[2] ^ 255)};
  for (int y = 0; y < target.height; ++y) {
    const uint8_t* in = bits + int64_t(y) * bitsStride;
    uint8_t* out = target.pixels + int64_t(y) * target.stride;
    for (int x = 0; x < target.width; ++x, out += 3) {
      const bool set = (in[x >> 3] >> (7 - (x & 7))) & 1;
      std::memcpy(out, set ? colour : clear, 3);
    }
  }
}

bool FindOneBitRows(const uint8_t* block, uint64_t size, OneBitRows* rows) {
  if (!block || size < sizeof(DibHeader)) return false;
  DibHeader h;
  std::memcpy(&h, block, sizeof h);
  if (h.size < sizeof(DibHeader) || h.size > size || h.width <= 0 || h.height <= 0) return false;
  constexpr uint32_t kBitfields = 3;
  uint64_t offset = h.size;
  if (h.compression == kBitfields && h.size < 52) offset += 12;
  const uint64_t colours =
      h.clrUsed ? h.clrUsed : (h.bitCount >= 1 && h.bitCount <= 8 ? uint64_t(1) << h.bitCount : 0);
  offset += colours * 4;  // below 2^35: no wrap
  const int64_t stride = DibStride(h.width, 1);
  if (offset > size || uint64_t(h.height) > (size - offset) / uint64_t(stride)) return false;
  if (rows) *rows = OneBitRows{h.width, h.height, offset, stride};
  return true;
}

DibHeader ExpandedHeader(const DibHeader& in) {
  DibHeader out = in;
  out.size = sizeof(DibHeader);
  out.planes = 1;
  out.bitCount = 24;
  out.compression = kDibRgb;
  out.clrUsed = 0;
  out.clrImportant = 0;
  out.sizeImage = uint32_t(Stride24(in.width) * in.height);
  return out;
}

}  // namespace quillo::imaging
