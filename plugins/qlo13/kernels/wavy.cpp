#include "wavy.h"

#include <algorithm>
#include <new>

#include "cosine_table.h"

namespace quillo::qlo13 {

bool StartWavy(WavyState& state, int width, int height) {
  state.phase = kWavyStartPhase;
  if (width <= 0 || height <= 0) return false;
  try {
    state.rowShift.assign(size_t(height), 0);
    state.columnShift.assign(size_t(width), 0);
    state.secondColumn.assign(size_t(width), 0);
  } catch (const std::bad_alloc&) {
    std::vector<int32_t>().swap(state.rowShift);
    std::vector<int32_t>().swap(state.columnShift);
    std::vector<int32_t>().swap(state.secondColumn);
    return false;
  }
  return true;
}

double WavyDivisor(int amplitude) {
  return amplitude == 0 ? 512.0 : 512.0 / (amplitude * 1.0078431367874146 + 3);
}

double WavyWavelength(int phase) { return phase != 0 ? 50 - phase * 0.18431372940540314 : 1.0; }

int WavyShift(int index, int phase, int amplitude) {
  const double w = WavyWavelength(phase);
  const int64_t n = int64_t(1024.0 * index / w);
  return int(CosineAt(CosineTable(), n) / WavyDivisor(amplitude));
}

void WavyFrame(WavyState& state, const uint8_t* backup, uint8_t* out, int width, int height,
               int64_t stride) {
  if (!backup || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3 ||
      state.rowShift.size() != size_t(height) || state.columnShift.size() != size_t(width) ||
      state.secondColumn.size() != size_t(width))
    return;
  const int n = state.phase;
  const int a1 = std::clamp(state.amplitude1, 0, kWavyMaxAmplitude);
  const int a2 = std::clamp(state.amplitude2, 0, kWavyMaxAmplitude);
  for (int i = 0; i < height; ++i) state.rowShift[size_t(i)] = WavyShift(i, n, a1);
  for (int j = 0; j < width; ++j) {
    const int u2 = WavyShift(j, n, a2);
    state.columnShift[size_t(j)] = u2 + kWavyMaxShift;
    state.secondColumn[size_t(j)] = 3 * std::clamp(j - u2, 0, width - 1);
  }
  const auto sourceRow = [height](int i, int row) {
    if (row < 0) return 0;
    if (row >= height) return std::max(i - 1, 0);
    return row;
  };
  const int32_t* shiftIndex = state.columnShift.data();
  const int32_t* secondColumn = state.secondColumn.data();
  for (int i = 0; i < height; ++i) {
    const int u1 = state.rowShift[size_t(i)];
    // The first source's row for each u2: i + u2 with the row rules.
    const uint8_t* firstRows[2 * kWavyMaxShift + 1];
    for (int u = -kWavyMaxShift; u <= kWavyMaxShift; ++u)
      firstRows[u + kWavyMaxShift] = backup + sourceRow(i, i + u) * stride;
    const uint8_t* secondRow = backup + sourceRow(i, i - u1) * stride;
    uint8_t* dst = out + i * stride;
    for (int j = 0; j < width; ++j) {
      const uint8_t* a = firstRows[shiftIndex[j]] + 3 * std::clamp(j + u1, 0, width - 1);
      const uint8_t* b = secondRow + secondColumn[j];
      dst[3 * j] = uint8_t((a[0] + b[0]) >> 1);
      dst[3 * j + 1] = uint8_t((a[1] + b[1]) >> 1);
      dst[3 * j + 2] = uint8_t((a[2] + b[2]) >> 1);
    }
  }
  state.phase = (n + 1) % kWavyCycle;
}

}  // namespace quillo::qlo13
