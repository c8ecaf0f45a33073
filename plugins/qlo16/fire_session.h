// What the two fire effects share beyond the animation kit: the module's
// generator seeded with the time in seconds at every play.
#pragma once
#include <ctime>

#include "plugins/animation/animation_run.h"
#include "plugins/animation/module_random.h"

namespace quillo::qlo16 {

inline RuntimeRandom& SeedForPlay() {
  RuntimeRandom& random = animation::ModuleRandom();
  random.Seed(uint32_t(std::time(nullptr)));
  return random;
}

}  // namespace quillo::qlo16
