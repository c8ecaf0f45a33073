#include "depth_convert.h"

#include "contracts/dib_services.h"
#include "file_access.h"

namespace quillo::bxload {

namespace {

// The 8-bit index image IndexDIB makes of a 24-bit picture, repacked to
// `depth` bits.
bool Reduce(HGLOBAL dib24, int depth, std::vector<uint8_t>& out, std::string& reason) {
  HGLOBAL indexed = IndexDIB(dib24, 1 << depth, nullptr, nullptr);
  if (!indexed) {
    reason = "the colours could not be reduced (not enough memory?).";
    return false;
  }
  const void* base = GlobalLock(indexed);
  DibView view8;
  std::string ignored;
  if (base && ParseDib(static_cast<const uint8_t*>(base), GlobalSize(indexed), view8, ignored))
    out = PackIndices(view8, depth);
  if (base) GlobalUnlock(indexed);
  DestroyDIB(indexed);
  if (out.empty()) {
    reason = "the colour reduction gave an unusable picture.";
    return false;
  }
  return true;
}

}  // namespace

bool ConvertToDepth(const DibView& view, int depth, std::vector<uint8_t>& out,
                    std::string& reason) {
  if (view.bitCount == depth) out = CopyDib(view);
  else if (depth == 24) out = ToBgr24(view);
  else {
    // IndexDIB gets a plain bottom-up 24-bit copy whatever the source holds.
    HGLOBAL dib24 = GlobalCopy(ToBgr24(view));
    if (!dib24) {
      reason = "there is not enough memory for the picture.";
      return false;
    }
    const bool ok = Reduce(dib24, depth, out, reason);
    GlobalFree(dib24);
    return ok;
  }
  if (out.empty()) {
    reason = "there is not enough memory for the picture.";
    return false;
  }
  return true;
}

}  // namespace quillo::bxload
