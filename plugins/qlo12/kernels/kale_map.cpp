#include "kale_map.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "plugins/animation/kernels/texture_map.h"
#include "shifted_texture.h"

namespace quillo::qlo12 {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// v wrapped into [0, size): whole sizes added while negative, taken away
// while too large; non-finite values as 0. The remainder is exact, and a
// tiny negative value that rounds up to `size` when raised becomes 0.
double WrapInto(double v, int size) {
  if (!std::isfinite(v)) return 0;
  if (v < 0 || v >= size) {
    v = std::fmod(v, double(size));
    if (v < 0) v += size;
    if (v >= size) v -= size;
  }
  return v;
}

// The angle e raised by whole turns until it is not negative.
double RaiseToPositive(double e) {
  if (!std::isfinite(e)) return 0;
  if (e < 0) e += kTwoPi * std::ceil(-e / kTwoPi);
  if (e < 0) e += kTwoPi;
  return e < 0 ? 0 : e;
}

// One block of a row's texels, gathered: the left, right, lower left and
// lower right bytes of each pixel and its weights fx and fy (times 32),
// repeated for the pixel's three bytes. One spare element takes the
// overhang of the last pixel's four-byte and four-weight stores.
struct KaleBlock {
  uint8_t left[kFrameBlockBytes + 1], right[kFrameBlockBytes + 1];
  uint8_t lowerLeft[kFrameBlockBytes + 1], lowerRight[kFrameBlockBytes + 1];
  int16_t fx[kFrameBlockBytes + 1], fy[kFrameBlockBytes + 1];
};

// (a b) >> 16 in 32 bits: with a = 32 f (f < 1024) and b = 2 d it is
// floor(f d / 1024), which the vector units compute eight at a time.
inline int16_t MulHigh(int16_t a, int16_t b) { return int16_t((int32_t(a) * b) >> 16); }

// Four copies of a weight, stored as one word.
inline void StoreWeight(int16_t* at, int weight) {
  const uint64_t copies = uint64_t(uint16_t(weight)) * 0x0001000100010001u;
  std::memcpy(at, &copies, sizeof copies);
}

void GatherKale(const ShiftedTables texture, const KaleEntry* entry, int count, KaleBlock& b) {
  for (int k = 0; k < count; ++k) {
    const KaleEntry e = entry[k];
    const ShiftedRow y = texture.Row(e.row >> 10);
    const ShiftedColumn x = texture.Column(e.column >> 10);
    CopyPixel4(b.left + 3 * k, y.row + x.left);
    CopyPixel4(b.right + 3 * k, y.row + x.right);
    CopyPixel4(b.lowerLeft + 3 * k, y.below + x.left);
    CopyPixel4(b.lowerRight + 3 * k, y.below + x.right);
    StoreWeight(b.fx + 3 * k, (e.column & 1023) << 5);
    StoreWeight(b.fy + 3 * k, (e.row & 1023) << 5);
  }
}

// The bilinear blend of a whole block. (fx r + (1024 - fx) l) >> 10 is
// l + floor(fx (r - l) / 1024) exactly, as 1024 l divides evenly; so is
// the vertical step.
void BlendKale(const KaleBlock& b, uint8_t* __restrict out) {
  for (int k = 0; k < kFrameBlockBytes; ++k) {
    const int16_t left = b.left[k], lowerLeft = b.lowerLeft[k];
    const int16_t top = int16_t(left + MulHigh(b.fx[k], int16_t(2 * (b.right[k] - left))));
    const int16_t bottom =
        int16_t(lowerLeft + MulHigh(b.fx[k], int16_t(2 * (b.lowerRight[k] - lowerLeft))));
    out[k] = uint8_t(top + MulHigh(b.fy[k], int16_t(2 * (bottom - top))));
  }
}

}  // namespace

KaleParameters DefaultKaleParameters(int width, int height) {
  KaleParameters p;
  p.centreX = width > 0 ? width / 2 : 0;
  p.centreY = height > 0 ? height / 2 : 0;
  return p;
}

bool KaleSizeWorkable(int width, int height) {
  return width >= 1 && height >= 1 && width <= kKaleMaxSide && height <= kKaleMaxSide;
}

bool BuildKaleMap(int width, int height, const KaleParameters& p, KaleEntry* map) {
  if (!map || !KaleSizeWorkable(width, height)) return false;
  const int segments = p.segments < 1 ? 1 : p.segments;
  const double g = kPi / segments;
  KaleEntry* entry = map;
  for (int i = 0; i < height; ++i) {
    const double dy = i - p.centreY;
    for (int j = 0; j < width; ++j, ++entry) {
      const double dx = j - p.centreX;
      const double d = std::sqrt(dx * dx + dy * dy);
      const double around = dx == 0 && dy == 0 ? 0.0 : std::atan2(dy, dx);
      const double e = RaiseToPositive(around - p.angle1 - p.angle2);
      const double k = std::ceil(e / g);
      double a = e - g * (k - 1);
      if (p.mirror && std::fmod(k - 1, 2.0) != 0) a = g - a;
      a += p.angle1;
      const double sx = WrapInto(d * std::cos(a) + p.offsetX + p.centreX, width);
      const double sy = WrapInto(d * std::sin(a) + p.offsetY + p.centreY, height);
      // sx < width and the scaling by 1024 is exact, so the whole part of
      // the entry stays below width.
      entry->column = int32_t(sx * 1024);
      entry->row = int32_t(sy * 1024);
    }
  }
  return true;
}

void DrawKaleFrame(const uint8_t* textureBytes, uint8_t* out, int width, int height,
                   int64_t stride, const KaleEntry* map, int64_t offsetX, int64_t offsetY) {
  if (!textureBytes || !out || !map || !KaleSizeWorkable(width, height) || stride < int64_t(width) * 3)
    return;
  const ShiftedTexture shifted(textureBytes, width, height, stride, offsetX, offsetY);
  const ShiftedTables texture = shifted.Tables();
  KaleBlock block{};
  for (int i = 0; i < height; ++i) {
    const KaleEntry* entries = map + int64_t(i) * width;
    uint8_t* dst = out + i * stride;
    for (int j = 0; j < width; j += kFrameBlockPixels) {
      const int count = width - j < kFrameBlockPixels ? width - j : kFrameBlockPixels;
      GatherKale(texture, entries + j, count, block);
      if (count == kFrameBlockPixels) {
        BlendKale(block, dst + 3 * j);
      } else {
        uint8_t tail[kFrameBlockBytes];
        BlendKale(block, tail);
        std::memcpy(dst + 3 * j, tail, size_t(count) * 3);
      }
    }
  }
}

void ShuffleKale(KaleParameters& p, RuntimeRandom& random) {
  p.segments = random.Below(6) + 3;
  p.angle1 = random.Below(360);
  p.angle2 = random.Below(360);
  p.mirror = !p.mirror;
}

}  // namespace quillo::qlo12
