// libFuzzer target: the gradient text of the colour-cycling effect, which
// anyone may edit in the resource module. Reading never fails or reads past
// the text, and what it gives is within its limits: names and stop lists
// cut to their maximum, positions 0 .. 255 in order, and every palette made
// from a gradient is defined.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "plugins/qlo13/kernels/gradient_frame.h"
#include "plugins/qlo13/kernels/gradient_text.h"

using namespace quillo::qlo13;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto gradients = ReadGradients(reinterpret_cast<const char*>(data), size);
  if (gradients.size() > kMaxGradients) std::abort();
  for (const Gradient& g : gradients) {
    if (g.name.size() > kMaxNameLength || g.stops.empty() || g.stops.size() > kMaxStops) std::abort();
    for (size_t k = 0; k < g.stops.size(); ++k) {
      if (g.stops[k].position < 0 || g.stops[k].position > 255) std::abort();
      if (k && g.stops[k].position < g.stops[k - 1].position) std::abort();
    }
    const GradientPalette p = TurnHue(PaletteOf(g), int(size));
    (void)p;
  }
  return 0;
}
