// FTrace: the picture folded through a fractal map. Each pixel is a point
// of the window [-xr, xr] x [-yr, yr]; n steps of z <- z^2 + c carry it to
// another point, whose place in the window is the texture pixel shown
// there (black when it left the window). The texture scrolls under the map
// at the speed the cursor asks for, as in the tunnel.
#pragma once
#include <cstdint>

#include "plugins/animation/kernels/texture_map.h"

namespace quillo::qlo11 {

constexpr int kFTraceMinSpan = 1, kFTraceMaxSpan = 100, kFTraceDefaultSpan = 10;  // half-width x 10
constexpr int kFTraceMinSteps = 1, kFTraceMaxSteps = 10, kFTraceDefaultSteps = 5;
constexpr int16_t kFTraceOutside = -32767;  // both fields of an entry whose point left the window
constexpr int kFTraceMaxSide = 32767;       // map entries hold 16-bit coordinates

// The map entry of column j, memory row i of a width x height picture for
// the window half-widths xr, yr and `steps` iterations.
animation::MapEntry FTraceEntry(int j, int i, int width, int height, double xr, double yr, int steps);

// Fills width x height entries (memory row 0 first). Nothing happens for
// sizes outside 1 .. 32767.
void BuildFTraceMap(int width, int height, double xr, double yr, int steps, animation::MapEntry* map);

// One frame into `out`: pixel n (memory rows from 0 upward) receives the
// texel of `texture` at row (row + offsetY) mod height, column (column +
// offsetX) mod width of entry n, or black for an outside entry (or any
// entry not inside the texture). Both pictures are 24-bit, rows of
// `stride` bytes.
void DrawTracedFrame(const uint8_t* texture, uint8_t* out, int width, int height, int64_t stride,
                     const animation::MapEntry* map, int64_t offsetX, int64_t offsetY);

}  // namespace quillo::qlo11
