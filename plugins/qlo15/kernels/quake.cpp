#include "quake.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace quillo::qlo15 {

namespace {

constexpr int64_t kQuakeFarRows = 1 << 28;

void PlaceOnGrid(QuakeState& state) {
  for (int r = 0; r < kQuakeGrid; ++r)
    for (int c = 0; c < kQuakeGrid; ++c) {
      QuakeBlock& block = state.blocks[size_t(r * kQuakeGrid + c)];
      block.x = int32_t((int64_t(c) * state.width) >> 3);
      block.y = int32_t((int64_t(r) * state.height) >> 3);
    }
}

size_t BlockBytes(const QuakeState& state) { return size_t(state.blockWidth) * size_t(state.blockHeight) * 3; }

// Block `index`'s picture at its place, clipped: rows from y while below
// H - 1, columns inside the picture.
void DrawBlock(const QuakeState& state, int index, uint8_t* image, int64_t stride) {
  const QuakeBlock& block = state.blocks[size_t(index)];
  const int first = std::max(block.x, 0);
  const int last = std::min<int64_t>(int64_t(block.x) + state.blockWidth, state.width);
  if (first >= last) return;
  const uint8_t* pixels = state.pixels.data() + BlockBytes(state) * size_t(index);
  const size_t rowBytes = size_t(state.blockWidth) * 3;
  for (int k = 0; k < state.blockHeight; ++k) {
    const int64_t row = int64_t(block.y) + k;
    if (row >= state.height - 1) break;
    if (row < 0) continue;
    uint8_t* to = image + (state.height - 1 - row) * stride + int64_t(first) * 3;
    std::memcpy(to, pixels + rowBytes * size_t(k) + size_t(first - block.x) * 3, size_t(last - first) * 3);
  }
}

}  // namespace

void StartQuake(QuakeState& state, int width, int height) {
  if (width != state.width || height != state.height) ReleaseQuakeBlocks(state);
  state.width = std::max(0, width);
  state.height = std::max(0, height);
  state.blockWidth = state.width / kQuakeGrid;
  state.blockHeight = state.height / kQuakeGrid;
  state.frame = 0;
  state.resting = false;
  state.restStep = 0;
  PlaceOnGrid(state);
}

bool CaptureQuakeBlocks(QuakeState& state, const uint8_t* source, int64_t stride) {
  if (state.captured) return true;
  if (!source || stride < int64_t(state.width) * 3) return false;
  const size_t bytes = BlockBytes(state);
  try {
    state.pixels.assign(bytes * kQuakeBlocks, 0);
  } catch (const std::bad_alloc&) {
    ReleaseQuakeBlocks(state);
    return false;
  }
  const size_t rowBytes = size_t(state.blockWidth) * 3;
  for (int index = 0; index < kQuakeBlocks && bytes > 0; ++index) {
    const QuakeBlock& block = state.blocks[size_t(index)];
    uint8_t* to = state.pixels.data() + bytes * size_t(index);
    for (int k = 0; k < state.blockHeight; ++k) {
      const int64_t row = state.height - 1 - (int64_t(block.y) + k);
      std::memcpy(to + rowBytes * size_t(k), source + row * stride + int64_t(block.x) * 3, rowBytes);
    }
  }
  state.captured = true;
  return true;
}

void ReleaseQuakeBlocks(QuakeState& state) {
  std::vector<uint8_t>().swap(state.pixels);
  state.captured = false;
}

bool QuakeFrame(QuakeState& state, uint8_t* image, int64_t stride, RuntimeRandom& random) {
  const bool drawable = image && state.captured && state.width > 0 && state.height > 0 &&
                        stride >= int64_t(state.width) * 3 && state.pixels.size() == BlockBytes(state) * kQuakeBlocks;
  const int h = std::max(state.height, 1);
  for (int index = kQuakeBlocks - 1; index >= 0; --index) {
    QuakeBlock& block = state.blocks[size_t(index)];
    block.x += random.Below(3) - 1;
    // From 8 rows on the fall shrinks toward 50 rows below the picture;
    // on lower pictures (whose blocks are empty) it can swing ever wider,
    // so it is held to a range that cannot overflow.
    const int64_t fall = (random.Below(6) + 3) * (int64_t(state.height) - block.y + 50) / h;
    block.y = int32_t(std::clamp<int64_t>(block.y + fall, -kQuakeFarRows, kQuakeFarRows));
    if (drawable) DrawBlock(state, index, image, stride);
  }
  const bool rest = state.frame != 0 && state.frame % kQuakeFramesPerRest == 0;
  ++state.frame;
  if (rest) {
    state.resting = true;
    state.restStep = 0;
  }
  return rest;
}

bool QuakeRestStep(QuakeState& state, const uint8_t* clean, uint8_t* image, int64_t stride) {
  ++state.restStep;
  if (state.restStep == kQuakeCleanStep && clean && image && state.height > 0)
    std::memcpy(image, clean, size_t(stride) * size_t(state.height));
  if (state.restStep < kQuakeRestSteps) return true;
  state.resting = false;
  state.restStep = 0;
  PlaceOnGrid(state);
  return false;
}

}  // namespace quillo::qlo15
