#include "twinkle.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "plugins/animation/kernels/fire_palette.h"

namespace quillo::qlo17 {

namespace {

constexpr double kUnit = 1.0 / 32767;

class Canvas {
 public:
  Canvas(uint8_t* pixels, int width, int height, int64_t stride)
      : pixels_(pixels), width_(width), height_(height), stride_(stride) {}

  // Point (x, y), y counted from the top; skipped outside the picture.
  void Plot(int x, int y, const uint8_t colour[3]) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint8_t* p = pixels_ + int64_t(height_ - 1 - y) * stride_ + int64_t(x) * 3;
    p[0] = colour[0];
    p[1] = colour[1];
    p[2] = colour[2];
  }

  // A Bresenham walk from (x0, y0) to (x1, y1) plotting every step, both
  // ends included.
  void Line(int x0, int y0, int x1, int y1, const uint8_t colour[3]) const {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
      Plot(x0, y0, colour);
      if (x0 == x1 && y0 == y1) return;
      const int e2 = 2 * error;
      if (e2 >= dy) {
        error += dy;
        x0 += sx;
      }
      if (e2 <= dx) {
        error += dx;
        y0 += sy;
      }
    }
  }

  // The four lines a ... b out from (x, y): right, up, left, down.
  void Arm(int x, int y, int a, int b, const uint8_t colour[3]) const {
    Line(x + a, y, x + b, y, colour);
    Line(x, y - a, x, y - b, colour);
    Line(x - a, y, x - b, y, colour);
    Line(x, y + a, x, y + b, colour);
  }

  // The four points k away along the axes.
  void AxisPoints(int x, int y, int k, const uint8_t colour[3]) const {
    Plot(x + k, y, colour);
    Plot(x - k, y, colour);
    Plot(x, y + k, colour);
    Plot(x, y - k, colour);
  }

 private:
  uint8_t* pixels_;
  int width_, height_;
  int64_t stride_;
};

}  // namespace

void SetTwinkleCount(TwinkleState& state, int count) {
  state.count = std::clamp(count, kTwinkleMinCount, kTwinkleMaxCount);
}

void RandomHueColour(RuntimeRandom& random, uint8_t bgr[3]) {
  animation::Hsl colour = animation::ToHsl(0.0, 127 / 255.0, 1.0);
  colour.hue = random.Next() * kUnit;
  colour.hasHue = true;
  const animation::FireColour rgb = animation::FromHsl(colour);
  bgr[0] = rgb.blue;
  bgr[1] = rgb.green;
  bgr[2] = rgb.red;
}

void StartTwinkle(TwinkleState& state, RuntimeRandom& random) {
  for (TwinkleStar& star : state.stars) {
    star = TwinkleStar();
    RandomHueColour(random, star.outer);
  }
}

void DrawTwinkleShape(const TwinkleStar& star, uint8_t* pixels, int width, int height, int64_t stride) {
  const Canvas canvas(pixels, width, height, stride);
  const int x = star.x, y = star.y;
  const uint8_t* outer = star.outer;
  const uint8_t* centre = star.centre;
  switch (star.phase < 0 ? kTwinkleLastPhase : star.phase / 3) {
    case 0:
      canvas.Arm(x, y, 7, 12, outer);
      canvas.Plot(x + 2, y + 2, centre);
      canvas.Plot(x - 2, y + 2, centre);
      canvas.Plot(x + 2, y - 2, centre);
      canvas.Plot(x - 2, y - 2, centre);
      canvas.Arm(x, y, 2, 6, centre);
      return;
    case 1:
      canvas.Arm(x, y, 4, 8, outer);
      canvas.Arm(x, y, 2, 4, centre);
      return;
    case 2:
      canvas.Arm(x, y, 3, 6, outer);
      canvas.AxisPoints(x, y, 2, centre);
      return;
    case 3:
      canvas.Arm(x, y, 3, 5, outer);
      canvas.AxisPoints(x, y, 2, centre);
      return;
    case 4:
      canvas.Arm(x, y, 2, 4, outer);
      canvas.Line(x - 1, y, x + 1, y, centre);
      canvas.Line(x, y - 1, x, y + 1, centre);
      return;
    case 5:
      canvas.AxisPoints(x, y, 2, outer);
      canvas.Line(x - 1, y, x + 1, y, centre);
      canvas.Line(x, y - 1, x, y + 1, centre);
      return;
    case 6:
      canvas.AxisPoints(x, y, 1, outer);
      canvas.Plot(x, y, centre);
      return;
    default:
      return;  // phase 21 and above: hidden
  }
}

void TwinkleFrame(TwinkleState& state, const uint8_t* backup, uint8_t* out, int width, int height,
                  int64_t stride, RuntimeRandom& random) {
  if (width <= 0 || height <= 0) return;
  std::memcpy(out, backup, size_t(stride) * size_t(height));
  const int count = std::clamp(state.count, 0, kTwinkleRecords);
  for (int k = 0; k < count; ++k) {
    TwinkleStar& star = state.stars[size_t(k)];
    DrawTwinkleShape(star, out, width, height, stride);
    if (++star.phase > kTwinkleLastPhase) {
      star.phase = random.Below(15);
      star.x = random.Below(width);
      star.y = random.Below(height);
      RandomHueColour(random, star.outer);
    }
  }
}

}  // namespace quillo::qlo17
