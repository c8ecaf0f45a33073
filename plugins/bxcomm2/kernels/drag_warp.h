// The drag warp: the user drags from a start point S to an end point E and
// the picture is pulled so that what lay at S now shows at E. Four squares
// of side r = 2 x trunc(|E - S|) meet at E; in each, the corner at E takes
// its pixels from S while the other three corners stay, and every pixel
// between samples the source at the bilinear blend of the four corners'
// source positions, with bilinear colour interpolation (channels truncated).
// The mask, where there is one, is warped alike.
//
// Points are (column, memory row) of pictures whose rows lie bottom-up as a
// DIB holds them; the mask's rows lie top-down.
#pragma once
#include <cstdint>

namespace quillo::bxcomm2 {

struct DragPoint {
  int x = 0, y = 0;
};

struct DragWarpPicture {
  const uint8_t* source = nullptr;  // the picture before the drag
  uint8_t* target = nullptr;        // where the warped picture goes (same size)
  int width = 0, height = 0;
  int64_t stride = 0;
  const uint8_t* sourceMask = nullptr;  // width x height bytes, or null
  uint8_t* targetMask = nullptr;
};

// The side of the four squares for a drag from `start` to `end`.
int DragWarpSide(DragPoint start, DragPoint end);

// Warps the four squares around `end` (clipped to the picture) from
// `source` into `target`; pixels outside them are left alone. Nothing
// happens when the side is 0 or either point lies outside the picture.
void DragWarp(const DragWarpPicture& picture, DragPoint start, DragPoint end);

}  // namespace quillo::bxcomm2
