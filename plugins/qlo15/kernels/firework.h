// FireWork: rockets rising from the lower part of the picture and bursting
// into coloured sparks that fall back under gravity. Positions and speeds
// are in eighths of a pixel, y counted from the top of the picture; each
// spark is a 2 x 2 block in its rocket's colour.
//
// Rocket i waits i x (sparks per rocket) + 1 frames before its first launch
// and relaunches every rockets x sparks frames; it bursts once past its
// apex.
#pragma once
#include <array>
#include <cstdint>

#include "imaging/basics/runtime_random.h"

namespace quillo::qlo15 {

constexpr int kFireworkMinRockets = 1, kFireworkMaxRockets = 100, kFireworkDefaultRockets = 20;
constexpr int kFireworkMinSparks = 1, kFireworkMaxSparks = 50, kFireworkDefaultSparks = 20;
constexpr int kFireworkMinHeight = 3, kFireworkMaxHeight = 250;
constexpr int kFireworkMaxParticles = kFireworkMaxRockets * kFireworkMaxSparks;

struct FireworkState {
  int rockets = kFireworkDefaultRockets;
  int sparks = kFireworkDefaultSparks;  // particles per rocket
  int launchHeight = 128;               // 3 ... 250: the launch row is (255 - it) H / 256
  bool regenerate = true;
  std::array<int32_t, kFireworkMaxParticles> x{}, y{}, vx{}, vy{};
  std::array<int32_t, kFireworkMaxRockets> countdown{};
  std::array<uint8_t, kFireworkMaxRockets> exploded{};
};

// The launch height a picture `height` rows high starts with: 128 from 300
// rows, down to 5 under 50 rows.
int FireworkDefaultHeight(int height);

// The three settings clamped into their sliders' ranges; the rockets start
// anew on the next frame.
void SetFirework(FireworkState& state, int rockets, int sparks, int launchHeight);

// The colour of rocket `rocket`, in pixel order (blue, green, red).
const uint8_t* FireworkColour(int rocket);

// One frame: `out` becomes `source` (24-bit, width x height, rows of
// `stride` bytes) with every spark drawn, then everything moves.
void FireworkFrame(FireworkState& state, const uint8_t* source, uint8_t* out, int width, int height,
                   int64_t stride, RuntimeRandom& random);

}  // namespace quillo::qlo15
