#include "flash.h"

#include <cmath>
#include <cstring>

namespace quillo::qlo11 {

namespace {

// trunc(v) for a finite v inside the int range; anything else counts as 0,
// so no out-of-range conversion can happen.
int TruncOrZero(double v) { return std::isfinite(v) && v > -2147483648.0 && v < 2147483648.0 ? int(v) : 0; }

}  // namespace

int WrapInto(int64_t v, int size) {
  if (size <= 0) return 0;
  const int64_t r = v % size;
  return int(r < 0 ? r + size : r);
}

SparkPixel FlashSparkPixel(const FlashSpark& s, int width, int height) {
  const float age = s.age;
  const int x = TruncOrZero(age * s.speedX + float(s.startX));
  const int y = TruncOrZero(age * age * 330.0f + age * s.speedY + float(s.startY));
  return {WrapInto(x, width), WrapInto(y, height)};
}

void FlashFrame(FlashState& state, const uint8_t* source, uint8_t* out, int width, int height, int64_t stride,
                RuntimeRandom& random) {
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  std::memcpy(out, source, size_t(stride) * size_t(height));
  if (state.ring < 0 || state.ring >= kFlashSparks) state.ring = 0;
  for (FlashSpark& s : state.sparks) {
    if (!(s.age > 0 && s.age < 1)) continue;
    const SparkPixel p = FlashSparkPixel(s, width, height);
    const int64_t at = int64_t(p.row) * stride + int64_t(p.column) * 3;
    const float fade = 1 - s.age;
    out[at] = uint8_t(source[at] + int(fade * s.blue) * 8);
    out[at + 1] = uint8_t(source[at + 1] + int(fade * s.green) * 4);
    out[at + 2] = uint8_t(source[at + 2] + int(fade * s.red) * 8);
    s.age += 0.007;
  }
  // The phases are floats; the sines and cosines take them as doubles.
  const float a = state.a, b = state.b, c = state.c;
  const int ey = TruncOrZero((std::sin(double(a - b + 2 * c)) + std::sin(double(c + a / 2))) * (height / 4) +
                             height / 2);
  const int ex = TruncOrZero((std::sin(double(b - c)) + std::cos(double(a + b))) * (width / 4) + width / 2);
  const auto red = uint8_t(TruncOrZero(std::cos(double(6 * a)) * 10 + 20));
  const auto green = uint8_t(TruncOrZero(std::cos(double(5 * b)) * 20 + 40));
  const auto blue = uint8_t(TruncOrZero(std::cos(double(7 * c)) * 10 + 20));
  for (int k = 0; k < kFlashEmitted; ++k) {
    FlashSpark& s = state.sparks[size_t(state.ring)];
    state.ring = state.ring + 1 < kFlashSparks ? state.ring + 1 : 0;
    const int r1 = random.Next(), r2 = random.Next();
    s.startX = ex + (random.Next() & 3);
    s.startY = ey + (random.Next() & 3);
    const double angle = 2 * r1 * 0.00009587672516830327;
    const double speed = r2 * 0.0009155552842799158 + 50;
    s.speedX = float(std::cos(angle) * speed);
    s.speedY = float(std::sin(angle) * speed);
    s.age = 0.01f;
    s.red = red;
    s.green = green;
    s.blue = blue;
  }
  state.a += 0.05;
  state.b += 0.03;
  state.c += 0.0441;
}

}  // namespace quillo::qlo11
