#include "gif_frames.h"

#include <algorithm>

namespace gifanim {

int FrameBitCount(const GifImage& img) {
  std::size_t largest = static_cast<std::size_t>(img.global_count);
  for (const auto& f : img.frames)
    if (f.local_table) largest = std::max(largest, f.palette.size());
  if (largest <= 2) return 1;
  if (largest <= 16) return 4;
  return 8;
}

int TableEntries(int bit_count) { return 1 << bit_count; }

void FillColourTable(const GifFrame& f, uint8_t* table, int entries) {
  const std::size_t n = std::min<std::size_t>(f.palette.size(), entries > 0 ? entries : 0);
  for (int i = 0; i < entries; ++i) {
    const Rgb c = static_cast<std::size_t>(i) < n ? f.palette[i] : Rgb{0, 0, 0};
    uint8_t* quad = table + 4 * static_cast<std::size_t>(i);
    quad[0] = c.b;
    quad[1] = c.g;
    quad[2] = c.r;
    quad[3] = 0;
  }
}

bool PlaceFrame(const GifFrame& f, uint8_t* bits, uint64_t size, uint64_t stride,
                int screen_width, int screen_height, int bit_count) {
  if (screen_width <= 0 || screen_height <= 0) return false;
  const uint64_t row_bytes = (static_cast<uint64_t>(screen_width) * bit_count + 7) / 8;
  if (stride < row_bytes || stride * static_cast<uint64_t>(screen_height) > size) return false;
  if (f.kept_width < 0 || f.kept_width > f.width || f.kept_height < 0 ||
      f.kept_height > f.height || f.indices.size() != KeptCount(f))
    return false;
  if (f.indices.empty()) return true;
  const std::size_t kept_width = static_cast<std::size_t>(f.kept_width);
  const int64_t x0 = f.left;
  const std::size_t held_rows = (f.indices.size() + kept_width - 1) / kept_width;
  for (std::size_t n = 0; n < held_rows; ++n) {
    const int64_t y = static_cast<int64_t>(screen_height) - f.top - KeptRow(f, static_cast<int>(n)) - 1;
    if (y < 0 || y >= screen_height) continue;
    uint8_t* row = bits + static_cast<uint64_t>(y) * stride;
    const uint8_t* src = f.indices.data() + n * kept_width;
    const std::size_t cols = std::min(kept_width, f.indices.size() - n * kept_width);
    const int64_t x_end = std::min<int64_t>(screen_width, x0 + static_cast<int64_t>(cols));
    for (int64_t x = x0; x < x_end; ++x) {
      const uint8_t v = src[x - x0];
      switch (bit_count) {
        case 8:
          row[x] = v;
          break;
        case 4:
          row[x >> 1] |= static_cast<uint8_t>((v & 0x0F) << ((x & 1) ? 0 : 4));
          break;
        default:
          if (v) row[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
          break;
      }
    }
  }
  return true;
}

}  // namespace gifanim
