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

}  // namespace quillo::imaging
