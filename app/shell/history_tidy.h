// Tidying the history after an effect: drop stale display copies, and let the
// new step share the previous step's mask and image when they carry nothing
// new, so an effect that changed nothing costs no memory.
#pragma once
#include "undo_slot.h"

namespace quillo {

// Read access to the bytes behind handles, supplied by the window layer
// (lock/unlock of global memory). A failed lock returns an empty span; each
// successful lock is matched by one unlock.
class HistoryAccess : public UndoReleaser {
 public:
  virtual ByteSpan LockDib(uintptr_t dib) = 0;  // the whole packed DIB
  virtual void UnlockDib(uintptr_t dib) = 0;
  virtual ByteSpan LockMask(uintptr_t mask) = 0;
  virtual void UnlockMask(uintptr_t mask) = 0;

 protected:
  ~HistoryAccess() = default;
};

struct TidyOutcome {
  bool maskShared = false;   // the current slot now holds the previous mask
  bool imageShared = false;  // the current slot now holds the previous image
};

// 1. Display copies of every slot below the current one are freed.
// 2. When the current and previous slots have the same width and height, a
//    current mask that is absent or entirely 255 is replaced by the previous
//    slot's mask (the replaced mask and the current display copy, which
//    showed it, are freed unless still held).
// 3. When the two images are equal as DibPixelsEqual says, the current image
//    is freed and the previous handle is shared.
TidyOutcome TidyHistory(UndoSlot* slots, HistoryAccess& access);

// Two packed DIBs hold the same picture: both are readable uncompressed DIBs
// whose width, height, bit count and colour table are equal, and whose pixel
// bytes are equal over height x the stride of their own bit count. Anything
// unreadable, truncated or compressed compares unequal.
bool DibPixelsEqual(ByteSpan a, ByteSpan b);

// Every one of width x height mask bytes is 255. A span shorter than that
// is not full.
bool MaskIsFull(ByteSpan mask, int width, int height);

}  // namespace quillo
