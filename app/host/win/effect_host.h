// Running catalogued effects: the plug-in is loaded for the run, the effect
// works on a new undo step of the active picture (or on nothing, for effects
// that show their own example), and the step is kept only when the user
// accepts.
#pragma once
#include <windows.h>

#include "app/host/effect_record.h"
#include "app/shell/undo_slot.h"

namespace quillo {

// Applies the effect to the active picture. Returns the effect function's
// result (non-zero: accepted), 0 when it did not run or was cancelled.
int RunEffect(const EffectRecord& record);
// Runs the effect without a picture.
int RunEffectOnExample(const EffectRecord& record);
// Shrinks the image of `slot` to the screen as the record's option flags ask
// (or only resets the view's zoom).
void FitEffectImage(UndoSlot* slot, const EffectRecord& record, HWND view);

// The record of the effect that runs now, or nullptr.
const EffectRecord* CurrentEffect();
// The running effect's dialog (the effect dialog variable), or nullptr.
HWND CurrentEffectDialog();
// The picture the running effect started from (host context word 9), or
// nullptr.
HGLOBAL CurrentEffectOriginalImage();

// Rebuilds "BXFun.inf" from every "*.PL1" in the program directory.
void ScanPlugins();

}  // namespace quillo
