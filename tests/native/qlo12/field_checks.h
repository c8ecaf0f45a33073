// Checks on height fields shared by the ripple-tank tests.
#pragma once

namespace quillo::qlo12::test {

// True when the field's outer one-cell frame is all 0, as drops, waves and
// rendering must leave it.
template <typename Field>
bool FrameIsZero(const Field& f) {
  for (int x = 0; x < f.width(); ++x)
    if (f.At(x, 0) != 0 || f.At(x, f.height() - 1) != 0) return false;
  for (int y = 0; y < f.height(); ++y)
    if (f.At(0, y) != 0 || f.At(f.width() - 1, y) != 0) return false;
  return true;
}

}  // namespace quillo::qlo12::test
