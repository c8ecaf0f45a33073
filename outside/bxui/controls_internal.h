// Shared pieces of the three controls of BXUI.DLL.
#pragma once
#include <windows.h>

#include <new>

#include "window_kit.h"

namespace quillo::bxui {

LRESULT CALLBACK SliderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Per-window state and the paint buffer come from the shared kit.
using kit::AttachState;
using kit::BackBuffer;
using kit::CreateState;
using kit::DeleteState;
using kit::kExtraBytes;
using kit::kStateSlot;
using kit::StateOf;
// The brush a parent dialog paints static controls with (so a control blends
// into its dialog), or the button face colour when the parent has none.
HBRUSH ParentBackground(HWND window, HDC dc);

// A one-pixel checkerboard brush (monochrome: it paints in the device
// context's text and background colours) for greyed thumbs. Made once per
// process and kept until the library unloads.
HBRUSH CheckerBrush();


}  // namespace quillo::bxui
