#include "illusion.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "plugins/animation/kernels/texture_map.h"
#include "shifted_texture.h"

namespace quillo::qlo12 {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kOneOverTwoPi = 0.15915494309189535;

// One block of a row, gathered: the picture's own bytes, the displaced
// copy's bytes and each pixel's weight (times 16) repeated for its three
// bytes. One spare element takes the overhang of the last pixel's
// four-byte and four-weight stores.
struct IllusionBlock {
  uint8_t here[kFrameBlockBytes];
  uint8_t there[kFrameBlockBytes + 1];
  int16_t weight[kFrameBlockBytes + 1];
};

void GatherIllusion(const ShiftedTables texture, const IllusionEntry* entry, int count,
                    const uint8_t* here, IllusionBlock& b) {
  std::memcpy(b.here, here, size_t(count) * 3);
  for (int k = 0; k < count; ++k) {
    const IllusionEntry e = entry[k];
    CopyPixel4(b.there + 3 * k, texture.Row(e.row).row + texture.Column(e.column).left);
    const int w = e.weight < 0 ? 0 : e.weight > 1024 ? 1024 : e.weight;
    const uint64_t copies = uint64_t(w << 4) * 0x0001000100010001u;
    std::memcpy(b.weight + 3 * k, &copies, sizeof copies);
  }
}

// (h (1024 - w) + w t) >> 10 is h + floor(w (t - h) / 1024) exactly, as
// 1024 h divides evenly; with 16 w and 4 (t - h) the floor is the high half
// of a 16-bit product, which the vector units compute eight at a time.
void BlendIllusion(const IllusionBlock& b, uint8_t* __restrict out) {
  for (int k = 0; k < kFrameBlockBytes; ++k) {
    const int16_t here = b.here[k];
    const int16_t difference = int16_t(4 * (b.there[k] - here));
    out[k] = uint8_t(here + int16_t((int32_t(b.weight[k]) * difference) >> 16));
  }
}

}  // namespace

bool IllusionSizeWorkable(int width, int height) {
  return width >= 1 && height >= 1 && width <= kIllusionMaxSide && height <= kIllusionMaxSide;
}

bool BuildIllusionMap(int width, int height, int sectors, IllusionEntry* map) {
  if (!map || !IllusionSizeWorkable(width, height)) return false;
  const int n = sectors < 1 ? 1 : sectors;
  const double diagonal2 = double(width) * width + double(height) * height;
  const double f = 0.5 * std::sqrt(diagonal2);
  const double g = std::trunc(f * 0.5);
  IllusionEntry* entry = map;
  for (int i = 0; i < height; ++i) {
    const int dy = i - height / 2;
    for (int j = 0; j < width; ++j, ++entry) {
      const int dx = j - width / 2;
      const double x = dx / f, y = dy / f;
      const double around = dx == 0 && dy == 0 ? 0.0 : std::atan2(y, x);
      const double s = std::floor(around * n * kOneOverTwoPi);
      const double angle = s * 2 * kPi / n + kPi / n;
      entry->column = int16_t(animation::ReduceInto(j - int64_t(g * std::cos(angle)), width));
      entry->row = int16_t(animation::ReduceInto(i - int64_t(g * std::sin(angle)), height));
      const double distance = std::sqrt(4.0 * (double(dx) * dx + double(dy) * dy) / diagonal2);
      const int64_t weight = int64_t(distance * 1024);
      entry->weight = int16_t(weight > 1024 ? 1024 : weight);
    }
  }
  return true;
}

void DrawIllusionFrame(const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride,
                       const IllusionEntry* map, int64_t offsetX, int64_t offsetY) {
  if (!texture || !out || !map || !IllusionSizeWorkable(width, height) ||
      stride < int64_t(width) * 3)
    return;
  const ShiftedTexture shifted(texture, width, height, stride, offsetX, offsetY);
  const ShiftedTables tables = shifted.Tables();
  IllusionBlock block{};
  for (int i = 0; i < height; ++i) {
    const IllusionEntry* entries = map + int64_t(i) * width;
    const uint8_t* here = texture + i * stride;
    uint8_t* dst = out + i * stride;
    for (int j = 0; j < width; j += kFrameBlockPixels) {
      const int count = width - j < kFrameBlockPixels ? width - j : kFrameBlockPixels;
      GatherIllusion(tables, entries + j, count, here + 3 * j, block);
      if (count == kFrameBlockPixels) {
        BlendIllusion(block, dst + 3 * j);
      } else {
        uint8_t tail[kFrameBlockBytes];
        BlendIllusion(block, tail);
        std::memcpy(dst + 3 * j, tail, size_t(count) * 3);
      }
    }
  }
}

}  // namespace quillo::qlo12
