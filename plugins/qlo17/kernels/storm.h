// The sprite storm: a cloud of glowing sprites turning in three dimensions
// in front of the picture, steered by where the mouse lies on the screen,
// drawn into a glow buffer that fades by half every frame and is added to
// the picture.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"
#include "plugins/qlo17/kernels/storm_sprite.h"

namespace quillo::qlo17 {

constexpr int kStormRecords = 256;
constexpr int kStormMinCount = 1, kStormMaxCount = kStormRecords, kStormDefaultCount = 40;

struct StormParticle {
  double x = 0, y = 0, z = 0;
  int screenX = 0, screenY = 0;
  int sprite = 0;  // record number mod 5
};

// The cursor that steers the storm, on a screen of the given size.
struct StormCursor {
  int screenWidth = 0, screenHeight = 0;
  int x = 0, y = 0;
};

struct StormAngles {
  double a = 0, b = 0, c = 0;
};

struct StormState {
  std::array<StormParticle, kStormRecords> particles;
  std::array<int, kStormRecords> sizes{};  // sprite side by depth index
  int count = kStormDefaultCount;          // sprites drawn, 1 ... 256
  bool regenerate = true;                  // the cloud is made anew before the next frame
  StormAngles angles;
  int centreX = 0, centreY = 0;
  int width = 0, height = 0;
  std::vector<uint8_t> glow;     // width x height x 3 bytes, bottom-up rows
  std::vector<uint8_t> scratch;  // the stamp's scaled row
};

// The count within 1 ... 256; a change asks for a new cloud.
void SetStormCount(StormState& state, int count);

// Sizes the glow buffer for a width x height picture (the byte count in 64
// bits). False, with the buffer empty, when the picture is empty or memory
// runs out.
bool AllocateStormGlow(StormState& state, int width, int height);

// Side of the sprite at depth index d: with S = max(width, height) / 2 + 10
// and s = S / 6 + 5, s + (255 - d) x (S - s) / 256.
void BuildStormSizes(StormState& state, int width, int height);

// Every particle at random unit coordinates (x, y, z drawn in turn) with
// sprite index = its number mod 5; clears the request.
void RegenerateStorm(StormState& state, RuntimeRandom& random);

// A new animation: the picture's bits cleared, the glow buffer zeroed, the
// centre and size table set, the cloud made anew when asked for.
void StartStorm(StormState& state, uint8_t* out, int64_t stride, RuntimeRandom& random);

// The angles the cursor asks for: a = (cx - x) x 0.1 / cx, b = (cy - y) x
// 0.1 / cy with (cx, cy) the screen's centre, c = a, except that c = 1 when
// a and b are both 0. An axis of a screen under 2 pixels gives 0.
StormAngles AnglesFromCursor(const StormCursor& cursor);

// Turns every particle: (y, z) by a, then (z, x) by b, then (x, y) by c.
void RotateStorm(StormState& state, const StormAngles& angles);

// Screen position of every particle: f = 5 / (z + 5) x 1.2, screen x =
// trunc((f x + 1) x width / 2), screen y likewise with the height.
void ProjectStorm(StormState& state);

// Depth index of a particle: clamp(trunc((z + 1) x 127), 0, 255).
int StormDepth(double z);

// One frame: the glow halved, the cloud turned as the cursor asks and
// projected, the first `count` particles stamped from the last to the
// first, and every byte of `out` = min(255, backup + glow).
void StormFrame(StormState& state, const StormSprites& sprites, const uint8_t* backup, uint8_t* out,
                int64_t stride, const StormCursor& cursor, RuntimeRandom& random);

}  // namespace quillo::qlo17
