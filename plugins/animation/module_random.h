// The runtime's random generator of a plug-in module: one per module,
// seeded with the time when it is first used, handed to the kernels.
#pragma once
#include "imaging/basics/runtime_random.h"

namespace quillo::animation {

RuntimeRandom& ModuleRandom();

}  // namespace quillo::animation
