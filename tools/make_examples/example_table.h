// Which example picture each catalogued effect shows, and how it is made:
// the effect's own kernel with settings that show what the effect does, run
// on the browser-sized sample picture. One row per effect whose plug-in
// names an example file; a new effect adds one row.
#pragma once
#include <functional>
#include <span>

#include "ppm_picture.h"

namespace quillo::examples {

struct ExampleRow {
  const char* module;      // plug-in file that names the example
  const char* function;    // its effect function
  const char* exampleFile; // file name in "Examples", exactly as the info table gives it
  // Fills `out` (already the size of `in`) from `in`.
  std::function<void(const Picture& in, Picture& out)> render;
};

std::span<const ExampleRow> ExampleTable();

}  // namespace quillo::examples
