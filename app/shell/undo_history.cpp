#include "undo_history.h"

namespace quillo {

int CurrentUndoSlot(const UndoSlot* slots) {
  for (int i = kUndoSlotCount - 1; i > 0; --i)
    if (slots[i].image) return i;
  return 0;
}

bool HasUndoStep(const UndoSlot* slots) { return CurrentUndoSlot(slots) > 0; }

bool DibHeld(const UndoSlot* slots, uintptr_t dib) {
  for (int i = 0; i < kUndoSlotCount; ++i)
    if (slots[i].image == dib || slots[i].displayCopy == dib) return true;
  return false;
}

bool PaletteHeld(const UndoSlot* slots, uintptr_t palette) {
  for (int i = 0; i < kUndoSlotCount; ++i)
    if (slots[i].palette == palette) return true;
  return false;
}

bool MaskHeld(const UndoSlot* slots, uintptr_t mask) {
  for (int i = 0; i < kUndoSlotCount; ++i)
    if (slots[i].mask == mask) return true;
  return false;
}

void DropDisplayCopy(UndoSlot* slots, int index, UndoReleaser& releaser) {
  if (index < 0 || index >= kUndoSlotCount) return;
  const uintptr_t copy = slots[index].displayCopy;
  slots[index].displayCopy = 0;
  if (copy && !DibHeld(slots, copy)) releaser.FreeDisplayCopy(copy);
}

void ReleaseUndoSlot(UndoSlot* slots, int index, UndoReleaser& releaser) {
  if (index < 0 || index >= kUndoSlotCount) return;
  UndoSlot& slot = slots[index];
  // Each field is cleared before the sharing test, so a handle repeated in
  // this same slot (display copy == image) is still seen as held once.
  const uintptr_t mask = slot.mask;
  slot.mask = 0;
  if (mask && !MaskHeld(slots, mask)) releaser.FreeMask(mask);
  DropDisplayCopy(slots, index, releaser);
  const uintptr_t palette = slot.palette;
  slot.palette = 0;
  if (palette && !PaletteHeld(slots, palette)) releaser.FreePalette(palette);
  const uintptr_t image = slot.image;
  slot.image = 0;
  if (image && !DibHeld(slots, image)) releaser.FreeImage(image);
  slot = UndoSlot{};
}

int PushUndoSlot(UndoSlot* slots, UndoReleaser& releaser) {
  for (int i = 1; i < kUndoSlotCount; ++i)
    if (!slots[i].image) return i;
  ReleaseUndoSlot(slots, 1, releaser);
  for (int i = 1; i < kUndoSlotCount - 1; ++i) slots[i] = slots[i + 1];
  slots[kUndoSlotCount - 1] = UndoSlot{};
  return kUndoSlotCount - 1;
}

TentativeUndoStep BeginTentativeUndoStep(UndoSlot* slots) {
  TentativeUndoStep step;
  for (int i = 1; i < kUndoSlotCount; ++i)
    if (!slots[i].image) {
      step.index = i;
      return step;
    }
  step.evictedOldest = true;
  step.evicted = slots[1];
  for (int i = 1; i < kUndoSlotCount - 1; ++i) slots[i] = slots[i + 1];
  slots[kUndoSlotCount - 1] = UndoSlot{};
  step.index = kUndoSlotCount - 1;
  return step;
}

namespace {

// Frees the handles of a slot that is outside the array, each only when no
// slot of the array still holds it.
void ReleaseLooseSlot(const UndoSlot* slots, const UndoSlot& loose, UndoReleaser& releaser) {
  if (loose.mask && !MaskHeld(slots, loose.mask)) releaser.FreeMask(loose.mask);
  if (loose.displayCopy && loose.displayCopy != loose.image && !DibHeld(slots, loose.displayCopy))
    releaser.FreeDisplayCopy(loose.displayCopy);
  if (loose.palette && !PaletteHeld(slots, loose.palette)) releaser.FreePalette(loose.palette);
  if (loose.image && !DibHeld(slots, loose.image)) releaser.FreeImage(loose.image);
}

}  // namespace

void CommitTentativeUndoStep(UndoSlot* slots, TentativeUndoStep& step, UndoReleaser& releaser) {
  if (step.evictedOldest) ReleaseLooseSlot(slots, step.evicted, releaser);
  step = TentativeUndoStep{};
}

void CancelTentativeUndoStep(UndoSlot* slots, TentativeUndoStep& step, UndoReleaser& releaser) {
  if (step.index > 0 && step.index < kUndoSlotCount) {
    // The new step's own handles go unless an older step shares them (an
    // effect may hand back the handle it was given).
    const UndoSlot fresh = slots[step.index];
    slots[step.index] = UndoSlot{};
    if (step.evictedOldest) {
      for (int i = kUndoSlotCount - 1; i > 1; --i) slots[i] = slots[i - 1];
      slots[1] = step.evicted;
    }
    ReleaseLooseSlot(slots, fresh, releaser);
  }
  step = TentativeUndoStep{};
}

bool PopUndoSlot(UndoSlot* slots, UndoReleaser& releaser) {
  for (int i = kUndoSlotCount - 1; i > 0; --i) {
    if (slots[i].image) {
      ReleaseUndoSlot(slots, i, releaser);
      return true;
    }
  }
  return false;
}

void ReleaseAllUndoSlots(UndoSlot* slots, UndoReleaser& releaser) {
  for (int i = kUndoSlotCount - 1; i >= 0; --i) ReleaseUndoSlot(slots, i, releaser);
}

bool SlotsHoldImage(const UndoSlot* slots, uintptr_t dib) {
  if (!dib) return false;
  for (int i = 0; i < kUndoSlotCount; ++i)
    if (slots[i].image == dib) return true;
  return false;
}

void ReplaceCurrentPalette(UndoSlot* slots, uintptr_t palette, UndoReleaser& releaser) {
  UndoSlot& slot = slots[CurrentUndoSlot(slots)];
  const uintptr_t old = slot.palette;
  slot.palette = palette;
  if (old && old != palette && !PaletteHeld(slots, old)) releaser.FreePalette(old);
}

}  // namespace quillo
