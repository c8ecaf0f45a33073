#include "mask_display.h"

#include "contracts/dib_format.h"

namespace quillo {

uint8_t CheckerGrey(int x, int y) { return ((x / 8 + y / 8) & 1) ? 170 : 85; }

bool BuildMaskDisplay(const uint8_t* image, size_t imageSize, const uint8_t* mask,
                      size_t maskSize, int width, int height, uint8_t* out, size_t outSize) {
  if (!image || !mask || !out || width <= 0 || height <= 0) return false;
  const int64_t stride = Stride24(width);
  if (uint64_t(height) > imageSize / uint64_t(stride) || uint64_t(height) > outSize / uint64_t(stride))
    return false;
  if (uint64_t(height) > maskSize / uint64_t(width)) return false;
  for (int y = 0; y < height; ++y) {
    const size_t row = size_t(height - 1 - y) * size_t(stride);  // bottom-up memory row
    const uint8_t* src = image + row;
    uint8_t* dst = out + row;
    const uint8_t* m = mask + size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x) {
      const unsigned a = m[x];
      const unsigned c = CheckerGrey(x, y) * (255 - a);
      for (int k = 0; k < 3; ++k) dst[3 * x + k] = uint8_t((src[3 * x + k] * a + c) / 255);
    }
  }
  return true;
}

}  // namespace quillo
