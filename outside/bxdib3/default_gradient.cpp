// The gradient table programs start with. resources/gradient/
// default_gradient.rc holds the same bytes as a resource (written by the
// make_default_gradient tool; a test keeps the two equal).
#include "gradient.h"

namespace quillo::gradient {

// Stops are {position, blue, green, red}.
Gradient DefaultGradient() {
  Gradient g;
  g.entries = {
      MakeEntry("Rainbow", {{0, 0, 0, 255}, {42, 0, 165, 255}, {85, 0, 255, 255}, {128, 0, 200, 0},
                            {170, 255, 128, 0}, {212, 130, 0, 75}, {255, 211, 0, 148}}),
      MakeEntry("Fire", {{0, 0, 0, 0}, {80, 0, 0, 180}, {150, 0, 100, 255}, {210, 0, 220, 255},
                         {255, 220, 255, 255}}),
      MakeEntry("Ocean", {{0, 40, 10, 0}, {90, 140, 50, 0}, {170, 210, 150, 20}, {255, 250, 250, 200}}),
      MakeEntry("Sunset", {{0, 90, 20, 30}, {90, 130, 40, 180}, {170, 60, 120, 255}, {255, 150, 230, 255}}),
      MakeEntry("Grey", {{0, 0, 0, 0}, {255, 255, 255, 255}}),
      MakeEntry("Forest", {{0, 10, 30, 10}, {120, 40, 130, 30}, {200, 60, 200, 150}, {255, 170, 240, 230}}),
      MakeEntry("Ice", {{0, 80, 30, 10}, {128, 230, 190, 120}, {255, 255, 255, 255}}),
      MakeEntry("Candy", {{0, 180, 105, 255}, {85, 250, 230, 255}, {170, 255, 200, 130}, {255, 180, 105, 255}}),
      MakeEntry("Copper", {{0, 20, 30, 60}, {128, 50, 120, 200}, {200, 140, 200, 250}, {255, 60, 90, 160}}),
  };
  return g;
}

}  // namespace quillo::gradient
