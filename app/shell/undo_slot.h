// One step of an image document's history and the release hooks the window
// layer supplies. Handles are opaque words here: the document window frees
// DIBs, palettes and masks with the functions that made them.
#pragma once
#include <cstddef>
#include <cstdint>

namespace quillo {

// Seven words: three handles, three 32-bit numbers, one handle. Handles are
// pointer-sized, so the record is 28 bytes in the 32-bit build.
struct UndoSlot {
  uintptr_t image = 0;        // DIB handle of this state; 0 = slot empty
  uintptr_t displayCopy = 0;  // 24-bit DIB: image blended with its mask, or 0
  uintptr_t palette = 0;      // palette of a paletted image, or 0
  int32_t width = 0;
  int32_t height = 0;
  int32_t colours = 0;        // colour-table size, 0 for 24-bit
  uintptr_t mask = 0;         // width x height bytes, rows top-down; 0 = none
};
static_assert(sizeof(void*) != 4 || sizeof(UndoSlot) == 28, "UndoSlot is 28 bytes in 32-bit builds");

// Slot 0 is the image as loaded; slots 1-5 are later states.
constexpr int kUndoSlotCount = 6;

// How handles go back to the system. Each call receives a non-zero handle
// that no slot holds any more.
class UndoReleaser {
 public:
  virtual void FreeImage(uintptr_t dib) = 0;
  virtual void FreeDisplayCopy(uintptr_t dib) = 0;
  virtual void FreePalette(uintptr_t palette) = 0;
  virtual void FreeMask(uintptr_t mask) = 0;

 protected:
  ~UndoReleaser() = default;
};

// A read-only run of bytes (a locked DIB or mask).
struct ByteSpan {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

}  // namespace quillo
