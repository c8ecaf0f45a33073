// Shared pieces of the window classes of BXPRT3.DLL.
#pragma once
#include <windows.h>

#include <new>

#include "window_kit.h"

namespace quillo::prt {

LRESULT CALLBACK BitmapButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ToolBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TabControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

HINSTANCE Module();

// Per-window state and the paint buffer come from the shared kit.
using kit::AttachState;
using kit::BackBuffer;
using kit::CreateState;
using kit::DeleteState;
using kit::kExtraBytes;
using kit::kStateSlot;
using kit::StateOf;

// A one-pixel solid line from (x0, y0) to (x1, y1), end excluded.
void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour);

}  // namespace quillo::prt
