// The warp brush: a displacement map over the picture (one pair of floats a
// pixel, pixel (x, y) showing the source at (x + dx, y + dy), y counted from
// the top) that brush strokes grow, shrink, move, twirl or restore, with a
// cosine falloff from the brush centre to its rim and a fade near the
// picture's edges. After each stroke the footprint is redrawn from the
// untouched source by bilinear sampling, the mask likewise.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillo {

enum class WarpMode { kGrow = 801, kShrink = 802, kMove = 803, kRestore = 804, kTwirlLeft = 805,
                      kTwirlRight = 806 };

// falloff[i] = ((cos(sqrt(i x 0.01) x pi) + 1) x 0.5)^0.7, i = 0 .. 99.
const float* WarpFalloff();

struct WarpPicture {
  const uint8_t* source = nullptr;  // the untouched picture (memory rows bottom-up)
  uint8_t* target = nullptr;        // the live picture
  int width = 0, height = 0;
  int64_t stride = 0;
  const uint8_t* sourceMask = nullptr;  // width x height, rows top-down; or null
  uint8_t* targetMask = nullptr;
};

class WarpBrush {
 public:
  // The map (zero) and the footprint scratch; false when memory runs out.
  bool Start(int width, int height);
  // One mouse step from `last` to `current` (picture pixels, y from the
  // top) with radius 1 .. 100 and strength 0 .. 1.
  void Stroke(WarpMode mode, int radius, double strength, int lastX, int lastY, int x, int y,
              const WarpPicture& picture);
  float Dx(int x, int y) const { return map_[Index(x, y)]; }
  float Dy(int x, int y) const { return map_[Index(x, y) + 1]; }

 private:
  std::size_t Index(int x, int y) const {
    return (std::size_t(y) * std::size_t(width_) + std::size_t(x)) * 2;
  }
  void Dab(WarpMode mode, int radius, double strength, int cx, int cy, double dirX, double dirY,
           const WarpPicture& picture);
  int width_ = 0, height_ = 0;
  std::vector<float> map_;
  std::vector<float> scratch_;  // the footprint's new displacements, (2R + 1)^2 pairs
};

}  // namespace quillo
