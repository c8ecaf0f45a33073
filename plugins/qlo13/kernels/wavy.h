// Wavy shimmer: the picture seen through moving water. Every output pixel
// is the average of two backup pixels shifted along the rows and columns by
// cosine waves whose wavelength breathes with the phase n; the motion
// repeats every 128 frames.
//
// With w = 50 - 0.18431372940540314 n (w = 1 when n = 0), the divisors
// k = 512 / (a x 1.0078431367874146 + 3) of the two amplitudes a (k = 512
// when a = 0) and T the table of cosine_table.h:
//   u1 = trunc(T[trunc(1024 i / w)] / k1) for memory row i,
//   u2 = trunc(T[trunc(1024 j / w)] / k2) for column j,
// the pixel averages the backup at (column j + u1, row i + u2) and at
// (column j - u2, row i - u1), each byte (sum >> 1). Columns are clamped to
// 0 ... W - 1; a row below 0 reads row 0 and a row >= H reads row i - 1
// (row 0 when i is 0). Amplitude 10 shifts by at most trunc(512 / k) = 13
// pixels, amplitude 1 by 4.
#pragma once
#include <cstdint>
#include <vector>

namespace quillo::qlo13 {

constexpr int kWavyCycle = 128;
constexpr int kWavyStartPhase = 23;
constexpr int kWavyMinAmplitude = 1, kWavyMaxAmplitude = 10;
constexpr int kWavyDefaultAmplitude1 = 4, kWavyDefaultAmplitude2 = 3;

struct WavyState {
  int phase = kWavyStartPhase;  // n
  int amplitude1 = kWavyDefaultAmplitude1;  // a1: the row wave, from slider 501
  int amplitude2 = kWavyDefaultAmplitude2;  // a2: the column wave, from slider 502
  // Per-frame scratch by row: u1; by column: u2 and the byte offset of the
  // second source column.
  std::vector<int32_t> rowShift, columnShift, secondColumn;
};

// The largest |u| of amplitudes 0 ... 10: trunc(512 / k(10)).
constexpr int kWavyMaxShift = 13;

// Starts a run: the phase at 23 and the scratch for a width x height
// picture (the amplitudes are kept). False when a side is not positive or
// memory runs out.
bool StartWavy(WavyState& state, int width, int height);

// The divisor k of amplitude a.
double WavyDivisor(int amplitude);
// The wavelength w of phase n.
double WavyWavelength(int phase);
// u of a row or column index for phase n and amplitude a.
int WavyShift(int index, int phase, int amplitude);

// Draws the frame of the current phase into `out` from `backup` (24-bit,
// rows of `stride` bytes, memory row 0 first), then steps the phase to
// (n + 1) mod 128. Amplitudes are taken within 0 ... 10. Nothing is drawn
// when the scratch does not fit the size.
void WavyFrame(WavyState& state, const uint8_t* backup, uint8_t* out, int width, int height,
               int64_t stride);

}  // namespace quillo::qlo13
