// Gradient objects in the process heap: what SetupGradient hands a frame and
// FreeGradient frees. Any module may make one the same way
// (HeapAlloc(GetProcessHeap(), 0, 40 + 96 * n)), e.g. from the "GRADIENT"
// resource "Default", and give it to FreeGradient.
#pragma once
#include <windows.h>

#include "gradient.h"

namespace quillo::gradient {

LPVOID NewGradientObject(const Gradient& gradient);
// Reads a gradient object of which only the pointer is known: the header
// says how long it is. False when it is not sound.
bool ReadGradientObject(LPCVOID object, Gradient* gradient);

}  // namespace quillo::gradient
