// The undo history of one document: six slots, pushed and popped at the top,
// with handles that consecutive slots may share. A handle is freed only when
// no slot holds it any more.
#pragma once
#include "undo_slot.h"

namespace quillo {

// The occupied slot with the highest index (0 when none is occupied).
int CurrentUndoSlot(const UndoSlot* slots);

// True when an undo step exists (a slot above 0 is occupied).
bool HasUndoStep(const UndoSlot* slots);

// Index of the first empty slot among 1-5. When all five are occupied slot 1
// is released, slots 2-5 move down to 1-4 and the emptied slot 5 is
// returned; slot 0 is never released this way.
int PushUndoSlot(UndoSlot* slots, UndoReleaser& releaser);

// A step that may still be taken back without a trace: the effect host
// makes one before an effect runs and keeps or cancels it afterwards. When
// all five steps were in use, the oldest one is set aside (not released) to
// make room, so a cancel can put the history back exactly as it was.
struct TentativeUndoStep {
  int index = 0;          // the new step's slot (1-5); 0 = none open
  bool evictedOldest = false;
  UndoSlot evicted;       // the set-aside oldest step
};

// Opens a new, empty step at the top without releasing anything.
TentativeUndoStep BeginTentativeUndoStep(UndoSlot* slots);
// Keeps the new step: the set-aside oldest step is released now (its handles
// only when no slot still holds them).
void CommitTentativeUndoStep(UndoSlot* slots, TentativeUndoStep& step, UndoReleaser& releaser);
// Drops the new step and restores the history as it was before Begin.
void CancelTentativeUndoStep(UndoSlot* slots, TentativeUndoStep& step, UndoReleaser& releaser);

// Releases the highest occupied slot among 5 down to 1. Returns false (and
// changes nothing) when only slot 0 is left.
bool PopUndoSlot(UndoSlot* slots, UndoReleaser& releaser);

// Frees the slot's mask, display copy, palette and image, each only when no
// other slot holds the same handle, then zeroes the slot.
void ReleaseUndoSlot(UndoSlot* slots, int index, UndoReleaser& releaser);

// Window destruction: slots 5 down to 0.
void ReleaseAllUndoSlots(UndoSlot* slots, UndoReleaser& releaser);

// True when some slot holds `dib` as its image.
bool SlotsHoldImage(const UndoSlot* slots, uintptr_t dib);

// Sets the current slot's palette. The old palette is freed only when it
// differs from the new one and no other slot holds it.
void ReplaceCurrentPalette(UndoSlot* slots, uintptr_t palette, UndoReleaser& releaser);

// Frees the display copy of one slot (when no other slot shows the same
// handle) and clears the field.
void DropDisplayCopy(UndoSlot* slots, int index, UndoReleaser& releaser);

// Whether any slot still holds the handle: DIBs as image or display copy,
// palettes and masks in their own fields. A field is cleared before these
// are asked, so the answer covers every other reference.
bool DibHeld(const UndoSlot* slots, uintptr_t dib);
bool PaletteHeld(const UndoSlot* slots, uintptr_t palette);
bool MaskHeld(const UndoSlot* slots, uintptr_t mask);

}  // namespace quillo
