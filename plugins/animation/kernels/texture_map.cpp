#include "texture_map.h"

namespace quillo::animation {

int ReduceInto(int64_t v, int size) {
  if (size <= 0) return 0;
  const int64_t r = v % size;
  return int(r < 0 ? r + size : r);
}

int16_t MapCoordinate(int64_t v, int size) {
  const auto wrapped = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v)));
  return int16_t(ReduceInto(wrapped, size));
}

void DrawMappedFrame(const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride,
                     const MapEntry* map, int64_t offsetX, int64_t offsetY, MapRows rows) {
  if (!texture || !out || !map || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  const int ox = ReduceInto(offsetX, width), oy = ReduceInto(offsetY, height);
  // Columns shifted once per frame: a texture column c + ox wraps at most once.
  const MapEntry* entry = map;
  for (int i = 0; i < height; ++i) {
    const int memoryRow = rows == MapRows::kUpward ? i : height - 1 - i;
    uint8_t* dst = out + memoryRow * stride;
    for (int j = 0; j < width; ++j, ++entry, dst += 3) {
      int column = entry->column + ox;
      if (column >= width) column -= width;
      int row = entry->row + oy;
      if (row >= height) row -= height;
      const uint8_t* src = texture + row * stride + 3 * column;
      dst[0] = src[0];
      dst[1] = src[1];
      dst[2] = src[2];
    }
  }
}

}  // namespace quillo::animation
