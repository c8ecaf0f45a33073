// What the Qlo15 run tests share beyond the animation steps: stored blocks
// built field by field.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin_harness.h"
#include "tests/win/qlo12/animation_steps.h"

namespace quillo::test {

// A block of 32-bit fields after its magic and size (the size counted from
// the fields unless given).
inline std::vector<uint8_t> Block(uint32_t magic, std::vector<int32_t> fields, int32_t size = -1) {
  if (size < 0) size = int32_t(8 + 4 * fields.size());
  std::vector<uint8_t> b(8 + 4 * fields.size());
  std::memcpy(b.data(), &magic, 4);
  std::memcpy(b.data() + 4, &size, 4);
  std::memcpy(b.data() + 8, fields.data(), 4 * fields.size());
  return b;
}

}  // namespace quillo::test
