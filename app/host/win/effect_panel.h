// The small popup beside a running effect that offers to store it as a gift
// program ("Pack") or, when the effect allows it, as a screen saver ("Saver").
#pragma once
#include <windows.h>

#include "app/host/effect_record.h"

namespace quillo {

inline constexpr char kEffectPanelClass[] = "PlugEx";

// Window procedure of the "PlugEx" class.
LRESULT CALLBACK EffectPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the visible panel for `record`, owned by the frame, 15 pixels
// above the frame's client origin. Null on failure.
HWND CreateEffectPanel(const EffectRecord& record);
void DestroyEffectPanel();
// The panel while it exists, otherwise null.
HWND EffectPanel();

}  // namespace quillo
