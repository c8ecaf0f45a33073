// Star: a star field rushing toward the viewer. Each star lies at a depth
// of 1 to 15 and moves away from the picture's centre by its distance over
// (depth + 20) a frame, so near stars race; a star that left the picture
// comes back at a random place. Stars far from the centre are drawn with
// the larger sprites, each in one of 16 colours, over the unchanged
// picture by a per-byte maximum.
#pragma once
#include <array>
#include <cstdint>

#include "imaging/basics/runtime_random.h"
#include "plugins/animation/kernels/param_blob.h"
#include "plugins/qlo11/kernels/star_sprites.h"

namespace quillo::qlo11 {

constexpr int kStarMinCount = 1, kStarMaxCount = 300, kStarDefaultCount = 50;
constexpr int kStarSubpixel = 32;  // positions are in 1/32 pixel

// The saved-parameter block: the star count.
constexpr uint32_t kStarBlobMagic = 0xABFDB1AB;
constexpr int kStarFieldCount = 1;
inline constexpr animation::BlobField kStarBlobFields[kStarFieldCount] = {
    {animation::BlobFieldKind::kInt32, kStarMinCount, kStarMaxCount, kStarDefaultCount}};

struct Star {
  int32_t x = 0, y = 0;          // 1/32 pixel; y is the memory row
  int32_t lastX = 0, lastY = 0;  // the previous position
  int32_t z = 0;                 // depth 1 .. 15; 0: not spawned yet
};

struct StarState {
  int count = kStarDefaultCount;
  std::array<Star, kStarMaxCount> stars{};
};

void SetStarCount(StarState& state, int count);

// A star at a random place within the square of side 2 min(W, H) around the
// centre, at a random depth (three draws: x, y, z).
void SpawnStar(Star& star, int width, int height, RuntimeRandom& random);

// Playing starts: the first `count` stars spawn anew, the others wait until
// the count reaches them.
void StartStars(StarState& state, int width, int height, RuntimeRandom& random);

// The sprite kind (0 smallest .. 3 largest) of a star at pixel (x, y): the
// larger of the two axes' classes, 3 from (W div 20) x 9 from the centre,
// 2 from x 7, 1 from x 5 (H for the rows).
int StarSpriteKind(int x, int y, int width, int height);

// Draws sprite `kind` of colour `colour` centred on pixel (x, y) by a
// per-byte maximum, clipped to the picture.
void DrawStarSprite(const StarSprites& sprites, int kind, int colour, int x, int y, uint8_t* out, int width,
                    int height, int64_t stride);

// One frame: `out` becomes `source` (24-bit, width x height, rows of
// `stride` bytes); every one of the first `count` stars moves (or, when it
// had left the picture, spawns anew) and is drawn.
void StarFrame(StarState& state, const StarSprites& sprites, const uint8_t* source, uint8_t* out, int width,
               int height, int64_t stride, RuntimeRandom& random);

}  // namespace quillo::qlo11
