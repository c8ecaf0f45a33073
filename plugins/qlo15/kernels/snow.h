// Snow: white flakes falling over the picture, each swaying left and right
// as it falls. Four flakes at most are born each frame at the top, in the
// first free records among the first `flakeCount`; a flake leaves when it
// passes the bottom.
//
// The gust count is kept (slider, stored block, saver ticks) but gusts never
// blow: a gust only pushes flakes while active, and nothing ever activates
// one, so no gust table is kept.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "imaging/basics/runtime_random.h"
#include "plugins/animation/kernels/param_blob.h"

namespace quillo::qlo15 {

constexpr int kSnowMinFlakes = 10, kSnowMaxFlakes = 5000, kSnowDefaultFlakes = 1000;
constexpr int kSnowMinGusts = 0, kSnowMaxGusts = 20, kSnowDefaultGusts = 5;
constexpr int kSnowTicksPerChange = 20;

// The stored block: magic, size 16, flake count, gust count.
constexpr uint32_t kSnowBlobMagic = 0x35F0AB34;
inline constexpr animation::BlobField kSnowBlobFields[] = {
    {animation::BlobFieldKind::kInt32, kSnowMinFlakes, kSnowMaxFlakes, kSnowDefaultFlakes},
    {animation::BlobFieldKind::kInt32, kSnowMinGusts, kSnowMaxGusts, kSnowDefaultGusts}};
constexpr std::size_t kSnowFieldCount = 2;

struct Flake {
  int32_t x = 0, y = 0;  // column; picture row counted from the top
  int32_t layer = 0;     // 0 ... 2
  int32_t speed = 0;     // 2 ... 7 once born; it falls speed / 2 rows a frame
  int32_t swayCounter = 0;
  int32_t swayStep = 1;  // +1 or -1
  int32_t active = 0;
  int32_t size = 0;      // 1 or 2
};

struct SnowState {
  int flakeCount = kSnowDefaultFlakes;
  int gustCount = kSnowDefaultGusts;
  std::array<Flake, kSnowMaxFlakes> flakes{};
};

// Both counts clamped into their sliders' ranges.
void SetSnowCounts(SnowState& state, int flakes, int gusts);

// The saver's tick `count`: every 20th draws new counts (flakes 200 ...
// 1199, gusts 2 ... 11). True when the counts changed.
bool SnowTick(SnowState& state, int count, RuntimeRandom& random);

// One frame: `out` becomes `source` (24-bit, width x height, rows of
// `stride` bytes, memory row 0 the bottom row) with the flakes drawn after
// birth and fall. Nothing happens for an empty picture or a short stride.
void SnowFrame(SnowState& state, const uint8_t* source, uint8_t* out, int width, int height,
               int64_t stride, RuntimeRandom& random);

}  // namespace quillo::qlo15
