// Flash: a fountain of coloured sparks. An emitter wanders over the picture
// on three phases; each frame it throws 40 sparks at random angles and
// speeds, which fall under gravity, fade as they age and wrap around the
// picture's edges. A spark lightens its pixel of the unchanged picture.
#pragma once
#include <array>
#include <cstdint>

#include "imaging/basics/runtime_random.h"

namespace quillo::qlo11 {

constexpr int kFlashSparks = 5000;
constexpr int kFlashEmitted = 40;  // sparks thrown per frame

struct FlashSpark {
  int32_t startX = 0, startY = 0;
  uint8_t red = 0, green = 0, blue = 0;  // colour weights
  float age = 0;                         // 0 free, between 0 and 1 alive
  float speedX = 0, speedY = 0;
};

struct FlashState {
  std::array<FlashSpark, kFlashSparks> sparks{};
  int ring = 0;               // the next record thrown
  float a = 0, b = 0, c = 0;  // the emitter's phases
};

// v reduced into 0 .. size - 1, negative values included; 0 for a size
// that is not positive.
int WrapInto(int64_t v, int size);

// The pixel a spark lights: column and memory row, both inside the picture.
struct SparkPixel {
  int column, row;
};
SparkPixel FlashSparkPixel(const FlashSpark& spark, int width, int height);

// One frame: `out` becomes `source` (24-bit, width x height, rows of
// `stride` bytes) with every live spark drawn; the sparks age, 40 new ones
// are thrown (four draws each) and the phases advance.
void FlashFrame(FlashState& state, const uint8_t* source, uint8_t* out, int width, int height, int64_t stride,
                RuntimeRandom& random);

}  // namespace quillo::qlo11
