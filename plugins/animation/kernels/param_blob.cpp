#include "param_blob.h"

#include <cmath>
#include <cstring>

namespace quillo::animation {
namespace {

uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

std::size_t FieldBytes(const BlobField& f) { return f.kind == BlobFieldKind::kDouble ? 8 : 4; }

double Clamp(const BlobField& f, double v) {
  if (!std::isfinite(v)) v = f.fallback;
  if (v < f.low) v = f.low;
  if (v > f.high) v = f.high;
  return v;
}

}  // namespace

std::size_t ParamBlobSize(const BlobField* fields, std::size_t count) {
  std::size_t size = 8;
  for (std::size_t i = 0; i < count; ++i) size += FieldBytes(fields[i]);
  return size;
}

bool ReadParamBlob(const uint8_t* data, std::size_t available, uint32_t magic,
                   const BlobField* fields, std::size_t count, double* values) {
  const std::size_t size = ParamBlobSize(fields, count);
  if (!data || available < 8 || Get32(data) != magic || Get32(data + 4) != size || available < size)
    return false;
  const uint8_t* p = data + 8;
  for (std::size_t i = 0; i < count; ++i) {
    double v;
    if (fields[i].kind == BlobFieldKind::kDouble) {
      const uint64_t bits = uint64_t(Get32(p)) | uint64_t(Get32(p + 4)) << 32;
      std::memcpy(&v, &bits, sizeof v);
    } else {
      v = double(int32_t(Get32(p)));
    }
    values[i] = Clamp(fields[i], v);
    p += FieldBytes(fields[i]);
  }
  return true;
}

std::vector<uint8_t> WriteParamBlob(uint32_t magic, const BlobField* fields, std::size_t count,
                                    const double* values) {
  std::vector<uint8_t> block(ParamBlobSize(fields, count));
  Put32(block.data(), magic);
  Put32(block.data() + 4, uint32_t(block.size()));
  uint8_t* p = block.data() + 8;
  for (std::size_t i = 0; i < count; ++i) {
    const double v = Clamp(fields[i], values[i]);
    if (fields[i].kind == BlobFieldKind::kDouble) {
      uint64_t bits;
      std::memcpy(&bits, &v, sizeof bits);
      Put32(p, uint32_t(bits));
      Put32(p + 4, uint32_t(bits >> 32));
    } else {
      // The range lies inside int32 for every integer field.
      Put32(p, uint32_t(int32_t(v)));
    }
    p += FieldBytes(fields[i]);
  }
  return block;
}

}  // namespace quillo::animation
