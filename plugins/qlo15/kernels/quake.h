// Quake: the picture breaks into an 8 x 8 grid of blocks that shake and
// fall. Every frame each block steps sideways by -1, 0 or +1 and falls
// (rand mod 6 + 3) (H - y + 50) / H rows (fast at the top, settling about 50
// rows below the picture), and is drawn over the picture as it stands, so a
// falling block leaves a streak of its own rows. After every 256 frames the
// run rests for 49 steps, showing the clean picture from the 25th on, and
// then the blocks return to the grid.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"

namespace quillo::qlo15 {

constexpr int kQuakeGrid = 8;
constexpr int kQuakeBlocks = kQuakeGrid * kQuakeGrid;
constexpr int kQuakeFramesPerRest = 256;
constexpr int kQuakeRestSteps = 49;
constexpr int kQuakeCleanStep = 25;  // the rest step that shows the clean picture
constexpr int kQuakeMinStrength = 5, kQuakeMaxStrength = 100, kQuakeDefaultStrength = 40;

struct QuakeBlock {
  int32_t x = 0, y = 0;  // column; picture row counted from the top
};

struct QuakeState {
  int width = 0, height = 0;
  int blockWidth = 0, blockHeight = 0;  // W div 8, H div 8 (0 on pictures under 8 pixels)
  std::array<QuakeBlock, kQuakeBlocks> blocks{};
  bool captured = false;
  std::vector<uint8_t> pixels;  // the 64 block pictures, each blockHeight rows top-down
  int frame = 0;                // frames of the current run
  bool resting = false;
  int restStep = 0;  // rest steps taken
};

// A run on a picture of width x height starts: the blocks sit on the grid,
// block r 8 + c at ((c W) >> 3, (r H) >> 3), and the frame count is 0.
void StartQuake(QuakeState& state, int width, int height);

// Copies the blocks' pictures from `source` (24-bit, the state's size, rows
// of `stride` bytes) unless they are held already. False when there is no
// memory for them.
bool CaptureQuakeBlocks(QuakeState& state, const uint8_t* source, int64_t stride);

// Forgets the blocks' pictures: the next run takes them anew.
void ReleaseQuakeBlocks(QuakeState& state);

// One frame: blocks 63 down to 0 move and are drawn over `image` (rows
// y + k while y + k < H - 1, columns inside the picture). True when the
// rest is due after this frame (after every 256th frame but the first).
bool QuakeFrame(QuakeState& state, uint8_t* image, int64_t stride, RuntimeRandom& random);

// One step of the rest: the 25th copies `clean` over `image`; the 49th
// puts the blocks back on the grid and ends the rest. True while the rest
// goes on.
bool QuakeRestStep(QuakeState& state, const uint8_t* clean, uint8_t* image, int64_t stride);

}  // namespace quillo::qlo15
