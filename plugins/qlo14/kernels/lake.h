// Lake: the picture's reflection in rippling water. Every picture row takes
// a whole row of the picture from a little above or below it, the shift
// swinging with a sine whose phase runs once round the circle in `period`
// frames and grows towards the top of the picture, where the ripples are
// further off and bunch together.
//
// With H the height, q = H / 14 (integer division), f the frame (0 ...
// period - 1, wrapping) and i a row counted from the top:
//   phase = f 2 pi / period + q (H - i) / (i + 1)
//   o     = trunc(sin(phase) (i + 28) q / H)
// and row i shows the picture's row i + o when 0 <= i + o < H, else its own
// row i. Pictures shorter than 14 rows (q = 0) stay still.
#pragma once
#include <cstddef>
#include <cstdint>

#include "plugins/animation/kernels/param_blob.h"

namespace quillo::qlo14 {

constexpr int kLakeMinPeriod = 5, kLakeMaxPeriod = 100, kLakeDefaultPeriod = 15;

// The stored block: magic, size 12, the period in frames.
constexpr uint32_t kLakeBlobMagic = 0x39022B34;
inline constexpr animation::BlobField kLakeBlobFields[] = {
    {animation::BlobFieldKind::kInt32, kLakeMinPeriod, kLakeMaxPeriod, kLakeDefaultPeriod}};
constexpr std::size_t kLakeFieldCount = 1;

struct LakeState {
  int period = kLakeDefaultPeriod;
  int frame = 0;  // the frame drawn next, 0 ... period - 1
};

// The period clamped into 5 ... 100; the frame wraps into the new period.
void SetLakePeriod(LakeState& state, int period);

// The shift of row `i` (from the top) of a picture `height` rows high at
// frame `frame` of `period`: the o of the formula above.
int LakeRowShift(int i, int height, int frame, int period);

// Draws the current frame into `out` from `source` (24-bit, width x height,
// rows of `stride` bytes, memory row 0 the bottom row), then advances the
// frame. Nothing is drawn for an empty picture or a stride too short.
void LakeFrame(LakeState& state, const uint8_t* source, uint8_t* out, int width, int height,
               int64_t stride);

}  // namespace quillo::qlo14
