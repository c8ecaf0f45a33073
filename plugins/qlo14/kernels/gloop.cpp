#include "gloop.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace quillo::qlo14 {

namespace {

constexpr float kPokeKick = 1.2f;
constexpr float kSpring = 0.15f, kFriction = 0.85f;
constexpr float kRestSpeedSquared = 0.01f;
constexpr double kWander1 = 0.11, kWander2 = 0.08;

size_t NodeCount(int width, int height, int cell) {
  return size_t(width / cell + 2) * size_t(height / cell + 2);
}

// A random number in [-0.5, 0] times `scale`: a draw is at most 32767, so
// it never passes half of 65535.
float Jitter(RuntimeRandom& random, float scale) {
  return (float(random.Next()) / 65535.0f - 0.5f) * scale;
}

void Reinitialise(GloopState& s, RuntimeRandom& random) {
  s.row = s.width / s.cell + 2;
  s.rows = s.height / s.cell + 2;
  const size_t n = size_t(s.row) * size_t(s.rows);
  for (size_t k = 0; k < n; ++k) {
    s.offsetX[k] = Jitter(random, 8);
    s.offsetY[k] = Jitter(random, 8);
    s.velocityX[k] = Jitter(random, 16);
    s.velocityY[k] = Jitter(random, 16);
  }
  s.reinitialise = false;
  s.pokePending = true;
}

// Kicks the four nodes round the poke apart. The wandering poke may reach
// x = W or y = H; the cell index is held inside the grid all the same.
void Poke(GloopState& s) {
  const int column = std::clamp(s.pokeX / s.cell, 0, s.row - 2);
  const int line = std::clamp(s.pokeY / s.cell, 0, s.rows - 2);
  const size_t k = size_t(line) * size_t(s.row) + size_t(column);
  const size_t up = k + size_t(s.row);
  s.velocityX[k] += kPokeKick, s.velocityY[k] += kPokeKick;
  s.velocityX[k + 1] += -kPokeKick, s.velocityY[k + 1] += kPokeKick;
  s.velocityX[up] += kPokeKick, s.velocityY[up] += -kPokeKick;
  s.velocityX[up + 1] += -kPokeKick, s.velocityY[up + 1] += -kPokeKick;
  s.pokePending = false;
}

void MoveNodes(GloopState& s) {
  const size_t n = size_t(s.row) * size_t(s.rows);
  for (size_t k = 0; k < n; ++k) {
    const float vx = s.velocityX[k], vy = s.velocityY[k];
    if (vx * vx + vy * vy > kRestSpeedSquared) {
      const float ox = s.offsetX[k] + vx, oy = s.offsetY[k] + vy;
      s.offsetX[k] = ox;
      s.offsetY[k] = oy;
      s.velocityX[k] = (vx - ox * kSpring) * kFriction;
      s.velocityY[k] = (vy - oy * kSpring) * kFriction;
    } else {
      // Too slow to see: the node rests exactly where it belongs.
      s.offsetX[k] = s.offsetY[k] = s.velocityX[k] = s.velocityY[k] = 0;
    }
  }
}

// Whole pixels of a displacement, or false when it is not a number or too
// far to land inside any picture.
inline bool WholeShift(float d, int* out) {
  if (!(std::fabs(d) < 1e9f)) return false;
  *out = int(d);
  return true;
}

void Render(const GloopState& s, const uint8_t* source, uint8_t* out, int64_t stride) {
  const int w = s.width, h = s.height, c = s.cell;
  // Weights i / c for i = 0 ... c.
  float weight[kGloopMaxCell + 1];
  for (int i = 0; i <= c; ++i) weight[i] = float(i) / float(c);
  for (int cy = 0; cy + 1 < s.rows; ++cy) {
    const size_t lower = size_t(cy) * size_t(s.row), upper = lower + size_t(s.row);
    for (int j = 1; j <= c; ++j) {
      const int y = cy * c + j;
      if (y >= h) break;
      const float wy = weight[j], wy0 = 1.0f - wy;
      uint8_t* outRow = out + int64_t(y) * stride;
      const uint8_t* sameRow = source + int64_t(y) * stride;
      for (int cx = 0; cx + 1 < s.row; ++cx) {
        const int x0 = cx * c;
        if (x0 + 1 >= w) break;
        const int last = std::min(x0 + c, w - 1);
        const size_t a = lower + size_t(cx), b = upper + size_t(cx);
        // The cell's left and right edges at this row, then along the row.
        const float leftX = s.offsetX[a] * wy0 + s.offsetX[b] * wy;
        const float leftY = s.offsetY[a] * wy0 + s.offsetY[b] * wy;
        const float rightX = s.offsetX[a + 1] * wy0 + s.offsetX[b + 1] * wy;
        const float rightY = s.offsetY[a + 1] * wy0 + s.offsetY[b + 1] * wy;
        if (leftX == 0 && leftY == 0 && rightX == 0 && rightY == 0) {
          // A cell at rest at this row: the picture as it is.
          std::memcpy(outRow + 3 * (x0 + 1), sameRow + 3 * (x0 + 1), size_t(last - x0) * 3);
          continue;
        }
        const float spanX = rightX - leftX, spanY = rightY - leftY;
        for (int x = x0 + 1; x <= last; ++x) {
          const float wx = weight[x - x0];
          int dx, dy;
          if (!WholeShift(leftX + spanX * wx, &dx) || !WholeShift(leftY + spanY * wx, &dy)) continue;
          const int64_t sx = int64_t(x) + dx, sy = int64_t(y) + dy;
          if (sx < 0 || sx >= w || sy < 0 || sy >= h) continue;
          const uint8_t* p = source + sy * stride + 3 * sx;
          uint8_t* q = outRow + 3 * x;
          q[0] = p[0], q[1] = p[1], q[2] = p[2];
        }
      }
    }
  }
}

}  // namespace

