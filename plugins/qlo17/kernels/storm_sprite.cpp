#include "storm_sprite.h"

#include <algorithm>
#include <cstring>

namespace quillo::qlo17 {

const char* const kStormSpriteNames[kStormSpriteKinds] = {"Blob", "Ellipse", "Flare", "Lens", "SNova"};

namespace {

constexpr int kLargestSide = 4096;

int32_t Read32(const uint8_t* p) {
  int32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
uint16_t Read16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

// Smallest i >= 0 with i x step >= value x 256 (step > 0).
int64_t FirstAtOrPast(int64_t value, int64_t step) { return (value * 256 + step - 1) / step; }

// The blend of one run of bytes: each glow byte g becomes max(g, (g + s) >> 1).
void BlendRun(uint8_t* glow, const uint8_t* sprite, std::size_t bytes) {
  for (std::size_t k = 0; k < bytes; ++k) {
    const uint8_t g = glow[k], s = sprite[k];
    const uint8_t mean = uint8_t((g & s) + ((g ^ s) >> 1));
    glow[k] = std::max(g, mean);
  }
}

}  // namespace

StormSprite MakeStormSprite(int width, int height, std::vector<uint8_t> pixels) {
  StormSprite s;
  s.width = width;
  s.height = height;
  s.pixels = std::move(pixels);
  s.first.assign(size_t(height), 0);
  s.end.assign(size_t(height), 0);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = s.pixels.data() + size_t(y) * size_t(width) * 3;
    int first = width, end = 0;
    for (int x = 0; x < width; ++x)
      if (row[3 * x] | row[3 * x + 1] | row[3 * x + 2]) {
        first = std::min(first, x);
        end = x + 1;
      }
    s.first[size_t(y)] = end > 0 ? first : 0;
    s.end[size_t(y)] = end;
  }
  return s;
}

bool ReadStormSprite(const uint8_t* data, std::size_t bytes, StormSprite& sprite) {
  if (!data || bytes < 40) return false;
  const int32_t headerSize = Read32(data), width = Read32(data + 4), height = Read32(data + 8);
  const int32_t compression = Read32(data + 16), colours = Read32(data + 32);
  if (headerSize < 40 || Read16(data + 12) != 1 || Read16(data + 14) != 24 || compression != 0) return false;
  if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return false;
  if (colours < 0 || colours > 256) return false;
  const uint64_t stride = (uint64_t(width) * 3 + 3) / 4 * 4;
  const uint64_t offset = uint64_t(headerSize) + uint64_t(colours) * 4;
  if (offset > bytes || (bytes - offset) / stride < uint64_t(height)) return false;
  std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 3);
  for (int y = 0; y < height; ++y)
    std::memcpy(pixels.data() + size_t(y) * size_t(width) * 3, data + offset + uint64_t(y) * stride,
                size_t(width) * 3);
  sprite = MakeStormSprite(width, height, std::move(pixels));
  return true;
}

void StampStormSprite(const StormSprite& sprite, int n, int left, int top, uint8_t* glow, int width, int height,
                      std::vector<uint8_t>& scratch) {
  if (n <= 0 || sprite.width <= 0 || sprite.height <= 0 || width <= 0 || height <= 0) return;
  if (sprite.pixels.size() < size_t(sprite.width) * size_t(sprite.height) * 3) return;
  const int64_t stepX = int64_t(sprite.width) * 255 / n, stepY = int64_t(sprite.height) * 255 / n;
  // The columns and rows of the square that lie inside the buffer.
  const int64_t i0 = std::max<int64_t>(0, -int64_t(left)), i1 = std::min<int64_t>(n, int64_t(width) - left);
  const int64_t j0 = std::max<int64_t>(0, -int64_t(top)), j1 = std::min<int64_t>(n, int64_t(height) - top);
  if (i0 >= i1 || j0 >= j1) return;

  // The scaled row of the source row last used, over the visible columns
  // its lit span covers: rows repeat when the sprite is enlarged.
  const int64_t visible = i1 - i0;
  scratch.resize(size_t(visible) * 3);
  uint8_t* scaled = scratch.data();
  int cachedRow = -1;
  for (int64_t j = j0; j < j1; ++j) {
    const int sourceRow = int((j * stepY) >> 8);
    const int first = sprite.first[size_t(sourceRow)], end = sprite.end[size_t(sourceRow)];
    if (first >= end) continue;
    // The output columns whose samples fall in the row's lit span.
    int64_t a = i0, b = i1;
    if (stepX > 0) {
      a = std::max(a, FirstAtOrPast(first, stepX));
      b = std::min(b, FirstAtOrPast(end, stepX));
    } else if (first > 0) {
      continue;  // every sample is column 0, which is black
    }
    if (a >= b) continue;
    const uint8_t* source = sprite.pixels.data() + size_t(sourceRow) * size_t(sprite.width) * 3;
    if (sourceRow != cachedRow) {
      // Only the lit span of the row is ever read back.
      for (int64_t i = a; i < b; ++i) {
        const uint8_t* p = source + ((i * stepX) >> 8) * 3;
        uint8_t* q = scaled + (i - i0) * 3;
        q[0] = p[0];
        q[1] = p[1];
        q[2] = p[2];
      }
      cachedRow = sourceRow;
    }
    uint8_t* row = glow + (size_t(top + j) * size_t(width) + size_t(left + a)) * 3;
    BlendRun(row, scaled + (a - i0) * 3, size_t(b - a) * 3);
  }
}

}  // namespace quillo::qlo17
