// The tunnel's texture map: rays from a virtual 320 x 200 screen cast into a
// cylinder (mode 0), a sphere seen from inside (mode 1) or a floor and
// ceiling plane (mode 2); where each ray hits gives the texture pixel that
// its screen pixel shows.
#pragma once

#include "plugins/animation/kernels/texture_map.h"

namespace quillo::qlo12 {

enum TunnelMode { kTunnelCylinder = 0, kTunnelSphere = 1, kTunnelPlane = 2 };

// Fills width x height entries of `map` (memory row i, column j at index
// i x width + j) for `mode` (0, 1 or 2; others are taken as 0). Every entry
// lies inside the picture: values that are not finite (the plane's middle
// row, where the ray runs parallel to it) count as 0 before the reduction.
void BuildTunnelMap(int width, int height, int mode, animation::MapEntry* map);

}  // namespace quillo::qlo12
