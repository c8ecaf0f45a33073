// Gloop: the picture as a sheet of jelly. A grid of nodes, one at every
// multiple of the cell size c on both axes, carries an offset and a
// velocity per node; each node springs back towards rest and loses speed
// every frame, and a poke (the mouse, or a wandering point once the mouse
// has been still for a while) kicks the four nodes round it apart. Every
// pixel is drawn from the picture at its own place moved by the offset the
// four corner nodes of its cell blend to.
//
// Positions are in the DIB's memory layout: column x from the left, row y
// from the bottom (memory row 0). The grid has W / c + 2 nodes a row and
// H / c + 2 rows, so its cells cover the whole picture even for c larger
// than it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/basics/runtime_random.h"
#include "plugins/animation/kernels/param_blob.h"

namespace quillo::qlo14 {

constexpr int kGloopMinCell = 50, kGloopMaxCell = 500, kGloopDefaultCell = 250;
// The poke wanders by itself once more than this many seconds have passed
// without a mouse report.
constexpr int kGloopIdleSeconds = 2;

// The stored block: magic, size 12, the cell size.
constexpr uint32_t kGloopBlobMagic = 0x392FAB34;
inline constexpr animation::BlobField kGloopBlobFields[] = {
    {animation::BlobFieldKind::kInt32, kGloopMinCell, kGloopMaxCell, kGloopDefaultCell}};
constexpr std::size_t kGloopFieldCount = 1;

struct GloopState {
  int width = 0, height = 0;
  int cell = kGloopDefaultCell;
  int row = 0, rows = 0;  // nodes a row and node rows for the current cell size
  // Per node, row by row from the bottom: offset and velocity. Sized once
  // for the smallest cell, so any cell size fits without reallocating.
  std::vector<float> offsetX, offsetY, velocityX, velocityY;
  int pokeX = 0, pokeY = 0;  // memory column and row
  bool pokePending = true;
  bool reinitialise = true;
  int idleSeconds = 0;
  double angle1 = 0, angle2 = 0;  // the wandering poke's phases
};

// Starts a run over a width x height picture with cell size `cell`:
// re-initialise and poke pending, idle 0, the wander at its start. False,
// with the state emptied, when a side is not positive or memory runs out.
bool StartGloop(GloopState& state, int width, int height, int cell);

// A new cell size (clamped into 50 ... 500): the grid is laid anew at the
// next frame.
void SetGloopCell(GloopState& state, int cell);

// A mouse report at view pixel (x, y), y counted from the top: inside the
// picture it becomes the poke position; any report resets the idle count
// and asks for a poke.
void GloopMouse(GloopState& state, int x, int y);

// One second of the idle timer.
inline void GloopSecond(GloopState& state) { ++state.idleSeconds; }

// One frame: re-initialise when asked (drawing four numbers a node from
// `random`), wander when idle, poke, move every node, then draw into `out`
// from `source` (24-bit, the state's size, rows of `stride` bytes). A pixel
// whose source lies outside the picture keeps what `out` held.
void GloopFrame(GloopState& state, const uint8_t* source, uint8_t* out, int64_t stride,
                RuntimeRandom& random);

}  // namespace quillo::qlo14
