// Colour quantisation for IndexDIB (portable).
//
// An image with at most maxColours distinct colours gets exactly those
// colours (sorted by their 0xRRGGBB value) and maps without loss. Otherwise
// the colours are counted in a 32 x 32 x 32 histogram that keeps the exact
// colour sums of every cell; the cells are split into maxColours boxes,
// each time cutting the box with the largest squared error along the axis
// and position that leave the least error; the box means are then refined
// by a few rounds of k-means over the cells. Every pixel finally takes the
// palette entry nearest to its own colour (squared RGB distance, lowest
// index on ties). Deterministic, no dithering.
#pragma once
#include <cstdint>

#include "dib_check.h"

namespace quillo::dib {

struct QuantPalette {
  uint32_t count = 0;
  DibColour colours[256] = {};
};

// Chooses at most maxColours (2..256) colours for a sound image.
bool ChoosePalette(const uint8_t* block, const DibInfo& info, int maxColours, QuantPalette* palette);
// Shape of the 8-bit index image with the palette's colours.
DibShape IndexShape(const uint8_t* block, const DibInfo& info, const QuantPalette& palette);
// Writes the 8-bit image into `out` (DibBlockSize(IndexShape(...)) bytes)
// and, when `indexBuffer` is not null, the same indices as width x height
// bytes, rows top-down, without padding.
void MapToPalette(const uint8_t* block, const DibInfo& info, const QuantPalette& palette,
                  uint8_t* out, uint8_t* indexBuffer);

}  // namespace quillo::dib
