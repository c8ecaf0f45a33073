#include "disco.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace quillo::qlo13 {

namespace {

constexpr double kTurnPerRadian = 256 * 0.6366197723675814;  // 256 x 2 / pi
constexpr int kGreenOffset = 314, kRedOffset = -396;
constexpr int kReciprocalShift = 40;

int DiscoRadius(int width, int height) {
  return int(0.5 * std::sqrt(double(width) * width + double(height) * height));
}

// trunc(256 x 0.6366... x atan(x / y)) for y > 0.
int Turn(int64_t x, int64_t y) { return int(kTurnPerRadian * std::atan(double(x) / double(y))); }

// The spot's offset moves by the speed and turns back once past half the
// side (it may overshoot by up to one step).
void MoveSpot(int& offset, int& direction, int speed, int side) {
  offset += direction * speed;
  if (offset > side / 2) direction = -1;
  if (offset < -(side / 2)) direction = 1;
}

// The side of the quadrant tables: any offset from the spot that a frame
// can meet, with the spot at most one largest step past half the side.
int Span(int side) { return side / 2 + kDiscoMaxSpeed + (side - side / 2); }

}  // namespace

int DiscoTriangle(int64_t n) { return 128 * std::abs(512 - (uint16_t(n) & 1023)); }

int DiscoAngle(int64_t x, int64_t y) {
  int c;
  if (y == 0)
    c = x < 0 ? 512 : 0;
  else
    c = Turn(x, y < 0 ? -y : y) - 256;
  return y < 0 ? c : -c;
}

int DiscoDistance(int64_t x, int64_t y, int radius) {
  if (radius == 0) return 1;
  const int64_t a = int64_t(std::sqrt(double(x) * double(x) + double(y) * double(y))) * 360 / radius;
  return a == 0 ? 1 : int(a);
}

bool StartDisco(DiscoState& state, int width, int height) {
  state.width = state.height = 0;
  state.phase = 0;
  state.ox = state.oy = 0;
  state.dx = state.dy = 1;
  std::vector<int16_t>().swap(state.turn);
  std::vector<uint16_t>().swap(state.distance);
  std::vector<uint64_t>().swap(state.reciprocal);
  if (width <= 0 || height <= 0) return false;
  const int radius = DiscoRadius(width, height);
  const int spanX = Span(width), spanY = Span(height);
  const size_t columns = size_t(spanX) + 1, cells = columns * (size_t(spanY) + 1);
  // The largest A lies in the far corner of the quadrant. It stays well
  // inside 16 bits (below 52000 for the smallest pictures with R = 1).
  const int largest = DiscoDistance(spanX, spanY, radius);
  if (largest > UINT16_MAX) return false;
  try {
    state.turn.resize(cells);
    state.distance.resize(cells);
    state.reciprocal.resize(size_t(largest) + 1);
  } catch (const std::bad_alloc&) {
    std::vector<int16_t>().swap(state.turn);
    std::vector<uint16_t>().swap(state.distance);
    std::vector<uint64_t>().swap(state.reciprocal);
    return false;
  }
  for (int y = 0; y <= spanY; ++y)
    for (int x = 0; x <= spanX; ++x) {
      const size_t at = size_t(y) * columns + size_t(x);
      state.turn[at] = int16_t(y == 0 ? 256 : Turn(x, y));
      state.distance[at] = uint16_t(DiscoDistance(x, y, radius));
    }
  state.reciprocal[0] = 0;
  for (size_t a = 1; a < state.reciprocal.size(); ++a)
    state.reciprocal[a] = ((uint64_t(1) << kReciprocalShift) + a - 1) / a;
  state.width = width;
  state.height = height;
  state.radius = radius;
  state.spanX = spanX;
  state.spanY = spanY;
  return true;
}

