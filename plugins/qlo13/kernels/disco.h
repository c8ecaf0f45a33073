// Disco lights: coloured beams from a wandering spot sweep around the
// picture. The blue, green and red beams are triangle waves of the angle
// around the spot, turned by a wheel angle each frame and offset from one
// another; they fade with distance from the spot and only brighten (a byte
// is the larger of itself and half itself plus the light).
//
// Angles count 1024 units a turn. Tri(n) = 128 |512 - (n mod 1024)|;
// Ang(x, y) = c when y < 0, -c otherwise, with c = 512 (x < 0) or 0
// (x >= 0) when y = 0, else trunc(256 x 0.6366197723675814 x atan(x / |y|))
// - 256. R = trunc(sqrt(W^2 + H^2) / 2).
//
// A frame with phase byte d, brightness b and speed g:
//  1. e = (d + 3) mod 256; wheel angle B = 1 when d = 253, else
//     1536 - (1024 e) / 255.
//  2. q = b x 127 / 255 + 128 (q = 1 when b = 0).
//  3. The spot offset ox moves g in its direction; past W div 2 the
//     direction turns to decreasing, below -(W div 2) to increasing. oy
//     likewise with H div 2.
//  4. Memory row i, column j: y = oy + i - H div 2, x = ox + j - W div 2,
//     w = Ang(x, y), A = trunc(sqrt(x^2 + y^2)) x 360 / R (A = 1 when that
//     is 0, or when R = 0); r0 = Tri(w + B) / q, r1 = Tri(w + B + 314) / q,
//     r2 = Tri(w + B - 396) / q, and byte k (blue, green, red) becomes
//     min(255, max(s_k, s_k / 2 + b r_k / A)).
//  5. d = e.
// The angle and the distance term of a point depend only on its offset
// from the spot: they are tabulated once per run for one quadrant of
// offsets large enough for any spot position, and a frame only looks them
// up.
#pragma once
#include <cstdint>
#include <vector>

namespace quillo::qlo13 {

constexpr int kDiscoMaxBrightness = 255, kDiscoDefaultBrightness = 70;
constexpr int kDiscoMinSpeed = 1, kDiscoMaxSpeed = 100, kDiscoDefaultSpeed = 20;

int DiscoTriangle(int64_t n);
int DiscoAngle(int64_t x, int64_t y);
// A of offset (x, y) for radius R.
int DiscoDistance(int64_t x, int64_t y, int radius);

struct DiscoState {
  int width = 0, height = 0;
  int radius = 0;  // R
  int brightness = kDiscoDefaultBrightness;  // b, from slider 501
  int speed = kDiscoDefaultSpeed;            // g, from slider 502
  int phase = 0;                             // d
  int ox = 0, oy = 0;
  int dx = 1, dy = 1;  // +1 increasing, -1 decreasing
  // Quadrant tables over 0 <= x <= spanX, 0 <= y <= spanY (x fastest):
  // trunc(256 x 0.6366... x atan(x / y)) (256 on the row y = 0, which gives
  // the angle of the axis modulo a turn with either sign of x), and A.
  int spanX = 0, spanY = 0;
  std::vector<int16_t> turn;
  std::vector<uint16_t> distance;
  // Exact division by A as a multiply: ceil(2^40 / A) for each A.
  std::vector<uint64_t> reciprocal;
};

// Starts a run over width x height: R, phase 0, the spot in the middle
// moving towards increasing offsets, and the tables (brightness and speed
// are kept). False, with the tables empty, when a side is not positive or
// memory runs out.
bool StartDisco(DiscoState& state, int width, int height);

// One frame (steps 1 to 5) into `out` from `backup` (24-bit, the state's
// size, rows of `stride` bytes, memory row 0 first). The speed is taken
// within 1 ... 100 and the brightness within 0 ... 255.
void DiscoFrame(DiscoState& state, const uint8_t* backup, uint8_t* out, int64_t stride);

}  // namespace quillo::qlo13
