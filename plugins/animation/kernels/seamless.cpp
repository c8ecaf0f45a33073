#include "seamless.h"

#include <cstring>

namespace quillo::animation {

int SeamWeight(int width, int height, int x, int y, int v) {
  const int64_t gx = width / 2, gy = height / 2;
  int64_t dx, dy;
  if (x < gx) dx = gx - x - 1;
  else if (x == gx && width % 2 == 1) return v;
  else dx = x - width / 2 - width % 2;
  if (y < gy) dy = gy - y - 1;
  else if (y == gy && height % 2 == 1) return v;
  else dy = y - height / 2 - height % 2;

  const int64_t fy = gy - 1, fx = gx - 1;
  const int64_t h = fy * dx, l = fx * dy, m = fy * (fx - dx);
  if (h > l || (h == l && dx % 2 == 0)) {
    if (dx == fx) return 0;
    const int64_t divisor = fx * fy + l - h;
    return divisor == 0 ? 0 : int(m * v / divisor);
  }
  if (dx == 0) return v;
  const int64_t o = fx * (fy - dy) + fx * fy - m;
  return o == 0 ? 0 : int(v - v * h / o);
}

void MakeSeamlessRows(const uint8_t* source, uint8_t* target, int width, int height, int64_t stride,
                      int rowBegin, int rowEnd) {
  if (!source || !target || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  if (rowBegin < 0) rowBegin = 0;
  if (rowEnd > height) rowEnd = height;
  const int cx = width / 2 + width % 2, cy = height / 2 + height % 2;
  for (int y = rowBegin; y < rowEnd; ++y) {
    const uint8_t* in = source + y * stride;
    uint8_t* own = target + y * stride;
    const int otherRow = y >= cy ? y - cy : y < height / 2 ? y + cy : -1;
    uint8_t* opposite = otherRow >= 0 ? target + otherRow * stride : nullptr;
    for (int x = 0; x < width; ++x) {
      const int otherCol = x >= cx ? x - cx : x < width / 2 ? x + cx : -1;
      for (int c = 0; c < 3; ++c) {
        const uint8_t w = uint8_t(SeamWeight(width, height, x, y, in[3 * x + c]));
        own[3 * x + c] = uint8_t(own[3 * x + c] + w);
        if (opposite && otherCol >= 0) opposite[3 * otherCol + c] = uint8_t(opposite[3 * otherCol + c] + w);
      }
    }
  }
}

void MakeSeamless(const uint8_t* source, uint8_t* target, int width, int height, int64_t stride) {
  if (!source || !target || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  std::memset(target, 0, size_t(stride) * size_t(height));
  MakeSeamlessRows(source, target, width, height, stride, 0, height);
}

}  // namespace quillo::animation
