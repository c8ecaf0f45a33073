#include "star_sprites.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quillo::qlo11 {

namespace {

uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

double HueChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

uint8_t Byte(double v) { return uint8_t(std::clamp(std::lround(v * 255), 0L, 255L)); }

}  // namespace

const char* const kStarSpriteNames[kStarSpriteKinds] = {"Star3", "Star2", "Bee", "Queen"};

bool ReadPackedSprite(const uint8_t* data, std::size_t bytes, int size, std::vector<uint8_t>& pixels) {
  constexpr std::size_t kHeader = 40;
  const std::size_t pixelBytes = std::size_t(size) * std::size_t(size) * 3;
  if (!data || size <= 0 || bytes < kHeader + pixelBytes) return false;
  const auto height = int32_t(Get32(data + 8));
  if (Get32(data) != kHeader || int32_t(Get32(data + 4)) != size || height != size || Get16(data + 12) != 1 ||
      Get16(data + 14) != 24 || Get32(data + 16) != 0 || Get32(data + 32) != 0)
    return false;
  pixels.assign(data + kHeader, data + kHeader + pixelBytes);
  return true;
}

void TurnHue(uint8_t* pixel, double turn) {
  const double b = pixel[0] / 255.0, g = pixel[1] / 255.0, r = pixel[2] / 255.0;
  const double high = std::max({r, g, b}), low = std::min({r, g, b});
  const double lightness = (high + low) / 2;
  if (high == low) return;  // grey: no hue to turn
  const double d = high - low;
  const double saturation = lightness > 0.5 ? d / (2 - high - low) : d / (high + low);
  double hue;
  if (high == r)
    hue = (g - b) / d + (g < b ? 6 : 0);
  else if (high == g)
    hue = (b - r) / d + 2;
  else
    hue = (r - g) / d + 4;
  hue = hue / 6 + turn;
  hue -= std::floor(hue);
  const double q =
      lightness < 0.5 ? lightness * (1 + saturation) : lightness + saturation - lightness * saturation;
  const double p = 2 * lightness - q;
  pixel[2] = Byte(HueChannel(p, q, hue + 1.0 / 3));
  pixel[1] = Byte(HueChannel(p, q, hue));
  pixel[0] = Byte(HueChannel(p, q, hue - 1.0 / 3));
}

bool PrepareStarSprites(const std::array<std::vector<uint8_t>, kStarSpriteKinds>& stored,
                        StarSprites& sprites) {
  sprites.ready = false;
  for (int kind = 0; kind < kStarSpriteKinds; ++kind) {
    const std::size_t bytes = std::size_t(kStarSpriteSizes[kind]) * kStarSpriteSizes[kind] * 3;
    if (stored[size_t(kind)].size() != bytes) return false;
  }
  for (int kind = 0; kind < kStarSpriteKinds; ++kind)
    for (int colour = 0; colour < kStarColours; ++colour) {
      std::vector<uint8_t>& v = sprites.variants[size_t(kind)][size_t(colour)];
      v = stored[size_t(kind)];
      if (colour > 0)
        for (std::size_t k = 0; k < v.size(); k += 3) TurnHue(&v[k], double(colour) / kStarColours);
    }
  sprites.ready = true;
  return true;
}

}  // namespace quillo::qlo11
