// Bump: a round light wandering over the picture, lighting it as a relief.
// Each byte's slope (its neighbours' difference across and down) shifts the
// spot where the light map is read, so edges facing the light shine and
// those facing away darken; outside the light's reach the picture is dimmed
// by the bias.
//
// The light follows a slow Lissajous path while the mouse rests; a mouse
// move over the picture takes it there, and for two seconds after a move
// only new moves redraw.
#pragma once
#include <array>
#include <cstdint>

namespace quillo::qlo11 {

constexpr int kBumpReach = 256;  // half the side of the lit square
constexpr int kBumpBias = 128;
constexpr uint32_t kBumpMouseHold = 2000;  // ms the light stays where the mouse put it

// Lm[y][x] = trunc(max(0, 1 - distance from (128, 128) / 128) x 255).
using BumpLightMap = std::array<uint8_t, 256 * 256>;
const BumpLightMap& BumpLight();

struct BumpState {
  float a = 0, b = 0;          // phases of the automatic path
  int lightX = 0, lightY = 0;  // picture pixels, y from the top
  int mouseX = 0, mouseY = 0;
  uint32_t lastMove = 0;  // tick of the last mouse move
  bool newPosition = false;
};

// Playing starts at the picture's centre with the last move long past.
void StartBump(BumpState& state, int width, int height, uint32_t now);

// A mouse move at picture pixel (x, y) at tick `now`; moves outside the
// picture are ignored.
void BumpMouse(BumpState& state, int width, int height, int x, int y, uint32_t now);

// Where the light goes for the frame at tick `now`: false when the frame
// draws nothing (the mouse moved less than two seconds ago and has not
// moved again).
bool StepBumpLight(BumpState& state, int width, int height, uint32_t now);

// Lights `source` into `out` (24-bit, width x height, rows of `stride`
// bytes, memory row 0 at the bottom) with the light at the state's place.
void DrawBump(const BumpState& state, const uint8_t* source, uint8_t* out, int width, int height,
              int64_t stride);

// One frame: StepBumpLight, then DrawBump when it says so. True when drawn.
bool BumpFrame(BumpState& state, const uint8_t* source, uint8_t* out, int width, int height, int64_t stride,
               uint32_t now);

}  // namespace quillo::qlo11
