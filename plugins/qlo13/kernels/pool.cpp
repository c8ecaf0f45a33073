#include "pool.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "cosine_table.h"

namespace quillo::qlo13 {

namespace {

int PoolRadius(int width, int height) {
  return int(0.5 * std::sqrt(double(width) * width + double(height) * height));
}

int Distance(int width, int height, int i, int j) {
  const double y = i - height / 2, x = j - width / 2;
  return int(std::sqrt(x * x + y * y));
}

template <class T>
bool Allocate(std::vector<T>& v, size_t n) {
  try {
    v.assign(n, T());
    return true;
  } catch (const std::bad_alloc&) {
    std::vector<T>().swap(v);
    return false;
  }
}

}  // namespace

void BouncingPhase::Advance() {
  value += step;
  if (value >= 256) {
    value = 255;
    step = -step;
  } else if (value < 0) {
    value = 0;
    step = -step;
  }
}

bool StartPool(PoolState& state, int width, int height) {
  state = PoolState();
  if (width <= 0 || height <= 0) return false;
  const size_t w = size_t(width), h = size_t(height);
  if (!Allocate(state.still, w * h) || !Allocate(state.diagonal, w + h) ||
      !Allocate(state.antiDiagonal, w + h) || !Allocate(state.column, w)) {
    state = PoolState();
    return false;
  }
  state.width = width;
  state.height = height;
  state.radius = PoolRadius(width, height);
  if (state.radius == 0) return true;
  const int32_t* t = CosineTable();
  const int64_t r = state.radius;
  for (int i = 0; i < height; ++i) {
    const int32_t rowTerm = CosineAt(t, (1024 * int64_t(i)) / r);
    int16_t* row = state.still.data() + size_t(i) * w;
    for (int j = 0; j < width; ++j) {
      const int64_t d = Distance(width, height, i, j);
      const int64_t t2 = (2 * (d + 256 * int64_t(i))) / r - 256;
      const int64_t t3 = (2048 * d) / r - 256;
      // |T[t2] + T[t3] - T[..]| <= 3 x 512: fits 16 bits.
      row[j] = int16_t(CosineAt(t, t2) + CosineAt(t, t3) - rowTerm);
    }
  }
  return true;
}

void PoolFrame(PoolState& state, const uint8_t* backup, uint8_t* out, int64_t stride) {
  const int width = state.width, height = state.height;
  if (!backup || !out || state.still.empty() || stride < int64_t(width) * 3) return;
  const int p = state.p.value, q = state.q.value;
  if (state.radius == 0) {
    for (int i = 0; i < height; ++i) std::copy_n(backup + i * stride, size_t(width) * 3, out + i * stride);
  } else {
    const int32_t* t = CosineTable();
    const int64_t r = state.radius;
    // Everything that depends on one of j - i, i + j or j alone, so the
    // pixel loop is two lookups and three adds before the multiplies.
    for (int k = 0; k < width + height - 1; ++k) {
      state.diagonal[size_t(k)] = CosineAt(t, (int64_t(k) * 16 * p) / r - 256);
      state.antiDiagonal[size_t(k)] = int32_t((int64_t(k - (height - 1)) * 16 * q) / r);
    }
    for (int j = 0; j < width; ++j) state.column[size_t(j)] = CosineAt(t, (int64_t(j) * 1024) / r + p);
    for (int i = 0; i < height; ++i) {
      const uint8_t* src = backup + i * stride;
      uint8_t* dst = out + i * stride;
      const int16_t* still = state.still.data() + size_t(i) * size_t(width);
      const int32_t* diagonal = state.diagonal.data() + i;
      const int32_t* antiDiagonal = state.antiDiagonal.data() + (height - 1 - i);
      const int32_t* column = state.column.data();
      for (int j = 0; j < width; ++j) {
        const int32_t t1 = antiDiagonal[j] - column[j];
        const int32_t s = CosineAt(t, t1) + diagonal[j] + still[j];
        const int f = std::clamp(((s * 32) >> 8) + 256, 0, 256);
        dst[3 * j] = uint8_t((f * src[3 * j]) >> 8);
        dst[3 * j + 1] = uint8_t((f * src[3 * j + 1]) >> 8);
        dst[3 * j + 2] = uint8_t((f * src[3 * j + 2]) >> 8);
      }
    }
  }
  state.q.Advance();
  state.p.Advance();
}

}  // namespace quillo::qlo13
