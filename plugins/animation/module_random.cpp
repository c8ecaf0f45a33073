#include "module_random.h"

#include <ctime>

namespace quillo::animation {

RuntimeRandom& ModuleRandom() {
  static RuntimeRandom random(uint32_t(std::time(nullptr)));
  return random;
}

}  // namespace quillo::animation
