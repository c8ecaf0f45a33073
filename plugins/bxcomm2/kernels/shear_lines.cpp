#include "shear_lines.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quillo::bxcomm2 {

// A plain loop GCC vectorises.
void BlendBytes(const uint8_t* __restrict p, const uint8_t* __restrict q, int64_t count, int weight,
                uint8_t* __restrict out) {
  for (int64_t i = 0; i < count; ++i) out[i] = Blend(p[i], q[i], weight);
}

Move MoveBy(double offset) {
  const double whole = std::floor(offset);
  return {int(whole), int(std::lround((1.0 - (offset - whole)) * kOne))};
}

// One pixel, then copies of what is written, doubling each time.
void FillPixels(uint8_t* out, int64_t count, const Layout& layout) {
  if (count <= 0) return;
  const size_t total = size_t(count) * size_t(layout.channels);
  std::memcpy(out, layout.fill, size_t(layout.channels));
  for (size_t done = size_t(layout.channels); done < total;) {
    const size_t copy = std::min(done, total - done);
    std::memcpy(out + done, out, copy);
    done += copy;
  }
}

void ShearSpan(const uint8_t* line, int length, Move move, const Layout& layout, uint8_t* out, int outLength) {
  const int c = layout.channels;
  // Positions move.shift + k for k = 0 .. length: the line and its spill.
  const int64_t begin = std::clamp<int64_t>(move.shift, 0, outLength);
  const int64_t end = std::clamp<int64_t>(int64_t(move.shift) + length + 1, begin, outLength);
  FillPixels(out, begin, layout);
  FillPixels(out + end * c, outLength - end, layout);
  int64_t k = begin - move.shift;
  const int64_t kEnd = end - move.shift;
  uint8_t* o = out + begin * c;
  if (k == 0 && k < kEnd) {
    BlendBytes(line, layout.fill, c, move.weight, o);
    ++k, o += c;
  }
  const int64_t inner = std::min<int64_t>(kEnd, length) - k;
  if (inner > 0) {
    BlendBytes(line + k * c, line + (k - 1) * c, inner * c, move.weight, o);
    k += inner, o += inner * c;
  }
  if (k == length && k < kEnd) BlendBytes(layout.fill, line + (length - 1) * c, c, move.weight, o);
}

}  // namespace quillo::bxcomm2
