// Twinkling stars: cross-shaped stars scattered over the picture, each
// shrinking through seven shapes, then showing up somewhere else in a new
// colour. Points are given with rows counted from the top of the picture.
#pragma once
#include <array>
#include <cstdint>

#include "imaging/basics/runtime_random.h"

namespace quillo::qlo17 {

constexpr int kTwinkleRecords = 1000;
constexpr int kTwinkleMinCount = 1, kTwinkleMaxCount = kTwinkleRecords, kTwinkleDefaultCount = 50;
// A star of this phase or more draws nothing; a new star starts there, so
// its first frame places it.
constexpr int kTwinkleLastPhase = 21;

struct TwinkleStar {
  int x = 0, y = 0;
  int phase = kTwinkleLastPhase;
  uint8_t outer[3] = {0, 0, 0};         // blue, green, red as written to pixels
  uint8_t centre[3] = {255, 255, 255};
};

struct TwinkleState {
  std::array<TwinkleStar, kTwinkleRecords> stars;
  int count = kTwinkleDefaultCount;  // stars drawn, 1 ... 1000
};

// The count within 1 ... 1000.
void SetTwinkleCount(TwinkleState& state, int count);

// The blue, green and red bytes of (red 0, green 127, blue 255) given a
// random hue (one draw, r / 32767) in hue, saturation and lightness space.
void RandomHueColour(RuntimeRandom& random, uint8_t bgr[3]);

// A new animation: every record back to phase 21 with a random-hue outer
// colour and a white centre (1000 draws).
void StartTwinkle(TwinkleState& state, RuntimeRandom& random);

// The shape of `star`'s phase drawn into the picture; points outside it
// are skipped.
void DrawTwinkleShape(const TwinkleStar& star, uint8_t* pixels, int width, int height, int64_t stride);

// One frame: the backup copied over `out`, then each of the first `count`
// stars drawn and aged; a star past phase 21 restarts at phase rand % 15 at
// (rand % width, rand % height) in a new random-hue colour.
void TwinkleFrame(TwinkleState& state, const uint8_t* backup, uint8_t* out, int width, int height,
                  int64_t stride, RuntimeRandom& random);

}  // namespace quillo::qlo17
