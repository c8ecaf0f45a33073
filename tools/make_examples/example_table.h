// Which example picture each catalogued effect shows, and how it is made:
// the effect's own row of the render tool's effect table, with settings
// that show what the effect does, played on the browser-sized sample
// picture. One row per effect whose plug-in names an example file; a new
// effect adds one row.
#pragma once
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ppm_picture.h"
#include "tools/render/effects/effect_registry.h"

namespace quillo::examples {

// The effect-table run that makes one example: the effect, its options as
// a user would write them, how many frames to play and where the cursor
// rests (which sets the drift of the map-driven effects). The example is
// the last frame, scaled back to the sample's size when the effect plays at
// a size of its own (Worm's 640 x 480, Water's widening).
struct ExampleRun {
  const char* effect;
  std::vector<std::pair<const char*, const char*>> options;
  int frames = 1;
  render::CursorPoint cursor;
  std::vector<std::pair<int, render::MouseDrop>> drops;  // before frame n, from 1
};

struct ExampleRow {
  const char* module;      // plug-in file that names the example
  const char* function;    // its effect function
  const char* exampleFile; // file name in "Examples", exactly as the info table gives it
  ExampleRun run;
};

std::span<const ExampleRow> ExampleTable();

// Plays `run` over `sample` into `out` (the sample's size). False with
// `error` set when an option is wrong or the effect refuses the sample.
bool RenderExample(const ExampleRun& run, const Picture& sample, Picture& out, std::string& error);

// An effect's result of another size shown at width x height: scaled to
// fit with its shape kept and centred, the free margins in the colour of
// its corner. False with `error` set when memory runs out.
bool FitExample(const Picture& result, int width, int height, Picture& out, std::string& error);

}  // namespace quillo::examples
