// libFuzzer target: the history tidy after an effect, which locks whatever
// DIB and mask handles the effect left in the slots, and the DIB comparison
// it uses.
//
// Input, read front to back (missing bytes read as zero):
//   flags byte: bit 0 blob B is a copy of A, bit 1 blob C is a copy of A,
//               bits 2-4 the lock of A, B or C fails, bit 5 a mask lock fails
//   blob A (u16 length, bytes), blob B and blob C when not copies
//   a copied blob's change: u16 position, xor byte (0 keeps it identical)
//   two masks: u16 size, fill byte, u16 position and byte of one change
//   six slots: picks of image, display copy, palette and mask, a size mode
//               (0 the image header's size, 1 the previous slot's, else two
//               signed 16-bit values) and a colour count byte
//   a u16 position and xor byte that change one byte of a copy of A
// Every block is its own exact-size heap allocation, so a read past a
// locked span is caught.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "app/shell/history_tidy.h"
#include "app/shell/undo_history.h"
#include "contracts/dib_format.h"

using namespace quillo;

namespace {

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  uint16_t U16() { return uint16_t(Byte() | Byte() << 8); }
  std::vector<uint8_t> Bytes(size_t n) {
    const size_t take = n < size_ - at_ ? n : size_ - at_;
    std::vector<uint8_t> out(data_ + at_, data_ + at_ + take);
    at_ += take;
    return out;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

enum class Kind { kDib, kMask, kPalette };

struct Block {
  Kind kind;
  std::unique_ptr<uint8_t[]> bytes;  // exactly `size` bytes
  size_t size = 0;
  bool lockFails = false;
  int locks = 0;
  int frees = 0;

  Block(Kind k, const std::vector<uint8_t>& content, bool fails)
      : kind(k), bytes(new uint8_t[content.size()]), size(content.size()), lockFails(fails) {
    if (size) std::memcpy(bytes.get(), content.data(), size);
  }
  uintptr_t handle() const { return reinterpret_cast<uintptr_t>(bytes.get()); }
};

bool HeldAnywhere(const UndoSlot* slots, uintptr_t h) {
  for (int i = 0; i < kUndoSlotCount; ++i) {
    const UndoSlot& s = slots[i];
    if (s.image == h || s.displayCopy == h || s.palette == h || s.mask == h) return true;
  }
  return false;
}

// Hands out spans of exactly each block's size and traps on any misuse of
// a handle: a lock of a freed or foreign handle, an unmatched unlock, a
// free of a locked or still-held handle, a second free.
class FuzzAccess final : public HistoryAccess {
 public:
  FuzzAccess(std::vector<Block>& blocks, const UndoSlot* slots) : blocks_(blocks), slots_(slots) {}

  ByteSpan LockDib(uintptr_t h) override { return Lock(h, Kind::kDib); }
  void UnlockDib(uintptr_t h) override { Unlock(h, Kind::kDib); }
  ByteSpan LockMask(uintptr_t h) override { return Lock(h, Kind::kMask); }
  void UnlockMask(uintptr_t h) override { Unlock(h, Kind::kMask); }
  void FreeImage(uintptr_t h) override { Free(h, Kind::kDib); }
  void FreeDisplayCopy(uintptr_t h) override { Free(h, Kind::kDib); }
  void FreePalette(uintptr_t h) override { Free(h, Kind::kPalette); }
  void FreeMask(uintptr_t h) override { Free(h, Kind::kMask); }

 private:
  Block& Find(uintptr_t h, Kind kind) {
    for (Block& b : blocks_)
      if (b.handle() == h && b.kind == kind) return b;
    __builtin_trap();  // not a handle of that kind that any slot was given
  }
  ByteSpan Lock(uintptr_t h, Kind kind) {
    Block& b = Find(h, kind);
    if (b.frees) __builtin_trap();
    if (b.lockFails) return {};
    ++b.locks;
    return {b.bytes.get(), b.size};
  }
  void Unlock(uintptr_t h, Kind kind) {
    Block& b = Find(h, kind);
    if (b.locks <= 0) __builtin_trap();
    --b.locks;
  }
  void Free(uintptr_t h, Kind kind) {
    Block& b = Find(h, kind);
    if (b.frees || b.locks || HeldAnywhere(slots_, h)) __builtin_trap();
    ++b.frees;
  }
  std::vector<Block>& blocks_;
  const UndoSlot* slots_;
};

// The comparison's notion of a readable DIB, worked out independently in
// 128 bits: where its colour table and pixel rows lie.
struct Readable {
  bool ok = false;
  uint64_t tableAt = 0, tableBytes = 0, pixelsAt = 0, pixelBytes = 0;
};

Readable ReadableDib(const uint8_t* p, size_t size) {
  Readable r;
  if (size < sizeof(DibHeader)) return r;
  DibHeader h;
  std::memcpy(&h, p, sizeof h);
  const int bits = h.bitCount;
  if (h.size < 40 || h.size > size || h.planes != 1 || h.compression != kDibRgb) return r;
  if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return r;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return r;
  const uint64_t colours = h.clrUsed ? h.clrUsed : bits <= 8 ? uint64_t(1) << bits : 0;
  if (colours > 256) return r;
  using Wide = unsigned __int128;
  const Wide stride = (Wide(h.width) * unsigned(bits) + 31) / 32 * 4;
  const Wide rows = h.height < 0 ? uint64_t(-int64_t(h.height)) : uint64_t(h.height);
  const Wide end = h.size + colours * 4 + stride * rows;
  if (end > size) return r;
  r.ok = true;
  r.tableAt = h.size;
  r.tableBytes = colours * 4;
  r.pixelsAt = h.size + colours * 4;
  r.pixelBytes = uint64_t(stride * rows);
  return r;
}

bool Inside(uint64_t at, uint64_t start, uint64_t length) { return at >= start && at - start < length; }

// Symmetry, equality with an identical copy exactly when readable, and the
// effect of changing one byte: a table or pixel byte makes the copies
// differ, a byte the comparison ignores (resolution, image size, important
// colours, header extension, bytes past the rows) does not.
void CheckComparison(const Block& a, const Block& b, uint16_t position, uint8_t change) {
  const ByteSpan sa{a.bytes.get(), a.size}, sb{b.bytes.get(), b.size};
  if (DibPixelsEqual(sa, sb) != DibPixelsEqual(sb, sa)) __builtin_trap();
  const Readable r = ReadableDib(sa.data, sa.size);
  std::unique_ptr<uint8_t[]> copy(new uint8_t[a.size]);
  if (a.size) std::memcpy(copy.get(), a.bytes.get(), a.size);
  const ByteSpan sc{copy.get(), a.size};
  if (DibPixelsEqual(sa, sc) != r.ok || DibPixelsEqual(sa, sa) != r.ok) __builtin_trap();
  if (!r.ok || change == 0 || position >= a.size) return;
  copy[position] ^= change;
  const bool ignored = (position >= 20 && position < 32) || (position >= 36 && position < r.tableAt) ||
                       position >= r.pixelsAt + r.pixelBytes;
  const bool compared = Inside(position, r.tableAt, r.tableBytes) ||
                        Inside(position, r.pixelsAt, r.pixelBytes);
  if (ignored && !DibPixelsEqual(sa, sc)) __builtin_trap();
  if (compared && DibPixelsEqual(sa, sc)) __builtin_trap();
}

void CheckMaskIsFull(const Block& m, int width, int height) {
  bool full = width > 0 && height > 0 && uint64_t(width) * uint64_t(height) <= m.size;
  for (uint64_t i = 0; full && i < uint64_t(width) * uint64_t(height); ++i) full = m.bytes[i] == 255;
  if (MaskIsFull({m.bytes.get(), m.size}, width, height) != full) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in(data, size);
  const uint8_t flags = in.Byte();
  std::vector<Block> blocks;
  blocks.reserve(10);  // handles are the blocks' addresses: no reallocation moves them

  // DIB blobs A, B and C; B and C may be (changed) copies of A.
  std::vector<uint8_t> a = in.Bytes(in.U16());
  blocks.emplace_back(Kind::kDib, a, flags & 4);
  for (int i = 1; i <= 2; ++i) {
    std::vector<uint8_t> blob;
    if (flags & (1 << (i - 1))) {
      blob = a;
      const uint16_t at = in.U16();
      const uint8_t x = in.Byte();
      if (at < blob.size()) blob[at] ^= x;
    } else {
      blob = in.Bytes(in.U16());
    }
    blocks.emplace_back(Kind::kDib, blob, flags & (4 << i));
  }
  // Two display copies that are only ever freed, never read.
  blocks.emplace_back(Kind::kDib, std::vector<uint8_t>(3), false);
  blocks.emplace_back(Kind::kDib, std::vector<uint8_t>(1), false);
  // Masks 5, 6 and palettes 7, 8.
  for (int i = 0; i < 2; ++i) {
    std::vector<uint8_t> mask(in.U16() % 4096, in.Byte());
    const uint16_t at = in.U16();
    const uint8_t value = in.Byte();
    if (at < mask.size()) mask[at] = value;
    blocks.emplace_back(Kind::kMask, mask, i == 1 && (flags & 32));
  }
  blocks.emplace_back(Kind::kPalette, std::vector<uint8_t>(1), false);
  blocks.emplace_back(Kind::kPalette, std::vector<uint8_t>(1), false);

  UndoSlot slots[kUndoSlotCount];
  const int imagePick[] = {-1, 0, 1, 2};
  const int copyPick[] = {-1, 0, 1, 2, 3, 4};
  const int palettePick[] = {-1, 7, 8};
  const int maskPick[] = {-1, 5, 6};
  const int32_t colourPick[] = {0, 2, 16, 256};
  auto handle = [&](int index) { return index < 0 ? uintptr_t(0) : blocks[size_t(index)].handle(); };
  for (int i = 0; i < kUndoSlotCount; ++i) {
    UndoSlot& s = slots[i];
    const int image = imagePick[in.Byte() % 4];
    s.image = handle(image);
    s.displayCopy = handle(copyPick[in.Byte() % 6]);
    s.palette = handle(palettePick[in.Byte() % 3]);
    s.mask = handle(maskPick[in.Byte() % 3]);
    const uint8_t sizeMode = in.Byte();
    if (sizeMode == 0 && image >= 0 && blocks[size_t(image)].size >= 12) {
      std::memcpy(&s.width, blocks[size_t(image)].bytes.get() + 4, 4);
      std::memcpy(&s.height, blocks[size_t(image)].bytes.get() + 8, 4);
    } else if (sizeMode == 1 && i > 0) {
      s.width = slots[i - 1].width;
      s.height = slots[i - 1].height;
    } else {
      s.width = int16_t(in.U16());
      s.height = int16_t(in.U16());
    }
    s.colours = colourPick[in.Byte() % 4];
  }
  const uint16_t position = in.U16();
  const uint8_t change = in.Byte();

  CheckComparison(blocks[0], blocks[1], position, change);
  CheckComparison(blocks[1], blocks[2], position, change);
  for (int m = 5; m <= 6; ++m) CheckMaskIsFull(blocks[size_t(m)], slots[1].width, slots[1].height);

  UndoSlot before[kUndoSlotCount];
  std::memcpy(before, slots, sizeof slots);
  FuzzAccess access(blocks, slots);
  const int current = CurrentUndoSlot(slots);
  const TidyOutcome outcome = TidyHistory(slots, access);

  for (const Block& b : blocks) {
    if (b.locks != 0 || b.frees > 1) __builtin_trap();
    const bool wasHeld = HeldAnywhere(before, b.handle());
    const bool held = HeldAnywhere(slots, b.handle());
    if (b.frees && held) __builtin_trap();            // a freed handle still in a slot
    if (wasHeld && !held && !b.frees) __builtin_trap();  // dropped without being freed
    if (!wasHeld && (held || b.frees)) __builtin_trap();
  }
  for (int i = 0; i < kUndoSlotCount; ++i) {
    const UndoSlot& s = slots[i];
    const UndoSlot& was = before[i];
    if (s.width != was.width || s.height != was.height || s.colours != was.colours ||
        s.palette != was.palette)
      __builtin_trap();
    if (i != current && (s.image != was.image || s.mask != was.mask)) __builtin_trap();
    if (i < current && s.displayCopy) __builtin_trap();
  }
  if (current > 0) {
    if (outcome.imageShared && slots[current].image != slots[current - 1].image) __builtin_trap();
    if (outcome.maskShared && slots[current].mask != slots[current - 1].mask) __builtin_trap();
  } else if (outcome.imageShared || outcome.maskShared) {
    __builtin_trap();
  }
  return 0;
}