bool StartGloop(GloopState& state, int width, int height, int cell) {
  state = GloopState();
  if (width <= 0 || height <= 0) return false;
  const size_t n = NodeCount(width, height, kGloopMinCell);
  try {
    state.offsetX.assign(n, 0.0f);
    state.offsetY.assign(n, 0.0f);
    state.velocityX.assign(n, 0.0f);
    state.velocityY.assign(n, 0.0f);
  } catch (const std::bad_alloc&) {
    state = GloopState();
    return false;
  }
  state.width = width;
  state.height = height;
  SetGloopCell(state, cell);
  state.row = width / state.cell + 2;
  state.rows = height / state.cell + 2;
  return true;
}

void SetGloopCell(GloopState& state, int cell) {
  state.cell = std::clamp(cell, kGloopMinCell, kGloopMaxCell);
  state.reinitialise = true;
}

void GloopMouse(GloopState& state, int x, int y) {
  const int row = state.height - y - 1;
  if (x >= 0 && x < state.width && row >= 0 && row < state.height) {
    state.pokeX = x;
    state.pokeY = row;
  }
  state.idleSeconds = 0;
  state.pokePending = true;
}

void GloopFrame(GloopState& state, const uint8_t* source, uint8_t* out, int64_t stride,
                RuntimeRandom& random) {
  GloopState& s = state;
  if (!source || !out || s.width <= 0 || s.height <= 0 || stride < int64_t(s.width) * 3 ||
      s.offsetX.size() < NodeCount(s.width, s.height, kGloopMinCell))
    return;
  s.cell = std::clamp(s.cell, kGloopMinCell, kGloopMaxCell);
  if (s.reinitialise) Reinitialise(s, random);
  if (s.idleSeconds > kGloopIdleSeconds) {
    s.angle1 += kWander1;
    s.angle2 += kWander2;
    s.pokeX = int((std::cos(s.angle1) + 1) * double(s.width >> 1));
    s.pokeY = int((std::sin(s.angle2) + 1) * double(s.height >> 1));
    s.pokePending = true;
  }
  if (s.pokePending) Poke(s);
  MoveNodes(s);
  Render(s, source, out, stride);
}

}  // namespace quillo::qlo14
