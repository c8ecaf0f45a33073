// The ripple tanks work on pictures whose width is a multiple of 4: a
// picture of another width is scaled to the next such width first.
#pragma once

namespace quillo::qlo12 {

constexpr int WidenedToFour(int width) { return width % 4 == 0 ? width : width - width % 4 + 4; }

}  // namespace quillo::qlo12
