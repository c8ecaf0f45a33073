// Alpha masks: width x height bytes, one coverage value per pixel, in fixed
// global memory (GPTR), so GlobalSize tells how large a mask is.
#include <cstring>

#include "contracts/dib_services.h"
#include "dib_handle.h"

using namespace quillo::dib;

namespace {

uint64_t MaskBytes(HGLOBAL dib) {
  LockedDib in(dib);
  if (!in.ok()) return 0;
  const uint64_t bytes = uint64_t(in.info().width) * uint64_t(in.info().height);
  return bytes <= kMaxDibBlock ? bytes : 0;
}

}  // namespace

extern "C" {

LPBYTE AllocAlpha(HGLOBAL dib) {
  const uint64_t bytes = MaskBytes(dib);
  return bytes ? static_cast<LPBYTE>(GlobalAlloc(GPTR, SIZE_T(bytes))) : nullptr;
}

void FreeAlpha(LPBYTE mask) {
  if (mask) GlobalFree(mask);
}

// A copy of `mask` for an image of dib's size; 0 when the mask is missing or
// its block is smaller than width x height.
LPBYTE DuplicateAlpha(HGLOBAL dib, LPBYTE mask) {
  const uint64_t bytes = MaskBytes(dib);
  if (!bytes || !mask || GlobalSize(mask) < bytes) return nullptr;
  auto* copy = static_cast<LPBYTE>(GlobalAlloc(GPTR, SIZE_T(bytes)));
  if (copy) std::memcpy(copy, mask, SIZE_T(bytes));
  return copy;
}

}  // extern "C"
