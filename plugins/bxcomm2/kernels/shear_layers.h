// The layers a rotation or shear works through one after the other: the
// colour pixels, and the mask (background 0) when the picture has one. Both
// are addressed by memory row, the mask's rows running the other way.
#pragma once
#include <cstdint>
#include <vector>

#include "shear_lines.h"
#include "shear_pair.h"
#include "shear_rotate.h"

namespace quillo::bxcomm2 {

struct Layer {
  Layout layout;
  Plane<uint8_t> target;
  ShearPair shears;           // the source's first two shears
  std::vector<uint8_t> line;  // one row of them for a third shear, if asked for
};

// The layers from `source` to `target` with the shears' moves (see
// ShearPair) and a line of `lineLength` pixels. Throws std::bad_alloc.
std::vector<Layer> LayersOf(const Picture& source, Picture& target, const std::vector<Move>& rowMoves,
                            const std::vector<Move>& columnMoves, int lineLength, Background background);

}  // namespace quillo::bxcomm2