namespace {

// The three beams' light before the fall-off, b x Tri(n + offset) / q, for
// one angle n modulo a turn.
struct BeamLight {
  uint32_t blue, green, red;
};

// Pixels j0 <= j < j1 of one row, whose offsets x = x0 + j all have one
// sign and lie inside the tables: the angle is sigma x turn + beta, the
// table column |x| runs up (kRising) or down with j.
template <bool kRising>
void DrawSegment(const uint8_t* src, uint8_t* dst, int j0, int j1, int column0, int sigma, int beta,
                 const int16_t* turnRow, const uint16_t* distanceRow, const BeamLight* light,
                 const uint64_t* reciprocal, int shift) {
  for (int j = j0; j < j1; ++j) {
    const int ax = kRising ? column0 + j : column0 - j;
    const BeamLight& l = light[(sigma * turnRow[ax] + beta) & 1023];
    const uint64_t m = reciprocal[distanceRow[ax]];
    const int v0 = int((l.blue * m) >> shift), v1 = int((l.green * m) >> shift);
    const int v2 = int((l.red * m) >> shift);
    const int s0 = src[3 * j], s1 = src[3 * j + 1], s2 = src[3 * j + 2];
    dst[3 * j] = uint8_t(std::min(255, std::max(s0, s0 / 2 + v0)));
    dst[3 * j + 1] = uint8_t(std::min(255, std::max(s1, s1 / 2 + v1)));
    dst[3 * j + 2] = uint8_t(std::min(255, std::max(s2, s2 / 2 + v2)));
  }
}

}  // namespace

void DiscoFrame(DiscoState& state, const uint8_t* backup, uint8_t* out, int64_t stride) {
  const int width = state.width, height = state.height;
  if (!backup || !out || width <= 0 || state.turn.empty() || stride < int64_t(width) * 3) return;
  const int b = std::clamp(state.brightness, 0, kDiscoMaxBrightness);
  const int g = std::clamp(state.speed, kDiscoMinSpeed, kDiscoMaxSpeed);
  const int e = (state.phase + 3) % 256;
  const int wheel = state.phase == 253 ? 1 : 1536 - (1024 * e) / 255;
  const int q = b != 0 ? b * 127 / 255 + 128 : 1;
  MoveSpot(state.ox, state.dx, g, width);
  MoveSpot(state.oy, state.dy, g, height);

  BeamLight light[1024];
  for (int n = 0; n < 1024; ++n)
    light[n] = {uint32_t(b * (DiscoTriangle(n) / q)), uint32_t(b * (DiscoTriangle(n + kGreenOffset) / q)),
                uint32_t(b * (DiscoTriangle(n + kRedOffset) / q))};

  // One pixel straight from the formula: offsets outside the tables.
  const auto plainPixel = [&](const uint8_t* src, uint8_t* dst, int x, int y) {
    const BeamLight& l = light[(DiscoAngle(x, y) + wheel) & 1023];
    const uint32_t a = uint32_t(DiscoDistance(x, y, state.radius));
    const uint32_t v[3] = {l.blue / a, l.green / a, l.red / a};
    for (int k = 0; k < 3; ++k) dst[k] = uint8_t(std::min(255, std::max(int(src[k]), src[k] / 2 + int(v[k]))));
  };

  const size_t columns = size_t(state.spanX) + 1;
  const int x0 = state.ox - width / 2;  // x of column 0
  for (int i = 0; i < height; ++i) {
    const int y = state.oy + i - height / 2;
    const int ay = std::abs(y);
    const uint8_t* src = backup + i * stride;
    uint8_t* dst = out + i * stride;
    if (ay > state.spanY) {
      for (int j = 0; j < width; ++j) plainPixel(src + 3 * j, dst + 3 * j, x0 + j, y);
      continue;
    }
    const int16_t* turnRow = state.turn.data() + size_t(ay) * columns;
    const uint16_t* distanceRow = state.distance.data() + size_t(ay) * columns;
    // Ang is c above the spot (y < 0) and -c below it and on its row; c is
    // turn - 256 right of the spot and -turn - 256 left of it.
    const int sy = y < 0 ? 1 : -1;
    const int beta = wheel - 256 * sy;
    // Left of the spot: x < 0 for j < zero; inside the table for j >= leftIn.
    const int zero = std::clamp(-x0, 0, width);
    const int leftIn = std::clamp(-x0 - state.spanX, 0, zero);
    const int rightOut = std::clamp(state.spanX - x0 + 1, zero, width);
    for (int j = 0; j < leftIn; ++j) plainPixel(src + 3 * j, dst + 3 * j, x0 + j, y);
    DrawSegment<false>(src, dst, leftIn, zero, -x0, -sy, beta, turnRow, distanceRow, light,
                       state.reciprocal.data(), kReciprocalShift);
    DrawSegment<true>(src, dst, zero, rightOut, x0, sy, beta, turnRow, distanceRow, light,
                      state.reciprocal.data(), kReciprocalShift);
    for (int j = rightOut; j < width; ++j) plainPixel(src + 3 * j, dst + 3 * j, x0 + j, y);
  }
  state.phase = e;
}

}  // namespace quillo::qlo13
