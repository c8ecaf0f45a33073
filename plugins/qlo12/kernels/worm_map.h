// The worm's texture map: a tube winding away from the viewer, sampled in
// depth and angle and projected onto a 640 x 480 grid of texture
// coordinates, which the map then reads bilinearly for any picture size.
#pragma once

#include "plugins/animation/kernels/texture_map.h"

namespace quillo::qlo12 {

constexpr int kWormGridWidth = 640, kWormGridHeight = 480;

// One grid cell: a texture column in a 640-wide space and a texture row in
// a 480-high space.
struct WormCell {
  double column = 0, row = 0;
};

// Fills the kWormGridHeight x kWormGridWidth cells of `grid` (row-major):
// cleared first, then every projected point of the tube, nearer points over
// farther ones; cells no point reaches stay zero.
void BuildWormGrid(WormCell* grid);

// Fills width x height entries of `map` from the grid, rows from the top of
// the picture down (drawn with MapRows::kDownward). Every entry lies inside
// the picture.
void BuildWormMap(const WormCell* grid, int width, int height, animation::MapEntry* map);

}  // namespace quillo::qlo12
