#include "texture_map.h"

#include <cstring>
#include <vector>

namespace quillo::animation {
namespace {

// The texture as one frame sees it: where each shifted row starts and the
// byte offset of each shifted column, so a map entry costs two table reads
// and no wrap test. Every pixel is read as four bytes (one load instead of
// three); the texture's last memory row is read from a copy one byte longer,
// so that fourth byte never lies past the end of the texture.
class ShiftedTexture {
 public:
  ShiftedTexture(const uint8_t* texture, int width, int height, int64_t stride, int ox, int oy)
      : width_(width), height_(height), rows_(size_t(height)), columns_(size_t(width)),
        lastRow_(size_t(width) * 3 + 1) {
    std::memcpy(lastRow_.data(), texture + (height - 1) * stride, size_t(width) * 3);
    for (int r = 0; r < height; ++r) {
      const int shifted = r < height - oy ? r + oy : r + oy - height;
      rows_[size_t(r)] = shifted == height - 1 ? lastRow_.data() : texture + shifted * stride;
    }
    for (int c = 0; c < width; ++c)
      columns_[size_t(c)] = 3 * (c < width - ox ? c + ox : c + ox - width);
  }

  // v, or v reduced into 0 .. size - 1 when it lies outside (never for the
  // maps the builders make, so the test costs a predicted branch; the
  // reduction is written out here, as a call would cost the loop its
  // registers).
  static int Inside(int v, int size) {
    if (unsigned(v) < unsigned(size)) [[likely]]
      return v;
    const int r = v % size;
    return r < 0 ? r + size : r;
  }

  // The texel under entry e; an entry outside the texture (never one the
  // builders make) is first reduced into it.
  const uint8_t* Texel(MapEntry e) const {
    return rows_[size_t(Inside(e.row, height_))] + columns_[size_t(Inside(e.column, width_))];
  }

 private:
  int width_, height_;
  std::vector<const uint8_t*> rows_;
  std::vector<int32_t> columns_;
  std::vector<uint8_t> lastRow_;
};

}  // namespace

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
  const ShiftedTexture shifted(texture, width, height, stride, ReduceInto(offsetX, width),
                               ReduceInto(offsetY, height));
  const MapEntry* entry = map;
  for (int i = 0; i < height; ++i, entry += width) {
    const int memoryRow = rows == MapRows::kUpward ? i : height - 1 - i;
    uint8_t* __restrict dst = out + memoryRow * stride;
    // Four bytes a pixel: the fourth is overwritten by the next pixel, and
    // the row's last pixel takes only its three.
    for (int j = 0; j < width - 1; ++j) std::memcpy(dst + 3 * j, shifted.Texel(entry[j]), 4);
    std::memcpy(dst + 3 * (width - 1), shifted.Texel(entry[width - 1]), 3);
  }
}

}  // namespace quillo::animation
