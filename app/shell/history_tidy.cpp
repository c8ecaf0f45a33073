#include "history_tidy.h"

#include <cstring>

#include "contracts/dib_format.h"
#include "undo_history.h"

namespace quillo {

namespace {

// Where the parts of a packed DIB lie, after checking that they lie inside
// the span.
struct DibParts {
  DibHeader header{};
  size_t tableOffset = 0;
  size_t tableBytes = 0;
  size_t pixelOffset = 0;
  size_t pixelBytes = 0;
};

bool ReadDibParts(ByteSpan dib, DibParts& parts) {
  if (!dib.data || dib.size < sizeof(DibHeader)) return false;
  std::memcpy(&parts.header, dib.data, sizeof(DibHeader));
  const DibHeader& h = parts.header;
  if (h.size < sizeof(DibHeader) || h.size > dib.size) return false;
  if (h.compression != kDibRgb || h.planes != 1) return false;
  if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return false;
  const int bits = h.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  int64_t colours = h.clrUsed;
  if (colours == 0 && bits <= 8) colours = int64_t(1) << bits;
  if (colours > 256) return false;
  const int64_t rows = h.height < 0 ? -int64_t(h.height) : int64_t(h.height);
  const int64_t stride = DibStride(h.width, bits);
  if (rows > int64_t(dib.size) / stride) return false;  // before multiplying
  const int64_t pixelBytes = stride * rows;
  const int64_t tableOffset = h.size;
  const int64_t pixelOffset = tableOffset + colours * 4;
  if (pixelOffset + pixelBytes > int64_t(dib.size)) return false;
  parts.tableOffset = size_t(tableOffset);
  parts.tableBytes = size_t(colours * 4);
  parts.pixelOffset = size_t(pixelOffset);
  parts.pixelBytes = size_t(pixelBytes);
  return true;
}

}  // namespace

bool DibPixelsEqual(ByteSpan a, ByteSpan b) {
  DibParts pa, pb;
  if (!ReadDibParts(a, pa) || !ReadDibParts(b, pb)) return false;
  if (pa.header.width != pb.header.width || pa.header.height != pb.header.height ||
      pa.header.bitCount != pb.header.bitCount || pa.tableBytes != pb.tableBytes)
    return false;
  if (std::memcmp(a.data + pa.tableOffset, b.data + pb.tableOffset, pa.tableBytes) != 0)
    return false;
  return std::memcmp(a.data + pa.pixelOffset, b.data + pb.pixelOffset, pa.pixelBytes) == 0;
}

bool MaskIsFull(ByteSpan mask, int width, int height) {
  if (!mask.data || width <= 0 || height <= 0) return false;
  const uint64_t count = uint64_t(width) * uint64_t(height);
  if (count > mask.size) return false;
  for (uint64_t i = 0; i < count; ++i)
    if (mask.data[i] != 255) return false;
  return true;
}

TidyOutcome TidyHistory(UndoSlot* slots, HistoryAccess& access) {
  TidyOutcome outcome;
  const int current = CurrentUndoSlot(slots);
  for (int i = 0; i < current; ++i) DropDisplayCopy(slots, i, access);
  if (current == 0) return outcome;
  UndoSlot& now = slots[current];
  const UndoSlot& before = slots[current - 1];

  if (now.width == before.width && now.height == before.height && now.mask != before.mask) {
    bool replace = now.mask == 0;
    if (!replace) {
      const ByteSpan bytes = access.LockMask(now.mask);
      if (bytes.data) {
        replace = MaskIsFull(bytes, now.width, now.height);
        access.UnlockMask(now.mask);
      }
    }
    if (replace) {
      const uintptr_t old = now.mask;
      now.mask = before.mask;
      if (old && !MaskHeld(slots, old)) access.FreeMask(old);
      DropDisplayCopy(slots, current, access);
      outcome.maskShared = true;
    }
  }

  if (now.image != before.image && before.image && now.colours == before.colours) {
    const ByteSpan a = access.LockDib(now.image);
    const ByteSpan b = a.data ? access.LockDib(before.image) : ByteSpan{};
    const bool same = a.data && b.data && DibPixelsEqual(a, b);
    if (b.data) access.UnlockDib(before.image);
    if (a.data) access.UnlockDib(now.image);
    if (same) {
      const uintptr_t old = now.image;
      now.image = before.image;
      if (!DibHeld(slots, old)) access.FreeImage(old);
      outcome.imageShared = true;
    }
  }
  return outcome;
}

}  // namespace quillo
