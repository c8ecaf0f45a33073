// The seven warp fields of the feedback effect. Each field maps every pixel
// of a width x height grey picture to a source point a little turned and
// scaled about the centre; a frame of the effect takes each pixel from the
// four pixels around its source point, weighted bilinearly, so whatever is
// drawn swirls and fades over the following frames.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillo::qlo18 {

constexpr int kWarpFieldCount = 7;
// Sources are packed as x << 16 | y, so neither side may reach 65536.
constexpr int kWarpMaxSide = 65535;

// One pixel's source: the integer point and the four weights (top-left,
// top-right, bottom-left, bottom-right; they sum to 252).
struct WarpEntry {
  uint32_t source;   // source x << 16 | source y
  uint32_t weights;  // top-left in the high byte ... bottom-right in the low byte
};

// Entries of all seven fields (7 x width x height) in 64 bits; 0 when the
// sides are not 1 ... 65535 or the table would not fit in memory's address
// range.
uint64_t WarpTableEntries(int width, int height);

// The source point of field k (0 ... 6) for pixel (x, y), before clamping.
void WarpSource(int field, int x, int y, int width, int height, double* sourceX, double* sourceY);

// The entry for a source point: clamped into the picture, then split into
// its integer point and weights.
WarpEntry WarpEntryFor(double sourceX, double sourceY, int width, int height);

// All seven fields, field k's entries from k x width x height on, row by
// row. False, with `table` emptied, when the size is refused or memory
// runs out.
bool BuildWarpFields(std::vector<WarpEntry>& table, int width, int height);

// next[i] = the weighted sum of the four pixels around entry i's source,
// shifted right by 8 and capped at 255. Reads at the last row and column
// take that row or column again. `field` points at width x height entries.
void WarpGrey(const WarpEntry* field, const uint8_t* current, uint8_t* next, int width, int height);

}  // namespace quillo::qlo18
