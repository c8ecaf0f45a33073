// Rain: drops hitting a water surface over the picture, each a ripple of
// seven rings that widens and flattens as it ages over 20 frames, then
// starts again somewhere else. Playing starts with one drop; the first
// drop adds another each time it lands, up to the drop count.
//
// A ripple of age a at (x, y) (a memory row) draws rings of radius d + 1 ...
// d + 7 with d = trunc(0.9 a), each traced with the midpoint circle
// algorithm; every point of a ring takes the picture's pixel pushed
// outward (the first four rings) or inward (the last three) by
// (i, k) A / (r (r / 2) a / 20 + 1), A the ring's amplitude.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "imaging/basics/runtime_random.h"
#include "plugins/animation/kernels/param_blob.h"

namespace quillo::qlo15 {

constexpr int kRainMinDrops = 1, kRainMaxDrops = 2500, kRainDefaultDrops = 100;
constexpr int kRainDropLife = 20;  // frames from a drop's landing to the next
constexpr int kRainTicksPerChange = 20;
constexpr int kRainRings = 7;

// The stored block: magic, size 12, drop count.
constexpr uint32_t kRainBlobMagic = 0x77233B34;
inline constexpr animation::BlobField kRainBlobFields[] = {
    {animation::BlobFieldKind::kInt32, kRainMinDrops, kRainMaxDrops, kRainDefaultDrops}};
constexpr std::size_t kRainFieldCount = 1;

struct RainState {
  int dropCount = kRainDefaultDrops;
  int active = 1;     // drops that land and age, 1 ... 2500
  bool reset = true;  // ages are drawn anew and positions cleared on the next frame
  std::array<int32_t, kRainMaxDrops> x{}, y{}, age{};  // y a memory row
};

// The ring amplitudes A, 20 sin(2 pi trunc(factor 255 / 6) / 256)
// truncated: 5, 13, 19, 14, -13, -19, -8.
const std::array<int, kRainRings>& RainRingAmplitudes();

// The drop count clamped into 1 ... 2500; `reset` asks for new ages, as a
// user's change of the slider does.
void SetRainDrops(RainState& state, int drops, bool reset);

// Playing starts: one active drop, ages drawn anew on the first frame.
void StartRain(RainState& state);

// The saver's tick `count`: every 20th draws a drop count of 30 ... 229.
bool RainTick(RainState& state, int count, RuntimeRandom& random);

// Draws one ripple of age `age` at (x, y) into `out` from `source`.
// Destinations outside the picture are skipped, sources clamped into it.
void DrawRipple(const uint8_t* source, uint8_t* out, int width, int height, int64_t stride, int x,
                int y, int age);

// One frame: `out` becomes `source` (24-bit, width x height, rows of
// `stride` bytes) with every drop's ripple. Drops land 4 pixels or more
// from the edges; on a picture 8 pixels or less across (or high) they land
// on its middle column (row).
void RainFrame(RainState& state, const uint8_t* source, uint8_t* out, int width, int height,
               int64_t stride, RuntimeRandom& random);

}  // namespace quillo::qlo15
