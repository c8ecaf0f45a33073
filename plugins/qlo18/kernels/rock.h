// Rocks: coloured rocks flying out of the picture towards the viewer around
// a wandering vanishing point. Each of up to 1000 slots holds one rock that
// is born far away (depth 6000), comes nearer by the speed setting every
// frame, turns about the vanishing point with the field's rotation and dies
// when it passes depth 200. Near rocks grow from a dot through small
// squares into seven-sided stones.
//
// The field (drift of the vanishing point, rotation, frame counter) belongs
// to the module and carries over from one run to the next; the slots and
// settings belong to one dialog.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "imaging/basics/runtime_random.h"
#include "plugins/animation/kernels/param_blob.h"

namespace quillo::qlo18 {

constexpr int kRockMinCount = 1, kRockMaxCount = 1000, kRockDefaultCount = 200;
constexpr int kRockMinSpeed = 1, kRockMaxSpeed = 1000, kRockDefaultSpeed = 100;
constexpr int kRockSlots = 1000;   // slots, and angle steps in one full turn
constexpr int kRockFarDepth = 6000;
constexpr int kRockNearDepth = 200;  // nearer than this a rock dies
constexpr int kRockBaseSize = 200;   // drawn no more once its size reaches it

// The stored block: magic, size 16, rock count, speed.
constexpr uint32_t kRockBlobMagic = 0xABF1BFEA;
inline constexpr animation::BlobField kRockBlobFields[] = {
    {animation::BlobFieldKind::kInt32, kRockMinCount, kRockMaxCount, kRockDefaultCount},
    {animation::BlobFieldKind::kInt32, kRockMinSpeed, kRockMaxSpeed, kRockDefaultSpeed}};
constexpr std::size_t kRockFieldCount = 2;

struct Rock {
  int32_t baseSize = 0;
  int32_t distance = 0;      // from the vanishing point, before perspective
  uint8_t red = 0, green = 0, blue = 0;
  int32_t angle = 0;         // 0 ... 999: a full turn in 1000 steps
  int32_t depth = 0;         // 0: the slot is free
  int32_t size = 0;          // drawn size in pixels
  int32_t x = 0, y = 0;      // screen position, y counted from the top
};

// Sine and cosine of a thousandth turn's multiples and the perspective
// factor atan2(0.5 / (k x 0.01), 1) of each depth k = 1 ... 6000.
struct RockTables {
  std::array<double, kRockSlots> sine{}, cosine{};
  std::array<double, kRockFarDepth> perspective{};
};
const RockTables& RockTable();

// The drift and turn of the whole field.
struct RockField {
  int frame = 0;               // 0 ... 49
  int centreX = 0, centreY = 0;  // the vanishing point
  int driftX = 0, driftY = 0;
  int velocityX = 0, velocityY = 0;
  int directionX = 0, directionY = 0;
  int rotation = 0, rotationTarget = 0;
  int step = 0;                // frames since the rotation last moved
};

struct RockState {
  int count = kRockDefaultCount;
  int speed = kRockDefaultSpeed;
  std::array<Rock, kRockSlots> rocks{};
};

// Both settings clamped into their sliders' ranges.
void SetRockSettings(RockState& state, int count, int speed);

// A run starts: the vanishing point at the picture's centre.
void StartRocks(RockField& field, int width, int height);

// Where a rock of depth 1 ... 6000 appears (size and screen position).
void ProjectRock(Rock& rock, const RockField& field);

// Paints a rock of the given size at (x, y) (y from the top) into a 24-bit
// picture whose memory row 0 is the bottom row; pixels outside are skipped.
void DrawRock(const Rock& rock, uint8_t* pixels, int width, int height, int64_t stride);

// Fills the polygon of `count` vertices (x, y from the top) by the even-odd
// rule: on each row the pixels from a left crossing up to, not including,
// the right one.
void FillRockPolygon(const int (*vertices)[2], int count, const uint8_t bgr[3], uint8_t* pixels, int width,
                     int height, int64_t stride);

// One frame: `out` becomes `source` with the field moved on and every one
// of the first `count` slots updated, reborn or drawn. Nothing happens for
// an empty picture or a short stride.
void RockFrame(RockState& state, RockField& field, const uint8_t* source, uint8_t* out, int width, int height,
               int64_t stride, RuntimeRandom& random);

}  // namespace quillo::qlo18
