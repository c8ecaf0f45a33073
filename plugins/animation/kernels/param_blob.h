// Saved-parameter blocks: what an effect stores of its settings for a gift,
// a package or a screen saver to replay. A block is an int32 magic number,
// an int32 size (the whole block's bytes) and then the fields packed without
// padding, 32-bit integers and 64-bit doubles, all little-endian. Blocks
// arrive from other machines, so reading checks everything and clamps
// every value into its control's range.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillo::animation {

enum class BlobFieldKind { kInt32, kDouble };

// One field: its kind, the range of the control that sets it and the value
// used when a double is not a finite number.
struct BlobField {
  BlobFieldKind kind;
  double low, high;
  double fallback;
};

// Bytes of a block holding `count` fields: 8 + 4 per integer + 8 per double.
std::size_t ParamBlobSize(const BlobField* fields, std::size_t count);

// Reads the fields of the block at `data`, of which `available` bytes may be
// read. True only when the magic and the stated size match and the whole
// block is available; then each value is clamped into [low, high] (a
// non-finite double becomes its fallback first) and stored in `values`
// (integers as doubles). On false `values` is left alone.
bool ReadParamBlob(const uint8_t* data, std::size_t available, uint32_t magic,
                   const BlobField* fields, std::size_t count, double* values);

// The block for `values` (integers truncated toward zero after clamping).
std::vector<uint8_t> WriteParamBlob(uint32_t magic, const BlobField* fields, std::size_t count,
                                    const double* values);

}  // namespace quillo::animation
